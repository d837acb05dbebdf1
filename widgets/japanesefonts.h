#pragma once
// The fonts the windows ask for by name. The names are those of the original
// Japanese system fonts; each maps to a Japanese font installed here, so the
// layout does not depend on fonts this platform does not have.

#include <QFont>
#include <QString>

namespace kelvari::fonts {

// "ＭＳ ゴシック" (fixed pitch) and "ＭＳ Ｐゴシック" (proportional).
QString gothic();
QString proportionalGothic();

// Maps the two names to installed fonts; harmless to call more than once.
void installSubstitutions();

// The named font at a size in pixels, so that it does not grow with the
// screen's font scaling.
QFont withPixels(const QString &family, int pixels);

} // namespace kelvari::fonts
