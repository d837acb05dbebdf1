#pragma once
// Conversion for the dictionary utility: a saved word list already is the
// utility's import text, so converting means copying it, as "<name>.txt", into
// the utility's folder. These are the rules without any window: where the
// folder is, what the copy is called, and the copy itself.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kelvari::Conversion {

// The utility and its help file, as they are named in the utility's folder.
QString utilityFileName();     // "Atok10ut.exe"
QString utilityHelpFileName(); // "Atok10ut.hlp"

// `folder` + the utility's name; `folder` ends in a separator (or is empty).
QString utilityPath(const QString &folder);
QString utilityHelpPath(const QString &folder);
// True when `folder` is known and holds the file `name`. An unknown (empty)
// folder holds nothing: the process's current folder is not the utility's.
bool folderHolds(const QString &folder, const QString &name);

// The input method's settings file in the Windows folder (which ends in a separator).
QString settingsFilePath(const QString &windowsFolder);
// The utility's folder as the settings file names it: the system dictionary's
// path up to and including its last "\", ":" or "/"; empty when the file or the
// entry is missing, when the path has no folder, or when its bytes are not
// exact Shift-JIS (they would name some other folder).
QString folderFromSettingsFile(const QString &settingsFile);

// A document that was never saved bears a "新規辞書<N>.jmf" name without a folder.
bool isNeverSaved(const QString &fileName);

// The copy's name: the source's file name with its extension replaced by
// ".txt" ("a.b.jmf" -> "a.b.txt"; a name without one gets ".txt" added).
QString outputFileName(const QString &source);
QString outputPath(const QString &folder, const QString &source);

} // namespace kelvari::Conversion
