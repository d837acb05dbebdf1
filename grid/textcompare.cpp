#include "grid/textcompare.h"

#include "grid/leadingweight.h"
#include "grid/textcollator.h"
#include "platform/sjis.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

namespace kelvari {
namespace {

struct Collation {
    QString localeName;
    std::shared_ptr<const TextCollator> collator;             // null: C locale, or ICU failed
    std::shared_ptr<const LeadingWeightTable> leadingWeights; // made for the first search
};

// Opening a collator is costly; keep one for the current default locale.
Collation &collation() {
    thread_local Collation c;
    thread_local bool ready = false;
    const QLocale locale;
    const QString name = locale.bcp47Name();
    if (!ready || c.localeName != name) {
        c.localeName = name;
        c.collator.reset();
        c.leadingWeights.reset();
        if (locale.language() != QLocale::C) {
            // The locale as ICU names it, as QCollator passes it.
            auto collator = std::make_shared<const TextCollator>(name.toLatin1().replace('-', '_'));
            if (collator->valid())
                c.collator = std::move(collator);
        }
        ready = true;
    }
    return c;
}

// The comparison itself, on decoded texts; without a collator, letter by letter.
int compareDecoded(const TextCollator *collator, QStringView a, QStringView b) {
    if (!collator)
        return a.compare(b, Qt::CaseInsensitive);
    return collator->compare(a, b);
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

// Sorts items by compare (negative, 0, positive) and gives the text behind
// each item (indexOf) its rank: equal items share one.
template <typename Item, typename Compare, typename IndexOf>
std::vector<std::uint32_t> ranksBy(std::vector<Item> items, Compare compare, IndexOf indexOf) {
    std::sort(items.begin(), items.end(),
              [&](const Item &a, const Item &b) { return compare(a, b) < 0; });
    std::vector<std::uint32_t> ranks(items.size());
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0 && compare(items[k - 1], items[k]) != 0)
            ++rank;
        ranks[indexOf(items[k])] = rank;
    }
    return ranks;
}

// Ranks by direct comparison, for the C locale.
std::vector<std::uint32_t> plainRanks(const std::vector<QByteArrayView> &texts) {
    std::vector<QString> decoded;
    decoded.reserve(texts.size());
    for (QByteArrayView t : texts)
        decoded.push_back(sjis::decode(t));
    std::vector<std::uint32_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0u);
    return ranksBy(
        std::move(order),
        [&](std::uint32_t a, std::uint32_t b) {
            return compareDecoded(nullptr, decoded[a], decoded[b]);
        },
        [](std::uint32_t i) { return i; });
}

// Sort keys of all texts in one buffer. An empty text gets the empty key,
// which comes before every other, as compare() has it.
class SortKeys {
public:
    SortKeys(const TextCollator &collator, const std::vector<QByteArrayView> &texts) {
        std::size_t bytes = 0;
        for (QByteArrayView t : texts)
            bytes += std::size_t(t.size());
        m_keys.reserve(bytes * 2 + texts.size() * 4 + 64); // usual keys fit; grows if not
        m_starts.reserve(texts.size() + 1);
        for (QByteArrayView t : texts) {
            m_starts.push_back(m_keys.size());
            if (t.isEmpty())
                m_keys.push_back('\0');
            else
                collator.appendSortKey(sjis::decode(t), m_keys);
        }
        m_starts.push_back(m_keys.size());
    }

    // The first eight bytes of key i as one number, zeros after its end; most
    // keys differ there, so the sort rarely reads the keys themselves.
    std::uint64_t prefix(std::size_t i) const {
        const std::size_t length = std::min<std::size_t>(8, m_starts[i + 1] - m_starts[i]);
        std::uint64_t value = 0;
        for (std::size_t k = 0; k < 8; ++k) {
            value <<= 8;
            if (k < length)
                value |= static_cast<unsigned char>(m_keys[m_starts[i] + k]);
        }
        return value;
    }

    // Compares keys i and j beyond an equal prefix. A key of up to eight
    // bytes ends with its 0 inside the prefix, and keys hold no other 0.
    int compareTails(std::size_t i, std::size_t j) const {
        if (m_starts[i + 1] - m_starts[i] <= 8 || m_starts[j + 1] - m_starts[j] <= 8)
            return 0;
        return std::strcmp(m_keys.data() + m_starts[i] + 8, m_keys.data() + m_starts[j] + 8);
    }

private:
    std::string m_keys;
    std::vector<std::size_t> m_starts;
};

} // namespace

QByteArray upperAscii(QByteArrayView text) {
    QByteArray out = text.toByteArray();
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (sjis::isLeadByte(out[i]))
            ++i;
        else if (out[i] >= 'a' && out[i] <= 'z')
            out[i] = char(out[i] - 'a' + 'A');
    }
    return out;
}

int compareTextIgnoringCase(QByteArrayView a, QByteArrayView b) {
    return sign(compareDecoded(collation().collator.get(), sjis::decode(a), sjis::decode(b)));
}

TextKeyMatcher::TextKeyMatcher(QByteArrayView key)
    : m_bytes(key.toByteArray()), m_text(sjis::decode(key)) {
    Collation &c = collation();
    m_collator = c.collator;
    if (!m_collator)
        return;
    if (!c.leadingWeights)
        c.leadingWeights = std::make_shared<const LeadingWeightTable>(c.collator);
    m_leadingWeights = c.leadingWeights;
    m_keyWeight = m_collator->firstPrimary(m_text);
}

TextKeyMatcher::~TextKeyMatcher() = default;

bool TextKeyMatcher::matches(QByteArrayView text) const {
    if (text == QByteArrayView(m_bytes))
        return true;
    if (m_keyWeight != 0) {
        const quint16 weight = m_leadingWeights->leadingPrimary(text);
        if (weight != 0 && weight != m_keyWeight)
            return false;
    }
    return compareDecoded(m_collator.get(), sjis::decode(text), m_text) == 0;
}

std::vector<std::uint32_t> collationRanks(const std::vector<QByteArrayView> &texts) {
    const Collation &c = collation();
    if (!c.collator)
        return plainRanks(texts);

    const SortKeys keys(*c.collator, texts);
    struct Entry {
        std::uint64_t prefix;
        std::uint32_t index;
    };
    std::vector<Entry> entries(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        entries[i] = {keys.prefix(i), std::uint32_t(i)};
    return ranksBy(
        std::move(entries),
        [&](const Entry &a, const Entry &b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix ? -1 : 1;
            return keys.compareTails(a.index, b.index);
        },
        [](const Entry &e) { return e.index; });
}

} // namespace kelvari
