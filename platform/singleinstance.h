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
    enum class Outcome {
        Acquired,
        HeldElsewhere, // another live process (or another object here) holds the mutex
        Failed,        // the lock file cannot be made: errorString() says where and why
    };

    explicit SingleInstance(const QString &mutexName);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    Outcome acquire();
    bool tryAcquire() { return acquire() == Outcome::Acquired; }
    bool isHeld() const;
    void release();
    // After a failed acquire(): the folder of the lock file and the reason, for the user.
    const QString &errorString() const { return m_error; }

    // Where the lock file lives: <data root>/locks/<name>.lock
    static QString lockPathFor(const QString &mutexName);

private:
    Outcome failed(const QString &folder, const QString &reason);

    QString m_name;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kelvari
