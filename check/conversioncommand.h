#pragma once
// The window side of the conversion: converts the open document or another
// saved file for the dictionary utility, starts the utility, opens its help,
// and asks for the utility's folder when it is not where it should be.

#include <QString>
#include <functional>

class QWidget;

namespace kelvari {

class Dialogs;
class HelpEngine;
struct FileDialogRequest;
struct MainWindowState;

class ConversionCommand {
public:
    struct Parts {
        // AtokFolder, the two follow-up settings and SaveDir.
        MainWindowState &state;
        Dialogs &dialogs;
        HelpEngine &help;
        QWidget *owner = nullptr; // the main window
        // The open document's name: its full path once it has been saved.
        std::function<QString()> currentFileName;
        // Save As of the document; true when the document was written.
        std::function<bool()> saveAs;
        // The grammar gate: true when `action` may go on.
        std::function<bool()> convertGate;
    };

    explicit ConversionCommand(Parts parts);

    // Converts the open document as last saved; a never-saved one is saved first.
    void mmConvertClick();
    // Converts a saved file the user picks; no grammar check.
    void mmOthersClick();
    // Starts the utility, when the settings want it started at all.
    void mmUtilClick();
    // Opens the utility's own help file with the desktop's handler.
    void mmAtokHelpClick();

    // Sets AtokFolder from the input method's settings file, or from the user
    // when the utility is not in that folder.
    void LocateAtokFolder();
    // Copies `source` into AtokFolder as "<name>.txt", then starts the utility and
    // shows the help page, as the settings say. Nothing of it is reported.
    void ConvertFile(const QString &source);

    // The dialogs for the utility (OpenDlg2) and for another file (OpenDlg3).
    static FileDialogRequest utilityDialog(QWidget *owner, const QString &directory);
    static FileDialogRequest otherFileDialog(QWidget *owner, const QString &directory);

private:
    // AtokFolder, after looking for it when it does not hold `fileName`.
    QString folderHolding(const QString &fileName);
    void startUtility();

    Parts m;
};

} // namespace kelvari
