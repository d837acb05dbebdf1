#pragma once
// A temporary data root (with its Windows folder) and a program folder of its
// own in which the program "runs", so the installation steps move test files
// and never anything of the build tree.

#include "install/aboutdlg.h"
#include "platform/folders.h"
#include "tests/support/testdataroot.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace kelvari::test {

class InstallFixture {
public:
    // `programFolder` relative to the data root, ending in "/".
    explicit InstallFixture(const QString &programFolder = QStringLiteral("Program Files/Kelvari/"))
        : m_programFolder(root.filePath(programFolder)) {
        QDir().mkpath(m_programFolder);
        Folders::setProgramPathOverride(m_programFolder + QStringLiteral("Ruvex"));
        writeFileBytes(m_programFolder + QStringLiteral("Ruvex"), "editor");
    }
    ~InstallFixture() { Folders::setProgramPathOverride({}); }
    InstallFixture(const InstallFixture &) = delete;
    InstallFixture &operator=(const InstallFixture &) = delete;

    QString programFolder() const { return Folders::programFolder(); }
    QString programUninstaller() const {
        return programFolder() + TAboutDlg::uninstallerFileName();
    }
    QString windowsUninstaller() const {
        return Folders::windowsFolder() + TAboutDlg::uninstallerFileName();
    }

    // Writes `bytes` to `path`, made on `date` and executable.
    static bool writeDated(const QString &path, const QByteArray &bytes, const QDateTime &date) {
        if (!writeFileBytes(path, bytes))
            return false;
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(date, QFileDevice::FileModificationTime))
            return false;
        file.close();
        return file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    static QDateTime older() { return QDateTime(QDate(1998, 5, 4), QTime(12, 0), Qt::UTC); }
    static QDateTime newer() { return QDateTime(QDate(1999, 2, 1), QTime(9, 30), Qt::UTC); }

    TestDataRoot root;

private:
    QString m_programFolder;
};

} // namespace kelvari::test
