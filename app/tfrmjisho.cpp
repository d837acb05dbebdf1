#include "app/tfrmjisho.h"

#include "app/editingcommands.h"
#include "app/mainwindowrules.h"
#include "app/tfrmjisho_form.h"
#include "app/unbuiltcommands.h"
#include "check/grammarcommand.h"
#include "document/documentcommands.h"
#include "grid/tmstrgrid.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"
#include "widgets/beepdialog.h"
#include "widgets/explorerbutton.h"
#include "widgets/resources.h"

#include <QCloseEvent>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLayout>
#include <QMenu>
#include <QResizeEvent>

namespace kelvari {

namespace {

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

constexpr int kDesignHinsiHeight = 362;
constexpr int kDesignHinsiWidth = 179;
constexpr int kDesignCommentWidth = 178;
constexpr int kNumberColumnWidth = 30;
constexpr int kRowHeight = 24;
constexpr int kDefaultMaxRow = 100;
constexpr int kMaxMaxRow = 999;
constexpr std::array<int, 3> kDefaultColWidths{120, 104, 68};

// The fonts the window asks for by name map to a Japanese font that is installed.
void installFontSubstitutions() {
    static const bool done = [] {
        QFont::insertSubstitution(kGothic, QStringLiteral("Noto Sans Mono CJK JP"));
        QFont::insertSubstitution(kPGothic, QStringLiteral("Noto Sans CJK JP"));
        return true;
    }();
    Q_UNUSED(done);
}

QFont fontWithPixels(const QString &family, int pixels) {
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

// Registry text holds CP932; a path that CP932 cannot hold cannot be stored.
std::optional<QByteArray> storedPath(const QString &path) {
    sjis::EncodeResult encoded = sjis::encode(path);
    if (!encoded.ok())
        return std::nullopt;
    return encoded.bytes;
}

} // namespace

TfrmJisho::TfrmJisho(Dialogs &dialogs, const QString &commandLineFileName, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), ui(std::make_unique<::Ui::TfrmJisho>()),
      m_commandLineFileName(commandLineFileName) {
    installFontSubstitutions();
    ui->setupUi(this);
    // System menu and minimise box only: the window cannot be maximised.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(fontWithPixels(kPGothic, 12));
    ui->edtComment->setFont(fontWithPixels(kGothic, 12));
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
    connectCommands();
    disableUnbuiltCommands(*this);
    FormCreate();
}

TfrmJisho::~TfrmJisho() {
    FormDestroy();
}

TmStrGrid &TfrmJisho::grid() {
    return *ui->sgJisho;
}

void TfrmJisho::setTitleFor(const QString &path) {
    setWindowTitle(TitleFor(path, m_state.ShowFullPath));
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
                       TBeepDialog::TBeepType sound, const QString &message) {
        auto *dialog = new TBeepDialog(m_dialogs, this);
        dialog->setObjectName(QString::fromLatin1(name));
        dialog->setOwnerWidget(this);
        dialog->setDlgType(type);
        dialog->setBeepType(sound);
        dialog->setDlgMessage(message);
        return dialog;
    };
    BeepDlg = make("BeepDlg", TBeepDialog::mtError, TBeepDialog::btICONHAND,
                   QStringLiteral("有効な辞書作成ファイルではありません。"));
    BeepDlg2 = make("BeepDlg2", TBeepDialog::mtConfirmation, TBeepDialog::btICONQUESTION, {});
    BeepDlg2->setDlgButton(MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
    BeepDlg5 = make("BeepDlg5", TBeepDialog::mtInformation, TBeepDialog::btICONASTERISK,
                    QStringLiteral("文法エラーはありませんでした。"));
    BeepDlg6 = make("BeepDlg6", TBeepDialog::mtError, TBeepDialog::btICONHAND, {});
    BeepDlg7 = make("BeepDlg7", TBeepDialog::mtError, TBeepDialog::btICONHAND,
                    QStringLiteral("ファイルが見つかりませんでした。"));
}

void TfrmJisho::createCommands() {
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
    m_document = std::make_unique<DocumentCommands>(DocumentCommands::Parts{
        m_state, grid(), *ui->edtComment, *ui->mmFile, *ui->mmBar, ui->mmConvert, ui->mmOthers,
        m_toolbarButtons[3], m_dialogs, *BeepDlg, *BeepDlg2, *BeepDlg7, *m_grammar, this,
        [this](const QString &path) { setTitleFor(path); }, [this] { sgJishoClick(); }});
}

void TfrmJisho::configureGrid() {
    TmStrGrid &g = grid();
    g.setFont(fontWithPixels(kGothic, 15));
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
    // The installation check of the about component comes with the installation record.
    m_helpFile = Folders::programFolder() + QStringLiteral("Ruvex.hlp");
    RegisterJmfFileType();
    readSettings();
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

void TfrmJisho::readSettings() {
    const QString defaultSaveDir =
        QDir::toNativeSeparators(DeleteFromEnd(Folders::programFolder(), 1, 1));
    try {
        Registry registry = Registry::forDataRoot();
        SettingsStore store(registry);
        move(store.ReadIntegerSetting("Window", "Left", 0),
             store.ReadIntegerSetting("Window", "Top", 0));
        resize(store.ReadIntegerSetting("Window", "Width", kDesignFormWidth),
               store.ReadIntegerSetting("Window", "Height", kDesignFormHeight));
        grid().SetColWidths(1, store.ReadIntegerSetting("Grid", "Yomi", kDefaultColWidths[0]));
        grid().SetColWidths(2, store.ReadIntegerSetting("Grid", "Tango", kDefaultColWidths[1]));
        grid().SetColWidths(3, store.ReadIntegerSetting("Grid", "Hinsi", kDefaultColWidths[2]));
        m_state.MaxRow = store.ReadIntegerSetting("General", "MaxRow", kDefaultMaxRow);
        // The settings dialog offers 1 to 999; a value outside that (a damaged or
        // hand-edited store) would empty the grid or allocate millions of rows.
        if (m_state.MaxRow < 1 || m_state.MaxRow > kMaxMaxRow)
            m_state.MaxRow = kDefaultMaxRow;
        m_state.ShowFullPath = store.ReadBooleanSetting("General", "FullPath", true);
        m_state.ShowAtokUtility = store.ReadBooleanSetting("General", "ShowAtokUtility", true);
        m_state.ShowAtokHelp = store.ReadBooleanSetting("General", "ShowAtokHelp", true);
        const std::optional<QByteArray> saveDir = storedPath(defaultSaveDir);
        m_state.SaveDir = saveDir
                              ? sjis::decode(store.ReadTextSetting("General", "SaveDir", *saveDir))
                              : defaultSaveDir;
        m_state.AtokFolder = sjis::decode(store.ReadTextSetting("Atok", "Path", {}));

        QStringList history;
        for (const QByteArray &name : store.ListSettingNames("History"))
            history.append(sjis::decode(store.ReadTextSetting("History", name, {})));
        if (!history.isEmpty())
            FillHistoryMenu(history);
    } catch (const AppError &error) {
        // A damaged value ends the reading; the window still comes up usable with
        // the values read so far and the defaults for the rest.
        m_dialogs.error(this, error.message());
    }
}

void TfrmJisho::shapeGrid() {
    TmStrGrid &g = grid();
    g.SetColWidths(0, kNumberColumnWidth);
    g.SetRowCount(m_state.MaxRow + 1);
    g.beginBulkChange();
    for (int row = 1; row <= m_state.MaxRow; ++row)
        g.SetCells(0, row, QByteArray::number(row));
    g.SetCells(1, 0, sj(u"読み"));
    g.SetCells(2, 0, sj(u"単語"));
    g.SetCells(3, 0, sj(u"品詞"));
    g.endBulkChange();
}

void TfrmJisho::recordColumnWidths() {
    for (int col = 1; col <= 3; ++col)
        m_state.LastColWidths[col - 1] = grid().ColWidths(col);
}

void TfrmJisho::startFreshDocument() {
    m_state.NewFileCounter = 1;
    m_state.CurrentFileName = QStringLiteral("新規辞書1.jmf");
    setTitleFor(m_state.CurrentFileName);
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
    QFont gridFont(kGothic);
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
            if (!m_state.SaveSucceeded) {
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
    // The uninstall registration comes with the installation record.
    canClose = true;
}

void TfrmJisho::writeSettings() {
    Registry registry = Registry::forDataRoot();
    SettingsStore store(registry);
    store.WriteIntegerSetting("Window", "Left", x());
    store.WriteIntegerSetting("Window", "Top", y());
    store.WriteIntegerSetting("Window", "Height", height());
    store.WriteIntegerSetting("Window", "Width", width());
    store.WriteIntegerSetting("Grid", "Yomi", grid().ColWidths(1));
    store.WriteIntegerSetting("Grid", "Tango", grid().ColWidths(2));
    store.WriteIntegerSetting("Grid", "Hinsi", grid().ColWidths(3));
    store.WriteTextSetting("Atok", "Path", storedPath(m_state.AtokFolder).value_or(QByteArray()));
    const QStringList history = historyPaths();
    int number = 0;
    for (const QString &path : history) {
        const std::optional<QByteArray> bytes = storedPath(path);
        if (bytes)
            store.WriteTextSetting("History", "File" + QByteArray::number(++number), *bytes);
    }
    // Entries of an earlier, longer history would come back at the next start
    // as stale or duplicate entries.
    for (const QByteArray &name : store.ListSettingNames("History")) {
        bool isNumber = false;
        const int n = name.startsWith("File") ? name.mid(4).toInt(&isNumber) : 0;
        if (isNumber && n > number)
            registry.deleteValue(RegRoot::CurrentUser,
                                 QByteArray(SettingsStore::kProductKey) + "\\History", name);
    }
}

void TfrmJisho::FormDestroy() {
    // Telling the help engine to quit comes with the help engine.
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

QString TfrmJisho::WindowsFolder() {
    QString folder = Folders::windowsFolder();
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += QDir::separator();
    return folder;
}

void TfrmJisho::mmViewClick() {
    if (Shell::openInTextViewer(m_state.CurrentFileName) == Shell::kNoAssociation)
        m_dialogs.error(this,
                        QStringLiteral("テキストファイルに関連づけられたソフトがありません。"),
                        QString());
}

// ---------------------------------------------------------------------------
// File history

void TfrmJisho::FillHistoryMenu(const QStringList &paths) {
    m_document->FillHistoryMenu(paths);
}

QList<QAction *> TfrmJisho::historyActions() const {
    return m_document->historyEntries();
}

QStringList TfrmJisho::historyPaths() const {
    return m_document->historyPaths();
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
