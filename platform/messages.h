#pragma once
// The message boxes of the programs, as plain data: what a box says and offers,
// and what the user answered. Code that only asks questions (the uninstaller's
// engine) needs nothing more than MessagePrompt; windows get the whole Dialogs
// seam, which is one.

#include <QFlags>
#include <QPoint>
#include <QString>
#include <optional>

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

class MessagePrompt {
public:
    virtual ~MessagePrompt() = default;
    // A message box; returns a DialogResult.
    virtual int message(const MessageRequest &request) = 0;
};

// The captions the program gives each kind of message dialog.
QString captionFor(MessageKind kind);
// The captions of the buttons: "はい(&Y)", "いいえ(&N)", "OK", "ｷｬﾝｾﾙ", ...
QString captionFor(MessageButton button);

} // namespace kelvari

Q_DECLARE_OPERATORS_FOR_FLAGS(kelvari::MessageButtons)
