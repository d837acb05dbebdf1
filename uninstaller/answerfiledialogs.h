#pragma once
// A test hook for the real program: when KELVARI_DIALOG_SCRIPT names a file of
// answers (one result code per line, 6 Yes, 7 No, 1 OK), message boxes are
// answered from it in turn instead of being shown; when KELVARI_DIALOG_LOG
// names a file, every message's caption and text are appended to it (UTF-8).
// Either variable alone works; with neither set the program never uses this.

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <memory>

namespace kelvari::uninst {

class AnswerFileDialogs : public Dialogs {
public:
    // `inner` shows what the answer file does not answer. An empty
    // `answersPath` answers nothing from a file; an empty `logPath` logs nothing.
    AnswerFileDialogs(Dialogs &inner, const QString &answersPath, const QString &logPath);

    // The decorator the environment asks for around `inner`, or none.
    static std::unique_ptr<AnswerFileDialogs> fromEnvironment(Dialogs &inner);

    int message(const MessageRequest &request) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest &request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) override;
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) override;
    int execModal(QDialog &dialog) override;

private:
    void log(const MessageRequest &request, int result) const;

    Dialogs &m_inner;
    bool m_answerFromFile = false;
    QList<int> m_answers;
    QString m_logPath;
};

} // namespace kelvari::uninst
