#include "document/fileio.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace kelvari {
namespace {

// Qt reports only its own error classes; the errno of the failed call, when
// there is one, tells which of the program's messages applies.
IoError failure(const QString &path, int savedErrno, bool opening) {
    if (savedErrno != 0)
        return IoError::fromErrno(savedErrno);
    const QFileInfo info(path);
    if (info.isDir())
        return IoError(IoFailure::InvalidFileName, EISDIR);
    if (opening && !info.exists())
        return IoError(IoFailure::FileNotFound, ENOENT);
    if (opening)
        return IoError(IoFailure::AccessDenied, EACCES);
    return IoError(IoFailure::Other, EIO);
}

} // namespace

QByteArray readWholeFile(const QString &path) {
    if (path.isEmpty())
        throw IoError(IoFailure::InvalidFileName, EINVAL);
    if (QFileInfo(path).isDir())
        throw IoError(IoFailure::InvalidFileName, EISDIR);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw failure(path, errno, true);
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw failure(path, errno, false);
    return bytes;
}

} // namespace kelvari
