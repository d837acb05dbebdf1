#include "check/tfrmerror.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/qtdialogs.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"
#include "ui_tfrmerror.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kelvari {

namespace {

constexpr int DefaultHeight = 300;
constexpr int DefaultWidth = 480;
constexpr int DefaultFontSize = 10;

QByteArray defaultFontName() {
    return sj(u"ＭＳ ゴシック");
}

} // namespace

TfrmError::TfrmError(Dialogs &dialogs, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TfrmError>()), m_dialogs(dialogs) {
    ui->setupUi(this);
    // Freed when closed; the check creates a fresh one for its next report.
    setAttribute(Qt::WA_DeleteOnClose);
    // The report must never keep the program running once the main window is gone.
    setAttribute(Qt::WA_QuitOnClose, false);

    QPalette memoPalette = ui->Memo->palette();
    memoPalette.setColor(QPalette::Text, Qt::black);
    ui->Memo->setPalette(memoPalette);

    connect(ui->bbClose, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->bbFont, &QPushButton::clicked, this, &TfrmError::bbFontClick);
    connect(ui->bbHelp, &QPushButton::clicked, this, &TfrmError::bbHelpClick);

    FormCreate();
}

TfrmError::~TfrmError() = default;

QPlainTextEdit *TfrmError::Memo() const {
    return ui->Memo;
}
QPushButton *TfrmError::bbClose() const {
    return ui->bbClose;
}
QPushButton *TfrmError::bbFont() const {
    return ui->bbFont;
}
QPushButton *TfrmError::bbHelp() const {
    return ui->bbHelp;
}

void TfrmError::setReportLines(const QList<QByteArray> &lines) {
    QStringList text;
    text.reserve(lines.size());
    for (const QByteArray &line : lines)
        text.append(sjis::decode(line));
    ui->Memo->setPlainText(text.join(QLatin1Char('\n')));
}

void TfrmError::FormCreate() {
    int height = DefaultHeight;
    int width = DefaultWidth;
    QByteArray fontName = defaultFontName();
    int fontSize = DefaultFontSize;
    try {
        Registry registry = Registry::forDataRoot();
        SettingsStore store(registry);
        const QByteArray section = settingsSection();
        height = store.ReadIntegerSetting(section, QByteArrayLiteral("Height"), DefaultHeight);
        width = store.ReadIntegerSetting(section, QByteArrayLiteral("Width"), DefaultWidth);
        fontName = store.ReadTextSetting(section, QByteArrayLiteral("FontName"), fontName);
        fontSize =
            store.ReadIntegerSetting(section, QByteArrayLiteral("FontSize"), DefaultFontSize);
    } catch (const AppError &error) {
        // A damaged setting must not cost the user the report: show why, use defaults
        // for what could not be read.
        m_dialogs.error(parentWidget(), error.message());
    }

    resize(width, height);
    QFont font(sjis::decode(fontName));
    if (fontSize > 0)
        font.setPointSize(fontSize);
    ui->Memo->setFont(font);
    centreOnScreen(*this);
}

void TfrmError::FormClose() {
    try {
        Registry registry = Registry::forDataRoot();
        SettingsStore store(registry);
        const QByteArray section = settingsSection();
        const QFont font = ui->Memo->font();
        store.WriteIntegerSetting(section, QByteArrayLiteral("Height"), height());
        store.WriteIntegerSetting(section, QByteArrayLiteral("Width"), width());
        // A family name outside the code page cannot be stored; the previous
        // name stays rather than a garbled one.
        const sjis::EncodeResult name = sjis::encode(font.family());
        if (name.ok())
            store.WriteTextSetting(section, QByteArrayLiteral("FontName"), name.bytes);
        if (font.pointSize() > 0)
            store.WriteIntegerSetting(section, QByteArrayLiteral("FontSize"), font.pointSize());
    } catch (const AppError &error) {
        m_dialogs.error(parentWidget(), error.message());
    }
}

void TfrmError::closeEvent(QCloseEvent *event) {
    FormClose();
    event->accept();
}

void TfrmError::bbFontClick() {
    if (const auto font = m_dialogs.chooseFont(this, ui->Memo->font()))
        ui->Memo->setFont(*font);
}

void TfrmError::bbHelpClick() {
    if (m_showHelp)
        m_showHelp(HelpContext);
}

} // namespace kelvari
