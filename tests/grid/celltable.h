#pragma once
// Small grids written as text: one string per row, cells separated by '|'.

#include "grid/cellstore.h"
#include "platform/sjis.h"

#include <QStringList>

namespace kelvari::test {

inline CellStore makeCells(const QStringList &rows) {
    const int cols = int(rows.value(0).split(QLatin1Char('|')).size());
    CellStore cells(cols, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList parts = rows[r].split(QLatin1Char('|'));
        for (int c = 0; c < parts.size(); ++c)
            cells.setCell(c, r, sj(parts[c]));
    }
    return cells;
}

inline QStringList dump(const CellStore &cells) {
    QStringList rows;
    for (int r = 0; r < cells.rowCount(); ++r) {
        QStringList parts;
        for (int c = 0; c < cells.colCount(); ++c)
            parts << sjis::decode(cells.cell(c, r));
        rows << parts.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace kelvari::test
