#include "document/documentcommands.h"

#include "check/grammarcommand.h"
#include "document/jmfreader.h"
#include "document/jmfwriter.h"
#include "document/wordlist.h"
#include "grid/tmstrgrid.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/sjis.h"
#include "widgets/beepdialog.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace kelvari {

namespace {

// Case of the letters a to z only: other characters must match exactly.
bool equalIgnoringAsciiCase(const QString &a, const QString &b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x >= u'A' && x <= u'Z')
            x = char16_t(x + (u'a' - u'A'));
        if (y >= u'A' && y <= u'Z')
            y = char16_t(y + (u'a' - u'A'));
        if (x != y)
            return false;
    }
    return true;
}

QString menuCaptionFor(const QString &path) {
    // A "&" in a path is a character of the name, not a mnemonic.
    QString caption = path;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

} // namespace

DocumentCommands::DocumentCommands(Parts parts, QObject *parent) : QObject(parent), m(parts) {
    // The messages of the document commands, whatever the main window set up before.
    const auto setUp = [this](TBeepDialog &dialog, TBeepDialog::TMsgDlgType type,
                              TBeepDialog::TBeepType sound, MessageButtons buttons) {
        dialog.setOwnerWidget(m.owner);
        dialog.setDlgType(type);
        dialog.setBeepType(sound);
        dialog.setDlgButton(buttons);
    };
    setUp(m.BeepDlg, TBeepDialog::mtError, TBeepDialog::btICONHAND, MessageButton::Ok);
    m.BeepDlg.setDlgMessage(notWordListMessage());
    setUp(m.BeepDlg2, TBeepDialog::mtConfirmation, TBeepDialog::btICONQUESTION,
          MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
    setUp(m.BeepDlg7, TBeepDialog::mtError, TBeepDialog::btICONHAND, MessageButton::Ok);
    m.BeepDlg7.setDlgMessage(fileNotFoundMessage());
}

DocumentCommands::~DocumentCommands() = default;

QString DocumentCommands::notWordListMessage() {
    return notAWordListMessage();
}

QString DocumentCommands::fileNotFoundMessage() {
    return QStringLiteral("ファイルが見つかりませんでした。");
}

QString DocumentCommands::addOpenMessage() {
    return QStringLiteral("追加ファイルはカーソルのある行の下に追加されます。") +
           QStringLiteral("\r\n") +
           QStringLiteral("カーソル行の下にある文字は全て上書きされます。") +
           QStringLiteral("\r\n") + QStringLiteral("カーソルの位置は現在の行でよろしいですか?");
}

QString DocumentCommands::askToSaveMessage(const QString &currentFileName) {
    return QStringLiteral("\" ") + Paths::extractFileName(currentFileName) +
           QStringLiteral(" \" ") + QStringLiteral("は変更されています。") +
           QStringLiteral("\r\n") + QStringLiteral("保存しますか?");
}

QString DocumentCommands::newFileName(int counter) {
    return QStringLiteral("新規辞書") + QString::number(counter) + QStringLiteral(".jmf");
}

bool DocumentCommands::isNeverSaved(const QString &fileName) {
    return fileName.startsWith(QStringLiteral("新規辞書"));
}

void DocumentCommands::showError(const QString &message) {
    m.dialogs.error(m.owner, message);
}

QString DocumentCommands::startFolder() const {
    const QString folder = Paths::extractFilePath(m.state.CurrentFileName);
    return folder.isEmpty() ? m.state.SaveDir : folder;
}

// ---------------------------------------------------------------- modified test

void DocumentCommands::RecordSnapshot() {
    QByteArray comment;
    try {
        comment = commentBytes();
    } catch (const AppError &) {
        // Such a comment never matches (see IsDocumentModified): it is still to be dealt with.
    }
    m_snapshot = DocumentSnapshot::record(m.sgJisho.cells(), comment);
}

void DocumentCommands::ClearSnapshot() {
    m_snapshot = DocumentSnapshot();
}

bool DocumentCommands::IsDocumentModified() const {
    try {
        return m_snapshot.isModified(m.sgJisho.cells(), commentBytes());
    } catch (const AppError &) {
        return true;
    }
}

int DocumentCommands::AskToSave() {
    m.BeepDlg2.setDlgMessage(askToSaveMessage(m.state.CurrentFileName));
    return m.BeepDlg2.ShowForResult();
}

QByteArray DocumentCommands::commentBytes() const {
    const QString text = m.edtComment.text();
    if (text == m_loadedCommentText)
        return m_loadedComment;
    const sjis::EncodeResult encoded = sjis::encode(text);
    if (!encoded.ok())
        throw AppError(
            QStringLiteral("コメントに保存できない文字 (%1) があります。").arg(encoded.unmappable));
    return encoded.bytes;
}

void DocumentCommands::setComment(const QByteArray &bytes) {
    m_loadedComment = bytes;
    m_loadedCommentText = sjis::decode(bytes);
    m.edtComment.setText(m_loadedCommentText);
}

void DocumentCommands::setConversionEnabled(bool enabled) {
    if (m.mmConvert)
        m.mmConvert->setEnabled(enabled);
    if (m.mmOthers)
        m.mmOthers->setEnabled(enabled);
    if (m.ebConvert)
        m.ebConvert->setEnabled(enabled);
}

// ---------------------------------------------------------------- history

QList<QAction *> DocumentCommands::historyEntries() const {
    const QList<QAction *> all = m.mmFile.actions();
    return all.size() > HistoryFirst ? all.mid(HistoryFirst) : QList<QAction *>{};
}

QStringList DocumentCommands::historyPaths() const {
    QStringList paths;
    for (QAction *entry : historyEntries())
        paths.append(entry->data().toString());
    return paths;
}

QAction *DocumentCommands::makeHistoryEntry(const QString &path) {
    auto *entry = new QAction(menuCaptionFor(path), &m.mmFile);
    entry->setData(path);
    entry->setCheckable(true);
    connect(entry, &QAction::triggered, this, [this, entry] { mmHistoryClick(entry); });
    return entry;
}

void DocumentCommands::removeHistoryEntry(QAction *entry) {
    m.mmFile.removeAction(entry);
    // It may be the action whose signal is running right now.
    entry->deleteLater();
}

void DocumentCommands::UncheckHistory() {
    for (QAction *entry : historyEntries())
        entry->setChecked(false);
}

void DocumentCommands::AddToHistory(const QString &path) {
    const QList<QAction *> entries = historyEntries();
    for (QAction *entry : entries) {
        if (equalIgnoringAsciiCase(entry->data().toString(), path)) {
            UncheckHistory();
            entry->setChecked(true);
            return;
        }
    }
    QAction *entry = makeHistoryEntry(path);
    // The oldest entries go so that ten remain with the new one (a history read at
    // start may have brought more than ten).
    for (qsizetype i = HistoryMax - 1; i < entries.size(); ++i)
        removeHistoryEntry(entries.at(i));
    const QList<QAction *> remaining = historyEntries();
    m.mmFile.insertAction(remaining.isEmpty() ? nullptr : remaining.first(), entry);
    UncheckHistory();
    entry->setChecked(true);
    m.mmBar.setVisible(true);
    m.state.OpenedFromHistory = false;
}

void DocumentCommands::FillHistoryMenu(const QStringList &paths) {
    for (const QString &path : paths)
        m.mmFile.addAction(makeHistoryEntry(path));
    if (!paths.isEmpty())
        m.mmBar.setVisible(true);
}

// ---------------------------------------------------------------- load and save

bool DocumentCommands::LoadWordList(const QString &path, LoadMode mode) {
    try {
        return loadWordList(path, mode);
    } catch (const AppError &error) {
        // The history flag is for this one load, whatever became of it.
        m.state.OpenedFromHistory = false;
        showError(error.message());
        return false;
    }
}

bool DocumentCommands::loadWordList(const QString &path, LoadMode mode) {
    // The whole file is read and parsed before anything of the document changes.
    std::optional<BusyCursor> busy(std::in_place);
    const JmfContent file = readJmfFile(path);
    if (!file.accepted()) {
        busy.reset();
        m.BeepDlg.setDlgMessage(notWordListMessage());
        m.BeepDlg.ShowAndWait();
        m.state.OpenedFromHistory = false;
        return false;
    }

    TmStrGrid &grid = m.sgJisho;
    grid.beginBulkChange();
    const LoadResult result = applyWordList(grid.cells(), file, mode, grid.Row(), m.state.MaxRow);
    grid.endBulkChange();
    busy.reset();
    if (result.comment)
        setComment(*result.comment);

    if (mode == LoadMode::Open) {
        grid.SetRow(1);
        grid.SetCol(1);
    }
    RecordSnapshot();
    setConversionEnabled(Paths::extractFileExt(path) == QStringLiteral(".jmf"));
    if (mode == LoadMode::Open && !m.state.OpenedFromHistory)
        AddToHistory(path);
    m.state.OpenedFromHistory = false;
    if (mode == LoadMode::Open)
        m.state.CurrentFileName = path;
    if (m.setTitle)
        m.setTitle(path);
    if (m.sgJishoClick)
        m.sgJishoClick();
    return true;
}

void DocumentCommands::SaveWordList(const QString &path) {
    try {
        saveWordList(path);
    } catch (const AppError &error) {
        showError(error.message());
    }
}

void DocumentCommands::saveWordList(const QString &path) {
    // Whatever happens below, only a completed write counts as saved.
    m.state.SaveSucceeded = false;
    if (!m.grammar.GrammarGate(QStringLiteral("保存")))
        return;
    const JmfHeader header = makeJmfHeader(path, commentBytes(), QDateTime::currentDateTime());
    {
        const BusyCursor busy;
        writeWordListFile(path, header, m.sgJisho.cells());
    }
    m.state.SaveSucceeded = true;
    RecordSnapshot();
    if (m.setTitle)
        m.setTitle(path);
}

// ---------------------------------------------------------------- commands

void DocumentCommands::clearDocument() {
    TmStrGrid &grid = m.sgJisho;
    const int maxRow = std::max(m.state.MaxRow, 1);
    grid.beginBulkChange();
    CellStore &cells = grid.cells();
    for (int row = 1; row <= cells.rowCount(); ++row)
        for (int col = 0; col <= 3; ++col)
            cells.setCell(col, row, {});
    cells.setRowCount(maxRow + 1);
    for (int row = 1; row <= maxRow; ++row)
        cells.setCell(0, row, QByteArray::number(row));
    grid.endBulkChange();
    setComment({});
}

void DocumentCommands::mmNewClick() {
    try {
        if (IsDocumentModified()) {
            switch (AskToSave()) {
            case ResultYes:
                save();
                // Clearing after a failed or cancelled save would lose the unsaved words.
                if (!m.state.SaveSucceeded)
                    return;
                break;
            case ResultNo:
                break;
            default:
                return;
            }
        }
        clearDocument();
        ClearSnapshot();
        ++m.state.NewFileCounter;
        m.state.CurrentFileName = newFileName(m.state.NewFileCounter);
        if (m.setTitle)
            m.setTitle(m.state.CurrentFileName);
    } catch (const AppError &error) {
        showError(error.message());
    }
}

namespace {

FileDialogRequest openDlg(QWidget *owner, const QString &directory) {
    FileDialogRequest request;
    request.owner = owner;
    request.directory = directory;
    request.filter = QStringLiteral("辞書作成ファイル (*.jmf);;テキストファイル (*.txt)");
    request.defaultSuffix = QStringLiteral("jmf");
    request.fileMustExist = false;
    return request;
}

FileDialogRequest saveDlg(QWidget *owner, const QString &directory, const QString &fileName) {
    FileDialogRequest request;
    request.owner = owner;
    request.directory = directory;
    request.fileName = fileName;
    request.filter = QStringLiteral("辞書作成ファイル (*.jmf)");
    request.defaultSuffix = QStringLiteral("jmf");
    request.overwritePrompt = true;
    return request;
}

} // namespace

void DocumentCommands::mmOpenClick() {
    const auto answer = m.dialogs.openFile(openDlg(m.owner, startFolder()));
    if (answer)
        LoadWordList(answer->fileName, LoadMode::Open);
}

void DocumentCommands::mmAddOpenClick() {
    MessageRequest request;
    request.owner = m.owner;
    request.kind = MessageKind::Warning;
    request.caption = QStringLiteral("注意");
    request.text = addOpenMessage();
    request.buttons = MessageButton::Yes | MessageButton::No;
    if (m.dialogs.message(request) != ResultYes)
        return;
    const auto answer = m.dialogs.openFile(openDlg(m.owner, startFolder()));
    if (answer)
        LoadWordList(answer->fileName, LoadMode::Add);
}

void DocumentCommands::sgJishoDropFiles() {
    QStringList &dropped = m.sgJisho.DroppedFiles();
    if (dropped.isEmpty())
        return;
    const QString first = dropped.first();
    dropped.clear();
    if (m.owner) {
        m.owner->raise();
        m.owner->activateWindow();
    }
    LoadWordList(first, LoadMode::Open);
}

void DocumentCommands::save() {
    if (isNeverSaved(m.state.CurrentFileName))
        saveAs();
    else
        saveWordList(m.state.CurrentFileName);
}

void DocumentCommands::saveAs() {
    QString proposed = m.state.CurrentFileName;
    proposed = Paths::extractFileExt(proposed).isEmpty()
                   ? proposed + QStringLiteral(".jmf")
                   : Paths::changeFileExt(proposed, QStringLiteral(".jmf"));
    const auto answer = m.dialogs.saveFile(saveDlg(m.owner, startFolder(), proposed));
    if (!answer) {
        m.state.SaveSucceeded = false;
        return;
    }
    const QString chosen = answer->fileName;
    saveWordList(chosen);
    if (m.state.SaveSucceeded)
        m.state.CurrentFileName = chosen;
    AddToHistory(chosen);
}

void DocumentCommands::mmSaveClick() {
    try {
        save();
    } catch (const AppError &error) {
        m.state.SaveSucceeded = false;
        showError(error.message());
    }
}

void DocumentCommands::mmSaveAsClick() {
    try {
        saveAs();
    } catch (const AppError &error) {
        m.state.SaveSucceeded = false;
        showError(error.message());
    }
}

void DocumentCommands::mmHistoryClick(QAction *entry) {
    if (!entry)
        return;
    const QString path = entry->data().toString();
    if (QFileInfo(path).isFile()) {
        m.state.OpenedFromHistory = true;
        UncheckHistory();
        entry->setChecked(true);
        LoadWordList(path, LoadMode::Open);
        return;
    }
    removeHistoryEntry(entry);
    m.BeepDlg7.setDlgMessage(fileNotFoundMessage());
    m.BeepDlg7.ShowAndWait();
}

} // namespace kelvari
