#include "platform/singleinstance.h"

#include "platform/errors.h"
#include "platform/folders.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>
#include <QThread>

namespace kelvari {

namespace {

// A starting copy creates its lock file and writes its process id right after;
// give it that long before calling a lock file without an owner damaged.
constexpr int kOwnerWaitAttempts = 10;
constexpr int kOwnerWaitMs = 50;

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString accessDenied() {
    return IoError::messageFor(IoFailure::AccessDenied, 0);
}

// Why `folder` could not be made: the nearest part of its path that exists tells.
QString whyNoFolder(const QString &folder) {
    QString path = folder;
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            break;
        path = parent;
    }
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir())
        return QStringLiteral("\"%1\" はフォルダではありません").arg(shown(path));
    if (existing.exists() && !existing.isWritable())
        return accessDenied();
    return QStringLiteral("フォルダを作れません");
}

bool diskIsFull(const QString &folder) {
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.bytesAvailable() < qMax(storage.blockSize(), 1);
}

} // namespace

SingleInstance::SingleInstance(const QString &mutexName) : m_name(mutexName) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::lockPathFor(const QString &mutexName) {
    // Mutex names may hold characters that file names cannot.
    QString fileName = mutexName;
    for (QChar &c : fileName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    return Folders::dataRoot() + QStringLiteral("/locks/") + fileName + QStringLiteral(".lock");
}

SingleInstance::Outcome SingleInstance::acquire() {
    m_error.clear();
    if (isHeld())
        return Outcome::Acquired;
    const QString path = lockPathFor(m_name);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return failed(folder, whyNoFolder(folder));
    auto lock = std::make_unique<QLockFile>(path);
    // Held for the life of the program: only a dead owner makes it stale, never its age.
    lock->setStaleLockTime(0);
    for (int attempt = 1;; ++attempt) {
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            return Outcome::Acquired;
        }
        switch (lock->error()) {
        case QLockFile::LockFailedError:
            break;
        case QLockFile::PermissionError:
            return failed(folder, accessDenied());
        default:
            return failed(folder, diskIsFull(folder)
                                      ? IoError::messageFor(IoFailure::DiskFull, 0)
                                      : QStringLiteral("ロックファイルを作れません"));
        }
        // Something stands at the lock's path. Only a lock file that names a
        // live owner means another copy runs: a dead owner's lock has been
        // taken over already, unless the folder does not let us remove it.
        const QFileInfo existing(path);
        if (existing.exists() && !existing.isFile())
            return failed(folder,
                          QStringLiteral("\"%1\" はファイルではありません").arg(shown(path)));
        qint64 pid = 0;
        QString host;
        QString application;
        if (existing.exists() && lock->getLockInfo(&pid, &host, &application)) {
            if (!QFileInfo(folder).isWritable())
                return failed(folder, accessDenied());
            return Outcome::HeldElsewhere;
        }
        // Gone meanwhile, or its owner has not written its name yet: look again.
        if (attempt == kOwnerWaitAttempts)
            return failed(folder,
                          QStringLiteral("ロックファイル \"%1\" を読めません").arg(shown(path)));
        QThread::msleep(kOwnerWaitMs);
    }
}

SingleInstance::Outcome SingleInstance::failed(const QString &folder, const QString &reason) {
    m_error = QStringLiteral("フォルダ \"%1\" にロックファイルを作れません。(%2)")
                  .arg(shown(folder), reason);
    return Outcome::Failed;
}

bool SingleInstance::isHeld() const {
    return m_lock && m_lock->isLocked();
}

void SingleInstance::release() {
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

} // namespace kelvari
