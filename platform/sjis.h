#pragma once
// Shift-JIS (code page 932) is the only text encoding the system stores. Every
// conversion between those bytes and QString happens here and nowhere else.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace kelvari::sjis {

// The code page's lead-byte test: 0x81-0x9F and 0xE0-0xFC start a double-byte
// character, the byte after it is its second byte.
constexpr bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
constexpr bool isLeadByte(char byte) {
    return isLeadByte(static_cast<unsigned char>(byte));
}

// The bytes that may follow a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr bool isTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}
constexpr bool isTrailByte(char byte) {
    return isTrailByte(static_cast<unsigned char>(byte));
}

// True when the last byte is a lead byte without its second byte.
bool endsInLoneLeadByte(QByteArrayView bytes);

// CP932 bytes to text for display. Bytes that are not valid Shift-JIS become
// U+FFFD; the stored bytes themselves are never replaced by this.
QString decode(QByteArrayView bytes);

// CP932 bytes to text that stands for exactly those bytes, for anything the
// program acts on: a file or folder name, a registry key, value name or value.
// No value when the bytes hold anything but characters of the code page: a
// lead byte without its second byte (also at the end), a lead byte followed by
// a byte that cannot be a second byte, a code with no character, or a single
// byte that is no character (0x80, 0xA0, 0xFD-0xFF). Nothing is dropped or
// replaced, so the text never names something the bytes did not.
// The few characters that have two codes (NEC-selected IBM extensions such as
// 0xEE 0xE0 and 0xFB 0xFC for 髙) are exact under either code.
std::optional<QString> decodeExact(QByteArrayView bytes);

struct EncodeResult {
    QByteArray bytes;
    // The characters that CP932 cannot hold, in order of appearance, each once.
    QString unmappable;
    bool ok() const { return unmappable.isEmpty(); }
};

// Text to CP932. When a character has no CP932 form, `unmappable` names it and
// `bytes` must not be stored.
EncodeResult encode(QStringView text);

// Program texts (messages, captions, file lines) written readably in the source:
// sj(u"読み"). A literal that CP932 cannot hold is a programming error.
QByteArray sj(QStringView literal);

} // namespace kelvari::sjis

namespace kelvari {
using sjis::sj;
}
