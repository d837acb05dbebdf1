#include "install/tfrmabout.h"

#include "widgets/japanesefonts.h"

#include "install/aboutdlg.h"
#include "install/appicon.h"
#include "install/tfrmabout_form.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QStyle>

namespace kelvari {
namespace {

void paintBlack(QWidget &label) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label.setPalette(palette);
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent), ui(std::make_unique<::Ui::TfrmAbout>()) {
    fonts::installSubstitutions();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(238, 187);

    QPalette panel = ui->pnlBack->palette();
    panel.setColor(QPalette::Window, Qt::white);
    ui->pnlBack->setPalette(panel);

    ui->lblVersion->setFont(fonts::withPixels(fonts::gothic(), 13));
    ui->lblDate->setFont(fonts::withPixels(fonts::gothic(), 13));
    ui->lblNumber->setFont(fonts::withPixels(fonts::proportionalGothic(), 13));
    for (QLabel *label : {ui->lblProductName, ui->lblVersion, ui->lblDate, ui->lblNumber})
        paintBlack(*label);

    const QIcon icon = applicationIcon();
    setWindowIcon(icon);
    ui->imgIcon->setPixmap(icon.pixmap(32, 32));
    ui->bbOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    connect(ui->bbOK, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::fill(const AboutContent &content) {
    QFont productFont(fonts::gothic());
    productFont.setPointSize(content.productFontSize > 0 ? content.productFontSize : 1);
    ui->lblProductName->setFont(productFont);
    ui->lblProductName->setText(content.productName);
    ui->lblProductName->move(content.productPos);
    ui->lblVersion->setText(content.versionText);
    ui->lblVersion->move(content.versionPos);
    ui->lblDate->setText(content.dateText);
    ui->lblNumber->setText(content.numberText);
    // Each label as wide as its text, growing from its top left corner.
    for (QLabel *label : {ui->lblProductName, ui->lblVersion, ui->lblDate, ui->lblNumber})
        label->adjustSize();
}

} // namespace kelvari
