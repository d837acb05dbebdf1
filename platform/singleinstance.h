#pragma once
// A named mutex that marks one running instance per desktop. It is a lock file
// in the data root, so each data root is its own desktop; the lock of a process
// that died is taken over.

#include <QString>
#include <memory>

class QLockFile;

namespace kelvari {

class SingleInstance {
public:
    explicit SingleInstance(const QString &mutexName);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another live process (or another object here) holds the mutex,
    // or when the lock file cannot be made.
    bool tryAcquire();
    bool isHeld() const;
    void release();

    // Where the lock file lives: <data root>/locks/<name>.lock
    static QString lockPathFor(const QString &mutexName);

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kelvari
