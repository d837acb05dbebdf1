#pragma once
// Small builders shared by the word-list tests.

#include "document/wordlist.h"
#include "grid/cellstore.h"
#include "platform/sjis.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace kelvari::test {

// A word grid whose rows 1.. hold the given "reading|word|part" texts (empty
// entries are blank rows), numbered, with at least `rowCount` rows.
inline CellStore wordGrid(const QStringList &rows, int rowCount = 0) {
    CellStore cells(WordColumn::Count, std::max<int>(rowCount, int(rows.size()) + 1));
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].isEmpty())
            continue;
        const QStringList parts = rows[i].split(u'|');
        for (int c = 0; c < parts.size() && c < 3; ++c)
            cells.setCell(WordColumn::Reading + c, i + 1, sj(parts[c]));
    }
    numberRows(cells);
    return cells;
}

// "reading|word|part" of one grid row, for comparing.
inline QString rowText(const CellStore &cells, int row) {
    return sjis::decode(cells.cell(1, row)) + u'|' + sjis::decode(cells.cell(2, row)) + u'|' +
           sjis::decode(cells.cell(3, row));
}

} // namespace kelvari::test
