// The real installation, end to end: `cmake --install` into a temporary prefix,
// the installed editor started through its desktop entry on a temporary data
// root and closed, then the registered uninstall command run the way the list
// of installed programs runs it, every question answered with Yes.

#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "tests/support/testdataroot.h"
#include "uninstaller/uninstalltexts.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QByteArray kUninstallList = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const QByteArray kProduct = "Software\\Vesk\\Pomwick";

struct Finished {
    int exitCode = -1;
    QByteArray output;
};

Finished run(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {-1, process.readAll()};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAll()};
}

// Every key and value of every root, one line each, for comparing whole registries.
QStringList dump(const Registry &registry) {
    QStringList lines;
    const RegRoot roots[] = {RegRoot::ClassesRoot, RegRoot::CurrentUser,   RegRoot::LocalMachine,
                             RegRoot::Users,       RegRoot::CurrentConfig, RegRoot::DynData};
    std::function<void(RegRoot, const QByteArray &)> walk = [&](RegRoot root,
                                                                const QByteArray &path) {
        const QString where =
            QString::fromLatin1(Registry::rootName(root)) + u'\\' + sjis::decode(path);
        lines.append(where);
        for (const QByteArray &name : registry.valueNames(root, path)) {
            const RegValue value = *registry.readValue(root, path, name);
            lines.append(where + QStringLiteral(" : ") + sjis::decode(name) + u'=' +
                         QString::number(int(value.type)) + u':' +
                         QString::fromLatin1(value.data.toHex()));
        }
        for (const QByteArray &sub : registry.subkeyNames(root, path))
            walk(root, path.isEmpty() ? sub : path + '\\' + sub);
    };
    for (RegRoot root : roots) {
        if (QFileInfo::exists(registry.fileFor(root)))
            walk(root, {});
    }
    return lines;
}

// The [DeleteFile] names of an uninstall script.
QStringList deletedFiles(const QByteArray &script) {
    QStringList names;
    bool inSection = false;
    for (const QByteArray &line : script.split('\n')) {
        const QByteArray text = line.trimmed();
        if (text == "[DeleteFile]")
            inSection = true;
        else if (text == "end;")
            inSection = false;
        else if (inSection)
            names.append(sjis::decode(text));
    }
    return names;
}

} // namespace

class TestInstallRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // A blank in the prefix: the registered command line is not quoted.
        m_prefix = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("my prefix"));
        const Finished install =
            run(QStringLiteral(KELVARI_CMAKE_COMMAND),
                {QStringLiteral("--install"), QStringLiteral(KELVARI_BUILD_DIR),
                 QStringLiteral("--prefix"), m_prefix});
        QVERIFY2(install.exitCode == 0, install.output.constData());
        m_programFolder =
            QFileInfo(m_prefix + QStringLiteral("/lib/kelvari")).canonicalFilePath() + u'/';
        QVERIFY(m_programFolder.size() > 1);
    }

    void installedLayout() {
        for (const char *program : {"Ruvex", "OrlinUninst"})
            QVERIFY2(QFileInfo(m_programFolder + QLatin1String(program)).isExecutable(), program);
        const QByteArray script = readFileBytes(m_programFolder + QStringLiteral("UnRuvex.inf"));
        QCOMPARE(script, readFileBytes(QStringLiteral(KELVARI_UNINSTALL_SCRIPT)));
        // Everything in the program folder is named by its uninstall script.
        const QStringList named = deletedFiles(script);
        const QStringList present = QDir(m_programFolder).entryList(QDir::Files | QDir::Hidden);
        for (const QString &file : present)
            QVERIFY2(named.contains(file), qPrintable(file));
        QVERIFY(QDir(m_programFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

        const QFileInfo launcher(m_prefix + QStringLiteral("/bin/ruvex"));
        QVERIFY(launcher.isSymLink());
        QCOMPARE(launcher.canonicalFilePath(), m_programFolder + QStringLiteral("Ruvex"));
        QVERIFY(QFileInfo(m_prefix + QStringLiteral("/bin/ruvex-check")).isExecutable());
        QVERIFY(
            QFileInfo::exists(m_prefix + QStringLiteral("/share/applications/kelvari.desktop")));
        QVERIFY(QFileInfo::exists(m_prefix + QStringLiteral("/share/mime/packages/kelvari.xml")));
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            QVERIFY(QFileInfo::exists(
                m_prefix +
                QStringLiteral("/share/icons/hicolor/%1x%1/apps/kelvari.png").arg(size)));
    }

    // What a file manager reads: the compiled MIME database and the desktop
    // entries' index both send word lists to the editor.
    void desktopKnowsWordLists() {
        const QString updateMime =
            QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        const QString updateDesktop =
            QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
        if (updateMime.isEmpty() || updateDesktop.isEmpty())
            QSKIP("update-mime-database or update-desktop-database is not installed "
                  "(tools/install-deps installs them)");
        const QString share = m_prefix + QStringLiteral("/share/");
        Finished step = run(updateMime, {share + QStringLiteral("mime")});
        QVERIFY2(step.exitCode == 0, step.output.constData());
        const QByteArray globs = readFileBytes(share + QStringLiteral("mime/globs2"));
        QVERIFY2(globs.contains(":text/x-kelvari-jmf:*.jmf"), globs.constData());
        QVERIFY(readFileBytes(share + QStringLiteral("mime/magic")).contains("!!DICUT10"));
        QVERIFY(QFileInfo::exists(share + QStringLiteral("mime/text/x-kelvari-jmf.xml")));

        step = run(updateDesktop, {share + QStringLiteral("applications")});
        QVERIFY2(step.exitCode == 0, step.output.constData());
        QVERIFY(readFileBytes(share + QStringLiteral("applications/mimeinfo.cache"))
                    .contains("text/x-kelvari-jmf=kelvari.desktop;"));
    }

    void roundTrip() {
        TestDataRoot root;
        Registry registry(Folders::registryFolder());
        registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\OtherApp", "a", "1");
        registry.writeString(RegRoot::LocalMachine, kUninstallList + "OtherApp", "DisplayName",
                             "x");
        registry.writeString(RegRoot::ClassesRoot, ".txt", {}, "txtfile");
        const QStringList othersBefore = dump(registry);
        const QString wordList = root.filePath(QStringLiteral("Documents/mine.jmf"));
        const QByteArray words = "!!DICUT10\r\n" + sj(u"よみ,読み,名詞") + "\r\n";
        QVERIFY(writeFileBytes(wordList, words));

        const QString answers = root.filePath(QStringLiteral("answers.txt"));
        const QString log = root.filePath(QStringLiteral("dialogs.log"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("KELVARI_HOME"), root.path());
        env.insert(QStringLiteral("KELVARI_DIALOG_SCRIPT"), answers);
        env.insert(QStringLiteral("KELVARI_DIALOG_LOG"), log);

        // The editor, started as the desktop starts it for a word list.
        QVERIFY(writeFileBytes(answers, {}));
        const QStringList exec = execLine().split(u' ');
        QCOMPARE(exec, (QStringList{QStringLiteral("ruvex"), QStringLiteral("%f")}));
        const QString launcher =
            QStandardPaths::findExecutable(exec.first(), {m_prefix + QStringLiteral("/bin")});
        QVERIFY(!launcher.isEmpty());
        QProcess editor;
        editor.setProcessEnvironment(env);
        editor.setProcessChannelMode(QProcess::ForwardedChannels);
        editor.start(launcher, {wordList});
        QVERIFY(editor.waitForStarted());
        // The association is written while the window is built, after the check.
        const QByteArray program = sj(m_programFolder + QStringLiteral("Ruvex"));
        QTRY_VERIFY_WITH_TIMEOUT(
            registry.readValue(RegRoot::ClassesRoot, "JishoMakeFile\\shell\\open\\command", {})
                    .value_or(RegValue{})
                    .data == '"' + program + "\" %1",
            30000);
        QTest::qWait(500);
        QCOMPARE(editor.state(), QProcess::Running);
        editor.terminate(); // the window's normal close
        QVERIFY(editor.waitForFinished(30000));
        QCOMPARE(editor.exitCode(), 0);
        QVERIFY2(!QFileInfo::exists(log), readFileBytes(log).constData());

        // First start: installed, the uninstaller moved out of the program folder.
        QCOMPARE(registry.readValue(RegRoot::CurrentUser, kProduct, "Version")->data,
                 QByteArray("2.0b"));
        const QString uninstaller = Folders::windowsFolder() + QStringLiteral("OrlinUninst");
        QVERIFY(QFileInfo(uninstaller).isExecutable());
        QVERIFY(!QFileInfo::exists(m_programFolder + QStringLiteral("OrlinUninst")));
        // First close: the entry in the list of installed programs.
        const QByteArray key = kUninstallList + "Pomwick2.0b";
        QCOMPARE(registry.readValue(RegRoot::LocalMachine, key, "DisplayName")->data,
                 QByteArray("Kelvari 2.0b"));
        const QString command =
            sjis::decode(registry.readValue(RegRoot::LocalMachine, key, "UninstallString")->data);
        QCOMPARE(command, uninstaller + QStringLiteral(" /u ") + m_programFolder +
                              QStringLiteral("UnRuvex.inf"));

        // The list of installed programs runs the command line: the program, then
        // its arguments split at blanks.
        const qsizetype switchAt = command.indexOf(QStringLiteral(" /u "));
        QVERIFY(switchAt > 0);
        QStringList arguments{QStringLiteral("/u")};
        arguments += command.mid(switchAt + 4).split(u' ');
        QVERIFY(arguments.size() > 2);                    // the blank of "my prefix"
        QVERIFY(writeFileBytes(answers, "1\n6\n6\n1\n")); // warning, start, settings, report
        const Finished uninstall = run(command.left(switchAt), arguments, env);
        QCOMPARE(uninstall.exitCode, 0);
        const QString shown = QString::fromUtf8(readFileBytes(log));
        QVERIFY2(shown.contains(uninst::startQuestionText()), qPrintable(shown));
        QVERIFY(shown.contains(uninst::settingsQuestionText()));
        QVERIFY2(shown.contains(uninst::finalReportText(true, true)), qPrintable(shown));

        QVERIFY(!QFileInfo::exists(m_programFolder));
        QVERIFY(!registry.keyExists(RegRoot::LocalMachine, key));
        QVERIFY(!registry.keyExists(RegRoot::CurrentUser, kProduct));
        QVERIFY(!registry.keyExists(RegRoot::ClassesRoot, ".jmf"));
        QVERIFY(!registry.keyExists(RegRoot::ClassesRoot, "JishoMakeFile"));
        QCOMPARE(dump(registry), othersBefore);
        QCOMPARE(readFileBytes(wordList), words);
        // One uninstaller serves every program that registers a script for it.
        QVERIFY(QFileInfo::exists(uninstaller));
    }

private:
    QString execLine() const {
        const QByteArray entry =
            readFileBytes(m_prefix + QStringLiteral("/share/applications/kelvari.desktop"));
        for (const QByteArray &line : entry.split('\n')) {
            if (line.startsWith("Exec="))
                return QString::fromUtf8(line.mid(5).trimmed());
        }
        return {};
    }

    QTemporaryDir m_dir;
    QString m_prefix;
    QString m_programFolder;
};

QTEST_GUILESS_MAIN(TestInstallRoundTrip)
#include "tst_install_roundtrip.moc"
