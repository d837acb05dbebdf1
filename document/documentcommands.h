#pragma once
// The File menu's document commands of the main window: new, open, add-open,
// dropped files, save, save as and the file history. The main window forwards its
// handlers here. The commands change the document model and apply the word-list
// reader and writer to the window's grid and comment box; the window follows
// the model for its caption, its File menu and the conversion commands.

#include "document/documentmodel.h"
#include "document/mainwindowstate.h"
#include "document/wordlist.h"

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace kelvari {

class Dialogs;
class TmStrGrid;

class DocumentCommands : public QObject {
    Q_OBJECT
public:
    // What the commands work on and with.
    struct Parts {
        DocumentModel &model;
        const MainWindowState &state; // MaxRow, SaveDir
        TmStrGrid &sgJisho;
        QLineEdit &edtComment;
        Dialogs &dialogs;
        QWidget *owner = nullptr;
        // The window's beeping messages, shown with the given text: BeepDlg
        // ("not a word-list file"), BeepDlg2 (the save prompt; Yes, No or
        // Cancel) and BeepDlg7 ("file not found").
        std::function<void(const QString &message)> showBeepDlg;
        std::function<int(const QString &message)> showBeepDlg2;
        std::function<void(const QString &message)> showBeepDlg7;
        // True when a save may go ahead ("保存"); otherwise the user has been told why not.
        std::function<bool()> saveGate;
        // The grid's click handler: shows the current row's part of speech.
        std::function<void()> sgJishoClick;
    };

    explicit DocumentCommands(Parts parts, QObject *parent = nullptr);
    ~DocumentCommands() override;

    DocumentModel &model() { return m.model; }

    // Handlers. Each ends at an input/output error, after showing its message.
    void mmNewClick();
    void mmOpenClick();
    void mmAddOpenClick();
    void sgJishoDropFiles();
    void mmSaveClick();
    void mmSaveAsClick();
    // Opens the file of history entry `index` (top = 0).
    void mmHistoryClick(qsizetype index);

    // Reads `path` into the document. False when the file was refused or could not
    // be read; the document is then exactly as it was.
    bool LoadWordList(const QString &path, LoadMode mode);
    // Writes the document to `path` unless the grammar gate refuses; afterwards
    // the model's SaveSucceeded tells whether the file was written.
    void SaveWordList(const QString &path);

    // Modified: what a save would write (the non-blank rows cell by cell, and the
    // comment) differs from the last load or save.
    bool IsDocumentModified() const;
    void RecordSnapshot();
    // Yes, No or Cancel (ResultYes, ResultNo, ResultCancel).
    int AskToSave();

    // Texts of the commands.
    static QString notWordListMessage();
    static QString fileNotFoundMessage();
    static QString addOpenMessage();
    static QString askToSaveMessage(const QString &currentFileName);

private:
    bool loadWordList(const QString &path, LoadMode mode); // throws AppError
    void saveWordList(const QString &path);                // throws AppError
    void saveAs();                                         // throws AppError
    void save();                                           // throws AppError
    void clearDocument();
    void showError(const QString &message);
    QString startFolder() const;
    void setComment(const QByteArray &bytes);

    Parts m;
};

} // namespace kelvari
