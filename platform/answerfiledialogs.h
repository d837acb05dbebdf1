#pragma once
// A hook for driving a whole program run from outside (end-to-end tests, the
// start-up bench). When KELVARI_DIALOG_SCRIPT names a file of answers (one result
// code per line: 6 Yes, 7 No, 1 OK, 2 Cancel), message boxes are answered from it
// in turn; when KELVARI_DIALOG_LOG names a file, every dialog is recorded there.
// While the hook is active nothing is shown to a person: a message the script
// does not answer gets its first button (Yes, OK, No, Cancel, ...), and every
// other dialog is cancelled. With neither variable set a program never uses this.

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <memory>

namespace kelvari {

class AnswerFileDialogs : public Dialogs {
public:
    // An empty `answersPath` answers nothing from a file; an empty `logPath` logs nothing.
    AnswerFileDialogs(const QString &answersPath, QString logPath);

    // The hook the environment asks for, or none.
    static std::unique_ptr<AnswerFileDialogs> fromEnvironment();

    // The answer a message gets without a scripted one: its first button, in the
    // order Yes, Ok, No, Cancel, Abort, Retry, Ignore, All.
    static int defaultAnswer(MessageButtons buttons);

    // One log entry: "caption: …", "text: …", "answer: …" and "--", each on its own line.
    static QString logEntry(const QString &caption, const QString &text, int answer);

    int message(const MessageRequest &request) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest &request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) override;
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) override;
    int execModal(QDialog &dialog) override;

private:
    void log(const QString &caption, const QString &text, int answer) const;

    QList<int> m_answers;
    QString m_logPath;
};

} // namespace kelvari
