#pragma once
// The folder the file dialogs start in when no setting names one.

#include <QString>
#include <functional>

namespace kelvari {

using FolderWritable = std::function<bool(const QString &folder)>;

// Whether this user may create files in `folder`.
bool isFolderWritable(const QString &folder);

// The program's folder without its trailing separator, as long as new files can
// be written there; an installation for all users cannot, and then the user's
// documents folder is the default instead.
QString DefaultSaveDir(const QString &programFolder,
                       const FolderWritable &writable = isFolderWritable);

} // namespace kelvari
