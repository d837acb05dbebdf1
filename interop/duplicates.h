#pragma once
// Entries that another input method would refuse or skip on import: rows with
// the same reading and word, and rows with the same reading, word and part of
// speech.

#include "grid/cellstore.h"

#include <QByteArray>
#include <QList>
#include <vector>

namespace kelvari {

struct DuplicateGroup {
    std::vector<int> rows; // grid rows, ascending; at least two
};

struct DuplicateReport {
    // Same reading and word, ordered by first row.
    std::vector<DuplicateGroup> sameWord;
    // Same reading, word and part of speech, ordered by first row.
    std::vector<DuplicateGroup> sameEntry;
    bool any() const { return !sameWord.empty(); }
};

// Looks at the non-blank rows 1 .. rowCount-1.
DuplicateReport findDuplicates(const CellStore &cells);

// One line per group: "読み・単語" or "読み・単語・品詞", TAB, the rows joined by
// ",", TAB, reading, TAB, word (and TAB, part of speech). CP932.
QList<QByteArray> duplicateLines(const CellStore &cells, const DuplicateReport &report);

} // namespace kelvari
