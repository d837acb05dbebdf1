#include "settings/tspinedit.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace kelvari {
namespace {

// An optional sign and digits; blanks around them are forgiven.
const QRegularExpression &numberPattern() {
    static const QRegularExpression pattern(QStringLiteral("^\\s*([+-]?)0*([0-9]+)\\s*$"));
    return pattern;
}

// The number the text stands for; none when it is no number. Beyond nine digits
// the number is far outside any range an int spin edit has, and counts as ±10^10.
std::optional<qint64> numberIn(const QString &text) {
    const QRegularExpressionMatch match = numberPattern().match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString digits = match.captured(2);
    const qint64 number = digits.size() > 9 ? qint64(10'000'000'000) : digits.toLongLong();
    return match.captured(1) == QStringLiteral("-") ? -number : number;
}

} // namespace

int TSpinEdit::valueForText(const QString &text) const {
    const std::optional<qint64> number = numberIn(text);
    if (!number)
        return minimum();
    return int(std::clamp<qint64>(*number, minimum(), maximum()));
}

QValidator::State TSpinEdit::validate(QString &text, int &) const {
    // Anything may be typed or pasted; what is not a number of the range is put
    // right when the field is left.
    const std::optional<qint64> number = numberIn(text);
    return number && *number >= minimum() && *number <= maximum() ? QValidator::Acceptable
                                                                  : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString &text) const {
    text = textFromValue(valueForText(text));
}

int TSpinEdit::valueFromText(const QString &text) const {
    return valueForText(text);
}

} // namespace kelvari
