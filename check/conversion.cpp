#include "check/conversion.h"

#include "platform/errors.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "platform/sjis.h"

#include <QFileInfo>

namespace kelvari::Conversion {

QString utilityFileName() {
    return QStringLiteral("Atok10ut.exe");
}

QString utilityHelpFileName() {
    return QStringLiteral("Atok10ut.hlp");
}

QString utilityPath(const QString &folder) {
    return folder + utilityFileName();
}

QString utilityHelpPath(const QString &folder) {
    return folder + utilityHelpFileName();
}

bool folderHolds(const QString &folder, const QString &name) {
    return !folder.isEmpty() && QFileInfo(folder + name).isFile();
}

QString settingsFilePath(const QString &windowsFolder) {
    return windowsFolder + QStringLiteral("ATOK10w.ini");
}

QString folderFromSettingsFile(const QString &settingsFile) {
    // Decoded first, a double-byte character whose second byte is 0x5C is one
    // character and no separator.
    const std::optional<QString> dictionary =
        IniFile::readPath(settingsFile, sj(u"辞書セット１"), sj(u"システム辞書"));
    return Paths::extractFilePath(dictionary.value_or(QString()));
}

bool isNeverSaved(const QString &fileName) {
    return fileName.startsWith(QStringLiteral("新規辞書"));
}

QString outputFileName(const QString &source) {
    return Paths::changeFileExt(Paths::extractFileName(source), QStringLiteral(".txt"));
}

QString outputPath(const QString &folder, const QString &source) {
    return folder + outputFileName(source);
}

} // namespace kelvari::Conversion
