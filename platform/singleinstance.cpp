#include "platform/singleinstance.h"

#include "platform/folders.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace kelvari {

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

bool SingleInstance::tryAcquire() {
    if (isHeld())
        return true;
    const QString path = lockPathFor(m_name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto lock = std::make_unique<QLockFile>(path);
    // Held for the life of the program: only a dead owner makes it stale, never its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    return true;
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
