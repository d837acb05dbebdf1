#pragma once
// The row commands' texts: one row as clipboard text, the line a paste takes,
// and the row numbers of column 0.

#include "app/undostate.h"

#include <QByteArray>
#include <QByteArrayView>

namespace kelvari {

class CellStore;

// reading "," word "," part of speech, the word in double quotes when it holds a
// comma of either kind; no line end.
QByteArray clipboardRowText(const RowTexts &row);

// The one line of clipboard text that a paste reads into a row. Text from other
// programs often ends in a line break or holds several lines; a cell must never
// take a line break, which the word-list file would split into two lines. So
// line breaks before and after the text are dropped and the text ends at the
// first line break left in it.
QByteArrayView pastedLine(QByteArrayView text);

// Writes 1, 2, … into column 0 of rows 1 to RowCount - 1, touching only the rows
// from `firstRow` on whose number is wrong. Returns the last row written, or 0
// when every number was right (the rows written then lie in firstRow .. that row).
int renumberRows(CellStore &cells, int firstRow);

} // namespace kelvari
