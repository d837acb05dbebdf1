#pragma once
// The editor's document and window state: single values owned by the main
// window and used by every command under these names.

#include <QByteArray>
#include <QString>
#include <array>

namespace kelvari {

struct MainWindowState {
    QString CurrentFileName;    // full path, or the bare "新規辞書N.jmf" of a never-saved document
    int NewFileCounter = 0;     // N of the next new-document name
    int MaxRow = 100;           // data rows of a new document
    bool ShowFullPath = true;   // title shows the full path (else the file name only)
    bool ShowAtokUtility = true;
    bool ShowAtokHelp = true;
    QString SaveDir;            // start folder of the file dialogs for a never-saved document
    QString AtokFolder;
    QByteArray SnapshotText;    // the document as last loaded or saved
    QByteArray SnapshotComment;
    bool SaveSucceeded = false;
    bool OpenedFromHistory = false;
    bool FirstResizePending = false;
    bool ColumnFollowPending = false;
    int LastFormHeight = 0;
    int LastFormWidth = 0;
    std::array<int, 3> LastColWidths{0, 0, 0};
    bool WindowActivated = false;
};

} // namespace kelvari
