#pragma once
// The grammar check: every row of the word list against the dictionary
// utility's rules. Plain data in, report lines out; the report window and the
// message boxes only show what this returns.

#include "grid/cellstore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace kelvari {

struct GrammarReport {
    // ReportLines: four sections, each opened by its heading, one empty line
    // between sections. CP932.
    QList<QByteArray> lines;
    // GrammarErrorsFound: at least one error line.
    bool errorsFound = false;

    // The lines, each ended by CR LF, as the report window holds them.
    QByteArray text() const;
};

// Checks rows 1 .. rowCount-1 of columns 1-3.
GrammarReport runGrammarCheck(const CellStore &cells);

// The character rules of one normalised reading; appends its error lines.
void CheckReading(QByteArrayView normalizedReading, int row, QList<QByteArray> &lines);

// The gate: a comment beginning with "*" lets save and conversion go ahead
// without a check.
bool grammarGateBypassed(QByteArrayView comment);
// Action words of the gate.
QByteArray gateActionSave();    // "保存"
QByteArray gateActionConvert(); // "変換"
// The two lines of the gate's refusal message, and the message itself (CR LF between).
QList<QByteArray> gateRefusalLines(QByteArrayView action);
QByteArray gateRefusalMessage(QByteArrayView action);
// "文法エラーはありませんでした。"
QByteArray noGrammarErrorsMessage();

} // namespace kelvari
