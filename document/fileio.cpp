#include "document/fileio.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

void saveFileAtomically(const QString &path, const std::function<void(const ByteSink &)> &produce) {
    if (path.isEmpty())
        throw IoError(IoFailure::InvalidFileName, EINVAL);
    if (QFileInfo(path).isDir())
        throw IoError(IoFailure::InvalidFileName, EISDIR);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int err = errno;
        if (err == 0 && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
            throw IoError(IoFailure::FileNotFound, ENOENT);
        throw failure(path, err, false);
    }
    int writeErrno = 0;
    bool ok = true;
    const ByteSink sink = [&](QByteArrayView piece) {
        if (!ok || piece.isEmpty())
            return;
        errno = 0;
        if (file.write(piece.data(), piece.size()) != piece.size()) {
            ok = false;
            writeErrno = errno;
        }
    };
    produce(sink);
    if (!ok) {
        file.cancelWriting();
        throw failure(path, writeErrno, false);
    }
    errno = 0;
    if (!file.commit())
        throw failure(path, errno, false);
}

void saveFileAtomically(const QString &path, QByteArrayView bytes) {
    saveFileAtomically(path, [bytes](const ByteSink &sink) { sink(bytes); });
}

} // namespace kelvari
