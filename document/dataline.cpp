#include "document/dataline.h"

#include "document/stringutils.h"
#include "platform/sjis.h"

namespace kelvari {
namespace {

struct Separator {
    qsizetype pos = -1; // byte offset, -1 when there is none
    qsizetype len = 0;
};

// Returns the length of the separator starting at i (0 when there is none) and
// the length of the character there.
inline qsizetype separatorAt(QByteArrayView text, qsizetype i, qsizetype &charLen) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (sjis::isLeadByte(b) && i + 1 < text.size()) {
        charLen = 2;
        return (b == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x41) ? 2 : 0; // "、"
    }
    charLen = 1;
    return b == ',' ? 1 : 0;
}

Separator firstSeparator(QByteArrayView text) {
    qsizetype charLen = 0;
    for (qsizetype i = 0; i < text.size(); i += charLen) {
        if (const qsizetype len = separatorAt(text, i, charLen))
            return {i, len};
    }
    return {};
}

Separator lastSeparator(QByteArrayView text) {
    Separator last;
    qsizetype charLen = 0;
    for (qsizetype i = 0; i < text.size(); i += charLen) {
        if (const qsizetype len = separatorAt(text, i, charLen))
            last = {i, len};
    }
    return last;
}

// A quote character is one byte when it is "'" or '"'; anything else is taken
// as a double-byte quotation mark.
inline qsizetype quoteLength(char c) {
    return (c == '\'' || c == '"') ? 1 : 2;
}

} // namespace

DataLineFields ParseDataLine(QByteArrayView line) {
    DataLineFields fields;
    const Separator first = firstSeparator(line);
    QByteArrayView rest = line;
    if (first.pos >= 0) {
        fields.reading = line.first(first.pos);
        rest = line.sliced(first.pos + first.len);
    } else {
        fields.reading = line.first(0);
    }
    if (!rest.isEmpty() && (rest.back() == '*' || rest.back() == '$'))
        rest.chop(1);

    const Separator last = lastSeparator(rest);
    if (last.pos >= 0) {
        fields.partOfSpeech = rest.sliced(last.pos + last.len);
        QByteArrayView word = rest.first(last.pos);
        if (containsComma(word)) {
            // The writer quoted it; take the quotes off again.
            word = word.sliced(std::min(word.size(), quoteLength(word.front())));
            if (!word.isEmpty())
                word.chop(std::min(word.size(), quoteLength(word.back())));
        }
        fields.word = word;
    } else {
        fields.partOfSpeech = rest;
        fields.word = rest.first(0);
    }
    return fields;
}

void appendDataLine(QByteArray &out, QByteArrayView reading, QByteArrayView word,
                    QByteArrayView partOfSpeech) {
    out.append(reading);
    out.append(',');
    if (containsComma(word)) {
        out.append('"');
        out.append(word);
        out.append('"');
    } else {
        out.append(word);
    }
    out.append(',');
    out.append(partOfSpeech);
}

QByteArray formatDataLine(QByteArrayView reading, QByteArrayView word,
                          QByteArrayView partOfSpeech) {
    QByteArray out;
    out.reserve(reading.size() + word.size() + partOfSpeech.size() + 4);
    appendDataLine(out, reading, word, partOfSpeech);
    return out;
}

} // namespace kelvari
