#include "settings/tfrmsettei.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/helpengine.h"
#include "platform/helpkey.h"
#include "platform/paths.h"
#include "platform/qtdialogs.h"
#include "platform/sjis.h"
#include "settings/tfrmsettei_form.h"
#include "settings/tspinedit.h"
#include "widgets/browsedialog.h"
#include "widgets/japanesefonts.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QStyle>
#include <QTabWidget>
#include <QWhatsThis>

namespace kelvari {

TfrmSettei::TfrmSettei(Dialogs &dialogs, EditorSettings &settings, ViewerKeyStore &viewerKeys,
                       QWidget *parent)
    : QDialog(parent), ui(std::make_unique<::Ui::TfrmSettei>()), m_dialogs(dialogs),
      m_settings(settings), m_viewerKeys(viewerKeys) {
    ui->setupUi(this);
    ui->seRow->setRange(kMinMaxRow, kMaxMaxRow);
    // A fixed dialog with the help button in its caption (What's This? here).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(fonts::withPixels(fonts::proportionalGothic(), 12));
    ui->ImgWarning->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));

    for (QWidget *control : findChildren<QWidget *>()) {
        if (helpContext(control) != 0)
            control->installEventFilter(this);
    }
    for (QCheckBox *box : ui->GroupBox1->findChildren<QCheckBox *>()) {
        const int tag = box->property("Tag").toInt();
        Q_ASSERT(tag >= 1 && tag <= kViewerAssociationCount);
        m_viewerBoxes.at(tag - 1) = box;
        // Toggled, not clicked: re-ticking a box from the handler counts as a click.
        connect(box, &QCheckBox::toggled, this, &TfrmSettei::cbVer7Click);
    }

    BrowseDlg = new TBrowseDialog(m_dialogs, this);
    BrowseDlg->setObjectName(QStringLiteral("BrowseDlg"));
    BrowseDlg->setCaption(QStringLiteral("ファイルの保存先を指定して下さい。"));
    BrowseDlg->setOptions(TBrowseDialog::biReturnOnlyFSDirs | TBrowseDialog::biStatusText);
    BrowseDlg->OnSelectionChanged = [this](TBrowseDialog &sender, int wnd, const QString &path,
                                           QString &showText, int &okButtonState) {
        BrowseDlgSelectionChanged(sender, wnd, path, showText, okButtonState);
    };

    connect(ui->btnReffer, &QPushButton::clicked, this, &TfrmSettei::btnRefferClick);
    connect(ui->bbOK, &QPushButton::clicked, this, &TfrmSettei::bbOKClick);
    connect(ui->bbCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->bbHelp, &QPushButton::clicked, this, &TfrmSettei::bbHelpClick);

    FormCreate();
    adjustSize();
    centreOnScreen(*this);
}

TfrmSettei::~TfrmSettei() = default;

void TfrmSettei::FormCreate() {
    loadViewerPage();

    GeneralSettings general;
    try {
        general = m_settings.readGeneral();
    } catch (const AppError &error) {
        // The dialog still opens, with the defaults: OK then repairs the store.
        general.SaveDir = EditorSettings::defaultSaveDir();
        m_dialogs.error(parentWidget(), error.message());
    }
    ui->seRow->setValue(general.MaxRow); // the spin edit keeps it within its range
    ui->cbPath->setChecked(general.ShowFullPath);
    ui->cbUtil->setChecked(general.ShowAtokUtility);
    ui->cbHelp->setChecked(general.ShowAtokHelp);
    ui->edtSaveDir->setText(general.SaveDir);
    m_saveDirAtOpening = ui->edtSaveDir->text();
}

void TfrmSettei::loadViewerPage() {
    m_loadingFlag = true;
    const std::array<bool, kViewerAssociationCount> ticked = readViewerAssociations(m_viewerKeys);
    for (std::size_t i = 0; i < m_viewerBoxes.size(); ++i)
        m_viewerBoxes[i]->setChecked(ticked[i]);
    m_loadingFlag = false;
}

GeneralSettings TfrmSettei::values() const {
    return GeneralSettings{ui->seRow->valueForText(ui->seRow->cleanText()), ui->cbPath->isChecked(),
                           ui->cbUtil->isChecked(), ui->cbHelp->isChecked(),
                           ui->edtSaveDir->text()};
}

void TfrmSettei::cbVer7Click() {
    if (m_loadingFlag)
        return;
    auto *box = qobject_cast<QCheckBox *>(sender());
    if (!box)
        return;
    const int tag = box->property("Tag").toInt();
    if ((tag == 1 || tag == 2) && !box->isChecked()) {
        MessageRequest question;
        question.owner = this;
        question.kind = MessageKind::Warning;
        question.caption = QStringLiteral("注意");
        question.text =
            QStringLiteral("チェックをはずすと一太郎7文書でビューアが使えなくなります。") +
            QStringLiteral("\r\n") + QStringLiteral("使わないでいいですか?");
        question.buttons = MessageButton::Yes | MessageButton::No;
        // Anything but a clear Yes keeps the viewer.
        if (m_dialogs.message(question) != ResultYes) {
            box->setChecked(true); // runs this handler again, which marks the row
            return;
        }
    }
    m_changedFlags.at(tag - 1) = true;
}

void TfrmSettei::btnRefferClick() {
    const QString text = ui->edtSaveDir->text();
    BrowseDlg->setDirectory(
        text.isEmpty() ? Paths::includeTrailingSeparator(EditorSettings::defaultSaveDir()) : text);
    if (BrowseDlg->ChooseFolder())
        ui->edtSaveDir->setText(BrowseDlg->Directory());
}

void TfrmSettei::BrowseDlgSelectionChanged(TBrowseDialog &, int, const QString &path,
                                           QString &showText, int &) {
    showText = path;
}

void TfrmSettei::bbOKClick() {
    // A folder the registry's code page cannot hold could not be stored; say so
    // before anything is written.
    const sjis::EncodeResult saveDir = sjis::encode(ui->edtSaveDir->text());
    if (!saveDir.ok()) {
        m_dialogs.error(
            this,
            QStringLiteral("保存場所に保存できない文字 (%1) があります。").arg(saveDir.unmappable));
        ui->pcSetting->setCurrentWidget(ui->tsTool);
        ui->edtSaveDir->setFocus();
        return;
    }
    m_okFlag = true;
    accept();
}

void TfrmSettei::bbHelpClick() {
    if (m_showHelp)
        m_showHelp(ui->pcSetting->currentWidget() == ui->tsFile ? HelpContext::SettingsViewer
                                                                : HelpContext::SettingsGeneral);
}

void TfrmSettei::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TfrmSettei::FormClose() {
    if (m_okFlag) {
        try {
            for (const ViewerAssociation &row : viewerAssociations()) {
                if (m_changedFlags.at(row.tag - 1))
                    applyViewerAssociation(m_viewerKeys, row, viewerBox(row.tag)->isChecked());
            }
            GeneralSettings general = values();
            if (general.SaveDir.isEmpty()) {
                general.SaveDir = EditorSettings::defaultSaveDir();
            } else if (general.SaveDir != m_saveDirAtOpening) {
                // One level only; a folder that exists, or whose parent is missing,
                // is stored all the same.
                QDir().mkdir(general.SaveDir);
            }
            m_settings.writeGeneral(general);
            m_stored = true;
        } catch (const AppError &error) {
            // Nothing after the refused write is stored, and the main window keeps
            // its settings.
            m_dialogs.error(parentWidget(), error.message());
        }
        m_okFlag = false;
    }
    m_changedFlags.fill(false);
}

bool TfrmSettei::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::QueryWhatsThis || event->type() == QEvent::WhatsThis) {
        // A control picked with the caption's help button opens its help topic.
        if (event->type() == QEvent::WhatsThis) {
            QWhatsThis::leaveWhatsThisMode();
            if (m_showHelp)
                m_showHelp(helpContext(static_cast<QWidget *>(watched))); // filters widgets only
        }
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelvari
