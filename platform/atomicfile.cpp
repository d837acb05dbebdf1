#include "platform/atomicfile.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <cerrno>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kelvari {
namespace {

// Qt reports only its own error classes; the errno of the failed call, when
// there is one, tells which of the program's messages applies.
IoError failure(const QString &path, int savedErrno, QFileDevice::FileError qtError) {
    if (savedErrno != 0)
        return IoError::fromErrno(savedErrno);
    if (qtError == QFileDevice::ResourceError) // Qt's class for ENOSPC
        return IoError(IoFailure::DiskFull, ENOSPC);
    if (qtError == QFileDevice::PermissionsError)
        return IoError(IoFailure::AccessDenied, EACCES);
    const QFileInfo info(path);
    if (!QFileInfo(info.absolutePath()).isDir())
        return IoError(IoFailure::FileNotFound, ENOENT);
    if (info.exists() && !info.isWritable())
        return IoError(IoFailure::AccessDenied, EACCES);
    return IoError(IoFailure::Other, EIO);
}

// Some file systems take the room for written data only when it goes to the
// disk; a failure there must not pass as success either.
void syncToDisk(QSaveFile &file, const QString &path) {
#ifdef Q_OS_UNIX
    errno = 0;
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        throw failure(path, errno, QFileDevice::WriteError);
#else
    Q_UNUSED(file);
    Q_UNUSED(path);
#endif
}

} // namespace

void saveFileAtomically(const QString &path, const ByteProducer &produce) {
    if (path.isEmpty())
        throw IoError(IoFailure::InvalidFileName, EINVAL);
    if (QFileInfo(path).isDir())
        throw IoError(IoFailure::InvalidFileName, EISDIR);
    // On every path out without commit() the destructor removes the temporary file.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw failure(path, errno, file.error());

    std::optional<IoError> writeFailed;
    const ByteSink sink = [&](QByteArrayView piece) {
        if (writeFailed)
            throw *writeFailed;
        if (piece.isEmpty())
            return;
        errno = 0;
        if (file.write(piece.data(), piece.size()) != piece.size()) {
            writeFailed = failure(path, errno, file.error());
            throw *writeFailed;
        }
    };
    produce(sink);
    if (writeFailed) // the producer swallowed the sink's exception
        throw *writeFailed;

    // What is still in the device's buffer (up to 16 KB) is written here. Qt 6.4's
    // commit() ignores a failure of this last write and replaces the old file with
    // the short one, so the write is forced and checked first.
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        throw failure(path, errno, file.error());
    syncToDisk(file, path);
    errno = 0;
    if (!file.commit())
        throw failure(path, errno, file.error());
}

void saveFileAtomically(const QString &path, QByteArrayView bytes) {
    saveFileAtomically(path, [bytes](const ByteSink &sink) { sink(bytes); });
}

namespace {

IoError lastError(IoFailure fallback) {
    return errno != 0 ? IoError::fromErrno(errno) : IoError(fallback, EIO);
}

} // namespace

void copyFileAtomically(const QString &source, const QString &target) {
    QFile in(source);
    errno = 0;
    if (!QFileInfo(source).isFile())
        throw IoError(IoFailure::FileNotFound, ENOENT);
    if (!in.open(QIODevice::ReadOnly))
        throw lastError(IoFailure::AccessDenied);
    saveFileAtomically(target, [&in](const ByteSink &sink) {
        std::array<char, 64 * 1024> buffer;
        for (;;) {
            errno = 0;
            const qint64 read = in.read(buffer.data(), buffer.size());
            if (read < 0)
                throw lastError(IoFailure::Other);
            if (read == 0)
                return;
            sink(QByteArrayView(buffer.data(), read));
        }
    });
}

} // namespace kelvari
