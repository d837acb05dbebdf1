#pragma once
// Where the script is: the command line names it, the rules below complete
// the name, and the script's folder is the base of the names inside it.
// Paths may use "\" (as scripts and registered command lines do) or the
// platform's separator; both count, and so does ":" (a drive).

#include <QString>
#include <QStringList>
#include <optional>

namespace kelvari::uninst {

// The script argument of "/u path...": the arguments after "/u" joined by
// single spaces. Anything else (or an empty path) is no script.
std::optional<QString> scriptArgument(const QStringList &arguments);

// "Uninst.inf" appended when the last name has no extension: "C:\App\" ->
// "C:\App\Uninst.inf", "C:\App" -> "C:\AppUninst.inf".
QString completeScriptPath(const QString &argument);
// Up to and including the last separator; empty when there is none.
QString folderOf(const QString &path);
// After the last separator.
QString fileNameOf(const QString &path);

// A path as written in a script ("\"-separated) in the platform's form.
QString toNativePath(const QString &scriptStylePath);

struct ScriptLocation {
    QString path;     // native, absolute
    QString folder;   // native, absolute, ends in the native separator
    QString fileName; // for messages
};

// Completes the argument and resolves it against the current folder.
ScriptLocation locateScript(const QString &argument);

} // namespace kelvari::uninst
