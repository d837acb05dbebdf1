#include "platform/answerfiledialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QMetaProperty>

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
        const QString text = QString::fromUtf8(line.trimmed());
        if (text.startsWith(QStringLiteral("window "))) {
            m_windowAnswers.append(text.mid(7).split(u' ', Qt::SkipEmptyParts));
            continue;
        }
        bool ok = false;
        const int code = text.toInt(&ok);
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
    logLine(logEntry(caption, text, answer).chopped(1));
}

void AnswerFileDialogs::logLine(const QString &line) const {
    if (m_logPath.isEmpty())
        return;
    QFile file(m_logPath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((line + u'\n').toUtf8());
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
    if (m_windowAnswers.isEmpty()) {
        log(dialog.windowTitle(), QStringLiteral("[window]"), QDialog::Rejected);
        return QDialog::Rejected;
    }
    // The window is filled in and closed as a person would: values through each
    // control's own property, the close through its button.
    dialog.setResult(QDialog::Rejected);
    for (const QString &token : m_windowAnswers.takeFirst()) {
        const qsizetype equals = token.indexOf(u'=');
        const QString name =
            token.startsWith(u'?') ? token.mid(1) : (equals < 0 ? token : token.left(equals));
        QWidget *control = dialog.findChild<QWidget *>(name);
        if (!control) {
            logLine(QStringLiteral("[window] no control ") + name);
            continue;
        }
        const QMetaProperty value = control->metaObject()->userProperty();
        if (token.startsWith(u'?'))
            logLine(name + u'=' + value.read(control).toString());
        else if (equals >= 0)
            value.write(control, token.mid(equals + 1));
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            button->click();
    }
    log(dialog.windowTitle(), QStringLiteral("[window]"), dialog.result());
    return dialog.result();
}

} // namespace kelvari
