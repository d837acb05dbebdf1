#pragma once
// Dialogs for tests: every dialog the code under test opens must have been
// expected, in order, with its answer. An unexpected dialog fails the running
// test (and answers Cancel so the code under test can go on safely).

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace kelvari::test {

enum class DialogKind { Message, OpenFile, SaveFile, Font, Folder, Modal };

// What the code showed, for assertions after the fact.
struct ShownDialog {
    DialogKind kind;
    QString caption; // message caption or file dialog title
    QString text;    // message text
    MessageKind messageKind = MessageKind::Information;
    MessageButtons buttons;
    QString directory; // file and folder dialogs: the start folder
    QString fileName;  // file dialogs: the proposed name
    QString filter;
    QWidget *owner = nullptr;
};

class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() = default;
    ~ScriptedDialogs() override;

    // Expect a message box whose text contains `textPart` (empty: any text); answer `result`.
    ScriptedDialogs &expectMessage(const QString &textPart, int result = ResultOk);
    // Expect a file dialog; answer with `fileName`, or cancel when it is empty.
    ScriptedDialogs &expectOpenFile(const QString &fileName, int filterIndex = 0);
    ScriptedDialogs &expectSaveFile(const QString &fileName, int filterIndex = 0);
    ScriptedDialogs &expectFont(std::optional<QFont> font);
    ScriptedDialogs &expectFolder(std::optional<FolderBrowseAnswer> answer);
    // Expect a modal window; `handler` plays the user and returns the result code.
    ScriptedDialogs &expectModal(std::function<int(QDialog &)> handler);

    const QList<ShownDialog> &shown() const { return m_shown; }
    bool allAnswered() const { return m_script.empty(); }
    // Forgets the remaining answers (and shown dialogs).
    void reset();

    int message(const MessageRequest &request) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest &request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *owner, const QFont &initial) override;
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) override;
    int execModal(QDialog &dialog) override;

private:
    struct Step {
        DialogKind kind;
        QString textPart;
        int result = ResultOk;
        QString fileName;
        int filterIndex = 0;
        std::optional<QFont> font;
        std::optional<FolderBrowseAnswer> folder;
        std::function<int(QDialog &)> modal;
    };
    // Pops the next step when it is of `kind`; otherwise records a test failure.
    std::optional<Step> next(DialogKind kind, const ShownDialog &shown);

    std::deque<Step> m_script;
    QList<ShownDialog> m_shown;
};

} // namespace kelvari::test
