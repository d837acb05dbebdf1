#pragma once
// The first errors of a report, for a window that must stay quick when a list
// has millions of errors: the rest are only counted.

#include "check/grammarcheck.h"

#include <QByteArray>
#include <QList>

namespace kelvari {

class ReportExcerpt {
public:
    explicit ReportExcerpt(qsizetype maxErrorLines) : m_maxErrorLines(maxErrorLines) {}

    // Takes the report's lines in order.
    void add(const ReportLine &line);
    ReportSink sink() {
        return [this](const ReportLine &line) { add(line); };
    }

    // The report up to its first `maxErrorLines` error lines, headings included;
    // when more error lines followed, a last line says how many.
    QList<QByteArray> lines() const;
    qint64 omittedErrorLines() const { return m_omitted; }

private:
    qsizetype m_maxErrorLines;
    qsizetype m_keptErrors = 0;
    qint64 m_omitted = 0;
    QList<QByteArray> m_lines;
};

// "ほかに" count "件のエラーがあります。"
QByteArray moreErrorsLine(qint64 count);

} // namespace kelvari
