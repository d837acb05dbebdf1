#pragma once
// A spin edit that always holds a number of its range: a number outside it is
// brought to the nearer bound, and text that is no number at all counts as the
// minimum, when the field loses the focus or is read.

#include <QSpinBox>

namespace kelvari {

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

    // The number `text` stands for in this field.
    int valueForText(const QString &text) const;

protected:
    QValidator::State validate(QString &text, int &pos) const override;
    void fixup(QString &text) const override;
    int valueFromText(const QString &text) const override;
};

} // namespace kelvari
