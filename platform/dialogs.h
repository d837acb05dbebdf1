#pragma once
// Every modal interaction of the programs goes through this one interface. The
// windows receive it at construction; production code passes QtDialogs, tests
// pass ScriptedDialogs, which answers from a script and fails the test on any
// dialog nobody expected.

#include <QFlags>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace kelvari {

enum class MessageKind {
    Warning,      // caption "警告"
    Error,        // "ｴﾗｰ"
    Information,  // "情報"
    Confirmation, // "確認"
    Custom,       // no icon, the program's title as caption
};

enum class MessageButton : unsigned {
    Yes = 0x1,
    No = 0x2,
    Ok = 0x4,
    Cancel = 0x8,
    Abort = 0x10,
    Retry = 0x20,
    Ignore = 0x40,
    All = 0x80,
    Help = 0x100,
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)

// The result codes of the standard message dialogs.
enum DialogResult : int {
    ResultNone = 0,
    ResultOk = 1,
    ResultCancel = 2,
    ResultAbort = 3,
    ResultRetry = 4,
    ResultIgnore = 5,
    ResultYes = 6,
    ResultNo = 7,
    ResultAll = 8,
};

struct MessageRequest {
    QWidget *owner = nullptr; // none: an application-wide box
    MessageKind kind = MessageKind::Information;
    // A caption; when not set, the kind's own caption ("警告", "ｴﾗｰ", ...) is used.
    std::optional<QString> caption;
    QString text;
    MessageButtons buttons = MessageButton::Ok;
    int helpContext = 0;
    QPoint topLeft{-1, -1}; // (-1, -1): centred on the screen
};

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

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box; returns a DialogResult.
    virtual int message(const MessageRequest &request) = 0;
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

// The captions the program gives each kind of message dialog.
QString captionFor(MessageKind kind);
// The captions of the buttons: "はい(&Y)", "いいえ(&N)", "OK", "ｷｬﾝｾﾙ", ...
QString captionFor(MessageButton button);

} // namespace kelvari

Q_DECLARE_OPERATORS_FOR_FLAGS(kelvari::MessageButtons)
