#include "uninstaller/answerfiledialogs.h"

#include <QFile>

namespace kelvari::uninst {

AnswerFileDialogs::AnswerFileDialogs(Dialogs &inner, const QString &answersPath,
                                     const QString &logPath)
    : m_inner(inner), m_answerFromFile(!answersPath.isEmpty()), m_logPath(logPath) {
    if (!m_answerFromFile)
        return;
    QFile file(answersPath);
    if (!file.open(QIODevice::ReadOnly))
        return; // no answers: every box is answered Cancel
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        bool ok = false;
        const int code = line.trimmed().toInt(&ok);
        if (ok)
            m_answers.append(code);
    }
}

std::unique_ptr<AnswerFileDialogs> AnswerFileDialogs::fromEnvironment(Dialogs &inner) {
    const QString answers = qEnvironmentVariable("KELVARI_DIALOG_SCRIPT");
    const QString log = qEnvironmentVariable("KELVARI_DIALOG_LOG");
    if (answers.isEmpty() && log.isEmpty())
        return nullptr;
    return std::make_unique<AnswerFileDialogs>(inner, answers, log);
}

int AnswerFileDialogs::message(const MessageRequest &request) {
    int result = ResultCancel;
    if (!m_answerFromFile)
        result = m_inner.message(request);
    else if (!m_answers.isEmpty())
        result = m_answers.takeFirst();
    log(request, result);
    return result;
}

void AnswerFileDialogs::log(const MessageRequest &request, int result) const {
    if (m_logPath.isEmpty())
        return;
    QFile file(m_logPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString entry = QStringLiteral("caption: %1\ntext: %2\nanswer: %3\n--\n")
                              .arg(request.caption.value_or(captionFor(request.kind)), request.text)
                              .arg(result);
    file.write(entry.toUtf8());
}

std::optional<FileDialogAnswer> AnswerFileDialogs::openFile(const FileDialogRequest &request) {
    return m_inner.openFile(request);
}

std::optional<FileDialogAnswer> AnswerFileDialogs::saveFile(const FileDialogRequest &request) {
    return m_inner.saveFile(request);
}

std::optional<QFont> AnswerFileDialogs::chooseFont(QWidget *owner, const QFont &initial) {
    return m_inner.chooseFont(owner, initial);
}

std::optional<FolderBrowseAnswer>
AnswerFileDialogs::browseFolder(const FolderBrowseRequest &request) {
    return m_inner.browseFolder(request);
}

int AnswerFileDialogs::execModal(QDialog &dialog) {
    return m_inner.execModal(dialog);
}

} // namespace kelvari::uninst
