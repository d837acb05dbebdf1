#pragma once
// Runs one uninstall script: the warnings, the start question, the registry
// deletions and creations, then the file sections in the order they stand.
// Every prompt and every stopping error goes through MessagePrompt as an ownerless
// message box; the final report is the caller's.

#include <QSet>
#include <functional>

#include "platform/messages.h"
#include "uninstaller/scriptformat.h"
#include "uninstaller/scriptpath.h"
#include "uninstaller/uninstallhost.h"

namespace kelvari::uninst {

struct UninstallFolders {
    QString windows; // with a trailing separator
    QString system;  // with a trailing separator
};

struct UninstallResult {
    bool runCompleted = false;    // the start was confirmed and every section ran
    bool settingsDeleted = false; // a [DeleteReg] section was confirmed and ran
    bool folderRemoved = false;   // a [DeleteFile] section removed the script's folder
    bool stoppedByError = false;  // an error box ended the run
};

class UninstallEngine {
public:
    UninstallEngine(MessagePrompt &dialogs, UninstallRegistry &registry, UninstallFiles &files,
                    UninstallFolders folders);

    UninstallResult run(const ScriptLocation &script);

private:
    void runSections(const ScriptLines &lines);
    ScriptLines readScriptAgain() const;
    SectionBody bodyOf(const ScriptLines &lines, int headerIndex, SectionKind kind) const;

    void runWarning(int headerIndex);
    void runDeleteReg(int headerIndex);
    void runCreateReg(int headerIndex);
    void runRenameFile(int headerIndex);
    void runDeleteFile(int headerIndex);

    int ask(MessageKind kind, const QString &text, MessageButtons buttons);
    void deleteKey(RegRoot root, const QByteArray &path);
    void onRegistry(const std::function<void()> &step);
    void reportDamage(const RegistryFileDamaged &damage);

    MessagePrompt &m_dialogs;
    UninstallRegistry &m_registry;
    UninstallFiles &m_files;
    UninstallFolders m_folders;
    ScriptLocation m_script;
    UninstallResult m_result;
    QSet<QString> m_reportedDamage;
};

} // namespace kelvari::uninst
