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

class ConversionCommand;
class Dialogs;
class DocumentCommands;
class DocumentModel;
class EditingCommands;
struct GeneralSettings;
class GrammarCommand;
class InteropCommands;
class TAboutDlg;
class HistoryMenu;
class HelpEngine;
class HelpKey;
class TBeepDialog;
class TExplorerButton;
class TmStrGrid;

class TfrmJisho : public QMainWindow {
    Q_OBJECT
public:
    // Runs FormCreate. `commandLineFileName` is the file to open at start (may be empty).
    // `help` answers the help commands; without one the window opens the help
    // compiled beside the program.
    explicit TfrmJisho(Dialogs &dialogs, const QString &commandLineFileName = {},
                       QWidget *parent = nullptr, HelpEngine *help = nullptr);
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

    // The open document: its name, snapshot, save outcome and file history.
    DocumentModel &document() { return *m_model; }
    const DocumentModel &document() const { return *m_model; }
    // The window side of the File menu and of the grammar check.
    DocumentCommands &documentCommands() { return *m_document; }
    GrammarCommand &grammarCommand() { return *m_grammar; }
    // The File menu's history entries (positions 10 and up), as the document's history says.
    HistoryMenu &historyMenu() { return *m_historyMenu; }
    ConversionCommand &conversionCommand() { return *m_conversion; }
    HelpEngine &helpEngine() { return *m_help; }
    // The Edit menu's row commands and the part-of-speech list.
    EditingCommands &editingCommands() { return *m_editing; }

    // The caption shows `path` by the title rule.
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

    // The message dialogs the commands share.
    TBeepDialog *BeepDlg = nullptr;  // not a word-list file
    TBeepDialog *BeepDlg2 = nullptr; // Yes/No/Cancel question, message set before use
    TBeepDialog *BeepDlg5 = nullptr; // no grammar errors
    TBeepDialog *BeepDlg6 = nullptr; // error, message set before use
    TBeepDialog *BeepDlg7 = nullptr; // file not found
    QMenu *PopupMenu = nullptr;      // pop-up menu of the part-of-speech list
    // The about component: about box, help file, installation record (install/).
    TAboutDlg *AboutDlg = nullptr;

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

    // Word lists of other input methods (app/, interop)
    void mmExportClick();
    void mmImportClick();
    void mmDuplicatesClick();

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
    void followDocument();
    void createConversionAndHelp();
    void configureGrid();
    void connectCommands();
    // `shownError`: a message the start has shown already.
    void readSettings(const QString &shownError);
    void writeSettings();
    void adoptGeneral(const GeneralSettings &general);
    void shapeGrid();
    void recordColumnWidths();
    void startFreshDocument();

    Dialogs &m_dialogs;
    std::unique_ptr<::Ui::TfrmJisho> ui;
    MainWindowState m_state;
    QString m_commandLineFileName;
    QString m_helpFile;
    std::array<TExplorerButton *, 7> m_toolbarButtons{};
    std::unique_ptr<DocumentModel> m_model;
    std::unique_ptr<GrammarCommand> m_grammar;
    std::unique_ptr<DocumentCommands> m_document;
    std::unique_ptr<HistoryMenu> m_historyMenu;
    std::unique_ptr<HelpEngine> m_ownHelp; // when none was given
    HelpEngine *m_help = nullptr;
    std::unique_ptr<HelpKey> m_helpKey;
    std::unique_ptr<ConversionCommand> m_conversion;
    std::unique_ptr<EditingCommands> m_editing;
    std::unique_ptr<InteropCommands> m_interop;
};

} // namespace kelvari
