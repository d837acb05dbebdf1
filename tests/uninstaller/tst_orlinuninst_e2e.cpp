// The real OrlinUninst binary on a temporary data root, run the way the list of
// installed programs runs it, with the shipped UnRuvex.inf. Its message boxes
// are answered and recorded through KELVARI_DIALOG_SCRIPT / KELVARI_DIALOG_LOG.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include "platform/folders.h"
#include "platform/registry.h"
#include "tests/support/testdataroot.h"
#include "uninstaller/uninstalltexts.h"

using namespace kelvari;

namespace {

const QByteArray kUninstallList = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct Run {
    int exitCode = -1;
    QString log;
};

Run runUninstaller(const test::TestDataRoot &root, const QStringList &arguments,
                   const QByteArray &answers) {
    const QString answerFile = root.filePath(QStringLiteral("answers.txt"));
    const QString logFile = root.filePath(QStringLiteral("dialogs.log"));
    if (!test::writeFileBytes(answerFile, answers))
        return {};
    QFile::remove(logFile);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELVARI_HOME"), root.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KELVARI_DIALOG_SCRIPT"), answerFile);
    env.insert(QStringLiteral("KELVARI_DIALOG_LOG"), logFile);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QString::fromUtf8(ORLINUNINST_PATH), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    Run run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.log = QString::fromUtf8(test::readFileBytes(logFile));
    return run;
}

} // namespace

class TestOrlinUninstE2E : public QObject {
    Q_OBJECT

private slots:
    void removesInstalledEditor();
    void damagedRegistryFileIsReported();
    void aboutWithoutScript();
    void unscriptedQuestionStopsTheRun();
};

void TestOrlinUninstE2E::removesInstalledEditor() {
    test::TestDataRoot root;
    Registry registry(Folders::registryFolder());
    const QString programFolder = root.filePath(QStringLiteral("Tools/My Editor/"));
    const QString script = programFolder + QStringLiteral("UnRuvex.inf");
    const QString uninstallString =
        Folders::windowsFolder() + QStringLiteral("OrlinUninst /u ") + script;

    const QByteArray uninstallKey = kUninstallList + "Pomwick2.0b";
    registry.writeString(RegRoot::LocalMachine, uninstallKey, "DisplayName", "Kelvari 2.0b");
    registry.writeString(RegRoot::LocalMachine, uninstallKey, "UninstallString",
                         uninstallString.toUtf8());
    registry.writeString(RegRoot::LocalMachine, kUninstallList + "OtherApp", "DisplayName", "x");
    registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick\\Window", "Top", "10");
    registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick", "Version", "2.0b");
    registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\OtherApp", "a", "1");
    registry.writeString(RegRoot::ClassesRoot, ".jmf", "", "JishoMakeFile");
    registry.writeString(RegRoot::ClassesRoot, "JishoMakeFile\\shell\\open\\command", "",
                         "\"Ruvex\" %1");
    registry.writeString(RegRoot::ClassesRoot, ".txt", "", "txtfile");

    QVERIFY(test::writeFileBytes(programFolder + QStringLiteral("Ruvex"), "program"));
    QVERIFY(test::writeFileBytes(programFolder + QStringLiteral("Ruvex.hlp"), "help"));
    QVERIFY(test::writeFileBytes(script, test::readFileBytes(QStringLiteral(UNRUVEX_INF_PATH))));
    QVERIFY(test::writeFileBytes(root.filePath(QStringLiteral("Tools/mine.jmf")), "!!DICUT10"));

    // The registered command line, split at its blanks as the system does.
    QStringList arguments = uninstallString.split(QLatin1Char(' ')).mid(1);
    QCOMPARE(arguments.first(), QStringLiteral("/u"));
    QVERIFY(arguments.size() > 2);

    const Run run = runUninstaller(root, arguments, "1\n6\n6\n1\n");
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.log.contains(QStringLiteral("text: Kelvari 2.0b をパソコンから削除します。\r\n"
                                             "作成した辞書ファイル(*.jmf)は削除されません。\n")),
             qPrintable(run.log));
    QVERIFY(run.log.contains(uninst::startQuestionText()));
    QVERIFY(run.log.contains(uninst::settingsQuestionText()));
    QVERIFY2(run.log.contains(uninst::finalReportText(true, true)), qPrintable(run.log));

    const Registry after(Folders::registryFolder());
    QVERIFY(!after.keyExists(RegRoot::LocalMachine, uninstallKey));
    QVERIFY(after.keyExists(RegRoot::LocalMachine, kUninstallList + "OtherApp"));
    QVERIFY(!after.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"));
    QVERIFY(after.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\OtherApp"));
    QVERIFY(!after.keyExists(RegRoot::ClassesRoot, ".jmf"));
    QVERIFY(!after.keyExists(RegRoot::ClassesRoot, "JishoMakeFile"));
    QVERIFY(after.keyExists(RegRoot::ClassesRoot, ".txt"));

    QVERIFY(!QFileInfo::exists(programFolder));
    QVERIFY(QFileInfo::exists(root.filePath(QStringLiteral("Tools/mine.jmf"))));
}

// The current user's registry file holds a value the reader refuses ("\T").
// The uninstaller reports it in a box of its own and still removes the rest.
void TestOrlinUninstE2E::damagedRegistryFileIsReported() {
    test::TestDataRoot root;
    Registry registry(Folders::registryFolder());
    const QString programFolder = root.filePath(QStringLiteral("App/"));
    const QString script = programFolder + QStringLiteral("UnRuvex.inf");
    const QByteArray uninstallKey = kUninstallList + "Pomwick2.0b";
    registry.writeString(RegRoot::LocalMachine, uninstallKey, "DisplayName", "Kelvari 2.0b");
    const QString userFile = registry.fileFor(RegRoot::CurrentUser);
    const QByteArray damaged =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick\\General]"
        "\r\n\"SaveDir\"=\"C:\\Tools\"\r\n";
    QVERIFY(test::writeFileBytes(userFile, damaged));
    QVERIFY(test::writeFileBytes(programFolder + QStringLiteral("Ruvex"), "program"));
    QVERIFY(test::writeFileBytes(script, test::readFileBytes(QStringLiteral(UNRUVEX_INF_PATH))));

    // Warning, start question, settings question, the damage, the final report.
    const Run run = runUninstaller(root, {QStringLiteral("/u"), script}, "1\n6\n6\n1\n1\n");
    QCOMPARE(run.exitCode, 0);
    const QStringList copies =
        QDir(registry.folder()).entryList({QStringLiteral("HKEY_CURRENT_USER.reg.damaged-*")});
    QCOMPARE(copies.size(), 1);
    const QString copy = QDir(registry.folder()).filePath(copies.first());
    QCOMPARE(test::readFileBytes(copy), damaged);
    QCOMPARE(run.log.count(QStringLiteral("\n--\n")), 5);
    const qsizetype damageBox = run.log.indexOf(QDir::toNativeSeparators(copy));
    QVERIFY2(damageBox > 0, qPrintable(run.log));
    QVERIFY(damageBox > run.log.indexOf(uninst::settingsQuestionText()));
    QVERIFY(run.log.lastIndexOf(QDir::toNativeSeparators(userFile), damageBox - 1) >
            run.log.lastIndexOf(QStringLiteral("\n--\n"), damageBox)); // both in that box
    QVERIFY(run.log.indexOf(uninst::finalReportText(true, true)) > damageBox);
    QVERIFY(!Registry(Folders::registryFolder()).keyExists(RegRoot::LocalMachine, uninstallKey));
    QVERIFY(!QFileInfo::exists(programFolder));
}

void TestOrlinUninstE2E::aboutWithoutScript() {
    test::TestDataRoot root;
    const Run run = runUninstaller(root, {}, "1\n");
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.log.startsWith(QStringLiteral("caption: バージョン情報\ntext: "
                                               "Orlin-Uninstaller Ver2.02\r\n\r\n製作日：")),
             qPrintable(run.log));
    QVERIFY(run.log.contains(QStringLiteral("削除しないで下さい。")));
}

// A test hook that guessed "Yes" would let a run delete things nobody agreed to.
void TestOrlinUninstE2E::unscriptedQuestionStopsTheRun() {
    test::TestDataRoot root;
    Registry registry(Folders::registryFolder());
    registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick", "Version", "2.0b");
    const QString programFolder = root.filePath(QStringLiteral("Tools/"));
    const QString script = programFolder + QStringLiteral("UnRuvex.inf");
    QVERIFY(test::writeFileBytes(programFolder + QStringLiteral("Ruvex"), "program"));
    QVERIFY(test::writeFileBytes(script, test::readFileBytes(QStringLiteral(UNRUVEX_INF_PATH))));

    const Run run = runUninstaller(root, {QStringLiteral("/u"), script}, "");
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.log.contains(uninst::startQuestionText()), qPrintable(run.log));
    QVERIFY(QFileInfo::exists(programFolder + QStringLiteral("Ruvex")));
    QVERIFY(Registry(Folders::registryFolder())
                .keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"));
}

QTEST_GUILESS_MAIN(TestOrlinUninstE2E)
#include "tst_orlinuninst_e2e.moc"
