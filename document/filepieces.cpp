#include "document/filepieces.h"

#include "platform/errors.h"

#include <QByteArray>
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
    if (opening && !QFileInfo::exists(path))
        return IoError(IoFailure::FileNotFound, ENOENT);
    if (opening)
        return IoError(IoFailure::AccessDenied, EACCES);
    return IoError(IoFailure::Other, EIO);
}

} // namespace

void readFileInPieces(const QString &path, const PieceSink &take, qsizetype pieceSize) {
    if (path.isEmpty())
        throw IoError(IoFailure::InvalidFileName, EINVAL);
    if (QFileInfo(path).isDir())
        throw IoError(IoFailure::InvalidFileName, EISDIR);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw failure(path, errno, true);
    const qint64 size = file.size();
    QByteArray piece(std::max<qsizetype>(pieceSize, 1), Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 got = file.read(piece.data(), piece.size());
        if (got < 0)
            throw failure(path, errno, false);
        if (got == 0 || !take(QByteArrayView(piece.constData(), got), size))
            return;
    }
}

} // namespace kelvari
