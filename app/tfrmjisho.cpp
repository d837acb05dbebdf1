#include "app/tfrmjisho.h"

#include "widgets/japanesefonts.h"

#include "app/editingcommands.h"
#include "app/interopcommands.h"
#include "app/mainwindowrules.h"
#include "app/tfrmjisho_form.h"
#include "check/conversioncommand.h"
#include "check/grammarcommand.h"
#include "document/documentcommands.h"
#include "document/documentmodel.h"
#include "document/historymenu.h"
#include "document/wordlist.h"
#include "grid/tmstrgrid.h"
#include "install/aboutbox.h"
#include "install/aboutdlg.h"
#include "install/appicon.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "platform/helpkey.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sjis.h"
#include "settings/editorsettings.h"
#include "widgets/beepdialog.h"
#include "widgets/explorerbutton.h"
#include "widgets/helpviewer.h"
#include "widgets/resources.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLayout>
#include <QMenu>
#include <QResizeEvent>

namespace kelvari {

namespace {

constexpr int kDesignHinsiHeight = 362;
constexpr int kDesignHinsiWidth = 179;
constexpr int kDesignCommentWidth = 178;
constexpr int kNumberColumnWidth = 30;
constexpr int kRowHeight = 24;
constexpr std::array<int, 3> kDefaultColWidths{120, 104, 68};

// Registry text holds CP932; a path that CP932 cannot hold cannot be stored.
std::optional<QByteArray> storedPath(const QString &path) {
    sjis::EncodeResult encoded = sjis::encode(path);
    if (!encoded.ok())
        return std::nullopt;
    return encoded.bytes;
}

} // namespace

TfrmJisho::TfrmJisho(Dialogs &dialogs, const QString &commandLineFileName, QWidget *parent,
                     HelpEngine *help)
    : QMainWindow(parent), m_dialogs(dialogs), ui(std::make_unique<::Ui::TfrmJisho>()),
      m_commandLineFileName(commandLineFileName),
      m_ownHelp(help ? nullptr : std::make_unique<HelpViewer>()),
      m_help(help ? help : m_ownHelp.get()) {
    fonts::installSubstitutions();
    ui->setupUi(this);
    // System menu and minimise box only: the window cannot be maximised.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(fonts::withPixels(fonts::proportionalGothic(), 12));
    ui->edtComment->setFont(fonts::withPixels(fonts::gothic(), 12));
    // The label takes the room its text needs in the installed font; the comment
    // box starts where it ends.
    ui->lblComment->resize(std::max(ui->lblComment->width(), ui->lblComment->sizeHint().width()),
                           ui->lblComment->height());
    ui->edtComment->move(ui->lblComment->x() + ui->lblComment->width(), ui->edtComment->y());
    // The window follows whatever size it is given; nothing enforces a minimum.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    ui->mmSearch->menuAction()->setVisible(false);
    for (int i = 0; i < 41; ++i) {
        QAbstractButton *button = findChild<QAbstractButton *>(QStringLiteral("rbHinsi%1").arg(i));
        ui->rgHinsiButtons->setId(button, i);
    }

    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    PopupMenu->addAction(ui->pmHinsi);
    PopupMenu->addAction(ui->N10);
    PopupMenu->addAction(ui->mmInitialize);
    connect(ui->rgHinsi, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu->popup(ui->rgHinsi->mapToGlobal(pos)); });

    createToolbarButtons();
    createDialogs();
    configureGrid();
    createCommands();
    createConversionAndHelp();
    connectCommands();
    FormCreate();
}

TfrmJisho::~TfrmJisho() {
    FormDestroy();
}

TmStrGrid &TfrmJisho::grid() {
    return *ui->sgJisho;
}

void TfrmJisho::setTitleFor(const QString &path) {
    m_model->setTitlePath(path);
}

void TfrmJisho::createToolbarButtons() {
    struct Button {
        const char *name;
        QString caption;
        const char *icon;
        int top;
    };
    const Button buttons[] = {
        {"ebNew", QStringLiteral("新規"), ":/icons/new.png", 6},
        {"ebOpen", QStringLiteral("開く"), ":/icons/open.png", 55},
        {"ebSave", QStringLiteral("保存"), ":/icons/save.png", 104},
        {"ebConvert", QStringLiteral("変換"), ":/icons/convert.png", 153},
        {"ebSetting", QStringLiteral("設定"), ":/icons/setting.png", 202},
        {"ebHelp", QStringLiteral("ヘルプ"), ":/icons/help.png", 251},
        {"ebAtok", QStringLiteral("ATOK"), ":/icons/atok.png", 300},
    };
    initWidgetResources();
    for (std::size_t i = 0; i < m_toolbarButtons.size(); ++i) {
        auto *button = new TExplorerButton(ui->pnlLeft);
        button->setObjectName(QString::fromLatin1(buttons[i].name));
        button->setGeometry(3, buttons[i].top, 45, 45);
        button->setCaption(buttons[i].caption);
        button->setBitmap(QImage(QString::fromLatin1(buttons[i].icon)));
        m_toolbarButtons[i] = button;
    }
}

void TfrmJisho::createDialogs() {
    auto make = [this](const char *name, TBeepDialog::TMsgDlgType type,
                       TBeepDialog::TBeepType sound) {
        auto *dialog = new TBeepDialog(m_dialogs, this);
        dialog->setObjectName(QString::fromLatin1(name));
        dialog->setOwnerWidget(this);
        dialog->setDlgType(type);
        dialog->setBeepType(sound);
        return dialog;
    };
    // The texts are set where each dialog is used: the document commands pass
    // theirs, the grammar command sets up its two.
    BeepDlg = make("BeepDlg", TBeepDialog::mtError, TBeepDialog::btICONHAND);
    BeepDlg2 = make("BeepDlg2", TBeepDialog::mtConfirmation, TBeepDialog::btICONQUESTION);
    BeepDlg2->setDlgButton(MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
    BeepDlg5 = make("BeepDlg5", TBeepDialog::mtInformation, TBeepDialog::btICONASTERISK);
    BeepDlg6 = make("BeepDlg6", TBeepDialog::mtError, TBeepDialog::btICONHAND);
    BeepDlg7 = make("BeepDlg7", TBeepDialog::mtError, TBeepDialog::btICONHAND);
}

void TfrmJisho::createCommands() {
    m_model = std::make_unique<DocumentModel>();
    m_editing = std::make_unique<EditingCommands>(EditingCommands::Parts{
        m_state,
        grid(),
        *this,
        *ui->edtComment,
        *ui->rgHinsiButtons,
        *ui->mmUndo,
        *ui->sbUndo,
        *ui->mmPaste,
        {ui->mmUndo, ui->mmCut, ui->mmCopy, ui->mmPaste, ui->mmAdd, ui->mmDelete},
        m_dialogs});
    m_grammar = std::make_unique<GrammarCommand>(
        GrammarCommand::Parts{m_dialogs, grid(), *ui->edtComment, *BeepDlg5, *BeepDlg6, this});
    DocumentCommands::Parts parts{
        .model = *m_model,
        .state = m_state,
        .sgJisho = grid(),
        .edtComment = *ui->edtComment,
        .dialogs = m_dialogs,
        .owner = this,
        .showBeepDlg =
            [this](const QString &message) {
                BeepDlg->setDlgMessage(message);
                BeepDlg->ShowAndWait();
            },
        .showBeepDlg2 =
            [this](const QString &message) {
                BeepDlg2->setDlgMessage(message);
                return BeepDlg2->ShowForResult();
            },
        .showBeepDlg7 =
            [this](const QString &message) {
                BeepDlg7->setDlgMessage(message);
                BeepDlg7->ShowAndWait();
            },
        .saveGate = [this] { return m_grammar->GrammarGate(GateAction::Save); },
        .sgJishoClick = [this] { sgJishoClick(); },
    };
    m_document = std::make_unique<DocumentCommands>(parts);
    m_interop = std::make_unique<InteropCommands>(
        InteropCommands::Parts{m_dialogs, grid(), m_state, this, [this] { sgJishoClick(); }});
    followDocument();
}

void TfrmJisho::followDocument() {
    connect(m_model.get(), &DocumentModel::titleChanged, this,
            [this](const QString &path) { setWindowTitle(TitleFor(path, m_state.ShowFullPath)); });
    connect(m_model.get(), &DocumentModel::conversionEnabledChanged, this, [this](bool enabled) {
        ui->mmConvert->setEnabled(enabled);
        ui->mmOthers->setEnabled(enabled);
        m_toolbarButtons[3]->setEnabled(enabled);
    });
    // The entries go between mmHistory and the export and import items.
    m_historyMenu = std::make_unique<HistoryMenu>(
        *m_model, *ui->mmFile, *ui->mmBar,
        [this](QAction *entry) {
            connect(entry, &QAction::triggered, this, &TfrmJisho::mmHistoryClick);
        },
        nullptr, ui->N12);
}

void TfrmJisho::createConversionAndHelp() {
    m_conversion = std::make_unique<ConversionCommand>(ConversionCommand::Parts{
        m_state, m_dialogs, *m_help, this, [this] { return m_model->CurrentFileName(); },
        [this] {
            mmSaveAsClick();
            return m_model->SaveSucceeded();
        },
        [this] { return m_grammar->GrammarGate(GateAction::Convert); }});
    m_grammar->setShowHelp([this](int context) { m_help->showContext(context); });
    m_helpKey = std::make_unique<HelpKey>(*m_help);
}

void TfrmJisho::configureGrid() {
    TmStrGrid &g = grid();
    g.setFont(fonts::withPixels(fonts::gothic(), 15));
    g.SetColCount(4);
    g.SetRowCount(101);
    g.SetDefaultRowHeight(kRowHeight);
    const int designWidths[] = {64, 91, 55, 71};
    for (int col = 0; col < 4; ++col)
        g.SetColWidths(col, designWidths[col]);
    g.setDialogs(&m_dialogs);
    g.SetKeepFiles(false);
    g.SetKeyType(soString);
    g.SetKeyPos(1);
    g.SetKeyLen(2147483647);
    g.SetUseFixed(hfNot);
    g.SetSearchSubstring(false);
    g.SetEnableClipboardShortcuts(false);
    g.SetPasteToCursor(false);
    g.SetClickFixed(false);
    g.SetSortDescending(false);
    g.SetReverseSearch(false);
    g.SetSavedFixedRows(1);
    g.SetSavedFixedCols(1);
    g.SetDateTimeFormat("yy/MM/dd H:mm:ss");
    g.SetShortYearExpand(true);
    g.SetShortYearBorder(10);
    g.OnDropFiles = [this](auto &&...) { sgJishoDropFiles(); };
}

void TfrmJisho::connectCommands() {
    const std::pair<QAction *, void (TfrmJisho::*)()> menu[] = {
        {ui->mmNew, &TfrmJisho::mmNewClick},
        {ui->mmOpen, &TfrmJisho::mmOpenClick},
        {ui->mmAddOpen, &TfrmJisho::mmAddOpenClick},
        {ui->mmSave, &TfrmJisho::mmSaveClick},
        {ui->mmSaveAs, &TfrmJisho::mmSaveAsClick},
        {ui->mmClose, &TfrmJisho::mmCloseClick},
        {ui->mmHistory, &TfrmJisho::mmHistoryClick},
        {ui->mmExport, &TfrmJisho::mmExportClick},
        {ui->mmImport, &TfrmJisho::mmImportClick},
        {ui->mmDuplicates, &TfrmJisho::mmDuplicatesClick},
        {ui->mmUndo, &TfrmJisho::mmUndoClick},
        {ui->mmCut, &TfrmJisho::mmCutClick},
        {ui->mmCopy, &TfrmJisho::mmCopyClick},
        {ui->mmPaste, &TfrmJisho::mmPasteClick},
        {ui->mmAdd, &TfrmJisho::mmAddClick},
        {ui->mmDelete, &TfrmJisho::mmDeleteClick},
        {ui->mmConvert, &TfrmJisho::mmConvertClick},
        {ui->mmOthers, &TfrmJisho::mmOthersClick},
        {ui->mmUtil, &TfrmJisho::mmUtilClick},
        {ui->mmSettei, &TfrmJisho::mmSetteiClick},
        {ui->mmFont, &TfrmJisho::mmFontClick},
        {ui->mmBunpo, &TfrmJisho::mmBunpoClick},
        {ui->mmView, &TfrmJisho::mmViewClick},
        {ui->mmContents, &TfrmJisho::mmContentsClick},
        {ui->mmTopic, &TfrmJisho::mmTopicClick},
        {ui->mmAtokHelp, &TfrmJisho::mmAtokHelpClick},
        {ui->mmAbout, &TfrmJisho::mmAboutClick},
        {ui->pmHinsi, &TfrmJisho::pmHinsiClick},
        {ui->mmInitialize, &TfrmJisho::mmInitializeClick},
    };
    for (const auto &[action, handler] : menu)
        connect(action, &QAction::triggered, this, handler);
    connect(ui->mmEdit, &QMenu::aboutToShow, this, &TfrmJisho::mmEditClick);

    const std::array<void (TfrmJisho::*)(), 7> toolbar = {
        &TfrmJisho::mmNewClick,     &TfrmJisho::mmOpenClick,   &TfrmJisho::mmSaveClick,
        &TfrmJisho::mmConvertClick, &TfrmJisho::mmSetteiClick, &TfrmJisho::ebHelpClick,
        &TfrmJisho::mmAtokHelpClick};
    for (std::size_t i = 0; i < toolbar.size(); ++i)
        connect(m_toolbarButtons[i], &TExplorerButton::clicked, this, toolbar[i]);

    connect(ui->sbAdd, &QToolButton::clicked, this, &TfrmJisho::mmAddClick);
    connect(ui->sbDelete, &QToolButton::clicked, this, &TfrmJisho::mmDeleteClick);
    connect(ui->sbUndo, &QToolButton::clicked, this, &TfrmJisho::mmUndoClick);
    connect(ui->rgHinsiButtons, &QButtonGroup::idClicked, this, &TfrmJisho::rgHinsiClick);
    grid().OnClick = [this](TmStrGrid &) { sgJishoClick(); };
    grid().OnGetEditText = [this](TmStrGrid &, int, int, QByteArray &) { sgJishoGetEditText(); };
}

// ---------------------------------------------------------------------------
// Window life

void TfrmJisho::FormCreate() {
    m_state.FirstResizePending = true;
    // The about component: first the installation check, then the help file.
    QApplication::setWindowIcon(applicationIcon());
    AboutDlg = new TAboutDlg(this);
    applyEditorValues(*AboutDlg);
    const QString installationError = aboutbox::CheckInstallation(*AboutDlg, m_dialogs);
    m_helpFile = AboutDlg->HelpFilePath();
    m_help->setHelpFile(m_helpFile);
    RegisterJmfFileType();
    readSettings(installationError);
    shapeGrid();
    recordColumnWidths();
    // The part-of-speech list takes the height the window gained over its design.
    ui->rgHinsi->resize(ui->rgHinsi->width(), ui->rgHinsi->height() + height() - kDesignFormHeight);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    // A file that is refused or cannot be read has shown its message; the
    // program then starts as a fresh document.
    if (m_commandLineFileName.isEmpty() ||
        !m_document->LoadWordList(m_commandLineFileName, LoadMode::Open))
        startFreshDocument();
}

void TfrmJisho::readSettings(const QString &shownError) {
    try {
        Registry registry = Registry::forDataRoot();
        EditorSettings settings(registry);
        const WindowPlacement placement = settings.readWindow();
        move(placement.Left, placement.Top);
        resize(placement.Width, placement.Height);
        const ColumnWidths widths = settings.readColumnWidths();
        for (int col = 1; col <= 3; ++col)
            grid().SetColWidths(col, widths[col - 1]);
        adoptGeneral(settings.readGeneral());
        m_state.AtokFolder = settings.readAtokFolder();
        const QStringList history = settings.readHistory();
        if (!history.isEmpty())
            m_model->FillHistoryMenu(history);
    } catch (const AppError &error) {
        // A damaged value ends the reading; the window still comes up usable with
        // the values read so far and the defaults for the rest. A damaged file the
        // installation check has named already is not named twice.
        if (error.message() != shownError)
            m_dialogs.error(this, error.message());
    }
}

void TfrmJisho::adoptGeneral(const GeneralSettings &general) {
    // A stored maximum outside the range the settings dialog offers counts as the default.
    m_state.MaxRow = EditorSettings::usableMaxRow(general.MaxRow);
    m_state.ShowFullPath = general.ShowFullPath;
    m_state.ShowAtokUtility = general.ShowAtokUtility;
    m_state.ShowAtokHelp = general.ShowAtokHelp;
    m_state.SaveDir = general.SaveDir;
}

void TfrmJisho::shapeGrid() {
    TmStrGrid &g = grid();
    g.SetColWidths(0, kNumberColumnWidth);
    g.SetRowCount(m_state.MaxRow + 1);
    const auto bulk = g.bulkChange();
    numberRows(g.cells());
    g.SetCells(1, 0, sj(u"読み"));
    g.SetCells(2, 0, sj(u"単語"));
    g.SetCells(3, 0, sj(u"品詞"));
}

void TfrmJisho::recordColumnWidths() {
    for (int col = 1; col <= 3; ++col)
        m_state.LastColWidths[col - 1] = grid().ColWidths(col);
}

void TfrmJisho::startFreshDocument() {
    // Nothing has named a document yet: this is 新規辞書1.jmf.
    m_model->NameNewDocument();
}

void TfrmJisho::FormActivate() {
    grid().setFocus();
    m_state.WindowActivated = true;
}

void TfrmJisho::FormResize() {
    if (m_state.FirstResizePending || m_state.ColumnFollowPending) {
        m_state.FirstResizePending = false;
        m_state.ColumnFollowPending = false;
    } else {
        const ResizeChange change =
            resizeChangeFor(height() - m_state.LastFormHeight, width() - m_state.LastFormWidth);
        ui->rgHinsi->resize(ui->rgHinsi->width(), ui->rgHinsi->height() + change.hinsiHeight);
        ui->edtComment->resize(ui->edtComment->width() + change.commentWidth,
                               ui->edtComment->height());
        for (int col = 1; col <= 2; ++col)
            grid().SetColWidths(col, grid().ColWidths(col) + change.columnWidth);
    }
    m_state.LastFormHeight = height();
    m_state.LastFormWidth = width();
    recordColumnWidths();
}

void TfrmJisho::mmInitializeClick() {
    // The resize event this raises follows the window first; the design values
    // below then overwrite what it changed.
    resize(kDesignFormWidth, kDesignFormHeight);
    for (int col = 1; col <= 3; ++col)
        grid().SetColWidths(col, kDefaultColWidths[col - 1]);
    QFont gridFont(fonts::gothic());
    gridFont.setPointSize(11);
    grid().setFont(gridFont);
    grid().SetColWidths(0, kNumberColumnWidth);
    grid().SetDefaultRowHeight(kRowHeight);
    ui->rgHinsi->resize(kDesignHinsiWidth, kDesignHinsiHeight);
    ui->edtComment->resize(kDesignCommentWidth, ui->edtComment->height());
    recordColumnWidths();
    // Long row numbers still get the room they need.
    m_editing->fitNumberColumn();
}

void TfrmJisho::FormCloseQuery(bool &canClose) {
    if (m_document->IsDocumentModified()) {
        const int answer = m_document->AskToSave();
        if (answer == ResultCancel) {
            canClose = false;
            return;
        }
        if (answer == ResultYes) {
            mmSaveClick();
            if (!m_model->SaveSucceeded()) {
                canClose = false;
                return;
            }
        }
    }
    try {
        writeSettings();
    } catch (const AppError &error) {
        // Settings are not the user's data. Refusing the close over them would
        // leave a full disk or a damaged registry no way out but killing the
        // program; say it once and close.
        m_dialogs.error(this, QStringLiteral("設定を保存できませんでした。\n") + error.message());
    }
    aboutbox::RegisterUninstall(*AboutDlg, m_dialogs, this);
    canClose = true;
}

void TfrmJisho::writeSettings() {
    Registry registry = Registry::forDataRoot();
    EditorSettings settings(registry);
    settings.writeWindow({x(), y(), height(), width()});
    settings.writeColumnWidths({grid().ColWidths(1), grid().ColWidths(2), grid().ColWidths(3)});
    settings.writeAtokFolder(m_state.AtokFolder);
    settings.writeHistory(m_model->history().paths());
}

void TfrmJisho::FormDestroy() {
    m_help->quit();
}

void TfrmJisho::RegisterJmfFileType() {
    const QString program = QDir::toNativeSeparators(Folders::programPath());
    const std::optional<QByteArray> path = storedPath(program);
    if (!path) {
        qWarning("The program's path cannot be stored in the file association.");
        return;
    }
    const std::pair<QByteArray, QByteArray> association[] = {
        {"\\.jmf", "JishoMakeFile"},
        {"\\JishoMakeFile", sj(u"辞書作成ファイル")},
        {"\\JishoMakeFile\\DefaultIcon", *path + ",1"},
        {"\\JishoMakeFile\\shell\\open\\command", '"' + *path + "\" %1"},
    };
    try {
        Registry registry = Registry::forDataRoot();
        for (const auto &[key, text] : association) {
            // Every write is flushed to disk; a value that is already right is
            // left alone so that an ordinary start costs no disk writes.
            const std::optional<RegValue> current =
                registry.readValue(RegRoot::ClassesRoot, key, {});
            if (!current || current->type != RegType::Sz || current->data != text)
                registry.writeString(RegRoot::ClassesRoot, key, {}, text);
        }
    } catch (const AppError &error) {
        // The association is a convenience; the editor works without it.
        qWarning("The .jmf file association was not written: %s", qUtf8Printable(error.message()));
    }
}

void TfrmJisho::mmViewClick() {
    if (Shell::openInTextViewer(m_model->CurrentFileName()) == Shell::kNoAssociation)
        m_dialogs.error(this,
                        QStringLiteral("テキストファイルに関連づけられたソフトがありません。"),
                        QString());
}

// ---------------------------------------------------------------------------
// Events

bool TfrmJisho::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TfrmJisho::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmJisho::closeEvent(QCloseEvent *event) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

} // namespace kelvari
