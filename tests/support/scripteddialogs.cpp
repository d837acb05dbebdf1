#include "tests/support/scripteddialogs.h"

#include <QDialog>
#include <QTest>

namespace kelvari::test {
namespace {

const char *kindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::Message:
        return "message";
    case DialogKind::OpenFile:
        return "open-file dialog";
    case DialogKind::SaveFile:
        return "save-file dialog";
    case DialogKind::Font:
        return "font dialog";
    case DialogKind::Folder:
        return "folder browser";
    case DialogKind::Modal:
        return "modal window";
    }
    return "dialog";
}

} // namespace

ScriptedDialogs::~ScriptedDialogs() {
    if (!m_script.empty() && !QTest::currentTestFailed() && QTest::currentTestFunction()) {
        QTest::qFail(qPrintable(QStringLiteral("%1 expected dialog(s) never shown, first: %2 \"%3\"")
                                    .arg(m_script.size())
                                    .arg(QString::fromLatin1(kindName(m_script.front().kind)))
                                    .arg(m_script.front().textPart)),
                     __FILE__, __LINE__);
    }
}

ScriptedDialogs &ScriptedDialogs::expectMessage(const QString &textPart, int result) {
    Step step{DialogKind::Message, textPart, result, {}, 0, {}, {}, {}};
    m_script.push_back(step);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::expectOpenFile(const QString &fileName, int filterIndex) {
    m_script.push_back(Step{DialogKind::OpenFile, {}, 0, fileName, filterIndex, {}, {}, {}});
    return *this;
}

ScriptedDialogs &ScriptedDialogs::expectSaveFile(const QString &fileName, int filterIndex) {
    m_script.push_back(Step{DialogKind::SaveFile, {}, 0, fileName, filterIndex, {}, {}, {}});
    return *this;
}

ScriptedDialogs &ScriptedDialogs::expectFont(std::optional<QFont> font) {
    m_script.push_back(Step{DialogKind::Font, {}, 0, {}, 0, font, {}, {}});
    return *this;
}

ScriptedDialogs &ScriptedDialogs::expectFolder(std::optional<FolderBrowseAnswer> answer) {
    m_script.push_back(Step{DialogKind::Folder, {}, 0, {}, 0, {}, answer, {}});
    return *this;
}

ScriptedDialogs &ScriptedDialogs::expectModal(std::function<int(QDialog &)> handler) {
    m_script.push_back(Step{DialogKind::Modal, {}, 0, {}, 0, {}, {}, std::move(handler)});
    return *this;
}

void ScriptedDialogs::reset() {
    m_script.clear();
    m_shown.clear();
}

std::optional<ScriptedDialogs::Step> ScriptedDialogs::next(DialogKind kind,
                                                          const ShownDialog &shown) {
    m_shown.append(shown);
    const QString what = QStringLiteral("%1 \"%2\" \"%3\"")
                             .arg(QString::fromLatin1(kindName(kind)), shown.caption, shown.text);
    if (m_script.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected ") + what), __FILE__, __LINE__);
        return std::nullopt;
    }
    Step step = m_script.front();
    if (step.kind != kind || (!step.textPart.isEmpty() && !shown.text.contains(step.textPart))) {
        QTest::qFail(qPrintable(QStringLiteral("expected %1 \"%2\", got %3")
                                    .arg(QString::fromLatin1(kindName(step.kind)), step.textPart,
                                         what)),
                     __FILE__, __LINE__);
        return std::nullopt;
    }
    m_script.pop_front();
    return step;
}

int ScriptedDialogs::message(const MessageRequest &request) {
    ShownDialog shown{DialogKind::Message,
                      request.caption.value_or(captionFor(request.kind)),
                      request.text,
                      request.kind,
                      request.buttons,
                      {},
                      {},
                      {},
                      request.owner};
    const auto step = next(DialogKind::Message, shown);
    return step ? step->result : ResultCancel;
}

std::optional<FileDialogAnswer> ScriptedDialogs::openFile(const FileDialogRequest &request) {
    ShownDialog shown{DialogKind::OpenFile, request.title, {}, MessageKind::Information, {},
                      request.directory, request.fileName, request.filter, request.owner};
    const auto step = next(DialogKind::OpenFile, shown);
    if (!step || step->fileName.isEmpty())
        return std::nullopt;
    return FileDialogAnswer{step->fileName, step->filterIndex};
}

std::optional<FileDialogAnswer> ScriptedDialogs::saveFile(const FileDialogRequest &request) {
    ShownDialog shown{DialogKind::SaveFile, request.title, {}, MessageKind::Information, {},
                      request.directory, request.fileName, request.filter, request.owner};
    const auto step = next(DialogKind::SaveFile, shown);
    if (!step || step->fileName.isEmpty())
        return std::nullopt;
    return FileDialogAnswer{step->fileName, step->filterIndex};
}

std::optional<QFont> ScriptedDialogs::chooseFont(QWidget *owner, const QFont &) {
    ShownDialog shown{DialogKind::Font, {}, {}, MessageKind::Information, {}, {}, {}, {}, owner};
    const auto step = next(DialogKind::Font, shown);
    return step ? step->font : std::nullopt;
}

std::optional<FolderBrowseAnswer>
ScriptedDialogs::browseFolder(const FolderBrowseRequest &request) {
    ShownDialog shown{DialogKind::Folder, request.caption, {}, MessageKind::Information, {},
                      request.directory, {}, {}, request.owner};
    const auto step = next(DialogKind::Folder, shown);
    return step ? step->folder : std::nullopt;
}

int ScriptedDialogs::execModal(QDialog &dialog) {
    ShownDialog shown{DialogKind::Modal, dialog.windowTitle(), {}, MessageKind::Information, {},
                      {}, {}, {}, dialog.parentWidget()};
    const auto step = next(DialogKind::Modal, shown);
    if (!step || !step->modal)
        return QDialog::Rejected;
    return step->modal(dialog);
}

} // namespace kelvari::test
