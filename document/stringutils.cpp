#include "document/stringutils.h"

#include "platform/errors.h"
#include "platform/sjis.h"

namespace kelvari {
namespace {

// The ideographic comma "、".
constexpr unsigned char kIdeoCommaLead = 0x81;
constexpr unsigned char kIdeoCommaTrail = 0x41;

} // namespace

QByteArray NormalizeCommas(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (sjis::isLeadByte(b) && i + 1 < n) {
            if (b == kIdeoCommaLead && static_cast<unsigned char>(text[i + 1]) == kIdeoCommaTrail)
                out.append(',');
            else
                out.append(text.sliced(i, 2));
            i += 2;
        } else {
            out.append(text[i]);
            ++i;
        }
    }
    return out;
}

bool containsComma(QByteArrayView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == ',')
            return true;
        if (sjis::isLeadByte(b) && i + 1 < n) {
            const auto t = static_cast<unsigned char>(text[i + 1]);
            // A comma byte behind a lead byte is copied by NormalizeCommas all the same.
            if (t == ',' || (b == kIdeoCommaLead && t == kIdeoCommaTrail))
                return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

bool IsTrailByteAt(QByteArrayView text, qsizetype pos) {
    if (pos < 1 || pos > text.size())
        throw AppError(QStringLiteral("Illegal Index"));
    qsizetype leads = 0;
    for (qsizetype p = pos - 1; p >= 1 && sjis::isLeadByte(text[p - 1]); --p)
        ++leads;
    return leads % 2 == 1;
}

qsizetype LastCharPos(char ch, QByteArrayView text) {
    for (qsizetype p = text.size(); p >= 1; --p) {
        if (text[p - 1] == ch)
            return p;
    }
    return 0;
}

} // namespace kelvari
