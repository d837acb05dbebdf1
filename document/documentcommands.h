#pragma once
// The File menu's document commands of the main window: new, open, add-open,
// dropped files, save, save as and the file history. The main window forwards its
// handlers here; this class applies the word-list reader and writer to the
// window's grid, comment box, menus and caption.

#include "document/mainwindowstate.h"
#include "document/snapshot.h"
#include "document/wordlist.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QWidget;

namespace kelvari {

class Dialogs;
class GrammarCommand;
class TBeepDialog;
class TmStrGrid;

class DocumentCommands : public QObject {
    Q_OBJECT
public:
    // What the commands drive; everything belongs to the main window.
    struct Parts {
        MainWindowState &state;
        TmStrGrid &sgJisho;
        QLineEdit &edtComment;
        QMenu &mmFile;  // ten fixed items, then the history
        QAction &mmBar; // separator shown once the history has entries
        QAction *mmConvert = nullptr;
        QAction *mmOthers = nullptr;
        QWidget *ebConvert = nullptr;
        Dialogs &dialogs;
        TBeepDialog &BeepDlg;  // "not a word-list file"
        TBeepDialog &BeepDlg2; // the save prompt
        TBeepDialog &BeepDlg7; // "file not found" for a history entry
        GrammarCommand &grammar;
        QWidget *owner = nullptr;
        // Sets the window caption to TitleFor(path).
        std::function<void(const QString &path)> setTitle;
        // The grid's click handler: shows the current row's part of speech.
        std::function<void()> sgJishoClick;
    };

    // Position of the first history entry in the File menu, and the most entries kept.
    static constexpr int HistoryFirst = 10;
    static constexpr int HistoryMax = 10;

    explicit DocumentCommands(Parts parts, QObject *parent = nullptr);
    ~DocumentCommands() override;

    // Handlers. Each ends at an input/output error, after showing its message.
    void mmNewClick();
    void mmOpenClick();
    void mmAddOpenClick();
    void sgJishoDropFiles();
    void mmSaveClick();
    void mmSaveAsClick();
    void mmHistoryClick(QAction *entry);

    // Reads `path` into the document. False when the file was refused or could not
    // be read; the document is then exactly as it was.
    bool LoadWordList(const QString &path, LoadMode mode);
    // Writes the document to `path` unless the grammar gate refuses; afterwards
    // state.SaveSucceeded tells whether the file was written.
    void SaveWordList(const QString &path);

    // Modified: what a save would write (the non-blank rows cell by cell, and the
    // comment) differs from the last load or save.
    bool IsDocumentModified() const;
    void RecordSnapshot();
    // The empty document counts as unchanged (a new document).
    void ClearSnapshot();
    // Yes, No or Cancel (ResultYes, ResultNo, ResultCancel).
    int AskToSave();

    void AddToHistory(const QString &path);
    void UncheckHistory();
    void FillHistoryMenu(const QStringList &paths);
    // History entries are checkable actions holding their path in QAction::data()
    // (the caption doubles any "&"). Top to bottom, for writing back as File1, File2, ...
    QStringList historyPaths() const;
    QList<QAction *> historyEntries() const;

    // The comment as it would be saved: the loaded bytes while the box still shows
    // them, else the box's text in CP932. Throws AppError for a character CP932
    // cannot hold.
    QByteArray commentBytes() const;

    // Texts of the commands.
    static QString notWordListMessage();
    static QString fileNotFoundMessage();
    static QString addOpenMessage();
    static QString askToSaveMessage(const QString &currentFileName);
    static QString newFileName(int counter);
    static bool isNeverSaved(const QString &fileName);

private:
    bool loadWordList(const QString &path, LoadMode mode); // throws AppError
    void saveWordList(const QString &path);                // throws AppError
    void saveAs();                                         // throws AppError
    void save();                                           // throws AppError
    void clearDocument();
    void showError(const QString &message);
    QString startFolder() const;
    void setComment(const QByteArray &bytes);
    void setConversionEnabled(bool enabled);
    QAction *makeHistoryEntry(const QString &path);
    void removeHistoryEntry(QAction *entry);

    Parts m;
    // The document as last loaded or saved; what the modified test compares with.
    // It keeps every cell apart, which a run-together text could not.
    DocumentSnapshot m_snapshot;
    // The comment as loaded, so bytes that do not decode cleanly are saved back unchanged.
    QByteArray m_loadedComment;
    QString m_loadedCommentText;
};

} // namespace kelvari
