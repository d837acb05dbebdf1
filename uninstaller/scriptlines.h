#pragma once
// The parts of one body line. Registry lines are recognised by their marker
// anywhere in the line but cut at fixed byte positions, so the markers open
// their lines in every well-formed script.

#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/registry.h"

namespace kelvari::uninst {

// "HCU" -> HKEY_CURRENT_USER ...; compared exactly.
std::optional<RegRoot> rootForAbbreviation(const QByteArray &abbreviation);

// The key path under HKEY_LOCAL_MACHINE that an "Uninst=" line names, and the
// one under HKEY_CURRENT_USER that an "Inst=" line names. No value for a line
// without a name (it would name the whole uninstall list or vendor key) or
// with a name that is not exact Shift-JIS.
bool isUninstLine(const QByteArray &line);
bool isInstLine(const QByteArray &line);
std::optional<QByteArray> uninstKeyPath(const QByteArray &line);
std::optional<QByteArray> instKeyPath(const QByteArray &line);

struct KeyLine {
    QByteArray rootText;         // as written, for messages
    std::optional<RegRoot> root; // none: not in the table, or a path not exact Shift-JIS
    QByteArray path;             // from the first "\" on; empty when the line has none
};
bool isKeyLine(const QByteArray &line);
KeyLine parseKeyLine(const QByteArray &line);

struct StringLine {
    QByteArray name; // empty: the key's default value
    QByteArray text;
};
bool isStringLine(const QByteArray &line);
StringLine parseStringLine(const QByteArray &line);

// In a [CreateReg] body a line may hold both markers; the one that comes first
// decides what the line is.
enum class CreateRegLine { Other, Key, String };
CreateRegLine classifyCreateRegLine(const QByteArray &line);

// A key path that names something below the root (not only separators).
bool namesSubkey(const QByteArray &path);

// File lines of [RenameFile] and [DeleteFile]: the location prefix chosen and
// the rest of the line.
struct FileLine {
    QString folder;  // the folder the name is relative to, with a trailing separator
    QByteArray name; // CP932, "\"-separated
};
FileLine resolveFileLine(const QByteArray &line, const QString &scriptFolder,
                         const QString &windowsFolder, const QString &systemFolder);
// The native path of a name relative to `folder`; empty for an empty name and
// for one that is not exact Shift-JIS (it must not be read as some other name).
QString filePathFor(const QString &folder, const QByteArray &name);

// Whether the bytes are exact Shift-JIS text; nothing else is acted on.
bool isExactText(const QByteArray &bytes);

bool isSaveFolderLine(const QByteArray &line);

} // namespace kelvari::uninst
