#pragma once
// The cells of a string grid: (column, row) -> CP932 text, both counted from 0.
// A cell outside the current counts can be read and written; it is simply not
// shown. Lowering a count drops the cells beyond it.
//
// Built for word lists of a million rows: each row is one packed byte string
// (length-prefixed cells), so a row costs one allocation whatever its columns,
// and whole-row moves are pointer moves.

#include <QByteArray>
#include <string>
#include <string_view>
#include <vector>

namespace kelvari {

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
    using PackedRow = std::string;
    const PackedRow &packedRow(int row) const;
    static std::string_view cellOf(const PackedRow &row, int col);
    static PackedRow packRow(const std::vector<QByteArrayView> &cells);
    void setPackedRow(int row, PackedRow packed);
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
