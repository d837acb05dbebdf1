#pragma once
// Character helpers of the grammar check: the normalisation that folds
// full-width symbols, letters and digits to ASCII, capitalises, and widens
// half-width katakana, and the character count the length rules use.

#include <QByteArray>
#include <QByteArrayView>
#include <string>

namespace kelvari {

// An empty text gives one NUL character: it counts as one and is never reported.
QByteArray NormalizeForCheck(QByteArrayView text);
// The same into a reused buffer, for checking many cells without allocating.
void normalizeForCheckInto(QByteArrayView text, std::string &out);

// Characters of a CP932 text: a lead byte and the byte after it count once; a
// lead byte in the last position counts as one.
qsizetype CountChars(QByteArrayView text);

} // namespace kelvari
