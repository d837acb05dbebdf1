#pragma once
// The grammar check: every row of the word list against the dictionary
// utility's rules. Plain data in, report lines out; the report window and the
// message boxes only show what this hands them.

#include "grid/cellstore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <functional>

namespace kelvari {

// One line of the report (ReportLines): four sections, each opened by its
// heading, one empty line between sections. CP932, no line end.
struct ReportLine {
    QByteArrayView text; // valid only during the call that hands it over
    bool isError;        // false for a heading and the empty line between sections
};
// Takes the report's lines in order, as the check finds them.
using ReportSink = std::function<void(const ReportLine &)>;

// The three texts of one row of the list, and its row number.
struct CheckedRow {
    int row;
    QByteArrayView reading;
    QByteArrayView word;
    QByteArrayView partOfSpeech;
};
using RowVisitor = std::function<void(const CheckedRow &)>;
// Hands every row of a list to the visitor, in row order. The check walks the
// list once per section, so a source must be able to do this more than once.
using RowSource = std::function<void(const RowVisitor &)>;

// Checks the rows and hands the report to `sink` line by line. Returns
// GrammarErrorsFound: at least one error line.
bool runGrammarCheck(const RowSource &rows, const ReportSink &sink);
// The same for rows 1 .. rowCount-1 of columns 1-3.
bool runGrammarCheck(const CellStore &cells, const ReportSink &sink);

struct GrammarReport {
    QList<QByteArray> lines;
    bool errorsFound = false;

    // The lines, each ended by CR LF, as the report window holds them.
    QByteArray text() const;
};

// The whole report as a list, for callers that keep it.
GrammarReport runGrammarCheck(const CellStore &cells);

// The character rules of one normalised reading; hands its error lines to `sink`.
void CheckReading(QByteArrayView normalizedReading, int row, const ReportSink &sink);

// The gate: a comment beginning with "*" lets save and conversion go ahead
// without a check.
bool grammarGateBypassed(QByteArrayView comment);
// Action words of the gate.
// What the gate lets through or refuses, and the word its refusal names.
enum class GateAction { Save, Convert };
QByteArray gateActionText(GateAction action); // "保存", "変換"
// The two lines of the gate's refusal message, and the message itself (CR LF between).
QList<QByteArray> gateRefusalLines(QByteArrayView action);
QByteArray gateRefusalMessage(QByteArrayView action);
// "文法エラーはありませんでした。"
QByteArray noGrammarErrorsMessage();

} // namespace kelvari
