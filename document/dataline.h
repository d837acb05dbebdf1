#pragma once
// The row text form of one word entry: reading "," word "," part of speech, the
// word in ASCII double quotes when it holds a comma of either kind. JMF data
// lines and the clipboard row text share it.

#include <QByteArray>
#include <QByteArrayView>

namespace kelvari {

struct DataLineFields {
    QByteArrayView reading;
    QByteArrayView word;
    QByteArrayView partOfSpeech;
};

// Splits one line at its first and last separator ("," or "、"). Never fails:
// every line gives some reading, word and part of speech. The views point into
// `line`.
DataLineFields ParseDataLine(QByteArrayView line);

// The line written for one row, without a line end.
QByteArray formatDataLine(QByteArrayView reading, QByteArrayView word, QByteArrayView partOfSpeech);
void appendDataLine(QByteArray &out, QByteArrayView reading, QByteArrayView word,
                    QByteArrayView partOfSpeech);

} // namespace kelvari
