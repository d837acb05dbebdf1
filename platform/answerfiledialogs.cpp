#include "platform/answerfiledialogs.h"

#include <QDialog>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace kelvari {

AnswerFileDialogs::AnswerFileDialogs(const QString &answersPath, QString logPath)
    : m_logPath(std::move(logPath)) {
    if (answersPath.isEmpty())
        return;
    QFile file(answersPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        bool ok = false;
        const int code = line.trimmed().toInt(&ok);
        if (ok)
            m_answers.append(code);
    }
}

std::unique_ptr<AnswerFileDialogs> AnswerFileDialogs::fromEnvironment() {
    const QString answers = qEnvironmentVariable("KELVARI_DIALOG_SCRIPT");
    const QString log = qEnvironmentVariable("KELVARI_DIALOG_LOG");
    if (answers.isEmpty() && log.isEmpty())
        return nullptr;
    return std::make_unique<AnswerFileDialogs>(answers, log);
}

std::optional<int> AnswerFileDialogs::defaultAnswer(MessageButtons buttons) {
    static constexpr std::pair<MessageButton, int> results[] = {
        {MessageButton::Yes, ResultYes},       {MessageButton::Ok, ResultOk},
        {MessageButton::No, ResultNo},         {MessageButton::Cancel, ResultCancel},
        {MessageButton::Abort, ResultAbort},   {MessageButton::Retry, ResultRetry},
        {MessageButton::Ignore, ResultIgnore}, {MessageButton::All, ResultAll},
    };
    std::optional<int> only;
    for (const auto &[button, result] : results) {
        if (!buttons.testFlag(button))
            continue;
        if (only)
            return std::nullopt;
        only = result;
    }
    return only.value_or(ResultOk);
}

QString AnswerFileDialogs::logEntry(const QString &caption, const QString &text, int answer) {
    return QStringLiteral("caption: %1\ntext: %2\nanswer: %3\n--\n").arg(caption, text).arg(answer);
}

void AnswerFileDialogs::log(const QString &caption, const QString &text, int answer) const {
    if (m_logPath.isEmpty())
        return;
    QFile file(m_logPath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(logEntry(caption, text, answer).toUtf8());
}

int AnswerFileDialogs::message(const MessageRequest &request) {
    const QString caption = request.caption.value_or(captionFor(request.kind));
    if (!m_answers.isEmpty()) {
        const int answer = m_answers.takeFirst();
        log(caption, request.text, answer);
        return answer;
    }
    if (const std::optional<int> answer = defaultAnswer(request.buttons)) {
        log(caption, request.text, *answer);
        return *answer;
    }
    // Guessing would let a run take a path nobody chose (for the uninstaller:
    // delete everything). Stop here, visibly.
    log(caption, request.text, UnscriptedQuestionExitCode);
    std::fprintf(stderr, "unscripted question: %s\n", qUtf8Printable(request.text));
    std::fflush(stderr);
    std::_Exit(UnscriptedQuestionExitCode);
}

std::optional<FileDialogAnswer> AnswerFileDialogs::openFile(const FileDialogRequest &request) {
    log(request.title, QStringLiteral("[open file] ") + request.directory, ResultCancel);
    return std::nullopt;
}

std::optional<FileDialogAnswer> AnswerFileDialogs::saveFile(const FileDialogRequest &request) {
    log(request.title, QStringLiteral("[save file] ") + request.directory, ResultCancel);
    return std::nullopt;
}

std::optional<QFont> AnswerFileDialogs::chooseFont(QWidget *, const QFont &) {
    log(QString(), QStringLiteral("[font]"), ResultCancel);
    return std::nullopt;
}

std::optional<FolderBrowseAnswer>
AnswerFileDialogs::browseFolder(const FolderBrowseRequest &request) {
    log(request.caption, QStringLiteral("[folder] ") + request.directory, ResultCancel);
    return std::nullopt;
}

int AnswerFileDialogs::execModal(QDialog &dialog) {
    log(dialog.windowTitle(), QStringLiteral("[window]"), QDialog::Rejected);
    return QDialog::Rejected;
}

} // namespace kelvari
