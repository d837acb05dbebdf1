#pragma once
// A quick way to rule out texts that cannot be equal to a search key under the
// locale's case-ignoring collation, without decoding them.
//
// Texts that are equal under the collation have the same sequence of primary
// weights, so they start with the same primary weight. When a CP932 text's
// first character begins no contraction, the text's first collation element is
// that character's own, whatever follows it; so the character alone tells the
// first primary weight of the whole text. The table keeps that weight per
// character code, worked out on first use. A search compares it with the key's
// first primary weight and only decodes and collates the texts that agree.
//
//   LeadingWeightTable table(collator);
//   const quint16 keyWeight = collator->firstPrimary(key);
//   const quint16 weight = table.leadingPrimary(cell);
//   if (keyWeight != 0 && weight != 0 && weight != keyWeight) ... // not equal

#include "grid/textcollator.h"

#include <QByteArrayView>
#include <QtGlobal>
#include <memory>
#include <vector>

namespace kelvari {

class LeadingWeightTable {
public:
    // collator: valid.
    explicit LeadingWeightTable(std::shared_ptr<const TextCollator> collator);

    // TextCollator::firstPrimary of the decoded CP932 text, read from its first
    // character alone; 0 when that character cannot tell (it may begin a
    // contraction, its first element has no primary weight, or its bytes do
    // not decode to one character by themselves).
    quint16 leadingPrimary(QByteArrayView text) const;

private:
    quint16 weightOfCode(unsigned code) const;

    std::shared_ptr<const TextCollator> m_collator;
    // Per CP932 code (a single byte, or lead byte * 256 + trail byte): 0 not
    // worked out yet, kUndecided, or kKnown | weight.
    mutable std::vector<quint32> m_weights;
};

} // namespace kelvari
