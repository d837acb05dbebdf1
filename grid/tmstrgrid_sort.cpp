// TmStrGrid: sorting, searching and the grid file, forwarded to the GridSorter
// and the file functions on the grid's cells.

#include "grid/gridfile.h"
#include "grid/tmstrgrid.h"

#include <algorithm>

namespace kelvari {

void TmStrGrid::SetReverseSearch(bool reverse) {
    m_sorter.SetReverseSearch(m_store, reverse);
}

void TmStrGrid::SortCompleteRows(int ACol) {
    const BulkChange bulk(*this);
    m_sorter.SortCompleteRows(m_store, sortShape(), ACol);
}

void TmStrGrid::SortCompleteColumns(int ARow) {
    const BulkChange bulk(*this);
    m_sorter.SortCompleteColumns(m_store, sortShape(), ARow);
}

void TmStrGrid::SortCol(int ACol) {
    const BulkChange bulk(*this);
    m_sorter.SortCol(m_store, sortShape(), ACol);
}

void TmStrGrid::SortRow(int ARow) {
    const BulkChange bulk(*this);
    m_sorter.SortRow(m_store, sortShape(), ARow);
}

void TmStrGrid::SortAllRows() {
    const BulkChange bulk(*this);
    m_sorter.SortAllRows(m_store, sortShape());
}

void TmStrGrid::SortAllCols() {
    const BulkChange bulk(*this);
    m_sorter.SortAllCols(m_store, sortShape());
}

void TmStrGrid::UndoSort() {
    const BulkChange bulk(*this);
    m_sorter.UndoSort(m_store);
}

// Searches only read the cells: the view stays as it is.
bool TmStrGrid::FindFirst(QByteArrayView key, bool rowWise, int &col, int &row) {
    return m_sorter.FindFirst(m_store, sortShape(), key, rowWise, col, row);
}

bool TmStrGrid::FindFirstInRow(QByteArrayView key, int ARow, int &col, int &row) {
    return m_sorter.FindFirstInRow(m_store, sortShape(), key, ARow, col, row);
}

bool TmStrGrid::FindFirstInCol(QByteArrayView key, int ACol, int &col, int &row) {
    return m_sorter.FindFirstInCol(m_store, sortShape(), key, ACol, col, row);
}

bool TmStrGrid::FindNext(int &col, int &row) {
    return m_sorter.FindNext(m_store, col, row);
}

void TmStrGrid::SaveToFile(const QString &fileName, QByteArrayView separator) const {
    kelvari::SaveToFile(m_store, fileName, separator);
}

void TmStrGrid::LoadFromFile(const QString &fileName, QByteArrayView separator) {
    const BulkChange bulk(*this);
    kelvari::LoadFromFile(m_store, fileName, separator);
    // During a header-cell press the real header counts are the saved ones, and
    // the press puts them back: they must fit the counts the file gave.
    if (m_headerClick) {
        m_savedFixedRows = std::min(m_savedFixedRows, RowCount() - 1);
        m_savedFixedCols = std::min(m_savedFixedCols, ColCount() - 1);
    }
}

} // namespace kelvari
