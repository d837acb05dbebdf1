#include "platform/folders.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

namespace kelvari::Folders {
namespace {

QMutex overrideMutex;
QString programPathOverride;

// Creates the folder when missing; a failure shows later, when something is
// written there, with that operation's own error.
QString ensured(const QString &path) {
    QDir().mkpath(path);
    return path;
}

} // namespace

QString dataRoot() {
    QString root;
    if (qEnvironmentVariableIsSet("KELVARI_HOME") && !qgetenv("KELVARI_HOME").isEmpty()) {
        root = QFile::decodeName(qgetenv("KELVARI_HOME"));
    } else {
        // Not AppDataLocation: that follows the application and organisation
        // names, and the editor and the uninstaller must share one root.
        root = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/Kelvari");
    }
    return ensured(QDir::cleanPath(QFileInfo(root).absoluteFilePath()));
}

QString registryFolder() {
    return ensured(dataRoot() + QStringLiteral("/registry"));
}

QString windowsFolder() {
    return Paths::includeTrailingSeparator(
        QDir::toNativeSeparators(ensured(dataRoot() + QStringLiteral("/windows"))));
}

QString systemFolder() {
    return Paths::includeTrailingSeparator(
        QDir::toNativeSeparators(ensured(dataRoot() + QStringLiteral("/windows/system"))));
}

QString programPath() {
    {
        QMutexLocker lock(&overrideMutex);
        if (!programPathOverride.isEmpty())
            return programPathOverride;
    }
    if (QCoreApplication::instance())
        return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    // Without an application object (tools, early start-up) ask the system where
    // this process was started from; where it cannot tell, the answer is empty.
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QDir::toNativeSeparators(self);
}

QString programFolder() {
    // Cut with the file system's own rules: a ":" in a Linux folder name is no drive.
    const QString path = programPath();
    if (path.isEmpty())
        return {};
    return Paths::includeTrailingSeparator(
        QDir::toNativeSeparators(QFileInfo(QDir::fromNativeSeparators(path)).path()));
}

void setProgramPathOverride(const QString &path) {
    QMutexLocker lock(&overrideMutex);
    programPathOverride = path.isEmpty() ? QString() : QDir::toNativeSeparators(path);
}

} // namespace kelvari::Folders
