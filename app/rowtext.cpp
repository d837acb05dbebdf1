#include "app/rowtext.h"

#include "document/dataline.h"

#include <algorithm>

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

} // namespace kelvari
