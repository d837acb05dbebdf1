#include "grid/leadingweight.h"

#include "platform/sjis.h"

#include <QByteArray>
#include <QString>

namespace kelvari {
namespace {

constexpr quint32 kUndecided = 1;
constexpr quint32 kKnown = 0x10000;

} // namespace

LeadingWeightTable::LeadingWeightTable(std::shared_ptr<const TextCollator> collator)
    : m_collator(std::move(collator)), m_weights(0x10000, 0) {}

quint16 LeadingWeightTable::weightOfCode(unsigned code) const {
    QByteArray bytes;
    if (code > 0xFF)
        bytes.append(char(code >> 8));
    bytes.append(char(code & 0xFF));
    const QString one = sjis::decode(bytes);
    // The character must come from these bytes alone, whatever follows them.
    if (one.size() != 1 || one[0] == QChar::ReplacementCharacter ||
        sjis::decode(bytes + 'A') != one + QLatin1Char('A'))
        return 0;
    if (m_collator->startsContraction(one[0]))
        return 0;
    // A first element without a primary weight (a combining mark, an ignorable
    // character) leaves the text's first primary weight to what follows: 0.
    return m_collator->firstElementPrimary(one[0]);
}

quint16 LeadingWeightTable::leadingPrimary(QByteArrayView text) const {
    if (text.isEmpty())
        return 0;
    const auto first = static_cast<unsigned char>(text[0]);
    unsigned code = first;
    if (sjis::isLeadByte(first)) {
        if (text.size() < 2)
            return 0;
        code = (code << 8) | static_cast<unsigned char>(text[1]);
    }
    quint32 &entry = m_weights[code];
    if (entry == 0) {
        const quint16 weight = weightOfCode(code);
        entry = weight == 0 ? kUndecided : (kKnown | weight);
    }
    return entry == kUndecided ? 0 : quint16(entry & 0xFFFF);
}

} // namespace kelvari
