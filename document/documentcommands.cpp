#include "document/documentcommands.h"

#include "document/jmfreader.h"
#include "document/jmfwriter.h"
#include "document/wordlist.h"
#include "grid/tmstrgrid.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace kelvari {

DocumentCommands::DocumentCommands(Parts parts, QObject *parent) : QObject(parent), m(parts) {}

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

void DocumentCommands::showError(const QString &message) {
    m.dialogs.error(m.owner, message);
}

QString DocumentCommands::startFolder() const {
    const QString folder = Paths::extractFilePath(m.model.CurrentFileName());
    return folder.isEmpty() ? m.state.SaveDir : folder;
}

// ---------------------------------------------------------------- modified test

void DocumentCommands::RecordSnapshot() {
    m.model.RecordSnapshot(m.sgJisho.cells(), m.edtComment.text());
}

bool DocumentCommands::IsDocumentModified() const {
    return m.model.IsDocumentModified(m.sgJisho.cells(), m.edtComment.text());
}

int DocumentCommands::AskToSave() {
    return m.showBeepDlg2 ? m.showBeepDlg2(askToSaveMessage(m.model.CurrentFileName()))
                          : ResultCancel;
}

void DocumentCommands::setComment(const QByteArray &bytes) {
    m.edtComment.setText(m.model.setLoadedComment(bytes));
}

// ---------------------------------------------------------------- load and save

bool DocumentCommands::LoadWordList(const QString &path, LoadMode mode) {
    try {
        return loadWordList(path, mode);
    } catch (const AppError &error) {
        // The history flag is for this one load, whatever became of it.
        m.model.setOpenedFromHistory(false);
        showError(error.message());
        return false;
    }
}

bool DocumentCommands::loadWordList(const QString &path, LoadMode mode) {
    // The whole file is read and parsed before anything of the document changes.
    std::optional<BusyCursor> busy(std::in_place);
    JmfContent file = readJmfFile(path);
    if (!file.accepted()) {
        busy.reset();
        if (m.showBeepDlg)
            m.showBeepDlg(notWordListMessage());
        m.model.setOpenedFromHistory(false);
        return false;
    }

    TmStrGrid &grid = m.sgJisho;
    const LoadResult result = [&] {
        const auto bulk = grid.bulkChange();
        return applyWordList(grid.cells(), std::move(file), mode, grid.Row(), m.state.MaxRow);
    }();
    busy.reset();
    if (result.comment)
        setComment(*result.comment);

    if (mode == LoadMode::Open) {
        grid.SetRow(1);
        grid.SetCol(1);
    }
    RecordSnapshot();
    DocumentModel &doc = m.model;
    doc.setConversionEnabled(Paths::extractFileExt(path) == QStringLiteral(".jmf"));
    if (mode == LoadMode::Open && !doc.OpenedFromHistory())
        doc.AddToHistory(path);
    doc.setOpenedFromHistory(false);
    if (mode == LoadMode::Open)
        doc.setCurrentFileName(path);
    doc.setTitlePath(path);
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
    DocumentModel &doc = m.model;
    doc.setSaveSucceeded(false);
    if (m.saveGate && !m.saveGate())
        return;
    const JmfHeader header =
        makeJmfHeader(path, doc.commentBytes(m.edtComment.text()), QDateTime::currentDateTime());
    {
        const BusyCursor busy;
        writeWordListFile(path, header, m.sgJisho.cells());
    }
    doc.setSaveSucceeded(true);
    RecordSnapshot();
    doc.setTitlePath(path);
}

// ---------------------------------------------------------------- commands

void DocumentCommands::clearDocument() {
    TmStrGrid &grid = m.sgJisho;
    const int maxRow = std::max(m.state.MaxRow, 1);
    {
        const auto bulk = grid.bulkChange();
        CellStore &cells = grid.cells();
        for (int row = 1; row <= cells.rowCount(); ++row)
            for (int col = 0; col <= 3; ++col)
                cells.setCell(col, row, {});
        cells.setRowCount(maxRow + 1);
        for (int row = 1; row <= maxRow; ++row)
            cells.setCell(0, row, QByteArray::number(row));
    }
    setComment({});
}

void DocumentCommands::mmNewClick() {
    try {
        if (IsDocumentModified()) {
            switch (AskToSave()) {
            case ResultYes:
                save();
                // Clearing after a failed or cancelled save would lose the unsaved words.
                if (!m.model.SaveSucceeded())
                    return;
                break;
            case ResultNo:
                break;
            default:
                return;
            }
        }
        clearDocument();
        m.model.ClearSnapshot();
        m.model.NameNewDocument();
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
    const QString &name = m.model.CurrentFileName();
    if (DocumentModel::isNeverSaved(name))
        saveAs();
    else
        saveWordList(name);
}

void DocumentCommands::saveAs() {
    DocumentModel &doc = m.model;
    QString proposed = doc.CurrentFileName();
    proposed = Paths::extractFileExt(proposed).isEmpty()
                   ? proposed + QStringLiteral(".jmf")
                   : Paths::changeFileExt(proposed, QStringLiteral(".jmf"));
    const auto answer = m.dialogs.saveFile(saveDlg(m.owner, startFolder(), proposed));
    if (!answer) {
        doc.setSaveSucceeded(false);
        return;
    }
    const QString chosen = answer->fileName;
    saveWordList(chosen);
    if (doc.SaveSucceeded())
        doc.setCurrentFileName(chosen);
    doc.AddToHistory(chosen);
}

void DocumentCommands::mmSaveClick() {
    try {
        save();
    } catch (const AppError &error) {
        m.model.setSaveSucceeded(false);
        showError(error.message());
    }
}

void DocumentCommands::mmSaveAsClick() {
    try {
        saveAs();
    } catch (const AppError &error) {
        m.model.setSaveSucceeded(false);
        showError(error.message());
    }
}

void DocumentCommands::mmHistoryClick(qsizetype index) {
    DocumentModel &doc = m.model;
    if (index < 0 || index >= doc.history().count())
        return;
    const QString path = doc.history().path(index);
    if (QFileInfo(path).isFile()) {
        doc.setOpenedFromHistory(true);
        doc.UncheckHistory();
        doc.checkHistoryEntry(index);
        LoadWordList(path, LoadMode::Open);
        return;
    }
    doc.removeHistoryEntry(index);
    if (m.showBeepDlg7)
        m.showBeepDlg7(fileNotFoundMessage());
}

} // namespace kelvari
