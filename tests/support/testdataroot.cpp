#include "tests/support/testdataroot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

namespace kelvari::test {

ScopedEnv::ScopedEnv(const char *name, const QByteArray &value) : m_name(name) {
    if (qEnvironmentVariableIsSet(name))
        m_previous = qgetenv(name);
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv() {
    if (m_previous)
        qputenv(m_name.constData(), *m_previous);
    else
        qunsetenv(m_name.constData());
}

TestDataRoot::TestDataRoot() {
    if (qEnvironmentVariableIsSet("KELVARI_HOME"))
        m_previous = qgetenv("KELVARI_HOME");
    qputenv("KELVARI_HOME", QFile::encodeName(m_dir.path()));
}

TestDataRoot::~TestDataRoot() {
    if (m_previous)
        qputenv("KELVARI_HOME", *m_previous);
    else
        qunsetenv("KELVARI_HOME");
}

bool writeFileBytes(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

QByteArray readFileBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace kelvari::test
