#include "uninstaller/platformhost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvari::uninst {

void PlatformRegistry::deleteKeyTree(RegRoot root, const QByteArray &path) {
    try {
        m_registry.deleteKey(root, path);
    } catch (const RegistryFileDamaged &) {
        throw; // reported by the engine
    } catch (const AppError &) {
        // A key that cannot be deleted is passed over, like a missing one.
    }
}

void PlatformRegistry::createKey(RegRoot root, const QByteArray &path) {
    m_registry.createKey(root, path);
}

void PlatformRegistry::writeString(RegRoot root, const QByteArray &path, const QByteArray &name,
                                   const QByteArray &text) {
    m_registry.writeString(root, path, name, text);
}

bool DiskFiles::isFile(const QString &path) const {
    return QFileInfo(path).isFile();
}

std::optional<QByteArray> DiskFiles::read(const QString &path) const {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool DiskFiles::removeFile(const QString &path) {
    // A name that leads to a folder deletes nothing; a link is removed itself,
    // never what it points to.
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    return QFile::remove(path);
}

bool DiskFiles::renameFile(const QString &from, const QString &to) {
    if (from.isEmpty() || to.isEmpty() || QFileInfo(from).isDir())
        return false;
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return false;
    return QFile::rename(from, to);
}

bool DiskFiles::removeEmptyFolder(const QString &path) {
    const QString folder = QDir::cleanPath(path);
    if (!QFileInfo(folder).isDir())
        return false;
    return QDir().rmdir(folder);
}

} // namespace kelvari::uninst
