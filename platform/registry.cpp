#include "platform/registry.h"

#include "platform/atomicfile.h"
#include "platform/folders.h"
#include "platform/regfile.h"
#include "platform/sjis.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QThread>
#include <functional>
#include <map>

namespace kelvari {
namespace {

using regfile::Key;

constexpr int kLockTimeoutMs = 10000;

// The last parsed state of each file this process used. A read compares the
// file's bytes with the cached ones and parses only when they differ, so a
// change by another process is always seen without parsing on every read.
struct CachedRoot {
    QByteArray bytes;
    std::unique_ptr<Key> tree;
};

QMutex cacheMutex;
std::map<QString, CachedRoot> &cache() {
    static std::map<QString, CachedRoot> entries;
    return entries;
}

// QLockFile's own waiting sleeps 100 ms and more between attempts; registry
// writes take a millisecond, so poll briefly instead.
bool lockWithin(QLockFile &lock, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
}

QString shown(const QString &file) {
    return QDir::toNativeSeparators(file);
}

QString keyText(RegRoot root, const QList<QByteArray> &components) {
    QByteArray full = Registry::rootName(root);
    for (const QByteArray &name : components)
        full += '\\' + name;
    return sjis::decode(full);
}

QString keyText(RegRoot root, const QByteArray &path) {
    QByteArray full = Registry::rootName(root);
    QByteArray rest = path;
    while (rest.startsWith('\\'))
        rest.remove(0, 1);
    if (!rest.isEmpty())
        full += '\\' + rest;
    return sjis::decode(full);
}

QString valueText(RegRoot root, const QByteArray &path, const QByteArray &name) {
    return keyText(root, path) + QStringLiteral("\\") +
           (name.isEmpty() ? QStringLiteral("(既定)") : sjis::decode(name));
}

// The whole file, or empty when there is none. Throws when it exists but cannot be read.
QByteArray readAll(const QString &file) {
    QFile f(file);
    if (!QFileInfo(file).isFile()) {
        if (QFileInfo::exists(file))
            throw RegistryError(
                QStringLiteral("レジストリファイル \"%1\" はファイルではありません。")
                    .arg(shown(file)));
        return {};
    }
    if (!f.open(QIODevice::ReadOnly))
        throw RegistryError(QStringLiteral("レジストリファイル \"%1\" を読み込めません。(%2)")
                                .arg(shown(file), f.errorString()));
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw RegistryError(QStringLiteral("レジストリファイル \"%1\" を読み込めません。(%2)")
                                .arg(shown(file), f.errorString()));
    return bytes;
}

// Renames a damaged file out of the way and says where it went.
QString moveAside(const QString &file, const regfile::ParseError &error) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = file + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = file + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    const QString head = QStringLiteral("レジストリファイル \"%1\" が壊れています (%2 行目: %3)。")
                             .arg(shown(file))
                             .arg(error.line)
                             .arg(error.reason);
    if (QFile::rename(file, target))
        return head + QStringLiteral("元のファイルは \"%1\" として残しました。").arg(shown(target));
    return head + QStringLiteral("ファイルを移せなかったため、このファイルには書き込みません。");
}

class RootFile {
public:
    RootFile(QString file, RegRoot root) : m_file(std::move(file)), m_root(root) {}

    // The current tree of the file. With `locked` false the file lock is taken
    // only to deal with a damaged file.
    Key &load(bool locked) {
        CachedRoot &entry = cache()[m_file];
        QByteArray bytes = readAll(m_file);
        if (entry.tree && entry.bytes == bytes)
            return *entry.tree;
        auto tree = std::make_unique<Key>();
        regfile::ParseError error;
        if (!regfile::parse(bytes, Registry::rootName(m_root), *tree, &error)) {
            std::unique_ptr<QLockFile> lock;
            if (!locked) {
                // Look again under the lock: a writer may just have replaced the file.
                lock = std::make_unique<QLockFile>(lockPath());
                if (lockWithin(*lock, kLockTimeoutMs)) {
                    bytes = readAll(m_file);
                    tree = std::make_unique<Key>();
                    if (regfile::parse(bytes, Registry::rootName(m_root), *tree, &error))
                        return store(entry, std::move(bytes), std::move(tree));
                }
            }
            cache().erase(m_file);
            throw RegistryFileDamaged(moveAside(m_file, error));
        }
        return store(entry, std::move(bytes), std::move(tree));
    }

    // Runs `change` on the tree under the file lock and writes the result when it
    // reports a change. `what` names the key or value for the error message.
    void mutate(const QString &what, const std::function<bool(Key &)> &change) {
        const QString folder = QFileInfo(m_file).path();
        if (!QDir().mkpath(folder))
            throw refused(what, QStringLiteral("フォルダ \"%1\" を作れません").arg(shown(folder)));
        QLockFile lock(lockPath());
        if (!lockWithin(lock, kLockTimeoutMs))
            throw refused(what, lockReason(lock.error()));
        // The atomic replace would get past a read-only file; honour it instead.
        const QFileInfo info(m_file);
        if (info.exists() && !info.isWritable())
            throw refused(what, QStringLiteral("ファイルが読み取り専用です"));
        Key &tree = load(true);
        if (!change(tree))
            return;
        const QByteArray bytes = regfile::serialize(tree, Registry::rootName(m_root));
        try {
            saveFileAtomically(m_file, bytes);
        } catch (const IoError &error) {
            cache().erase(m_file); // the tree holds the change that was not written
            throw refused(what, error.message());
        }
        cache()[m_file].bytes = bytes;
    }

private:
    QString lockPath() const { return m_file + QStringLiteral(".lock"); }

    static Key &store(CachedRoot &entry, QByteArray bytes, std::unique_ptr<Key> tree) {
        entry.bytes = std::move(bytes);
        entry.tree = std::move(tree);
        return *entry.tree;
    }

    RegistryError refused(const QString &what, const QString &reason) const {
        return RegistryError(QStringLiteral("レジストリの %1 に書き込めません。(%2: %3)")
                                 .arg(what, shown(m_file), reason));
    }

    static QString lockReason(QLockFile::LockError error) {
        switch (error) {
        case QLockFile::LockFailedError:
            return QStringLiteral("ほかのプロセスが使用中です");
        case QLockFile::PermissionError:
            return QStringLiteral("ロックファイルを作れません");
        default:
            return QStringLiteral("ロックできません");
        }
    }

    QString m_file;
    RegRoot m_root;
};

QList<QByteArray> checkedPath(RegRoot root, const QByteArray &path) {
    auto components = regfile::splitKeyPath(path);
    if (!components)
        throw RegistryError(
            QStringLiteral("レジストリキーの名前 %1 が不正です。").arg(keyText(root, path)));
    return *components;
}

} // namespace

Registry::Registry(QString folder) : m_folder(std::move(folder)) {}

Registry Registry::forDataRoot() {
    return Registry(Folders::registryFolder());
}

QByteArray Registry::rootName(RegRoot root) {
    switch (root) {
    case RegRoot::ClassesRoot:
        return QByteArrayLiteral("HKEY_CLASSES_ROOT");
    case RegRoot::CurrentUser:
        return QByteArrayLiteral("HKEY_CURRENT_USER");
    case RegRoot::LocalMachine:
        return QByteArrayLiteral("HKEY_LOCAL_MACHINE");
    case RegRoot::Users:
        return QByteArrayLiteral("HKEY_USERS");
    case RegRoot::CurrentConfig:
        return QByteArrayLiteral("HKEY_CURRENT_CONFIG");
    case RegRoot::DynData:
        return QByteArrayLiteral("HKEY_DYN_DATA");
    }
    return {};
}

std::optional<RegRoot> Registry::rootFromName(const QByteArray &name) {
    for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine,
                         RegRoot::Users, RegRoot::CurrentConfig, RegRoot::DynData}) {
        if (regfile::namesEqual(name, rootName(root)))
            return root;
    }
    return std::nullopt;
}

QString Registry::fileFor(RegRoot root) const {
    return QDir(m_folder).filePath(QString::fromLatin1(rootName(root)) + QStringLiteral(".reg"));
}

bool Registry::keyExists(RegRoot root, const QByteArray &path) const {
    const auto components = regfile::splitKeyPath(path);
    if (!components)
        return false;
    QMutexLocker guard(&cacheMutex);
    return RootFile(fileFor(root), root).load(false).find(*components) != nullptr;
}

void Registry::createKey(RegRoot root, const QByteArray &path) {
    const QList<QByteArray> components = checkedPath(root, path);
    // Opening an existing key writes nothing, so readers need no lock or write access.
    if (keyExists(root, path))
        return;
    QMutexLocker guard(&cacheMutex);
    RootFile(fileFor(root), root)
        .mutate(QStringLiteral("キー %1").arg(keyText(root, components)), [&](Key &tree) {
            bool changed = false;
            Key *key = &tree;
            for (const QByteArray &name : components) {
                bool created = false;
                key = &key->ensureChild(name, &created);
                changed = changed || created;
            }
            return changed;
        });
}

bool Registry::deleteKey(RegRoot root, const QByteArray &path) {
    const auto components = regfile::splitKeyPath(path);
    // Never wipe a whole root because a path came out empty.
    if (!components || components->isEmpty() || !keyExists(root, path))
        return false;
    bool existed = false;
    QMutexLocker guard(&cacheMutex);
    RootFile(fileFor(root), root)
        .mutate(QStringLiteral("キー %1 (削除)").arg(keyText(root, *components)), [&](Key &tree) {
            Key *parent = tree.find(components->first(components->size() - 1));
            if (!parent)
                return false;
            auto &children = parent->children;
            for (auto it = children.begin(); it != children.end(); ++it) {
                if (regfile::namesEqual((*it)->name, components->back())) {
                    children.erase(it);
                    existed = true;
                    return true;
                }
            }
            return false;
        });
    return existed;
}

std::optional<RegValue> Registry::readValue(RegRoot root, const QByteArray &path,
                                            const QByteArray &name) const {
    const auto components = regfile::splitKeyPath(path);
    if (!components)
        return std::nullopt;
    QMutexLocker guard(&cacheMutex);
    const Key *key = RootFile(fileFor(root), root).load(false).find(*components);
    if (!key)
        return std::nullopt;
    const qsizetype index = key->valueIndex(name);
    if (index < 0)
        return std::nullopt;
    return key->values[index].second;
}

void Registry::writeValue(RegRoot root, const QByteArray &path, const QByteArray &name,
                          const RegValue &value) {
    const QList<QByteArray> components = checkedPath(root, path);
    const QString what = QStringLiteral("値 %1").arg(valueText(root, path, name));
    if (!regfile::isValidValueName(name))
        throw RegistryError(QStringLiteral("レジストリの %1 の名前が不正です。").arg(what));
    QMutexLocker guard(&cacheMutex);
    RootFile(fileFor(root), root).mutate(what, [&](Key &tree) {
        Key *key = &tree;
        for (const QByteArray &keyName : components)
            key = &key->ensureChild(keyName);
        const qsizetype index = key->valueIndex(name);
        if (index < 0) {
            key->values.append({name, value});
            return true;
        }
        RegValue &old = key->values[index].second;
        if (old.type == value.type && old.data == value.data)
            return false;
        old = value; // the name keeps the spelling it was created with
        return true;
    });
}

bool Registry::deleteValue(RegRoot root, const QByteArray &path, const QByteArray &name) {
    const auto components = regfile::splitKeyPath(path);
    if (!components || !readValue(root, path, name))
        return false;
    bool existed = false;
    QMutexLocker guard(&cacheMutex);
    RootFile(fileFor(root), root)
        .mutate(QStringLiteral("値 %1 (削除)").arg(valueText(root, path, name)), [&](Key &tree) {
            Key *key = tree.find(*components);
            const qsizetype index = key ? key->valueIndex(name) : -1;
            if (index < 0)
                return false;
            key->values.removeAt(index);
            existed = true;
            return true;
        });
    return existed;
}

QList<QByteArray> Registry::valueNames(RegRoot root, const QByteArray &path) const {
    const auto components = regfile::splitKeyPath(path);
    if (!components)
        return {};
    QMutexLocker guard(&cacheMutex);
    const Key *key = RootFile(fileFor(root), root).load(false).find(*components);
    QList<QByteArray> names;
    if (key) {
        for (const auto &entry : key->values)
            names.append(entry.first);
    }
    return names;
}

QList<QByteArray> Registry::subkeyNames(RegRoot root, const QByteArray &path) const {
    const auto components = regfile::splitKeyPath(path);
    if (!components)
        return {};
    QMutexLocker guard(&cacheMutex);
    const Key *key = RootFile(fileFor(root), root).load(false).find(*components);
    QList<QByteArray> names;
    if (key) {
        for (const auto &child : key->children)
            names.append(child->name);
    }
    return names;
}

} // namespace kelvari
