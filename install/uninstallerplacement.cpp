#include "install/uninstallerplacement.h"

#include "platform/atomicfile.h"
#include "platform/errors.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace kelvari {
namespace {

std::optional<QDateTime> modified(const QString &path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return info.lastModified();
}

// Replaces `target` in one step, so that the Windows folder never lacks an
// uninstaller, and gives it the source's date: the next comparison must see the
// date the uninstaller was made, not the day it was copied.
bool copyOver(const QString &source, const QString &target, const QDateTime &date) {
    try {
        copyFileAtomically(source, target);
    } catch (const AppError &) {
        return false;
    }
    QFile written(target);
    if (written.open(QIODevice::ReadWrite)) {
        written.setFileTime(date, QFileDevice::FileModificationTime);
        written.close();
    }
    // Last: a read-only permission would refuse the date.
    written.setPermissions(QFileInfo(source).permissions());
    return true;
}

} // namespace

UninstallerPlacement placeUninstaller(const QString &source, const QString &target,
                                      const RemoveFile &removeFile) {
    const std::optional<QDateTime> sourceDate = modified(source);
    if (!sourceDate)
        return UninstallerPlacement::NothingToDo;
    const std::optional<QDateTime> targetDate = modified(target);
    if (!targetDate || *sourceDate > *targetDate) {
        if (!copyOver(source, target, *sourceDate))
            return UninstallerPlacement::Failed;
        return removeFile(source) ? UninstallerPlacement::Moved : UninstallerPlacement::Copied;
    }
    return removeFile(source) ? UninstallerPlacement::SourceDeleted
                              : UninstallerPlacement::SourceKept;
}

UninstallerPlacement placeUninstaller(const QString &source, const QString &target) {
    return placeUninstaller(source, target,
                            [](const QString &path) { return QFile::remove(path); });
}

} // namespace kelvari
