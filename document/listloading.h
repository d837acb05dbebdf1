#pragma once
// The command-line tools read a word list as the editor's "Open" does, into a
// grid of the editor's default size, and print why when they cannot.

#include "document/wordlist.h"

#include <QString>
#include <optional>

namespace kelvari {

class ConsolePrinter;

// The editor's default number of data rows of a new list.
constexpr int kCommandLineMaxRow = 100;

// Loads `path` into `cells` (a grid from newWordGrid(kCommandLineMaxRow)).
// Prints "path: reason" and gives none when the file cannot be read or is no
// word list.
std::optional<LoadResult> loadWordListFile(const QString &path, CellStore &cells,
                                           ConsolePrinter &print);

} // namespace kelvari
