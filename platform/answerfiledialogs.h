#pragma once
// A hook for driving a whole program run from outside (end-to-end tests, the
// start-up bench). When KELVARI_DIALOG_SCRIPT names a file of answers (one result
// code per line: 6 Yes, 7 No, 1 OK, 2 Cancel), message boxes are answered from it
// in turn; when KELVARI_DIALOG_LOG names a file, every dialog is recorded there.
// A line "window TOKEN..." answers the next window run modally: "name=value"
// sets the control's value, "?name" logs it, and a bare name clicks that button.
// While the hook is active nothing is shown to a person: a message with a single
// button gets that button, every other dialog is cancelled, and a question (a
// message with a choice) that the script does not answer ends the program with
// exit code 3 after logging it, so that a test can never pass on a guessed
// answer. Programs contain this hook only when built with KELVARI_TEST_HOOKS.

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace kelvari {

class AnswerFileDialogs : public Dialogs {
public:
    // An empty `answersPath` answers nothing from a file; an empty `logPath` logs nothing.
    AnswerFileDialogs(const QString &answersPath, QString logPath);

    // The hook the environment asks for, or none.
    static std::unique_ptr<AnswerFileDialogs> fromEnvironment();

    // The answer a message gets without a scripted one, when it offers no choice:
    // its only button (OK when it names none). Empty for a question.
    static std::optional<int> defaultAnswer(MessageButtons buttons);
    // Exit code of a run that met a question nobody scripted.
    static constexpr int UnscriptedQuestionExitCode = 3;

    // One log entry: "caption: …", "text: …", "answer: …" and "--", each on its own line.
    static QString logEntry(const QString &caption, const QString &text, int answer);

    // Writes one line of its own to the log.
    void logLine(const QString &line) const;

    int message(const MessageRequest &request) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest &request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) override;
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) override;
    int execModal(QDialog &dialog) override;

private:
    void log(const QString &caption, const QString &text, int answer) const;

    QList<int> m_answers;
    QList<QStringList> m_windowAnswers;
    QString m_logPath;
};

} // namespace kelvari
