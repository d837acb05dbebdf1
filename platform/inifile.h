#pragma once
// One value of a private profile (ini) file, read the way the system reads it.

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelvari::IniFile {

// The text of `key` in `section` of the file at `path`, with blanks around it
// removed and one pair of enclosing quotes dropped. Section and key names match
// without regard to ASCII letter case; the first matching section and key count.
// A missing file, section or key gives `defaultValue`. Lines end at CR LF or LF;
// lines starting with ";" are comments.
QByteArray readString(const QString &path, const QByteArray &section, const QByteArray &key,
                      const QByteArray &defaultValue);

// The same over the file's bytes (for callers that already hold them).
QByteArray readStringFrom(const QByteArray &bytes, const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue);

// A value that names a file or folder (such as the ATOK10 dictionary's path),
// read as readString reads it and decoded as exact Shift-JIS. No value when the
// file, section or key is missing, or when the text is not exact Shift-JIS:
// such bytes must never be taken for some other path.
std::optional<QString> readPath(const QString &path, const QByteArray &section,
                                const QByteArray &key);

} // namespace kelvari::IniFile
