#pragma once
// Byte-string helpers shared by the word-list reader and writer, the editing
// commands and the grammar check. Texts are CP932 bytes; positions are 1-based
// byte positions.

#include <QByteArray>
#include <QByteArrayView>

namespace kelvari {

// A copy in which each ideographic comma "、" becomes the ASCII comma ",";
// every other character is copied unchanged.
QByteArray NormalizeCommas(QByteArrayView text);

// True when NormalizeCommas(text) would contain ",": an ASCII comma byte anywhere
// or an ideographic comma on a character boundary. Allocates nothing.
bool containsComma(QByteArrayView text);

// Whether the byte at `pos` is the second byte of a double-byte character.
// Throws AppError("Illegal Index") when pos is outside 1 .. length.
bool IsTrailByteAt(QByteArrayView text, qsizetype pos);

// Position of the last byte equal to `ch`, 0 when there is none.
qsizetype LastCharPos(char ch, QByteArrayView text);

} // namespace kelvari
