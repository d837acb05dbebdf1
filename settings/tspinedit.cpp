#include "settings/tspinedit.h"

#include <QRegularExpression>
#include <algorithm>

namespace kelvari {
namespace {

// An optional sign and digits; blanks around them are forgiven.
const QRegularExpression &numberPattern() {
    static const QRegularExpression pattern(QStringLiteral("^\\s*([+-]?)0*([0-9]+)\\s*$"));
    return pattern;
}

} // namespace

int TSpinEdit::valueForText(const QString &text) const {
    const QRegularExpressionMatch match = numberPattern().match(text);
    if (!match.hasMatch())
        return minimum();
    const bool negative = match.captured(1) == QStringLiteral("-");
    const QString digits = match.captured(2);
    // Beyond what an int holds the number is still far outside the range.
    if (digits.size() > 9)
        return negative ? minimum() : maximum();
    const int number = negative ? -digits.toInt() : digits.toInt();
    return std::clamp(number, minimum(), maximum());
}

QValidator::State TSpinEdit::validate(QString &text, int &) const {
    // Anything may be typed or pasted; what is not a number of the range is put
    // right when the field is left.
    const QRegularExpressionMatch match = numberPattern().match(text);
    if (match.hasMatch() && match.captured(2).size() <= 9) {
        const int number = match.captured(1) == QStringLiteral("-") ? -match.captured(2).toInt()
                                                                    : match.captured(2).toInt();
        if (number >= minimum() && number <= maximum())
            return QValidator::Acceptable;
    }
    return QValidator::Intermediate;
}

void TSpinEdit::fixup(QString &text) const {
    text = textFromValue(valueForText(text));
}

int TSpinEdit::valueFromText(const QString &text) const {
    return valueForText(text);
}

} // namespace kelvari
