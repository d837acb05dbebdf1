#include "check/reportexcerpt.h"

#include "platform/sjis.h"

namespace kelvari {

void ReportExcerpt::add(const ReportLine &line) {
    // Once an error line is left out, the headings after it would only suggest
    // sections without errors: everything after it is left out too.
    if (m_omitted > 0 || (line.isError && m_keptErrors >= m_maxErrorLines)) {
        if (line.isError)
            ++m_omitted;
        return;
    }
    if (line.isError)
        ++m_keptErrors;
    m_lines.append(line.text.toByteArray());
}

QList<QByteArray> ReportExcerpt::lines() const {
    QList<QByteArray> out = m_lines;
    if (m_omitted > 0)
        out.append(moreErrorsLine(m_omitted));
    return out;
}

QByteArray moreErrorsLine(qint64 count) {
    return sj(u"ほかに") + QByteArray::number(count) + sj(u"件のエラーがあります。");
}

} // namespace kelvari
