#pragma once
// The editor's main window. Its controls carry the names the rest of the editor
// uses (sgJisho, edtComment, rgHinsi, mmSave, ...); its slots are the editor's
// commands, grouped by the subsystem that implements them.

#include "document/mainwindowstate.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

class QAction;
class QMenu;

namespace Ui {
class TfrmJisho;
}

namespace kelvari {

class Dialogs;
class DocumentCommands;
class EditingCommands;
class GrammarCommand;
class TBeepDialog;
class TExplorerButton;
class TmStrGrid;

class TfrmJisho : public QMainWindow {
    Q_OBJECT
public:
    // Runs FormCreate. `commandLineFileName` is the file to open at start (may be empty).
    explicit TfrmJisho(Dialogs &dialogs, const QString &commandLineFileName = {},
                       QWidget *parent = nullptr);
    ~TfrmJisho() override;

    MainWindowState &state() { return m_state; }
    const MainWindowState &state() const { return m_state; }
    Dialogs &dialogs() { return m_dialogs; }
    // The controls of the form, by their names.
    ::Ui::TfrmJisho &form() { return *ui; }
    TmStrGrid &grid();
    QString commandLineFileName() const { return m_commandLineFileName; }
    // Program folder + "Ruvex.hlp".
    QString helpFile() const { return m_helpFile; }

    // The window side of the File menu and of the grammar check.
    DocumentCommands &documentCommands() { return *m_document; }
    GrammarCommand &grammarCommand() { return *m_grammar; }
    // The Edit menu's row commands and the part-of-speech list.
    EditingCommands &editingCommands() { return *m_editing; }

    // Sets the caption by the title rule for `path`.
    void setTitleFor(const QString &path);

    // --- Window life (app/) ---
    void FormCreate();
    void FormActivate();
    void FormResize();
    // Clears `canClose` to refuse the close. Settings are written only when the close goes ahead.
    void FormCloseQuery(bool &canClose);
    void FormDestroy();
    // The ".jmf" association under HKEY_CLASSES_ROOT, pointed at this program.
    static void RegisterJmfFileType();
    // The Windows folder, ending in a separator.
    static QString WindowsFolder();

    // --- File history: the File menu's entries from position 10 on ---
    static constexpr int kFirstHistoryPosition = 10;
    // Appends one unchecked entry per path, in order.
    void FillHistoryMenu(const QStringList &paths);
    QList<QAction *> historyActions() const;
    // The entries' paths, top to bottom.
    QStringList historyPaths() const;

    // The message dialogs the commands share.
    TBeepDialog *BeepDlg = nullptr;  // not a word-list file
    TBeepDialog *BeepDlg2 = nullptr; // Yes/No/Cancel question, message set before use
    TBeepDialog *BeepDlg5 = nullptr; // no grammar errors
    TBeepDialog *BeepDlg6 = nullptr; // error, message set before use
    TBeepDialog *BeepDlg7 = nullptr; // file not found
    QMenu *PopupMenu = nullptr;      // pop-up menu of the part-of-speech list

public slots:
    // Window (app/)
    void mmInitializeClick();
    void mmViewClick();

    // Document commands (document/)
    void mmNewClick();
    void mmOpenClick();
    void mmAddOpenClick();
    void mmSaveClick();
    void mmSaveAsClick();
    void mmCloseClick();
    void mmHistoryClick();
    void sgJishoDropFiles();

    // Editing commands (app/, editing)
    void mmEditClick();
    void mmUndoClick();
    void mmCutClick();
    void mmCopyClick();
    void mmPasteClick();
    void mmAddClick();
    void mmDeleteClick();
    void mmFontClick();
    void rgHinsiClick();
    void sgJishoClick();
    void sgJishoGetEditText();

    // Checking, conversion and help (check/)
    void mmBunpoClick();
    void mmConvertClick();
    void mmOthersClick();
    void mmUtilClick();
    void mmContentsClick();
    void mmTopicClick();
    void mmAtokHelpClick();
    void ebHelpClick();
    void pmHinsiClick();

    // Settings (settings/)
    void mmSetteiClick();

    // About box (install/)
    void mmAboutClick();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbarButtons();
    void createDialogs();
    void createCommands();
    void configureGrid();
    void connectCommands();
    void readSettings();
    void writeSettings();
    void shapeGrid();
    void recordColumnWidths();
    void startFreshDocument();

    Dialogs &m_dialogs;
    std::unique_ptr<::Ui::TfrmJisho> ui;
    MainWindowState m_state;
    QString m_commandLineFileName;
    QString m_helpFile;
    std::array<TExplorerButton *, 7> m_toolbarButtons{};
    std::unique_ptr<GrammarCommand> m_grammar;
    std::unique_ptr<DocumentCommands> m_document;
    std::unique_ptr<EditingCommands> m_editing;
};

} // namespace kelvari
