#include "platform/errors.h"

#include <cerrno>

namespace kelvari {

IoError::IoError(IoFailure failure, int code)
    : AppError(messageFor(failure, code)), m_failure(failure), m_code(code) {}

QString IoError::messageFor(IoFailure failure, int code) {
    switch (failure) {
    case IoFailure::FileNotFound:
        return QStringLiteral("ﾌｧｲﾙが見つかりません");
    case IoFailure::InvalidFileName:
        return QStringLiteral("不正なﾌｧｲﾙ名です");
    case IoFailure::TooManyOpenFiles:
        return QStringLiteral("ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます");
    case IoFailure::AccessDenied:
        return QStringLiteral("ﾌｧｲﾙへのｱｸｾｽが拒否されました");
    case IoFailure::ReadPastEnd:
        return QStringLiteral("ﾌｧｲﾙの末尾以降を読み込みました");
    case IoFailure::DiskFull:
        return QStringLiteral("ﾃﾞｨｽｸがいっぱいです");
    case IoFailure::Other:
        break;
    }
    return QStringLiteral("I/O ｴﾗｰ (%1)").arg(code);
}

IoError IoError::fromErrno(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return IoError(IoFailure::FileNotFound, errorNumber);
    case ENAMETOOLONG:
    case EINVAL:
    case EISDIR:
        return IoError(IoFailure::InvalidFileName, errorNumber);
    case EMFILE:
    case ENFILE:
        return IoError(IoFailure::TooManyOpenFiles, errorNumber);
    case EACCES:
    case EPERM:
    case EROFS:
        return IoError(IoFailure::AccessDenied, errorNumber);
    case ENOSPC:
    // A file grown past the size limit of the process or of the file system
    // cannot be saved either, for the same reason as far as the user can tell.
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return IoError(IoFailure::DiskFull, errorNumber);
    default:
        return IoError(IoFailure::Other, errorNumber);
    }
}

} // namespace kelvari
