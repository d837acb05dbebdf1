#pragma once
// The encodings word lists of other input methods come in, told apart from
// their bytes: a byte-order mark, else text that is valid UTF-8, else Shift-JIS.

#include <QByteArrayView>
#include <QString>
#include <vector>

namespace kelvari {

enum class TextEncoding { Utf8, Utf16Le, Utf16Be, ShiftJis };

struct DetectedEncoding {
    TextEncoding encoding;
    int bomLength; // bytes of the byte-order mark, 0 without one
};

DetectedEncoding detectEncoding(QByteArrayView bytes);

// "UTF-8", "UTF-16LE", "UTF-16BE", "Shift-JIS".
QString encodingName(TextEncoding encoding);

// The file's lines (ended by LF, CR LF or CR), decoded into one text. A line
// whose bytes are not valid in the detected encoding is marked unreadable,
// never repaired.
struct DecodedText {
    struct Line {
        qsizetype start = 0;
        qsizetype length = 0;
        bool readable = true; // false: bytes that are no character of the encoding
    };

    DetectedEncoding detected;
    QString text;
    std::vector<Line> lines;

    QStringView line(size_t index) const {
        return QStringView(text).sliced(lines[index].start, lines[index].length);
    }
};
DecodedText decodeLines(QByteArrayView bytes);

} // namespace kelvari
