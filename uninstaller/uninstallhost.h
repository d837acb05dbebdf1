#pragma once
// What the uninstall engine needs of the world besides its prompts: the
// registry and the files. The program passes the platform's registry and the
// disk; the fuzz target passes stand-ins that change nothing real.

#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/registry.h"

namespace kelvari::uninst {

// Every operation throws RegistryFileDamaged when it finds a root's file
// damaged; the registry has then put the file aside and starts that root afresh.
class UninstallRegistry {
public:
    virtual ~UninstallRegistry() = default;
    // Deletes the key with everything below it; a missing or undeletable key is
    // passed over.
    virtual void deleteKeyTree(RegRoot root, const QByteArray &path) = 0;
    // Opens the key, creating it and its parents. Throws RegistryError.
    virtual void createKey(RegRoot root, const QByteArray &path) = 0;
    // Throws RegistryError when the registry refuses the value.
    virtual void writeString(RegRoot root, const QByteArray &path, const QByteArray &name,
                             const QByteArray &text) = 0;
};

class UninstallFiles {
public:
    virtual ~UninstallFiles() = default;
    virtual bool isFile(const QString &path) const = 0;
    // No value when the file cannot be read.
    virtual std::optional<QByteArray> read(const QString &path) const = 0;
    // Deletes a file; never a folder. False when nothing was deleted.
    virtual bool removeFile(const QString &path) = 0;
    // Renames a file without replacing an existing one.
    virtual bool renameFile(const QString &from, const QString &to) = 0;
    // Removes the folder only when it is empty.
    virtual bool removeEmptyFolder(const QString &path) = 0;
};

} // namespace kelvari::uninst
