#pragma once
// The row commands' texts: one row as clipboard text and the line a paste takes.

#include "app/undostate.h"

#include <QByteArray>
#include <QByteArrayView>

namespace kelvari {

// reading "," word "," part of speech, the word in double quotes when it holds a
// comma of either kind; no line end.
QByteArray clipboardRowText(const RowTexts &row);

// The one line of clipboard text that a paste reads into a row. Text from other
// programs often ends in a line break or holds several lines; a cell must never
// take a line break, which the word-list file would split into two lines. So
// line breaks before and after the text are dropped and the text ends at the
// first line break left in it.
QByteArrayView pastedLine(QByteArrayView text);

} // namespace kelvari
