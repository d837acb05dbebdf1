#pragma once
// The locale-aware, case-ignoring comparison of texts, straight from ICU.
//
// The collator is opened the way QCollator opens its case-ignoring one for the
// locale (normalisation on, secondary strength, no numeric ordering,
// punctuation not ignored), so both agree on order and equality. Going to ICU
// directly gives what QCollator does not: sort keys written into one caller's
// buffer (a million of them sort without a million allocations) and the
// collation elements behind a search's quick rejections (LeadingWeightTable).
//
//   TextCollator collator("ja_JP");
//   if (collator.valid() && collator.compare(a, b) == 0) ...

#include <QByteArray>
#include <QChar>
#include <QStringView>
#include <QtGlobal>
#include <string>
#include <vector>

struct UCollator;

namespace kelvari {

class TextCollator {
public:
    // icuLocale: the locale as ICU names it ("ja_JP").
    explicit TextCollator(const QByteArray &icuLocale);
    ~TextCollator();
    TextCollator(const TextCollator &) = delete;
    TextCollator &operator=(const TextCollator &) = delete;

    // False when ICU could not open the collator as asked; nothing else may be used then.
    bool valid() const { return m_collator != nullptr; }

    // Negative, 0 or positive. As with QCollator, an empty text comes before
    // every other one, even one made of characters the collation ignores.
    int compare(QStringView a, QStringView b) const;

    // Appends the sort key of text, with its terminating 0 byte: two texts'
    // keys compare as C strings the way the texts collate (the empty text
    // apart, which compare() puts first).
    void appendSortKey(QStringView text, std::string &out) const;

    // The leading 16 bits of the first non-zero primary weight of text, 0 when
    // it has none (empty, or only characters without primary weight).
    quint16 firstPrimary(QStringView text) const;
    // The leading 16 bits of the primary weight of c's first collation element
    // on its own; 0 when that element has no primary weight.
    quint16 firstElementPrimary(QChar c) const;
    // Whether c begins a contraction: then the characters after it may change
    // its collation elements.
    bool startsContraction(QChar c) const { return m_contractionStarts[c.unicode()]; }

private:
    UCollator *m_collator = nullptr;
    std::vector<bool> m_contractionStarts;
};

} // namespace kelvari
