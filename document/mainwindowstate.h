#pragma once
// What the main window knows about itself and the settings it works with.
// Every command of the editor reads and writes these fields by name. The open
// document (its name, snapshot, save outcome and history) is the DocumentModel.

#include <QByteArray>
#include <QString>
#include <array>

namespace kelvari {

struct MainWindowState {
    // Data rows of a new document ("General\MaxRow").
    int MaxRow = 100;
    bool ShowFullPath = true;
    bool ShowAtokUtility = true;
    bool ShowAtokHelp = true;
    // Start folder of the file dialogs when CurrentFileName has no folder part.
    QString SaveDir;
    // Folder of the dictionary utility, ending in a separator; empty when unknown.
    QString AtokFolder;
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
