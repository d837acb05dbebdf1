#pragma once
// Reads the user-dictionary text of other input methods (and plain tab- or
// comma-separated text) into word-list rows. Lines that cannot be read, or
// whose characters Shift-JIS cannot hold, are listed and left out: nothing is
// repaired or replaced.

#include "grid/cellstore.h"
#include "interop/posmapping.h"
#include "interop/textencoding.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <vector>

namespace kelvari {

struct ImportProblem {
    int line = 0; // 1-based line of the input file
    QString text; // the line as read
    QString reason;
};

struct ImportResult {
    TextEncoding encoding = TextEncoding::Utf8;
    // Grid rows: column 0 empty, then reading, word, part of speech (CP932).
    std::vector<PackedRow> rows;
    QList<ImportProblem> problems;
};

ImportResult importWordList(InteropFormat format, QByteArrayView fileBytes);

// One problem as a report line: "12行目：理由: 行の内容".
QString formatImportProblem(const ImportProblem &problem);

struct AppendResult {
    int firstRow = 0; // where the rows went; 0 when there were none
    int lastRow = 0;
};

// Puts the rows after the last non-blank row, as the add-open command places a
// file's rows, sets the row count as that command does and renumbers.
AppendResult appendImportedRows(CellStore &cells, std::vector<PackedRow> rows, int maxRow);

} // namespace kelvari
