#include "grid/tmstrlist.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace kelvari {

namespace listerror {
QString indexOutOfRange() {
    return QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています");
}
QString notAllowedWhileSorted() {
    return QStringLiteral("ｿｰﾄされる文字列ﾘｽﾄに対しては許されない動作です");
}
QString duplicatesNotAllowed() {
    return QStringLiteral("文字列ﾘｽﾄは重複を許しません");
}
} // namespace listerror

namespace {
int sign(int v) {
    return (v > 0) - (v < 0);
}
} // namespace

TmStrList::TmStrList()
    : m_ownSettings(std::make_unique<SortSettings>()), m_settings(m_ownSettings.get()) {}

TmStrList::TmStrList(SortSettings &settings) : m_settings(&settings) {}

void TmStrList::checkIndex(int index) const {
    if (index < 0 || index >= count())
        throw AppError(listerror::indexOutOfRange());
}

void TmStrList::changing() {
    if (onChanging)
        onChanging();
}

void TmStrList::changed() {
    if (onChange)
        onChange();
}

std::size_t TmStrList::store(QByteArrayView text) {
    const std::size_t offset = m_arena.size();
    m_arena.append(text.data(), std::size_t(text.size()));
    return offset;
}

void TmStrList::compactIfWasteful() {
    if (m_waste < 4096 || m_waste * 2 < m_arena.size())
        return;
    std::string packed;
    packed.reserve(m_arena.size() - m_waste);
    for (Item &item : m_items) {
        const std::size_t offset = packed.size();
        packed.append(m_arena, item.offset, item.length);
        item.offset = offset;
    }
    m_arena.swap(packed);
    m_waste = 0;
}

void TmStrList::grow() {
    if (count() < m_capacity)
        return;
    m_capacity += m_capacity <= 4 ? 4 : m_capacity <= 8 ? 8 : 16;
}

void TmStrList::setCapacity(int capacity) {
    m_capacity = std::max(capacity, count());
    m_items.reserve(std::size_t(m_capacity));
}

int TmStrList::add(QByteArrayView text, qint32 value) {
    int index = count();
    if (m_sorted) {
        if (find(text, index)) {
            if (m_duplicates == dupIgnore)
                return index;
            if (m_duplicates == dupError)
                throw AppError(listerror::duplicatesNotAllowed());
        }
    }
    changing();
    grow();
    m_items.insert(m_items.begin() + index, Item{0, quint32(text.size()), value});
    m_items[index].offset = store(text);
    changed();
    return index;
}

void TmStrList::insert(int index, QByteArrayView text, qint32 value) {
    if (m_sorted)
        throw AppError(listerror::notAllowedWhileSorted());
    if (index < 0 || index > count())
        throw AppError(listerror::indexOutOfRange());
    changing();
    grow();
    m_items.insert(m_items.begin() + index, Item{0, quint32(text.size()), value});
    m_items[index].offset = store(text);
    changed();
}

void TmStrList::remove(int index) {
    checkIndex(index);
    changing();
    m_waste += m_items[index].length;
    m_items.erase(m_items.begin() + index);
    compactIfWasteful();
    changed();
}

void TmStrList::exchange(int index1, int index2) {
    checkIndex(index1);
    checkIndex(index2);
    changing();
    std::swap(m_items[index1], m_items[index2]);
    changed();
}

QByteArrayView TmStrList::view(int index) const {
    checkIndex(index);
    const Item &item = m_items[index];
    return QByteArrayView(m_arena.data() + item.offset, item.length);
}

QByteArray TmStrList::string(int index) const {
    return view(index).toByteArray();
}

void TmStrList::setString(int index, QByteArrayView text) {
    if (m_sorted)
        throw AppError(listerror::notAllowedWhileSorted());
    checkIndex(index);
    changing();
    m_waste += m_items[index].length;
    m_items[index].offset = store(text);
    m_items[index].length = quint32(text.size());
    compactIfWasteful();
    changed();
}

qint32 TmStrList::value(int index) const {
    checkIndex(index);
    return m_items[index].value;
}

void TmStrList::setValue(int index, qint32 value) {
    checkIndex(index);
    changing();
    m_items[index].value = value;
    changed();
}

void TmStrList::clear() {
    if (m_items.empty())
        return;
    changing();
    m_items.clear();
    m_arena.clear();
    m_waste = 0;
    changed();
}

void TmStrList::assignValues(const std::vector<qint32> &values) {
    changing();
    m_items.clear();
    m_arena.clear();
    m_waste = 0;
    m_capacity = std::max<int>(m_capacity, int(values.size()));
    m_items.reserve(values.size());
    char buffer[16];
    for (qint32 v : values) {
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
        Q_UNUSED(ec);
        const std::size_t offset = m_arena.size();
        m_arena.append(buffer, end);
        m_items.push_back(Item{offset, quint32(end - buffer), v});
    }
    changed();
}

int TmStrList::compareToText(int index, QByteArrayView text) const {
    const QByteArrayView key = keyOf(view(index));
    switch (m_settings->keyType) {
    case soString:
        return compareTextIgnoringCase(key, text);
    case soStringCaseSensitive:
        return sign(key.compare(text));
    case soNumeric: {
        const double a = readNumber(key), b = readNumber(text);
        return (a > b) - (a < b);
    }
    case soDate:
        return sign(QByteArrayView(dateTimeKey(key)).compare(dateTimeKey(text)));
    }
    return 0;
}

int TmStrList::compareKeys(QByteArrayView a, QByteArrayView b) const {
    switch (m_settings->keyType) {
    case soString:
        return compareTextIgnoringCase(a, b);
    case soStringCaseSensitive:
        return sign(a.compare(b));
    case soNumeric: {
        const double x = readNumber(a), y = readNumber(b);
        return (x > y) - (x < y);
    }
    case soDate:
        return sign(QByteArrayView(dateTimeKey(a)).compare(dateTimeKey(b)));
    }
    return 0;
}

bool TmStrList::find(QByteArrayView text, int &index) const {
    // Searched in the list's own direction and from the first sortable item,
    // so that adding to a descending or partly fixed list keeps it in order.
    bool found = false;
    int lo = std::clamp(m_firstSortable, 0, count());
    int hi = count() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        int c = compareToText(mid, text);
        if (m_settings->descending)
            c = -c;
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (m_duplicates != dupAccept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TmStrList::indexOf(QByteArrayView text) const {
    if (m_sorted && !m_substring) {
        int index = 0;
        return find(text, index) ? index : -1;
    }
    const bool contains =
        m_substring && (keyType() == soString || keyType() == soStringCaseSensitive);
    const QByteArray upperText = keyType() == soString ? upperAscii(text) : QByteArray();
    for (int i = 0; i < count(); ++i) {
        if (contains) {
            const QByteArrayView key = keyOf(view(i));
            if (keyType() == soString ? upperAscii(key).contains(upperText) : key.contains(text))
                return i;
        } else if (compareToText(i, text) == 0) {
            return i;
        }
    }
    return -1;
}

void TmStrList::setSorted(bool sorted) {
    if (m_sorted == sorted)
        return;
    if (sorted)
        sort();
    m_sorted = sorted;
}

void TmStrList::setKeyType(TMSortType type) {
    if (type == keyType())
        return;
    m_settings->keyType = type;
    if (m_sorted && count() > 1)
        sort();
}

void TmStrList::setKeyPos(int pos) {
    pos = std::max(pos, 1);
    if (pos == keyPos())
        return;
    m_settings->keyPos = pos;
    if (m_sorted && count() > 1)
        sort();
}

void TmStrList::setKeyLen(int len) {
    len = std::max(len, 1);
    if (len == keyLen())
        return;
    m_settings->keyLen = len;
    if (m_sorted && count() > 1)
        sort();
}

// Sorting

void TmStrList::sort() {
    sortItems(false);
}
void TmStrList::sortWithTieBreak() {
    sortItems(true);
}

void TmStrList::reorder(int first, const std::vector<int> &order) {
    std::vector<Item> moved;
    moved.reserve(order.size());
    for (int k : order)
        moved.push_back(m_items[std::size_t(first + k)]);
    std::copy(moved.begin(), moved.end(), m_items.begin() + first);
}

namespace {

// Sorts order by byte-string keys. Each element carries the key's first eight
// bytes as a big-endian number, which settles most comparisons without
// touching the strings themselves.
template <typename Value>
void sortByBytes(std::vector<int> &order, const std::vector<std::string_view> &keys, bool desc,
                 bool tieBreak, Value val) {
    struct Element {
        quint64 prefix;
        int index;
    };
    std::vector<Element> elements(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::string_view key = keys[std::size_t(order[k])];
        quint64 prefix = 0;
        for (std::size_t i = 0; i < 8; ++i)
            prefix = (prefix << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
        elements[k] = {prefix, order[k]};
    }
    std::stable_sort(elements.begin(), elements.end(), [&](const Element &a, const Element &b) {
        int c;
        if (a.prefix != b.prefix)
            c = a.prefix < b.prefix ? -1 : 1;
        else
            c = sign(keys[std::size_t(a.index)].compare(keys[std::size_t(b.index)]));
        if (desc)
            c = -c;
        if (c != 0)
            return c < 0;
        return tieBreak && val(a.index) < val(b.index);
    });
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = elements[k].index;
}

// The order of n keys (key(k) gives the cut key of the k-th) by the list's key
// type and direction; with tieBreak equal keys go by ascending val(k).
template <typename Key, typename Value>
std::vector<int> sortedOrder(const SortSettings &settings, int n, Key key, Value val,
                             bool tieBreak) {
    std::vector<int> order(std::size_t(std::max(n, 0)), 0);
    std::iota(order.begin(), order.end(), 0);
    if (n < 2)
        return order;
    const bool desc = settings.descending;
    auto run = [&](auto compare) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int c = desc ? -compare(a, b) : compare(a, b);
            if (c != 0)
                return c < 0;
            return tieBreak && val(a) < val(b);
        });
    };

    switch (settings.keyType) {
    case soString: {
        std::vector<QByteArrayView> keys;
        keys.reserve(std::size_t(n));
        for (int k = 0; k < n; ++k)
            keys.push_back(key(k));
        const std::vector<std::uint32_t> ranks = collationRanks(keys);
        keys = {};
        run([&](int a, int b) { return (ranks[a] > ranks[b]) - (ranks[a] < ranks[b]); });
        break;
    }
    case soStringCaseSensitive: {
        std::vector<std::string_view> keys;
        keys.reserve(std::size_t(n));
        for (int k = 0; k < n; ++k) {
            const QByteArrayView v = key(k);
            keys.emplace_back(v.data(), std::size_t(v.size()));
        }
        sortByBytes(order, keys, desc, tieBreak, val);
        break;
    }
    case soNumeric: {
        std::vector<double> numbers(static_cast<std::size_t>(n));
        std::vector<QByteArrayView> zeroKeys;
        std::vector<int> zeroIndex;
        for (int k = 0; k < n; ++k) {
            numbers[k] = readNumber(key(k));
            if (numbers[k] == 0 && !tieBreak) {
                zeroIndex.push_back(k);
                zeroKeys.push_back(key(k));
            }
        }
        // Texts without a number read as 0; among the zeros they stand in
        // text order. (With the tie-break pass equal numbers keep their order.)
        std::vector<std::uint32_t> zeroRank;
        if (zeroKeys.size() > 1) {
            zeroRank.assign(static_cast<std::size_t>(n), 0);
            const std::vector<std::uint32_t> ranks = collationRanks(zeroKeys);
            for (std::size_t z = 0; z < zeroIndex.size(); ++z)
                zeroRank[zeroIndex[z]] = ranks[z];
        }
        run([&](int a, int b) {
            const double x = numbers[a], y = numbers[b];
            if (x != y)
                return x < y ? -1 : 1;
            if (zeroRank.empty())
                return 0;
            return (zeroRank[a] > zeroRank[b]) - (zeroRank[a] < zeroRank[b]);
        });
        break;
    }
    case soDate: {
        // Every key is worked out before anything moves, so a bad one leaves
        // the list as it was.
        std::string bytes;
        bytes.reserve(std::size_t(n) * 14);
        std::vector<quint32> ends(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            const QByteArray dk = settings.dateTimeKey(key(k));
            bytes.append(dk.constData(), std::size_t(dk.size()));
            ends[k] = quint32(bytes.size());
        }
        std::vector<std::string_view> keys(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            const std::size_t begin = k == 0 ? 0 : ends[k - 1];
            keys[k] = std::string_view(bytes).substr(begin, ends[k] - begin);
        }
        ends = {};
        sortByBytes(order, keys, desc, tieBreak, val);
        break;
    }
    }
    return order;
}

} // namespace

void TmStrList::sortItems(bool tieBreak) {
    const int first = std::clamp(m_firstSortable, 0, count());
    const int n = count() - first;
    if (n < 2)
        return;
    const std::vector<int> order = sortedOrder(
        *m_settings, n, [&](int k) { return keyOf(view(first + k)); },
        [&](int k) { return m_items[std::size_t(first + k)].value; }, tieBreak);
    changing();
    reorder(first, order);
    changed();
}

std::vector<int> sortOrder(const SortSettings &settings, int firstSortable, int count,
                           const std::function<QByteArrayView(int)> &text, bool tieBreak) {
    const int first = std::clamp(firstSortable, 0, std::max(count, 0));
    std::vector<int> order(std::size_t(std::max(count, 0)));
    std::iota(order.begin(), order.begin() + first, 0);
    const std::vector<int> rest = sortedOrder(
        settings, count - first, [&](int k) { return settings.keyOf(text(first + k)); },
        [&](int k) { return first + k; }, tieBreak);
    for (std::size_t k = 0; k < rest.size(); ++k)
        order[std::size_t(first) + k] = first + rest[k];
    return order;
}

} // namespace kelvari
