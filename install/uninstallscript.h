#pragma once
// The editor's uninstall script, written at build time from the list of files
// that an installation puts into the program's folder, so that the two cannot
// disagree.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvari {

// The script in CP932 with CR LF line ends: a warning, the editor's registry keys
// (settings, uninstall entry, the ".jmf" association) and every file of
// `programFolderFiles`, the script itself last, so that the folder is removed.
// nullopt with `problem` set when the list cannot make a complete script: a
// name with a folder part, a duplicate, a name CP932 cannot hold, or a list
// without the script itself.
std::optional<QByteArray> editorUninstallScript(const QStringList &programFolderFiles,
                                                QString *problem = nullptr);

} // namespace kelvari
