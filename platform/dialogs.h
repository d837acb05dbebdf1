#pragma once
// Every modal interaction of the programs goes through this one interface. The
// windows receive it at construction; production code passes QtDialogs, tests
// pass ScriptedDialogs, which answers from a script and fails the test on any
// dialog nobody expected.

#include "platform/messages.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace kelvari {

struct FileDialogRequest {
    QWidget *owner = nullptr;
    QString title;
    QString directory;   // start folder
    QString fileName;    // proposed name
    QString filter;      // "辞書作成ファイル (*.jmf);;すべてのファイル (*)"
    int filterIndex = 0; // 0-based index into filter
    QString defaultSuffix;
    bool overwritePrompt = false;
    bool fileMustExist = false;
};

struct FileDialogAnswer {
    QString fileName;
    int filterIndex = 0;
};

// The folder browser. The callbacks run while the user moves through the tree;
// each may set the status text and enable (1) or disable (2) the OK button.
struct FolderBrowseRequest {
    QWidget *owner = nullptr;
    QString caption;   // text above the tree
    QString root;      // root of the tree; empty: the whole file system
    QString directory; // folder selected when the browser opens; empty: none
    bool showStatusText = false;
    using Event = std::function<void(const QString &path, QString &showText, int &okButtonState)>;
    Event onInitialized;
    Event onSelectionChanged;
};

struct FolderBrowseAnswer {
    QString path;        // file-system path; empty for an item without one
    QString displayName; // the name the tree shows for it
};

class Dialogs : public MessagePrompt {
public:
    virtual std::optional<FileDialogAnswer> openFile(const FileDialogRequest &request) = 0;
    virtual std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &request) = 0;
    virtual std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) = 0;
    virtual std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) = 0;
    // Runs a window of the program modally; returns its QDialog result code.
    virtual int execModal(QDialog &dialog) = 0;

    // Short forms.
    int error(QWidget *owner, const QString &text, std::optional<QString> caption = {});
    int information(QWidget *owner, const QString &text, std::optional<QString> caption = {});
};

} // namespace kelvari
