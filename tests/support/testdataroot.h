#pragma once
// A temporary data root for one test: KELVARI_HOME points at a fresh folder
// while the object lives, and back to what it was afterwards.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace kelvari::test {

class TestDataRoot {
public:
    TestDataRoot();
    ~TestDataRoot();
    TestDataRoot(const TestDataRoot &) = delete;
    TestDataRoot &operator=(const TestDataRoot &) = delete;

    QString path() const { return m_dir.path(); }
    // A path inside the root.
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    std::optional<QByteArray> m_previous;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    QByteArray m_name;
    std::optional<QByteArray> m_previous;
};

// Writes `bytes` to `path` (creating folders); fails the test on error.
bool writeFileBytes(const QString &path, const QByteArray &bytes);
QByteArray readFileBytes(const QString &path);

} // namespace kelvari::test
