#pragma once
// The about box: product name, version, the program file's date and the number,
// on a white panel. A fixed 238 x 187 that does not grow with the screen's fonts.

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmAbout;
}

namespace kelvari {

struct AboutContent;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);
    ~TfrmAbout() override;

    // Puts the texts, their places and the product name's size on the form.
    void fill(const AboutContent &content);

    // The controls of the form, by their names.
    ::Ui::TfrmAbout &form() { return *ui; }

private:
    std::unique_ptr<::Ui::TfrmAbout> ui;
};

} // namespace kelvari
