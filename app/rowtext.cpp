#include "app/rowtext.h"

#include "document/dataline.h"
#include "grid/cellstore.h"

#include <algorithm>
#include <charconv>

namespace kelvari {

QByteArray clipboardRowText(const RowTexts &row) {
    return formatDataLine(row.reading, row.word, row.partOfSpeech);
}

QByteArrayView pastedLine(QByteArrayView text) {
    // CR and LF are never the second byte of a double-byte character.
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    while (!text.isEmpty() && isBreak(text.front()))
        text = text.sliced(1);
    const auto end = std::find_if(text.begin(), text.end(), isBreak);
    return text.first(end - text.begin());
}

int renumberRows(CellStore &cells, int firstRow) {
    int lastWritten = 0;
    char digits[16];
    for (int row = std::max(1, firstRow); row < cells.rowCount(); ++row) {
        const char *end = std::to_chars(digits, digits + sizeof digits, row).ptr;
        const std::string_view number(digits, static_cast<size_t>(end - digits));
        if (cells.cellView(0, row) == number)
            continue;
        cells.setRowNumber(row,
                           QByteArrayView(number.data(), static_cast<qsizetype>(number.size())));
        lastWritten = row;
    }
    return lastWritten;
}

} // namespace kelvari
