#include "grid/cellstore.h"

#include "platform/errors.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>
#include <string>
#include <utility>

// A packed row is a sequence of cells, each a length (LEB128: one byte below 128)
// followed by its bytes. Trailing empty cells are never stored, so an empty row
// is an empty PackedRow and costs no allocation.
//
// Row and column views cover the grid's counts only: a row view holds ColCount
// cells and a column view RowCount cells. Cells written outside the counts are
// therefore not carried by the row and column operations; they stay where they
// are until a lowered count drops them. Rows rarely hold such cells, so the row
// operations keep a fast path (whole-row moves) for the usual case.
//
// Rows are never written in place: every change builds a new row, so copies
// held elsewhere (a snapshot of the document) keep their text.

namespace kelvari {

// --- PackedRow ------------------------------------------------------------

PackedRow PackedRow::allocate(std::size_t size) {
    PackedRow row;
    if (size == 0)
        return row;
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw AppError(QStringLiteral("Grid row too long"));
    void *memory = ::operator new(sizeof(Data) + size);
    row.m_d = new (memory) Data{{1}, static_cast<std::uint32_t>(size)};
    return row;
}

PackedRow::PackedRow(std::string_view text)
    : PackedRow(
          build(text.size(), [text](char *out) { std::memcpy(out, text.data(), text.size()); })) {}

void PackedRow::release() noexcept {
    if (m_d && m_d->ref.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        m_d->~Data();
        ::operator delete(m_d);
    }
    m_d = nullptr;
}

namespace {

[[noreturn]] void rangeError() {
    throw AppError(QStringLiteral("Grid index out of range"));
}

std::size_t lengthBytes(std::size_t length) {
    std::size_t n = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++n;
    }
    return n;
}

char *writeLength(char *out, std::size_t length) {
    while (length >= 0x80) {
        *out++ = static_cast<char>((length & 0x7F) | 0x80);
        length >>= 7;
    }
    *out++ = static_cast<char>(length);
    return out;
}

// Reads one cell at `pos`; returns false at the end of the row.
bool nextCell(std::string_view row, size_t &pos, std::string_view &cell) {
    if (pos >= row.size())
        return false;
    size_t length = 0;
    int shift = 0;
    while (pos < row.size()) {
        const auto byte = static_cast<unsigned char>(row[pos++]);
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            break;
        shift += 7;
    }
    length = std::min(length, row.size() - pos);
    cell = row.substr(pos, length);
    pos += length;
    return true;
}

std::vector<std::string_view> unpack(std::string_view row) {
    std::vector<std::string_view> cells;
    size_t pos = 0;
    std::string_view cell;
    while (nextCell(row, pos, cell))
        cells.push_back(cell);
    return cells;
}

int cellCount(std::string_view row) {
    int count = 0;
    size_t pos = 0;
    std::string_view cell;
    while (nextCell(row, pos, cell))
        ++count;
    return count;
}

inline std::string_view toView(std::string_view v) {
    return v;
}
inline std::string_view toView(QByteArrayView v) {
    return {v.data(), static_cast<size_t>(v.size())};
}

// Packs any sequence of cells straight into the row's one allocation.
template <typename Iter> PackedRow packRange(Iter begin, Iter end) {
    while (begin != end && toView(*std::prev(end)).empty())
        --end;
    size_t size = 0;
    for (Iter it = begin; it != end; ++it) {
        const size_t length = toView(*it).size();
        size += length + lengthBytes(length);
    }
    return PackedRow::build(size, [begin, end](char *out) {
        for (Iter it = begin; it != end; ++it) {
            const std::string_view cell = toView(*it);
            out = writeLength(out, cell.size());
            if (!cell.empty())
                std::memcpy(out, cell.data(), cell.size());
            out += cell.size();
        }
    });
}

PackedRow pack(const std::vector<std::string_view> &cells) {
    return packRange(cells.begin(), cells.end());
}

// Byte offset where cell `col` starts (the row's size when it has fewer cells).
size_t offsetOf(std::string_view row, int col) {
    size_t pos = 0;
    std::string_view cell;
    for (int i = 0; i < col && nextCell(row, pos, cell); ++i) {
    }
    return std::min(pos, row.size());
}

// Writes `text` over cell `col` of `row`, whose bytes start at `data`, when it
// is exactly as long as the cell's text; false (nothing written) otherwise.
bool overwriteSameLength(std::string_view row, char *data, int col, QByteArrayView text) {
    if (!data || text.isEmpty())
        return false;
    size_t pos = offsetOf(row, col);
    std::string_view old;
    if (!nextCell(row, pos, old) || old.size() != static_cast<size_t>(text.size()))
        return false;
    std::copy(text.begin(), text.end(), data + (pos - old.size()));
    return true;
}

// The first `col` cells of a row, trailing empty cells trimmed.
PackedRow prefixOf(std::string_view row, int col) {
    return pack(unpack(row.substr(0, offsetOf(row, col))));
}

void checkIndex(int index) {
    if (index < 0)
        rangeError();
}

} // namespace

CellStore::CellStore(int colCount, int rowCount)
    : m_colCount(std::max(1, colCount)), m_rowCount(std::max(1, rowCount)),
      m_rows(static_cast<size_t>(m_rowCount)) {}

void CellStore::setColCount(int count) {
    count = std::max(1, count);
    if (count < m_colCount) {
        // Drops every cell beyond the new count, in every stored row.
        for (PackedRow &row : m_rows) {
            if (!row.empty() && offsetOf(row, count) < row.size())
                row = prefixOf(row, count);
        }
        m_hasOutsideCols = false;
    }
    m_colCount = count;
}

void CellStore::setRowCount(int count) {
    count = std::max(1, count);
    // Lowering drops the rows beyond; raising keeps the cells already written there.
    if (count < m_rowCount) {
        m_rows.resize(static_cast<size_t>(count));
        releaseSpareRows();
    } else {
        ensureRow(count - 1);
    }
    m_rowCount = count;
}

void CellStore::prefetchRow(int row) const {
#if defined(__GNUC__) || defined(__clang__)
    if (row >= 0 && static_cast<size_t>(row) < m_rows.size())
        __builtin_prefetch(m_rows[static_cast<size_t>(row)].data());
#else
    (void)row;
#endif
}

QByteArray CellStore::cell(int col, int row) const {
    const std::string_view view = cellView(col, row);
    return QByteArray(view.data(), static_cast<qsizetype>(view.size()));
}

std::string_view CellStore::cellView(int col, int row) const {
    if (col < 0 || row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return {};
    return cellOf(m_rows[static_cast<size_t>(row)], col);
}

void CellStore::setCell(int col, int row, QByteArrayView text) {
    checkIndex(col);
    checkIndex(row);
    if (text.isEmpty() && static_cast<size_t>(row) >= m_rows.size())
        return;
    ensureRow(row);
    PackedRow &packed = m_rows[static_cast<size_t>(row)];
    // A text as long as the cell's own (renumbering a million rows) is written
    // over it in place, without repacking the row, unless a copy of the row
    // (a snapshot) still needs the old text.
    if (overwriteSameLength(packed, packed.unsharedData(), col, text)) {
        if (col >= m_colCount)
            m_hasOutsideCols = true;
        return;
    }
    std::vector<std::string_view> cells = unpack(packed);
    if (static_cast<size_t>(col) >= cells.size()) {
        if (text.isEmpty())
            return;
        cells.resize(static_cast<size_t>(col) + 1);
    }
    cells[static_cast<size_t>(col)] =
        std::string_view(text.data(), static_cast<size_t>(text.size()));
    packed = pack(cells); // the views point into the old string until this assignment
    if (col >= m_colCount && !text.isEmpty())
        m_hasOutsideCols = true;
}

void CellStore::setRowNumber(int row, QByteArrayView number) {
    checkIndex(row);
    if (static_cast<size_t>(row) < m_rows.size()) {
        PackedRow &packed = m_rows[static_cast<size_t>(row)];
        if (overwriteSameLength(packed, packed.dataOfAllCopies(), 0, number))
            return;
    }
    setCell(0, row, number);
}

bool CellStore::isRowEmpty(int row, int firstCol, int lastCol) const {
    for (int col = std::max(0, firstCol); col <= lastCol; ++col) {
        if (!cellView(col, row).empty())
            return false;
    }
    return true;
}

// --- row and column views -------------------------------------------------

CellStore::PackedRow CellStore::detachTail(int row) {
    if (static_cast<size_t>(row) >= m_rows.size())
        return {};
    PackedRow &packed = m_rows[static_cast<size_t>(row)];
    const size_t split = offsetOf(packed, m_colCount);
    if (split >= packed.size())
        return {};
    PackedRow tail(packed.view().substr(split));
    packed = prefixOf(packed, m_colCount);
    return tail;
}

void CellStore::attachTail(int row, const PackedRow &tail) {
    if (tail.empty())
        return;
    ensureRow(row);
    PackedRow &packed = m_rows[static_cast<size_t>(row)];
    std::string joined(packed.view());
    for (int n = cellCount(packed); n < m_colCount; ++n)
        joined.push_back('\0'); // an empty cell
    joined += tail.view();
    packed = PackedRow(joined);
}

void CellStore::copyRow(int dst, int src) {
    checkIndex(dst);
    checkIndex(src);
    if (dst == src)
        return;
    ensureRow(std::max(dst, src));
    if (!m_hasOutsideCols) {
        m_rows[static_cast<size_t>(dst)] = m_rows[static_cast<size_t>(src)];
        return;
    }
    const PackedRow tail = detachTail(dst);
    m_rows[static_cast<size_t>(dst)] = prefixOf(m_rows[static_cast<size_t>(src)], m_colCount);
    attachTail(dst, tail);
}

void CellStore::copyCol(int dst, int src) {
    checkIndex(dst);
    checkIndex(src);
    if (dst == src)
        return;
    for (int row = 0; row < m_rowCount; ++row) {
        const std::string_view text = cellView(src, row);
        if (text.empty() && cellView(dst, row).empty())
            continue;
        // The old row outlives the view: setCell builds a new one before letting it go.
        setCell(dst, row, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    }
}

void CellStore::clearRow(int row) {
    checkIndex(row);
    if (static_cast<size_t>(row) >= m_rows.size())
        return;
    const PackedRow tail = m_hasOutsideCols ? detachTail(row) : PackedRow();
    m_rows[static_cast<size_t>(row)] = PackedRow();
    attachTail(row, tail);
}

void CellStore::clearCol(int col) {
    checkIndex(col);
    for (int row = 0; row < m_rowCount; ++row) {
        if (!cellView(col, row).empty())
            setCell(col, row, {});
    }
}

// --- the grid's row and column operations --------------------------------

void CellStore::insertRows(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > m_rowCount || count > std::numeric_limits<int>::max() - m_rowCount)
        rangeError();
    const int oldCount = m_rowCount;
    const int newCount = oldCount + count;
    ensureRow(newCount - 1);
    // Cells beyond ColCount stay at their positions: take them off first.
    std::vector<std::pair<int, PackedRow>> tails;
    if (m_hasOutsideCols) {
        for (int row = index; row < newCount; ++row) {
            PackedRow tail = detachTail(row);
            if (!tail.empty())
                tails.emplace_back(row, std::move(tail));
        }
    }
    // Rows [index, oldCount) move down by count; what stood in [oldCount, newCount)
    // outside the grid is overwritten and lands in the new, cleared rows.
    const auto first = m_rows.begin() + index;
    std::rotate(first, m_rows.begin() + oldCount, m_rows.begin() + newCount);
    for (int row = index; row < index + count; ++row)
        m_rows[static_cast<size_t>(row)] = PackedRow();
    m_rowCount = newCount;
    for (const auto &[row, tail] : tails)
        attachTail(row, tail);
}

void CellStore::deleteRows(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > m_rowCount)
        rangeError();
    count = std::min(count, m_rowCount - index);
    if (count == 0)
        return;
    const int newCount = m_rowCount - count;
    // Cells beyond ColCount stay at their positions (those beyond the new last row
    // are cut off with it).
    std::vector<std::pair<int, PackedRow>> tails;
    if (m_hasOutsideCols) {
        for (int row = index; row < m_rowCount; ++row) {
            PackedRow tail = detachTail(row);
            if (!tail.empty() && row < newCount)
                tails.emplace_back(row, std::move(tail));
        }
    }
    m_rows.erase(m_rows.begin() + index, m_rows.begin() + index + count);
    // Lowering the count cuts off what moved in from beyond the old last row.
    m_rows.resize(static_cast<size_t>(std::max(1, newCount)));
    releaseSpareRows();
    m_rowCount = std::max(1, newCount);
    for (const auto &[row, tail] : tails)
        attachTail(row, tail);
}

void CellStore::insertCols(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > m_colCount || count > std::numeric_limits<int>::max() - m_colCount)
        rangeError();
    const int oldCount = m_colCount;
    const int newCount = oldCount + count;
    std::vector<std::string_view> cells;
    for (int r = 0; r < m_rowCount; ++r) {
        PackedRow &packed = m_rows[static_cast<size_t>(r)];
        if (packed.empty() || offsetOf(packed, index) >= packed.size())
            continue; // nothing at or after index: nothing moves
        cells = unpack(packed);
        cells.resize(std::max(cells.size(), static_cast<size_t>(newCount)));
        // Column views are RowCount tall and ColCount wide: cells [index, oldCount)
        // move right by count; the cells in [oldCount, newCount) are overwritten.
        std::move_backward(cells.begin() + index, cells.begin() + oldCount,
                           cells.begin() + newCount);
        std::fill(cells.begin() + index, cells.begin() + index + count, std::string_view());
        packed = pack(cells);
    }
    m_colCount = newCount;
}

void CellStore::deleteCols(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > m_colCount)
        rangeError();
    count = std::min(count, m_colCount - index);
    if (count == 0)
        return;
    const int oldCount = m_colCount;
    std::vector<std::string_view> cells;
    for (int r = 0; r < m_rowCount; ++r) {
        PackedRow &packed = m_rows[static_cast<size_t>(r)];
        if (packed.empty() || offsetOf(packed, index) >= packed.size())
            continue;
        cells = unpack(packed);
        cells.resize(std::max(cells.size(), static_cast<size_t>(oldCount)));
        std::move(cells.begin() + index + count, cells.begin() + oldCount, cells.begin() + index);
        packed = pack(cells);
    }
    // Lowering the count drops what moved in from beyond the old last column.
    setColCount(oldCount - count);
}

void CellStore::moveRow(int from, int to) {
    if (from < 0 || to < 0 || from >= m_rowCount || to >= m_rowCount)
        rangeError();
    if (from == to)
        return;
    // A dragged row takes all its cells along.
    const auto rows = m_rows.begin();
    if (from < to)
        std::rotate(rows + from, rows + from + 1, rows + to + 1);
    else
        std::rotate(rows + to, rows + from, rows + from + 1);
}

void CellStore::moveCol(int from, int to) {
    if (from < 0 || to < 0 || from >= m_colCount || to >= m_colCount)
        rangeError();
    if (from == to)
        return;
    const int last = std::max(from, to);
    std::vector<std::string_view> cells;
    for (PackedRow &packed : m_rows) {
        if (packed.empty() || offsetOf(packed, std::min(from, to)) >= packed.size())
            continue;
        cells = unpack(packed);
        cells.resize(std::max(cells.size(), static_cast<size_t>(last) + 1));
        const auto c = cells.begin();
        if (from < to)
            std::rotate(c + from, c + from + 1, c + to + 1);
        else
            std::rotate(c + to, c + from, c + from + 1);
        packed = pack(cells);
    }
}

namespace {

// Checks that `order` is a permutation of 0..size-1 fitting in [first, limit).
void checkPermutation(int first, const std::vector<int> &order, int limit) {
    if (first < 0 || static_cast<long long>(first) + static_cast<long long>(order.size()) > limit)
        rangeError();
    std::vector<bool> seen(order.size());
    for (int source : order) {
        if (source < 0 || static_cast<size_t>(source) >= order.size() ||
            seen[static_cast<size_t>(source)])
            rangeError();
        seen[static_cast<size_t>(source)] = true;
    }
}

// Applies "element at order[i] moves to i" in place, along the cycles.
template <typename Swap> void applyPermutation(const std::vector<int> &order, Swap swapItems) {
    std::vector<bool> done(order.size());
    for (size_t start = 0; start < order.size(); ++start) {
        if (done[start])
            continue;
        // Walk the cycle: position i receives the element from order[i].
        size_t i = start;
        done[i] = true;
        while (static_cast<size_t>(order[i]) != start) {
            const auto next = static_cast<size_t>(order[i]);
            swapItems(i, next);
            done[next] = true;
            i = next;
        }
    }
}

} // namespace

void CellStore::permuteRows(int first, const std::vector<int> &order) {
    checkPermutation(first, order, std::max<int>(m_rowCount, static_cast<int>(m_rows.size())));
    if (order.empty())
        return;
    ensureRow(first + static_cast<int>(order.size()) - 1);
    const auto base = m_rows.begin() + first;
    applyPermutation(order, [&](size_t a, size_t b) { std::swap(base[a], base[b]); });
}

void CellStore::permuteCols(int first, const std::vector<int> &order) {
    checkPermutation(first, order, std::numeric_limits<int>::max());
    if (order.empty())
        return;
    const size_t end = static_cast<size_t>(first) + order.size();
    std::vector<std::string_view> cells;
    for (int r = 0; r < m_rowCount; ++r) {
        PackedRow &packed = m_rows[static_cast<size_t>(r)];
        if (packed.empty() || offsetOf(packed, first) >= packed.size())
            continue;
        cells = unpack(packed);
        cells.resize(std::max(cells.size(), end));
        const auto base = cells.begin() + first;
        applyPermutation(order, [&](size_t a, size_t b) { std::swap(base[a], base[b]); });
        packed = pack(cells);
    }
    if (static_cast<int>(end) > m_colCount)
        m_hasOutsideCols = true;
}

// --- packed rows ----------------------------------------------------------

const CellStore::PackedRow &CellStore::packedRow(int row) const {
    static const PackedRow empty;
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return empty;
    return m_rows[static_cast<size_t>(row)];
}

std::string_view CellStore::cellOf(std::string_view row, int col) {
    if (col < 0)
        return {};
    size_t pos = 0;
    std::string_view cell;
    for (int i = 0; i <= col; ++i) {
        if (!nextCell(row, pos, cell))
            return {};
    }
    return cell;
}

CellStore::PackedRow CellStore::packRow(const std::vector<QByteArrayView> &cells) {
    return packRange(cells.begin(), cells.end());
}

CellStore::PackedRow CellStore::packRow(std::initializer_list<QByteArrayView> cells) {
    return packRange(cells.begin(), cells.end());
}

void CellStore::setPackedRow(int row, PackedRow packed) {
    checkIndex(row);
    ensureRow(row);
    if (!m_hasOutsideCols && offsetOf(packed, m_colCount) < packed.size())
        m_hasOutsideCols = true;
    m_rows[static_cast<size_t>(row)] = std::move(packed);
}

void CellStore::assignRows(int first, std::vector<PackedRow> rows, int widestRow) {
    checkIndex(first);
    const std::size_t count = rows.size();
    if (count == 0)
        return;
    if (count > static_cast<std::size_t>(std::numeric_limits<int>::max() - first))
        rangeError();
    ensureRow(first + static_cast<int>(count) - 1);
    std::move(rows.begin(), rows.end(), m_rows.begin() + first);
    if (widestRow > m_colCount)
        m_hasOutsideCols = true;
}

namespace {
// Room kept beyond the rows asked for, so that inserting rows into a large grid
// moves rows instead of reallocating (and touching fresh memory for) all of them.
size_t withHeadroom(size_t rows) {
    return rows + rows / 8 + 1024;
}
} // namespace

void CellStore::reserveRows(int rows) {
    if (rows > 0 && static_cast<size_t>(rows) > m_rows.capacity())
        m_rows.reserve(withHeadroom(static_cast<size_t>(rows)));
}

void CellStore::replaceRows(std::vector<PackedRow> rows, int colCount) {
    setColCount(colCount);
    const size_t count = std::max<size_t>(1, rows.size());
    rows.resize(count);
    if (count >= static_cast<size_t>(m_rowCount)) {
        for (size_t row = count; row < m_rows.size(); ++row)
            rows.push_back(std::move(m_rows[row]));
    } else {
        m_hasOutsideCols = false; // the old rows are all gone
    }
    m_rows = std::move(rows);
    m_rowCount = static_cast<int>(count);
}

void CellStore::releaseSpareRows() {
    const size_t wanted = withHeadroom(m_rows.size());
    if (m_rows.capacity() <= 2 * wanted)
        return;
    std::vector<PackedRow> rows;
    rows.reserve(wanted);
    std::move(m_rows.begin(), m_rows.end(), std::back_inserter(rows));
    m_rows = std::move(rows);
}

void CellStore::ensureRow(int row) {
    const auto needed = static_cast<size_t>(row) + 1;
    if (needed <= m_rows.size())
        return;
    if (needed > m_rows.capacity())
        m_rows.reserve(std::max(withHeadroom(needed), m_rows.capacity() * 2));
    m_rows.resize(needed);
}

} // namespace kelvari
