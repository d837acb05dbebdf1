#pragma once
// The production dialogs: Qt's message box, file and font dialogs, and our own
// folder browser.

#include "platform/dialogs.h"

class QMessageBox;
class QScreen;
class QWidget;

namespace kelvari {

class QtDialogs : public Dialogs {
public:
    QtDialogs() = default;

    int message(const MessageRequest &request) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest &request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) override;
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) override;
    int execModal(QDialog &dialog) override;
};

// The result code a message box button answers with.
int resultFor(MessageButton button);

// Moves the window to the middle of `screen`'s free area (the primary screen
// when none is given); does nothing when there is no screen.
void centreOnScreen(QWidget &window, const QScreen *screen = nullptr);

} // namespace kelvari
