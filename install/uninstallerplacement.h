#pragma once
// The uninstaller's move from the program's folder into the Windows folder on
// the first start of a version. One copy serves every program that uses it, so
// the Windows folder keeps the newer of the two by modification date; a missing
// file counts as older than any existing one.

#include <QString>
#include <functional>

namespace kelvari {

enum class UninstallerPlacement {
    NothingToDo,   // no copy in the program's folder
    Moved,         // the newer copy now lies in the Windows folder only
    Copied,        // placed in the Windows folder, but the program's folder kept its copy
    SourceDeleted, // the Windows folder's copy was as new or newer; ours was deleted
    SourceKept,    // the Windows folder's copy was as new or newer; ours could not be deleted
    Failed,        // the newer copy could not be written into the Windows folder
};

using RemoveFile = std::function<bool(const QString &path)>;

// Places `source` at `target` when it is strictly newer, else deletes it. The
// target is written in full (with the source's date and permissions) before the
// source is removed, so a program folder that cannot be written to (an install
// for all users) still leaves a working uninstaller in the Windows folder.
UninstallerPlacement placeUninstaller(const QString &source, const QString &target,
                                      const RemoveFile &removeFile);
UninstallerPlacement placeUninstaller(const QString &source, const QString &target);

} // namespace kelvari
