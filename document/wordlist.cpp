#include "document/wordlist.h"

#include "platform/sjis.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace kelvari {
namespace {

struct RowNumber {
    char buf[16];
    qsizetype len;
    explicit RowNumber(int row) {
        const auto res = std::to_chars(buf, buf + sizeof buf, row);
        len = res.ptr - buf;
    }
    QByteArrayView view() const { return QByteArrayView(buf, len); }
};

} // namespace

int rowCountAfterLoad(int lastRow, int maxRow) {
    const qint64 wanted = qint64(lastRow) + maxRow / 2;
    return int(std::max<qint64>({wanted, qint64(lastRow) + 1, 2}));
}

bool isBlankWordRow(const CellStore &cells, int row) {
    return cells.isRowEmpty(row, WordColumn::Reading, WordColumn::PartOfSpeech);
}

int numberRows(CellStore &cells, int firstRow) {
    int lastWritten = 0;
    const int count = cells.rowCount();
    for (int row = std::max(firstRow, 1); row < count; ++row) {
        const RowNumber number(row);
        const std::string_view current = cells.cellView(WordColumn::Number, row);
        if (QByteArrayView(current.data(), qsizetype(current.size())) == number.view())
            continue;
        cells.setRowNumber(row, number.view());
        lastWritten = row;
    }
    return lastWritten;
}

LoadResult applyWordList(CellStore &cells, JmfContent content, LoadMode mode, int cursorRow,
                         int maxRow) {
    LoadResult result;
    const int oldCount = cells.rowCount();
    const int first = mode == LoadMode::Open ? 0 : std::max(cursorRow, 0);
    const int loaded = int(content.rowCount());
    const int last = first + loaded;
    const int newCount = rowCountAfterLoad(last, maxRow);
    const int colCount = cells.colCount();

    cells.reserveRows(std::max(newCount, oldCount) + 1);
    if (first == 0 && colCount <= WordColumn::Count) {
        // The file's rows are numbered for this place already: the grid shares them.
        cells.assignRows(1, content.takePackedRows(), WordColumn::Count);
    } else {
        std::vector<QByteArrayView> fields;
        fields.reserve(size_t(std::max(colCount, int(WordColumn::Count))));
        for (int i = 0; i < loaded; ++i) {
            const int row = first + 1 + i;
            const DataLineFields f = content.row(i);
            const RowNumber number(row);
            fields.clear();
            fields.push_back(number.view());
            fields.push_back(f.reading);
            fields.push_back(f.word);
            fields.push_back(f.partOfSpeech);
            // Columns beyond the word list's own are not the loader's to touch.
            const PackedRow &old = cells.packedRow(row);
            for (int col = WordColumn::Count; col < colCount; ++col) {
                const std::string_view cell = CellStore::cellOf(old, col);
                fields.push_back(QByteArrayView(cell.data(), qsizetype(cell.size())));
            }
            cells.setPackedRow(row, CellStore::packRow(fields));
        }
    }

    if (mode == LoadMode::Open) {
        // The rest of the list starts empty, also rows that held cells beyond the old count.
        const int clearTo = newCount - 1; // rows from newCount on are dropped below
        for (int row = last + 1; row <= clearTo; ++row) {
            if (colCount <= WordColumn::Count) {
                if (!cells.isRowEmpty(row, 0, WordColumn::Count - 1))
                    cells.clearRow(row);
            } else {
                for (int col = 0; col < WordColumn::Count; ++col)
                    cells.setCell(col, row, {});
            }
        }
        result.comment = content.comment().value_or(QByteArray());
    } else {
        result.comment = content.comment();
    }

    cells.setRowCount(newCount);
    numberRows(cells, mode == LoadMode::Open ? last + 1 : 1);
    result.lastRow = last;
    result.rowCount = newCount;
    return result;
}

CellStore newWordGrid(int maxRow) {
    CellStore cells(WordColumn::Count, maxRow + 1);
    cells.setCell(WordColumn::Reading, 0, sj(u"読み"));
    cells.setCell(WordColumn::Word, 0, sj(u"単語"));
    cells.setCell(WordColumn::PartOfSpeech, 0, sj(u"品詞"));
    numberRows(cells);
    return cells;
}

} // namespace kelvari
