#pragma once
// The engine's registry and files on the real thing: the platform registry
// (so an editor running beside us never loses a write) and the disk.

#include "uninstaller/uninstallhost.h"

namespace kelvari::uninst {

class PlatformRegistry : public UninstallRegistry {
public:
    explicit PlatformRegistry(Registry &registry) : m_registry(registry) {}
    void deleteKeyTree(RegRoot root, const QByteArray &path) override;
    void createKey(RegRoot root, const QByteArray &path) override;
    void writeString(RegRoot root, const QByteArray &path, const QByteArray &name,
                     const QByteArray &text) override;

private:
    Registry &m_registry;
};

class DiskFiles : public UninstallFiles {
public:
    bool isFile(const QString &path) const override;
    std::optional<QByteArray> read(const QString &path) const override;
    bool removeFile(const QString &path) override;
    bool renameFile(const QString &from, const QString &to) override;
    bool removeEmptyFolder(const QString &path) override;
};

} // namespace kelvari::uninst
