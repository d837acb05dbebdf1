#pragma once
// A Dialogs that writes every message it is asked to show to a log file and
// answers from a script instead of a person. main() puts it in front of the
// real dialogs when KELVARI_DIALOG_LOG or KELVARI_DIALOG_SCRIPT is set, so that a
// whole program run can be driven and checked from outside.

#include "platform/dialogs.h"

#include <QStringList>
#include <memory>

namespace kelvari {

class LoggedDialogs : public Dialogs {
public:
    // logPath: each message's caption and text are appended (UTF-8), one line
    // "caption<TAB>text" with line breaks in the text written as "\n".
    // scriptPath: one result code per line, used in order; without a script (or
    // once it is used up) a message gets its default answer and every other
    // dialog is cancelled.
    LoggedDialogs(QString logPath, const QString &scriptPath);

    // From KELVARI_DIALOG_LOG and KELVARI_DIALOG_SCRIPT; null when neither is set.
    static std::unique_ptr<LoggedDialogs> fromEnvironment();

    // The answer a message gets without a script: its first button, in the
    // order Yes, Ok, No, Cancel, Abort, Retry, Ignore, All.
    static int defaultAnswer(MessageButtons buttons);

    int message(const MessageRequest &request) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest &request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) override;
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) override;
    int execModal(QDialog &dialog) override;

private:
    void log(const QString &caption, const QString &text);
    std::optional<int> nextAnswer();

    QString m_logPath;
    QStringList m_script;
};

} // namespace kelvari
