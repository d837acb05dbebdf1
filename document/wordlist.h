#pragma once
// The word list as it lives in the grid: column 0 the row numbers, columns 1-3
// reading, word and part of speech, row 0 the titles. Applying a parsed file to
// the grid's cells is done here, once, for both ways of loading.

#include "document/jmfreader.h"
#include "grid/cellstore.h"

#include <QByteArray>
#include <optional>

namespace kelvari {

namespace WordColumn {
constexpr int Number = 0;
constexpr int Reading = 1;
constexpr int Word = 2;
constexpr int PartOfSpeech = 3;
constexpr int Count = 4;
} // namespace WordColumn

// "Open" replaces the list; "Add" writes the file's rows below the cursor row.
enum class LoadMode { Open, Add };

struct LoadResult {
    int lastRow = 0;  // r: the last row written (the cursor row when nothing was added)
    int rowCount = 0; // the grid's new row count
    // The comment box's new text: always set for Open (empty when the file has
    // no comment line), set for Add only when the file has one.
    std::optional<QByteArray> comment;
};

// Row count after a load: r plus half of maxRow, but never so small that the last
// loaded row or the title row would fall outside the list.
int rowCountAfterLoad(int lastRow, int maxRow);

// Applies an accepted file to the cells. Nothing here can fail, so a load that
// got this far is never half done. A content handed over (moved) gives its rows
// to the grid as they are.
LoadResult applyWordList(CellStore &cells, JmfContent content, LoadMode mode, int cursorRow,
                         int maxRow);

// Writes 1, 2, … into column 0 of rows firstRow .. rowCount-1 where the number
// is wrong; a million rows are renumbered after every insertion and deletion.
// Returns the last row written, or 0 when every number was right (the rows
// written then lie in firstRow .. that row).
int numberRows(CellStore &cells, int firstRow = 1);

// An empty word list as a new document has it: the titles in row 0 and rows
// 1 to maxRow numbered.
CellStore newWordGrid(int maxRow);

// True when reading, word and part of speech are all empty.
bool isBlankWordRow(const CellStore &cells, int row);

} // namespace kelvari
