#include "settings/savefolder.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelvari {

bool isFolderWritable(const QString &folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString DefaultSaveDir(const QString &programFolder, const FolderWritable &writable) {
    if (!programFolder.isEmpty() && writable(programFolder))
        return QDir::toNativeSeparators(Paths::excludeTrailingSeparator(programFolder));
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return QDir::toNativeSeparators(documents);
}

} // namespace kelvari
