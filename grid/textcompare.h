#pragma once
// The comparison behind the soString key type: CP932 texts compared as
// decoded text under the user's locale, ignoring case (TextCollator), or
// letter by letter ignoring case in the C locale. The collator follows the
// default QLocale and is looked up again when that changes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <vector>

namespace kelvari {

class LeadingWeightTable;
class TextCollator;

// The text with the ASCII letters a to z capitalised. The second byte of a
// double-byte character is left alone: it may lie in a to z (テ is 83 65), and
// capitalising it would turn the character into another one (ウ, 83 45).
QByteArray upperAscii(QByteArrayView text);

// Negative, 0 or positive.
int compareTextIgnoringCase(QByteArrayView a, QByteArrayView b);

// Equality under that comparison with one side fixed: the key is decoded and
// the collator looked up once, for searches that test many cells. Cells whose
// first character already rules them out are not decoded (LeadingWeightTable).
class TextKeyMatcher {
public:
    explicit TextKeyMatcher(QByteArrayView key);
    ~TextKeyMatcher();
    bool matches(QByteArrayView text) const;

private:
    QByteArray m_bytes;
    QString m_text;
    std::shared_ptr<const TextCollator> m_collator; // null: letter by letter
    std::shared_ptr<const LeadingWeightTable> m_leadingWeights;
    quint16 m_keyWeight = 0; // 0: the key's first weight cannot rule anything out
};

// Ranks of texts under that comparison: rank[i] < rank[j] exactly when text i
// sorts before text j, equal ranks for equal texts. Sorts the collator's sort
// keys, kept in one buffer.
std::vector<std::uint32_t> collationRanks(const std::vector<QByteArrayView> &texts);

} // namespace kelvari
