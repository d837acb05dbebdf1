#include "install/tfrmabout.h"

#include "install/aboutdlg.h"
#include "install/appicon.h"
#include "install/tfrmabout_form.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QStyle>

namespace kelvari {
namespace {

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

// The fonts are asked for by name, as everywhere in the editor, and map to an
// installed Japanese font.
void installFontSubstitutions() {
    static const bool done = [] {
        QFont::insertSubstitution(kGothic, QStringLiteral("Noto Sans Mono CJK JP"));
        QFont::insertSubstitution(kPGothic, QStringLiteral("Noto Sans CJK JP"));
        return true;
    }();
    Q_UNUSED(done);
}

QFont pixelFont(const QString &family, int pixels) {
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

void paintBlack(QWidget &label) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label.setPalette(palette);
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent), ui(std::make_unique<::Ui::TfrmAbout>()) {
    installFontSubstitutions();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(238, 187);

    QPalette panel = ui->pnlBack->palette();
    panel.setColor(QPalette::Window, Qt::white);
    ui->pnlBack->setPalette(panel);

    ui->lblVersion->setFont(pixelFont(kGothic, 13));
    ui->lblDate->setFont(pixelFont(kGothic, 13));
    ui->lblNumber->setFont(pixelFont(kPGothic, 13));
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
    QFont productFont(kGothic);
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

void TfrmAbout::centreOnScreen() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

} // namespace kelvari
