// The about component's installation record on temporary folders: the first
// start of a version, the uninstaller's place, the uninstall entry, the help
// file, the default folder for new files and the generated uninstall script.

#include "install/aboutdlg.h"
#include "install/uninstallerplacement.h"
#include "install/uninstallscript.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/savefolder.h"
#include "settings/settingsstore.h"
#include "tests/install/installfixture.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

enum class Copy { None, Older, Newer };

QDateTime dateOf(Copy copy) {
    return copy == Copy::Newer ? InstallFixture::newer() : InstallFixture::older();
}

std::optional<QByteArray> installedVersion() {
    const Registry registry = Registry::forDataRoot();
    const std::optional<RegValue> value =
        registry.readValue(RegRoot::CurrentUser, SettingsStore::kProductKey, "Version");
    return value ? std::optional<QByteArray>(value->data) : std::nullopt;
}

} // namespace

Q_DECLARE_METATYPE(Copy)
Q_DECLARE_METATYPE(UninstallerPlacement)

class TestInstallationRecord : public QObject {
    Q_OBJECT
private slots:
    void properties_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QVariant>("byDefault");
        QTest::addColumn<QVariant>("editor");
        QTest::newRow("ProductName") << QByteArray("ProductName") << QVariant(QString())
                                     << QVariant(QStringLiteral("Kelvari"));
        QTest::newRow("ProductTop") << QByteArray("ProductTop") << QVariant(16) << QVariant(16);
        QTest::newRow("ProductLeft") << QByteArray("ProductLeft") << QVariant(60) << QVariant(58);
        QTest::newRow("Version") << QByteArray("Version") << QVariant(QString())
                                 << QVariant(QStringLiteral("2.0b"));
        QTest::newRow("VerTop") << QByteArray("VerTop") << QVariant(45) << QVariant(40);
        QTest::newRow("VerLeft") << QByteArray("VerLeft") << QVariant(137) << QVariant(137);
        QTest::newRow("Number") << QByteArray("Number") << QVariant(QString())
                                << QVariant(QStringLiteral("14.2"));
        QTest::newRow("FontSize") << QByteArray("FontSize") << QVariant(13) << QVariant(12);
        QTest::newRow("HelpFile") << QByteArray("HelpFile") << QVariant(QString())
                                  << QVariant(QStringLiteral("Ruvex"));
        QTest::newRow("InstFinishDlg")
            << QByteArray("InstFinishDlg") << QVariant(true) << QVariant(false);
        QTest::newRow("MoveUninst") << QByteArray("MoveUninst") << QVariant(true) << QVariant(true);
        QTest::newRow("UninstFile") << QByteArray("UninstFile") << QVariant(QString())
                                    << QVariant(QStringLiteral("UnRuvex"));
    }
    void properties() {
        QFETCH(QByteArray, name);
        QFETCH(QVariant, byDefault);
        QFETCH(QVariant, editor);
        TAboutDlg about;
        QCOMPARE(about.property(name.constData()), byDefault);
        applyEditorValues(about);
        QCOMPARE(about.property(name.constData()), editor);
    }

    // What one start does, by the recorded version and the two copies of the
    // uninstaller; each copy's content tells where it came from.
    void checkInstallation_data() {
        QTest::addColumn<QByteArray>("recorded"); // empty: no InstalledVersion yet
        QTest::addColumn<Copy>("inProgram");
        QTest::addColumn<Copy>("inWindows");
        QTest::addColumn<bool>("moveUninst");
        QTest::addColumn<bool>("stepsRun");
        QTest::addColumn<QByteArray>("windowsAfter"); // content; empty: no file
        QTest::addColumn<bool>("programKeeps");

        QTest::newRow("first start moves it") << QByteArray() << Copy::Newer << Copy::None << true
                                              << true << QByteArray("program") << false;
        QTest::newRow("next start does nothing") << QByteArray("2.0b") << Copy::Newer << Copy::Older
                                                 << true << false << QByteArray("windows") << true;
        QTest::newRow("newer one in Windows stays")
            << QByteArray() << Copy::Older << Copy::Newer << true << true << QByteArray("windows")
            << false;
        QTest::newRow("same date: Windows keeps its own")
            << QByteArray() << Copy::Older << Copy::Older << true << true << QByteArray("windows")
            << false;
        QTest::newRow("older version 2.0a runs again")
            << QByteArray("2.0a") << Copy::Newer << Copy::Older << true << true
            << QByteArray("program") << false;
        QTest::newRow("version compared exactly")
            << QByteArray("2.0B") << Copy::Newer << Copy::Older << true << true
            << QByteArray("program") << false;
        QTest::newRow("nothing beside the program")
            << QByteArray() << Copy::None << Copy::Older << true << true << QByteArray("windows")
            << false;
        // A run from the build tree recorded 2.0b without an uninstaller to move;
        // the first real installation must still place its own.
        QTest::newRow("version recorded, uninstaller never placed")
            << QByteArray("2.0b") << Copy::Older << Copy::None << true << true
            << QByteArray("program") << false;
        QTest::newRow("MoveUninst off")
            << QByteArray() << Copy::Newer << Copy::None << false << true << QByteArray() << true;
    }
    void checkInstallation() {
        QFETCH(QByteArray, recorded);
        QFETCH(Copy, inProgram);
        QFETCH(Copy, inWindows);
        QFETCH(bool, moveUninst);
        QFETCH(bool, stepsRun);
        QFETCH(QByteArray, windowsAfter);
        QFETCH(bool, programKeeps);

        InstallFixture f;
        Registry registry = Registry::forDataRoot();
        if (!recorded.isEmpty())
            registry.writeString(RegRoot::CurrentUser, SettingsStore::kProductKey, "Version",
                                 recorded);
        if (inProgram != Copy::None)
            QVERIFY(f.writeDated(f.programUninstaller(), "program", dateOf(inProgram)));
        if (inWindows != Copy::None)
            QVERIFY(f.writeDated(f.windowsUninstaller(), "windows", dateOf(inWindows)));

        TAboutDlg about;
        applyEditorValues(about);
        about.setMoveUninst(moveUninst);
        const InstallationCheck check = about.CheckInstallation();

        QCOMPARE(check.stepsRan, stepsRun);
        QVERIFY(!check.finishMessageDue); // the editor leaves the message off
        QCOMPARE(installedVersion(), std::optional<QByteArray>("2.0b"));
        QCOMPARE(readFileBytes(f.windowsUninstaller()), windowsAfter);
        QCOMPARE(QFileInfo::exists(f.programUninstaller()), programKeeps);
        if (windowsAfter == "program") {
            // Moved with its date and still a program, so that the next version's
            // comparison and the uninstall entry both work.
            const QFileInfo moved(f.windowsUninstaller());
            QCOMPARE(moved.lastModified(), dateOf(inProgram));
            QVERIFY(moved.permissions().testFlag(QFileDevice::ExeOwner));
        }
    }

    // An installation for all users: the program's folder refuses deletions, so
    // the uninstaller is copied. The Windows folder must hold a working copy either
    // way, and the only copy is never deleted when the Windows folder refuses.
    void placementWhenAFolderRefuses_data() {
        QTest::addColumn<Copy>("inProgram");
        QTest::addColumn<Copy>("inWindows");
        QTest::addColumn<bool>("windowsWritable");
        QTest::addColumn<UninstallerPlacement>("expected");
        QTest::addColumn<QByteArray>("windowsAfter");

        QTest::newRow("newer: copied") << Copy::Newer << Copy::Older << true
                                       << UninstallerPlacement::Copied << QByteArray("program");
        QTest::newRow("missing in Windows: copied")
            << Copy::Older << Copy::None << true << UninstallerPlacement::Copied
            << QByteArray("program");
        QTest::newRow("older: kept where it is")
            << Copy::Older << Copy::Newer << true << UninstallerPlacement::SourceKept
            << QByteArray("windows");
        QTest::newRow("Windows folder refuses")
            << Copy::Newer << Copy::None << false << UninstallerPlacement::Failed << QByteArray();
    }
    void placementWhenAFolderRefuses() {
        QFETCH(Copy, inProgram);
        QFETCH(Copy, inWindows);
        QFETCH(bool, windowsWritable);
        QFETCH(UninstallerPlacement, expected);
        QFETCH(QByteArray, windowsAfter);

        InstallFixture f;
        const QString target = windowsWritable
                                   ? f.windowsUninstaller()
                                   : f.root.filePath(QStringLiteral("no such folder/OrlinUninst"));
        QVERIFY(f.writeDated(f.programUninstaller(), "program", dateOf(inProgram)));
        if (inWindows != Copy::None)
            QVERIFY(f.writeDated(target, "windows", dateOf(inWindows)));
        QStringList refused;
        const auto readOnlyFolder = [&refused](const QString &path) {
            refused.append(path);
            return false;
        };

        QCOMPARE(placeUninstaller(f.programUninstaller(), target, readOnlyFolder), expected);
        QCOMPARE(readFileBytes(target), windowsAfter);
        QCOMPARE(readFileBytes(f.programUninstaller()), QByteArray("program"));
        if (expected == UninstallerPlacement::Copied)
            QCOMPARE(QFileInfo(target).lastModified(), dateOf(inProgram));
        if (expected == UninstallerPlacement::Failed)
            QVERIFY(refused.isEmpty());
    }

    void finishMessageWhenAsked() {
        InstallFixture f;
        TAboutDlg about;
        applyEditorValues(about);
        about.setInstFinishDlg(true);
        QVERIFY(about.CheckInstallation().finishMessageDue);
        QVERIFY(!about.CheckInstallation().finishMessageDue);
    }

    // The entry in the list of installed programs after a close: nothing quoted,
    // blanks in the program's folder included.
    void registerUninstall() {
        InstallFixture f(QStringLiteral("Program Files/My Editor/"));
        TAboutDlg about;
        applyEditorValues(about);
        QVERIFY(about.RegisterUninstall());

        const Registry registry = Registry::forDataRoot();
        const QByteArray key =
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pomwick2.0b";
        QCOMPARE(registry.valueNames(RegRoot::LocalMachine, key),
                 (QList<QByteArray>{"DisplayName", "UninstallString"}));
        QCOMPARE(registry.readValue(RegRoot::LocalMachine, key, "DisplayName")->data,
                 QByteArray("Kelvari 2.0b"));
        // The script's path as the fixture laid the folder out, blank and all.
        const QString expected = Folders::windowsFolder() + QStringLiteral("OrlinUninst /u ") +
                                 QDir::toNativeSeparators(f.root.filePath(
                                     QStringLiteral("Program Files/My Editor/UnRuvex.inf")));
        const std::optional<RegValue> command =
            registry.readValue(RegRoot::LocalMachine, key, "UninstallString");
        QCOMPARE(command->type, RegType::Sz);
        QCOMPARE(sjis::decode(command->data), expected);

        // Rewritten at every close: the entry follows a program that moved.
        Folders::setProgramPathOverride(f.root.filePath(QStringLiteral("moved/Ruvex")));
        QVERIFY(about.RegisterUninstall());
        QVERIFY(sjis::decode(Registry::forDataRoot()
                                 .readValue(RegRoot::LocalMachine, key, "UninstallString")
                                 ->data)
                    .endsWith(f.root.filePath(QStringLiteral("moved/UnRuvex.inf"))));
    }

    void helpFilePath() {
        InstallFixture f;
        TAboutDlg about;
        applyEditorValues(about);
        QCOMPARE(about.HelpFilePath(), f.programFolder() + QStringLiteral("Ruvex.hlp"));
    }

    void defaultSaveDir_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("program folder writable") << true;
        QTest::newRow("installed for all users") << false;
    }
    void defaultSaveDir() {
        QFETCH(bool, writable);
        InstallFixture f;
        const QString folder =
            DefaultSaveDir(f.programFolder(), [writable](const QString &) { return writable; });
        if (writable) {
            QCOMPARE(folder, f.programFolder().chopped(1));
        } else {
            QCOMPARE(folder, QDir::toNativeSeparators(QStandardPaths::writableLocation(
                                 QStandardPaths::DocumentsLocation)));
        }
    }

    void uninstallScript() {
        const std::optional<QByteArray> script =
            editorUninstallScript({QStringLiteral("Ruvex"), QStringLiteral("UnRuvex.inf"),
                                   QStringLiteral("Ruvex.qch"), QStringLiteral("OrlinUninst")});
        QVERIFY(script);
        const QByteArray expected = sj(u"//Orlin-Uninstaller  Kelvari 2.0b\r\n"
                                       u"[Warning]\r\n"
                                       u"Kelvari 2.0b をパソコンから削除します。\r\n"
                                       u"作成した辞書ファイル(*.jmf)は削除されません。\r\n"
                                       u"end;\r\n"
                                       u"[DeleteReg]\r\n"
                                       u"Uninst=Pomwick2.0b\r\n"
                                       u"Inst=Pomwick\r\n"
                                       u"Key=HCR\\.jmf\r\n"
                                       u"Key=HCR\\JishoMakeFile\r\n"
                                       u"end;\r\n"
                                       u"[DeleteFile]\r\n"
                                       u"Ruvex\r\n"
                                       u"Ruvex.qch\r\n"
                                       u"OrlinUninst\r\n"
                                       u"UnRuvex.inf\r\n"
                                       u"end;\r\n");
        QCOMPARE(*script, expected);
    }

    void uninstallScriptNeedsACompleteList_data() {
        QTest::addColumn<QStringList>("files");
        QTest::newRow("without the script")
            << QStringList{QStringLiteral("Ruvex"), QStringLiteral("OrlinUninst")};
        QTest::newRow("named twice") << QStringList{
            QStringLiteral("Ruvex"), QStringLiteral("UnRuvex.inf"), QStringLiteral("Ruvex")};
        QTest::newRow("with a folder")
            << QStringList{QStringLiteral("help/Ruvex.qch"), QStringLiteral("UnRuvex.inf")};
        QTest::newRow("not storable")
            << QStringList{QStringLiteral("Ruvexé"), QStringLiteral("UnRuvex.inf")};
    }
    void uninstallScriptNeedsACompleteList() {
        QFETCH(QStringList, files);
        QString problem;
        QVERIFY(!editorUninstallScript(files, &problem));
        QVERIFY(!problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestInstallationRecord)
#include "tst_installationrecord.moc"
