#include "grid/gridsort.h"

#include <algorithm>
#include <string>

namespace kelvari {

namespace {

enum SortKind { kNone, kCompleteRows, kCompleteColumns, kCol, kRow, kAllRows, kAllCols };

bool isPermutation(const int *order, std::size_t n) {
    std::vector<char> seen(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        const int p = order[k];
        if (p < 0 || std::size_t(p) >= n || seen[std::size_t(p)])
            return false;
        seen[std::size_t(p)] = 1;
    }
    return true;
}

// Line k := line order[k], cycle by cycle, one saved line per cycle.
template <typename Get, typename Set> void applyCycles(const int *order, int n, Get get, Set set) {
    std::vector<char> done(std::size_t(n), 0);
    for (int start = 0; start < n; ++start) {
        if (done[std::size_t(start)] || order[start] == start)
            continue;
        QByteArray saved = get(start);
        int i = start;
        while (order[i] != start) {
            set(i, get(order[i]));
            done[std::size_t(i)] = 1;
            i = order[i];
        }
        set(i, saved);
        done[std::size_t(i)] = 1;
    }
}

QByteArray cellText(const CellStore &cells, int col, int row) {
    const std::string_view v = cells.cellView(col, row);
    return QByteArray(v.data(), qsizetype(v.size()));
}

QByteArrayView viewOf(std::string_view v) {
    return QByteArrayView(v.data(), qsizetype(v.size()));
}

// Cells of some lines that must stay where they are while whole lines move.
struct KeptCells {
    std::string bytes;
    std::vector<std::size_t> ends;
    void add(std::string_view cell) {
        bytes.append(cell);
        ends.push_back(bytes.size());
    }
    std::string_view get(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(bytes).substr(begin, ends[i] - begin);
    }
};

} // namespace

void GridSorter::prepareSortIndex(int firstSortable) {
    m_sortIndex.setSorted(false);
    m_sortIndex.setFirstSortable(firstSortable);
}

// P[k] = the former index of the key that goes to position k.
std::vector<int> GridSorter::orderOf(const CellStore &cells, Line line, int index,
                                     int firstSortable, bool tieBreak) const {
    const int count = line == Line::Column ? cells.rowCount() : cells.colCount();
    return sortOrder(
        m_settings, firstSortable, count,
        [&](int i) {
            const std::string_view cell =
                line == Line::Column ? cells.cellView(index, i) : cells.cellView(i, index);
            return QByteArrayView(cell.data(), qsizetype(cell.size()));
        },
        tieBreak);
}

// Applies P to the lines of the given kind and leaves in SortIndex the order
// that undoes it.
void GridSorter::applyOrder(CellStore &cells, int kind, const std::vector<int> &order) {
    const int n = int(order.size());
    const bool blocks = kind == kAllRows || kind == kAllCols;
    const int blockSize = blocks ? m_blockSize : n;
    if (blockSize <= 0 || n % std::max(blockSize, 1) != 0)
        return;
    const int blockCount = blocks ? n / blockSize : 1;

    // The lines must still exist (the grid may have shrunk since the sort).
    int available = 0;
    switch (kind) {
    case kCompleteRows:
    case kCol:
        available = cells.rowCount();
        break;
    case kCompleteColumns:
    case kRow:
        available = cells.colCount();
        break;
    case kAllRows:
        available =
            blockSize <= cells.colCount() && m_firstMovedRow + blockCount <= cells.rowCount()
                ? blockSize
                : 0;
        break;
    case kAllCols:
        available =
            blockSize <= cells.rowCount() && m_firstMovedCol + blockCount <= cells.colCount()
                ? blockSize
                : 0;
        break;
    }
    if (blockSize > available)
        return;
    for (int b = 0; b < blockCount; ++b) {
        if (!isPermutation(order.data() + std::size_t(b) * std::size_t(blockSize),
                           std::size_t(blockSize)))
            return;
    }

    switch (kind) {
    case kCompleteRows: {
        const int keepCols = std::min(m_firstMovedCol, cells.colCount());
        KeptCells kept;
        if (keepCols > 0) {
            for (int k = 0; k < n; ++k) {
                if (order[std::size_t(k)] != k) {
                    for (int c = 0; c < keepCols; ++c)
                        kept.add(cells.cellView(c, k));
                }
            }
        }
        cells.permuteRows(0, order);
        if (keepCols > 0) {
            std::size_t i = 0;
            for (int k = 0; k < n; ++k) {
                if (order[std::size_t(k)] == k)
                    continue;
                for (int c = 0; c < keepCols; ++c, ++i) {
                    const std::string_view keep = kept.get(i);
                    if (cells.cellView(c, k) != keep)
                        cells.setCell(c, k, viewOf(keep));
                }
            }
        }
        break;
    }
    case kCompleteColumns: {
        const int keepRows = std::min(m_firstMovedRow, cells.rowCount());
        KeptCells kept;
        for (int r = 0; r < keepRows; ++r) {
            for (int k = 0; k < n; ++k)
                kept.add(cells.cellView(k, r));
        }
        cells.permuteCols(0, order);
        std::size_t i = 0;
        for (int r = 0; r < keepRows; ++r) {
            for (int k = 0; k < n; ++k, ++i) {
                const std::string_view keep = kept.get(i);
                if (cells.cellView(k, r) != keep)
                    cells.setCell(k, r, viewOf(keep));
            }
        }
        break;
    }
    case kCol: {
        const int col = m_sortedLine;
        applyCycles(
            order.data(), n, [&](int r) { return cellText(cells, col, r); },
            [&](int r, const QByteArray &t) { cells.setCell(col, r, t); });
        break;
    }
    case kRow: {
        const int row = m_sortedLine;
        applyCycles(
            order.data(), n, [&](int c) { return cellText(cells, c, row); },
            [&](int c, const QByteArray &t) { cells.setCell(c, row, t); });
        break;
    }
    case kAllRows:
        for (int b = 0; b < blockCount; ++b) {
            const int row = m_firstMovedRow + b;
            applyCycles(
                order.data() + std::size_t(b) * std::size_t(blockSize), blockSize,
                [&](int c) { return cellText(cells, c, row); },
                [&](int c, const QByteArray &t) { cells.setCell(c, row, t); });
        }
        break;
    case kAllCols:
        for (int b = 0; b < blockCount; ++b) {
            const int col = m_firstMovedCol + b;
            applyCycles(
                order.data() + std::size_t(b) * std::size_t(blockSize), blockSize,
                [&](int r) { return cellText(cells, col, r); },
                [&](int r, const QByteArray &t) { cells.setCell(col, r, t); });
        }
        break;
    default:
        return;
    }

    std::vector<qint32> inverse(order.size());
    for (int b = 0; b < blockCount; ++b) {
        const std::size_t base = std::size_t(b) * std::size_t(blockSize);
        for (int k = 0; k < blockSize; ++k)
            inverse[base + std::size_t(order[base + std::size_t(k)])] = k;
    }
    m_sortIndex.assignValues(inverse);
}

void GridSorter::SortCompleteRows(CellStore &cells, GridShape shape, int ACol) {
    const int sortedFrom = m_useFixed == hfYes ? 0 : shape.fixedRows;
    const int movedFrom = m_useFixed == hfNot ? shape.fixedCols : 0;
    const std::vector<int> order = orderOf(cells, Line::Column, ACol, sortedFrom, true);
    prepareSortIndex(sortedFrom);
    m_firstMovedCol = movedFrom;
    applyOrder(cells, kCompleteRows, order);
    m_lastSortKind = kCompleteRows;
}

void GridSorter::SortCompleteColumns(CellStore &cells, GridShape shape, int ARow) {
    const int sortedFrom = m_useFixed == hfYes ? 0 : shape.fixedCols;
    const int movedFrom = m_useFixed == hfNot ? shape.fixedRows : 0;
    const std::vector<int> order = orderOf(cells, Line::Row, ARow, sortedFrom, true);
    prepareSortIndex(sortedFrom);
    m_firstMovedRow = movedFrom;
    applyOrder(cells, kCompleteColumns, order);
    m_lastSortKind = kCompleteColumns;
}

void GridSorter::SortCol(CellStore &cells, GridShape shape, int ACol) {
    const int sortedFrom = m_useFixed == hfYes ? 0 : shape.fixedRows;
    const std::vector<int> order = orderOf(cells, Line::Column, ACol, sortedFrom, false);
    prepareSortIndex(sortedFrom);
    m_sortedLine = ACol;
    applyOrder(cells, kCol, order);
    m_lastSortKind = kCol;
}

void GridSorter::SortRow(CellStore &cells, GridShape shape, int ARow) {
    const int sortedFrom = m_useFixed == hfYes ? 0 : shape.fixedCols;
    const std::vector<int> order = orderOf(cells, Line::Row, ARow, sortedFrom, false);
    prepareSortIndex(sortedFrom);
    m_sortedLine = ARow;
    applyOrder(cells, kRow, order);
    m_lastSortKind = kRow;
}

void GridSorter::SortAllRows(CellStore &cells, GridShape shape) {
    const int sortedFrom = m_useFixed == hfYes ? 0 : shape.fixedCols;
    const int movedFrom = m_useFixed == hfNot ? shape.fixedRows : 0;
    std::vector<int> order;
    for (int r = movedFrom; r < cells.rowCount(); ++r) {
        const std::vector<int> block = orderOf(cells, Line::Row, r, sortedFrom, false);
        order.insert(order.end(), block.begin(), block.end());
    }
    prepareSortIndex(sortedFrom);
    m_firstMovedRow = movedFrom;
    m_blockSize = cells.colCount();
    applyOrder(cells, kAllRows, order);
    m_lastSortKind = kAllRows;
}

void GridSorter::SortAllCols(CellStore &cells, GridShape shape) {
    const int sortedFrom = m_useFixed == hfYes ? 0 : shape.fixedRows;
    const int movedFrom = m_useFixed == hfNot ? shape.fixedCols : 0;
    std::vector<int> order;
    for (int c = movedFrom; c < cells.colCount(); ++c) {
        const std::vector<int> block = orderOf(cells, Line::Column, c, sortedFrom, false);
        order.insert(order.end(), block.begin(), block.end());
    }
    prepareSortIndex(sortedFrom);
    m_firstMovedCol = movedFrom;
    m_blockSize = cells.rowCount();
    applyOrder(cells, kAllCols, order);
    m_lastSortKind = kAllCols;
}

void GridSorter::UndoSort(CellStore &cells) {
    if (m_lastSortKind == kNone)
        return;
    std::vector<int> order(std::size_t(m_sortIndex.count()));
    for (int k = 0; k < m_sortIndex.count(); ++k)
        order[std::size_t(k)] = m_sortIndex.value(k);
    applyOrder(cells, m_lastSortKind, order);
}

} // namespace kelvari
