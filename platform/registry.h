#pragma once
// A hierarchical key/value store with the shape of the Windows registry: six
// roots, keys addressed by "\"-separated CP932 paths, typed values. Each root
// lives in one REGEDIT4 text file under the data root's registry/ folder. Every
// change is written at once, atomically and under a lock file, so a second
// process (the uninstaller) always sees the latest state and two processes
// writing in turn lose nothing.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "platform/errors.h"

namespace kelvari {

enum class RegRoot {
    ClassesRoot,   // HKEY_CLASSES_ROOT
    CurrentUser,   // HKEY_CURRENT_USER
    LocalMachine,  // HKEY_LOCAL_MACHINE
    Users,         // HKEY_USERS
    CurrentConfig, // HKEY_CURRENT_CONFIG
    DynData,       // HKEY_DYN_DATA
};

// The numbers are those of the Windows registry types.
enum class RegType : int {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    MultiSz = 7,
};

struct RegValue {
    RegType type = RegType::Sz;
    // Raw data as stored: text types hold their CP932 bytes without a
    // terminating zero, REG_DWORD four little-endian bytes.
    QByteArray data;
};

// A registry operation that failed: a damaged file, a refused write. A damaged
// file is renamed aside (".damaged-<date>-<time>") before the error is raised, so
// the next operation starts from an empty root and nothing is overwritten.
class RegistryError : public AppError {
public:
    using AppError::AppError;
};

// The RegistryError of a damaged file, so that a caller that otherwise passes
// failures over (the uninstaller) can still report it. The message names the
// file, the line, and where the file was kept aside (or that it could not be).
class RegistryFileDamaged : public RegistryError {
public:
    using RegistryError::RegistryError;
};

class Registry {
public:
    // `folder` holds one file per root, named after the root ("HKEY_CURRENT_USER.reg").
    explicit Registry(QString folder);
    // The registry of the data root (Folders::registryFolder()).
    static Registry forDataRoot();

    const QString &folder() const { return m_folder; }

    static QByteArray rootName(RegRoot root); // "HKEY_CURRENT_USER"
    // The root of a full name, ignoring ASCII case; nullopt for any other text.
    static std::optional<RegRoot> rootFromName(const QByteArray &name);
    QString fileFor(RegRoot root) const;

    // Key paths are relative to the root; a leading "\" is allowed and ignored.
    // Names compare without regard to the case of ASCII letters.
    bool keyExists(RegRoot root, const QByteArray &path) const;
    // Creates the key and every missing parent. Throws RegistryError.
    void createKey(RegRoot root, const QByteArray &path);
    // Deletes the key with all its subkeys and values; false when it did not exist.
    // An empty path (the root itself) deletes nothing and gives false.
    bool deleteKey(RegRoot root, const QByteArray &path);

    // An empty name addresses the key's default (unnamed) value.
    std::optional<RegValue> readValue(RegRoot root, const QByteArray &path,
                                      const QByteArray &name) const;
    // Creates the key when needed. Throws RegistryError when the write is refused.
    void writeValue(RegRoot root, const QByteArray &path, const QByteArray &name,
                    const RegValue &value);
    void writeString(RegRoot root, const QByteArray &path, const QByteArray &name,
                     const QByteArray &text) {
        writeValue(root, path, name, RegValue{RegType::Sz, text});
    }
    bool deleteValue(RegRoot root, const QByteArray &path, const QByteArray &name);

    // In insertion order; the default value is listed as an empty name when set.
    QList<QByteArray> valueNames(RegRoot root, const QByteArray &path) const;
    QList<QByteArray> subkeyNames(RegRoot root, const QByteArray &path) const;

private:
    QString m_folder;
};

} // namespace kelvari
