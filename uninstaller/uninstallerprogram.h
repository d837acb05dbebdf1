#pragma once
// The program's one run: the about message, or an uninstall with its final
// report.

#include <QStringList>

#include "uninstaller/uninstallengine.h"

namespace kelvari::uninst {

struct ProgramContext {
    MessagePrompt &dialogs;
    UninstallRegistry &registry;
    UninstallFiles &files;
    UninstallFolders folders;
    QString programPath; // the uninstaller's own file, for the about message's date
};

// `arguments` without the program name. Returns the exit code: 0, or 1 when an
// error message ended the run.
int runUninstaller(const QStringList &arguments, ProgramContext &context);

void showAbout(MessagePrompt &dialogs, const QString &programPath);
void showFinalReport(MessagePrompt &dialogs, const UninstallResult &result);

} // namespace kelvari::uninst
