#pragma once
// GridSorter: the sort and search state of a string grid and the operations
// that use it, on the grid's CellStore. The grid owns one and forwards its
// published methods and properties to it, inside a model reset; everything here
// is plain data, no widgets.
//
//   GridShape shape{savedFixedRows, savedFixedCols};   // SavedFixedRows/Cols
//   sorter.setKeyType(soNumeric);
//   sorter.SortCompleteRows(cells, shape, 2);          // rows by column 2
//   sorter.UndoSort(cells);                            // back; again: re-sort
//   int col, row;
//   if (sorter.FindFirst(cells, shape, sj(u"語"), true, col, row)) ...
//   while (sorter.FindNext(cells, col, row)) ...
//
// Sorts:  SortCompleteRows(ACol) kind 1, SortCompleteColumns(ARow) kind 2,
//         SortCol(ACol) 3, SortRow(ARow) 4, SortAllRows 5, SortAllCols 6;
//         UseFixed decides which header lines join the order and which move.
//         Equal keys keep their order in SortCompleteRows/SortCompleteColumns.
//         A sort that fails (E_Format_Invalid from a date key) changes neither
//         the cells nor SortIndex nor the last sort kind.
// Search: FindFirst / FindFirstInRow / FindFirstInCol start a search over a
//         rectangle and return its first match; FindNext continues; no match
//         gives false with col = row = -1. SetReverseSearch turns a running
//         search around, or restarts a finished one from the other end.
//         With soDate a key or cell that is not a date raises AppError
//         "'%s' は日付または時刻ではありません" and the search stays on that cell.
//
// The grid's counts are the CellStore's colCount()/rowCount(); the header
// counts come in as GridShape, read from SavedFixedRows/SavedFixedCols.

#include "grid/cellstore.h"
#include "grid/tmstrlist.h"

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace kelvari {

enum HandleFixed : unsigned char { hfNot, hfSmart, hfYes };

struct GridShape {
    int fixedRows;
    int fixedCols;
};

// The rectangle and position of the running search.
struct SearchArea {
    int firstRow = 0;
    int firstCol = 0;
    int currentRow = 0;
    int currentCol = 0;
    int lastRow = 0;
    int lastCol = 0;
    bool rowWise = false;
    bool cellsLeft = false;
};

class GridSorter {
public:
    GridSorter() = default;
    // SortIndex refers to the settings of its own sorter.
    GridSorter(const GridSorter &) = delete;
    GridSorter &operator=(const GridSorter &) = delete;

    // --- key settings (the grid's published properties) ---
    // The one value the sorts, the searches and SortIndex read.
    const SortSettings &settings() const { return m_settings; }
    TMSortType KeyType() const { return m_settings.keyType; }
    void setKeyType(TMSortType type) { m_settings.keyType = type; }
    int KeyPos() const { return m_settings.keyPos; }
    void setKeyPos(int pos) { m_settings.keyPos = pos; }
    int KeyLen() const { return m_settings.keyLen; }
    void setKeyLen(int len) { m_settings.keyLen = len; }
    HandleFixed UseFixed() const { return m_useFixed; }
    void setUseFixed(HandleFixed mode) { m_useFixed = mode; }
    bool SortDescending() const { return m_settings.descending; }
    void setSortDescending(bool descending) { m_settings.descending = descending; }
    // A bad format raises E_Format_Invalid after the text has been stored.
    const QByteArray &DateTimeFormat() const { return m_settings.dateTimeFormat(); }
    void setDateTimeFormat(QByteArrayView format) { m_settings.setDateTimeFormat(format); }
    bool ShortYearExpand() const { return m_settings.shortYearExpand; }
    void setShortYearExpand(bool expand) { m_settings.shortYearExpand = expand; }
    int ShortYearBorder() const { return m_settings.shortYearBorder; }
    void setShortYearBorder(int border) { m_settings.shortYearBorder = border; }

    TmStrList &SortIndex() { return m_sortIndex; }
    const TmStrList &SortIndex() const { return m_sortIndex; }
    int lastSortKind() const { return m_lastSortKind; } // 0 none, 1..6
    int sortedLine() const { return m_sortedLine; }
    int firstMovedCol() const { return m_firstMovedCol; }
    int firstMovedRow() const { return m_firstMovedRow; }

    // --- sorts ---
    void SortCompleteRows(CellStore &cells, GridShape shape, int ACol);
    void SortCompleteColumns(CellStore &cells, GridShape shape, int ARow);
    void SortCol(CellStore &cells, GridShape shape, int ACol);
    void SortRow(CellStore &cells, GridShape shape, int ARow);
    void SortAllRows(CellStore &cells, GridShape shape);
    void SortAllCols(CellStore &cells, GridShape shape);
    // Reverses the last sort; a second call sorts again. Does nothing when no
    // sort ran, or when the grid has since become too small for the stored order.
    void UndoSort(CellStore &cells);

    // --- search (gridsearch.cpp) ---
    const QByteArray &SearchKey() const { return m_searchKey; }
    void setSearchKey(QByteArrayView key) { m_searchKey = key.toByteArray(); }
    bool SearchSubstring() const { return m_searchSubstring; }
    void setSearchSubstring(bool substring) { m_searchSubstring = substring; }
    bool ReverseSearch() const { return m_reverseSearch; }
    void SetReverseSearch(const CellStore &cells, bool reverse);
    bool SearchExists() const { return m_searchExists; }
    const SearchArea &searchArea() const { return m_area; }

    bool FindFirst(const CellStore &cells, GridShape shape, QByteArrayView key, bool rowWise,
                   int &col, int &row);
    bool FindFirstInRow(const CellStore &cells, GridShape shape, QByteArrayView key, int ARow,
                        int &col, int &row);
    bool FindFirstInCol(const CellStore &cells, GridShape shape, QByteArrayView key, int ACol,
                        int &col, int &row);
    bool FindNext(const CellStore &cells, int &col, int &row);

private:
    // SortIndex ready to take an order whose lines before firstSortable stay.
    void prepareSortIndex(int firstSortable);
    // The cells of one column (Line::Column) or one row are the keys.
    enum class Line { Column, Row };
    std::vector<int> orderOf(const CellStore &cells, Line line, int index, int firstSortable,
                             bool tieBreak) const;
    void applyOrder(CellStore &cells, int kind, const std::vector<int> &order);
    void startSearch(const CellStore &cells, QByteArrayView key, const SearchArea &area);
    bool step();
    bool areaEmpty() const;

    SortSettings m_settings;
    HandleFixed m_useFixed = hfNot;

    TmStrList m_sortIndex{m_settings};
    int m_lastSortKind = 0;
    int m_sortedLine = 0;
    int m_firstMovedCol = 0;
    int m_firstMovedRow = 0;
    int m_blockSize = 0; // entries per line in SortIndex for kinds 5 and 6

    QByteArray m_searchKey;
    SearchArea m_area;
    bool m_searchSubstring = false;
    bool m_reverseSearch = false;
    bool m_searchExists = false;
};

} // namespace kelvari
