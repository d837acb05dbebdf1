#pragma once
// What the main window knows about the open document and the window itself.
// Every command of the editor reads and writes these fields by name.

#include <QByteArray>
#include <QString>
#include <array>

namespace kelvari {

struct MainWindowState {
    // The document's full path, or the bare "新規辞書<N>.jmf" of a never-saved one.
    QString CurrentFileName;
    int NewFileCounter = 0;
    // Data rows of a new document ("General\MaxRow").
    int MaxRow = 100;
    bool ShowFullPath = true;
    bool ShowAtokUtility = true;
    bool ShowAtokHelp = true;
    // Start folder of the file dialogs when CurrentFileName has no folder part.
    QString SaveDir;
    // Folder of the dictionary utility, ending in a separator; empty when unknown.
    QString AtokFolder;
    // The snapshot of the document as last loaded or saved lives with the
    // document commands (DocumentCommands), which alone record and compare it.
    bool SaveSucceeded = false;
    bool OpenedFromHistory = false;
    // While set, the next resize event only records the sizes.
    bool FirstResizePending = false;
    bool ColumnFollowPending = false;
    int LastFormHeight = 0;
    int LastFormWidth = 0;
    // Widths of grid columns 1, 2 and 3 as last recorded.
    std::array<int, 3> LastColWidths{0, 0, 0};
    // The grid can take the focus only once the window has been activated.
    bool WindowActivated = false;
};

} // namespace kelvari
