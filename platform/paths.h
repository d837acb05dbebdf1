#pragma once
// Path pieces as the program has always cut them: the separators are "\" and ":"
// as in stored paths, and the platform's own separator.

#include <QString>

namespace kelvari::Paths {

bool isSeparator(QChar c); // "/", "\" or ":" (drive)
// "C:\a\b.jmf" -> "b.jmf"
QString extractFileName(const QString &path);
// "C:\a\b.jmf" -> "C:\a\" (with the separator)
QString extractFilePath(const QString &path);
// ".jmf" of "b.jmf"; empty when the name has no extension
QString extractFileExt(const QString &path);
// "b.jmf", ".txt" -> "b.txt"
QString changeFileExt(const QString &path, const QString &ext);
// Appends the native separator unless the text already ends in a separator.
QString includeTrailingSeparator(const QString &path);
QString excludeTrailingSeparator(const QString &path);

} // namespace kelvari::Paths
