#pragma once
// Starting programs and opening documents the way the desktop does.

#include <QString>
#include <QStringList>

namespace kelvari::Shell {

// Result codes of openDocument and openInTextViewer (0 is success).
constexpr int kNoAssociation = 31; // no program to open it with
constexpr int kFileNotFound = 2;   // the document does not exist
constexpr int kOtherFailure = 1;   // the handler failed in some other way

// Starts a program that runs on its own; false when it could not be started.
bool startDetached(const QString &program, const QStringList &arguments,
                   const QString &workingDir = {});

// Opens the document with the desktop's handler: $KELVARI_OPEN_COMMAND when set,
// else the platform's opener (xdg-open), looked up on PATH. The handler is
// expected to return soon; its exit code decides the result (3 and 4, "no tool"
// and "action failed", mean no association). One that runs on is left running.
int openDocument(const QString &path);

// Opens a text file in a plain-text viewer: $KELVARI_TEXT_VIEWER when set, else
// the first text editor found on PATH. It is started detached.
int openInTextViewer(const QString &path);

} // namespace kelvari::Shell
