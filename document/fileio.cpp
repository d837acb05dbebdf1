#include "document/fileio.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
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

// Opens the file, or throws the IoError that says why not.
void openForReading(QFile &file, QIODevice::OpenMode mode) {
    const QString path = file.fileName();
    if (path.isEmpty())
        throw IoError(IoFailure::InvalidFileName, EINVAL);
    if (QFileInfo(path).isDir())
        throw IoError(IoFailure::InvalidFileName, EISDIR);
    errno = 0;
    if (!file.open(mode))
        throw failure(path, errno, true);
}

} // namespace

QByteArray readWholeFile(const QString &path) {
    QFile file(path);
    openForReading(file, QIODevice::ReadOnly);
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw failure(path, errno, false);
    return bytes;
}

void readFileInPieces(const QString &path, const PieceSink &take, qsizetype pieceSize) {
    QFile file(path);
    openForReading(file, QIODevice::ReadOnly | QIODevice::Unbuffered);
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
