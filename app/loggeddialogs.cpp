#include "app/loggeddialogs.h"

#include <QDialog>
#include <QFile>
#include <QTextStream>

#include <memory>

namespace kelvari {

LoggedDialogs::LoggedDialogs(QString logPath, const QString &scriptPath)
    : m_logPath(std::move(logPath)) {
    if (scriptPath.isEmpty())
        return;
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QString all = QString::fromUtf8(file.readAll());
    for (const QString &line : all.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            m_script.append(line.trimmed());
    }
}

std::unique_ptr<LoggedDialogs> LoggedDialogs::fromEnvironment() {
    const QString log = qEnvironmentVariable("KELVARI_DIALOG_LOG");
    const QString script = qEnvironmentVariable("KELVARI_DIALOG_SCRIPT");
    if (log.isEmpty() && script.isEmpty())
        return nullptr;
    return std::make_unique<LoggedDialogs>(log, script);
}

int LoggedDialogs::defaultAnswer(MessageButtons buttons) {
    static constexpr std::pair<MessageButton, int> order[] = {
        {MessageButton::Yes, ResultYes},       {MessageButton::Ok, ResultOk},
        {MessageButton::No, ResultNo},         {MessageButton::Cancel, ResultCancel},
        {MessageButton::Abort, ResultAbort},   {MessageButton::Retry, ResultRetry},
        {MessageButton::Ignore, ResultIgnore}, {MessageButton::All, ResultAll},
    };
    for (const auto &[button, result] : order) {
        if (buttons.testFlag(button))
            return result;
    }
    return ResultOk;
}

void LoggedDialogs::log(const QString &caption, const QString &text) {
    if (m_logPath.isEmpty())
        return;
    QFile file(m_logPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QString flat = text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"))
        .replace(u'\n', QStringLiteral("\\n"));
    file.write((caption + u'\t' + flat + u'\n').toUtf8());
}

std::optional<int> LoggedDialogs::nextAnswer() {
    if (m_script.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int result = m_script.takeFirst().toInt(&ok);
    return ok ? std::optional<int>(result) : std::nullopt;
}

int LoggedDialogs::message(const MessageRequest &request) {
    log(request.caption.value_or(captionFor(request.kind)), request.text);
    return nextAnswer().value_or(defaultAnswer(request.buttons));
}

std::optional<FileDialogAnswer> LoggedDialogs::openFile(const FileDialogRequest &request) {
    log(request.title, QStringLiteral("[open file] ") + request.directory);
    return std::nullopt;
}

std::optional<FileDialogAnswer> LoggedDialogs::saveFile(const FileDialogRequest &request) {
    log(request.title, QStringLiteral("[save file] ") + request.directory);
    return std::nullopt;
}

std::optional<QFont> LoggedDialogs::chooseFont(QWidget *, const QFont &) {
    log(QString(), QStringLiteral("[font]"));
    return std::nullopt;
}

std::optional<FolderBrowseAnswer> LoggedDialogs::browseFolder(const FolderBrowseRequest &request) {
    log(request.caption, QStringLiteral("[folder] ") + request.directory);
    return std::nullopt;
}

int LoggedDialogs::execModal(QDialog &dialog) {
    log(dialog.windowTitle(), QStringLiteral("[window]"));
    return nextAnswer().value_or(QDialog::Rejected);
}

} // namespace kelvari
