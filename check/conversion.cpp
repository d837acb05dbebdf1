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

QByteArray folderPart(QByteArrayView path) {
    qsizetype end = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (sjis::isLeadByte(c)) {
            ++i; // its second byte may be 0x5C, which is no separator here
            continue;
        }
        if (c == '\\' || c == ':' || c == '/')
            end = i + 1;
    }
    return path.first(end).toByteArray();
}

QString folderFromSettingsFile(const QString &settingsFile) {
    const QByteArray dictionary =
        IniFile::readString(settingsFile, sj(u"辞書セット１"), sj(u"システム辞書"), {});
    return sjis::decode(folderPart(dictionary));
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
