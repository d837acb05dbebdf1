#pragma once
// The cells of a string grid: (column, row) -> CP932 text, both counted from 0.
// A cell outside the current counts can be read and written; it is simply not
// shown. Lowering a count drops the cells beyond it.
//
// Built for word lists of a million rows: each row is one packed byte string
// (length-prefixed cells), so a row costs one allocation whatever its columns,
// and whole-row moves are pointer moves. Rows are shared, never changed in
// place: a copy of a row (another grid's, a snapshot's) is a reference that
// keeps seeing the bytes it was taken from.

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvari {

// An immutable, reference-counted byte string: copying it copies a pointer.
// The empty row holds no allocation.
class PackedRow {
public:
    PackedRow() noexcept = default;
    explicit PackedRow(std::string_view bytes);
    PackedRow(const PackedRow &other) noexcept : m_d(other.m_d) {
        if (m_d)
            m_d->ref.fetch_add(1, std::memory_order_relaxed);
    }
    PackedRow(PackedRow &&other) noexcept : m_d(std::exchange(other.m_d, nullptr)) {}
    PackedRow &operator=(const PackedRow &other) noexcept {
        PackedRow(other).swap(*this);
        return *this;
    }
    PackedRow &operator=(PackedRow &&other) noexcept {
        PackedRow(std::move(other)).swap(*this);
        return *this;
    }
    ~PackedRow() { release(); }

    void swap(PackedRow &other) noexcept { std::swap(m_d, other.m_d); }
    friend void swap(PackedRow &a, PackedRow &b) noexcept { a.swap(b); }

    bool empty() const noexcept { return !m_d; }
    std::size_t size() const noexcept { return m_d ? m_d->size : 0; }
    const char *data() const noexcept { return m_d ? bytes(m_d) : nullptr; }
    std::string_view view() const noexcept { return {data(), size()}; }
    operator std::string_view() const noexcept { return view(); }

    // The bytes to write over in place, when nobody else holds this row (a
    // snapshot's copy must keep its text); null when shared or empty.
    char *unsharedData() noexcept {
        return m_d && m_d->ref.load(std::memory_order_acquire) == 1 ? bytes(m_d) : nullptr;
    }
    // The bytes to write over in place in this row and in every copy of it.
    char *dataOfAllCopies() noexcept { return m_d ? bytes(m_d) : nullptr; }

    // True when both are copies of one row: the same bytes, whatever was
    // written to the store since. Two rows of equal text need not share.
    bool isSharedWith(const PackedRow &other) const noexcept { return m_d == other.m_d; }

    friend bool operator==(const PackedRow &a, const PackedRow &b) noexcept {
        return a.m_d == b.m_d || a.view() == b.view();
    }

    // A row of `size` bytes that `fill(char *)` writes, before anyone can share it.
    template <typename Fill> static PackedRow build(std::size_t size, Fill fill) {
        PackedRow row = allocate(size);
        if (row.m_d)
            fill(bytes(row.m_d));
        return row;
    }

private:
    struct Data {
        std::atomic<std::uint32_t> ref;
        std::uint32_t size;
    };
    static char *bytes(Data *d) noexcept { return reinterpret_cast<char *>(d + 1); }
    static const char *bytes(const Data *d) noexcept {
        return reinterpret_cast<const char *>(d + 1);
    }
    static PackedRow allocate(std::size_t size);
    void release() noexcept;

    Data *m_d = nullptr;
};

class CellStore {
public:
    CellStore(int colCount = 5, int rowCount = 5);

    int colCount() const { return m_colCount; }
    int rowCount() const { return m_rowCount; }
    // Counts never fall below 1. Cells beyond a lowered count are dropped.
    void setColCount(int count);
    void setRowCount(int count);

    QByteArray cell(int col, int row) const;
    // A view into the store, valid until the next change.
    std::string_view cellView(int col, int row) const;
    // A hint for scans that go from row to row: starts fetching a row's cells
    // into the processor's cache before they are read. Any row number is fine.
    void prefetchRow(int row) const;
    void setCell(int col, int row, QByteArrayView text);
    // Column 0's row number, when the rows below an insertion or deletion are
    // numbered again. A number as long as the old one is written over it in
    // place, also in copies of the row: the copies the program keeps (the
    // document's snapshot) compare the words of columns 1 to 3 only, and a
    // million rows are renumbered without building one row anew. Otherwise as
    // setCell.
    void setRowNumber(int row, QByteArrayView number);
    bool isRowEmpty(int row, int firstCol,
                    int lastCol) const; // every cell in [firstCol, lastCol] empty

    // Row and column views: copy all cells of one line onto another, clear a line.
    void copyRow(int dst, int src);
    void copyCol(int dst, int src);
    void clearRow(int row);
    void clearCol(int col);

    // The grid's row and column operations (see TmStrGrid). Index may equal the
    // count (append); Count >= 1.
    void insertRows(int index, int count);
    void deleteRows(int index, int count);
    void insertCols(int index, int count);
    void deleteCols(int index, int count);
    // Moves one line to another position, shifting those between (a header drag).
    void moveRow(int from, int to);
    void moveCol(int from, int to);

    // Reorders rows [first, first + order.size()): the row at first + order[i]
    // moves to first + i. Done in place along the permutation's cycles.
    void permuteRows(int first, const std::vector<int> &order);
    void permuteCols(int first, const std::vector<int> &order);

    // Whole packed rows, for bulk work (loading a million-row file, sorting) that
    // must not go cell by cell.
    using PackedRow = kelvari::PackedRow;
    const PackedRow &packedRow(int row) const;
    static std::string_view cellOf(std::string_view row, int col);
    static PackedRow packRow(const std::vector<QByteArrayView> &cells);
    static PackedRow packRow(std::initializer_list<QByteArrayView> cells);
    void setPackedRow(int row, PackedRow packed);
    // Puts the rows at first, first + 1, ... without reading them: `widestRow`
    // is the most cells any of them holds.
    void assignRows(int first, std::vector<PackedRow> rows, int widestRow);
    void reserveRows(int rows);
    // Takes over a whole new set of rows (a loaded file) without copying them:
    // RowCount becomes their number (at least 1) and ColCount colCount, which no
    // row may exceed. Rows stored below the old last row stay when the new
    // count reaches them, as with setRowCount.
    void replaceRows(std::vector<PackedRow> rows, int colCount);

private:
    void ensureRow(int row);
    // Gives the row table's spare room back once the rows have shrunk far below it.
    void releaseSpareRows();
    // Takes the cells beyond ColCount off a row (row views leave them in place).
    PackedRow detachTail(int row);
    void attachTail(int row, const PackedRow &tail);

    int m_colCount;
    int m_rowCount;
    // At least m_rowCount entries; more when cells below the last row were written.
    std::vector<PackedRow> m_rows;
    // Set once a cell beyond ColCount may exist; the row operations then keep such
    // cells in place instead of moving whole packed rows.
    bool m_hasOutsideCols = false;
};

} // namespace kelvari
