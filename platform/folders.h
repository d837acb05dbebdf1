#pragma once
// Where the program keeps its world. Everything lives under one data root so
// that a test (or a second "desktop") can point the program somewhere else.

#include <QString>

namespace kelvari::Folders {

// $KELVARI_HOME when set, else the standard application-data folder. Created on demand.
QString dataRoot();
// registry/ under the data root.
QString registryFolder();
// The Windows folder stand-in, windows/ under the data root, with a trailing separator.
QString windowsFolder();
// The system folder stand-in, windows/system/ under the data root, with a trailing separator.
QString systemFolder();

// The folder of the running program, with a trailing separator. Tests replace it
// so that installation steps never move files of the build tree.
QString programFolder();
// Full path of the running program file.
QString programPath();
void setProgramPathOverride(const QString &path); // empty: back to the real one

} // namespace kelvari::Folders
