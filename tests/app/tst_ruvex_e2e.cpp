// Runs the real editor binary on a temporary data root.

#include "platform/answerfiledialogs.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "tests/support/testdataroot.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QByteArray kProduct = "Software\\Vesk\\Pomwick";

QProcessEnvironment environmentFor(const TestDataRoot &root, const QString &log) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KELVARI_HOME"), root.path());
    env.insert(QStringLiteral("KELVARI_DIALOG_LOG"), log);
    return env;
}

QByteArray stored(const Registry &registry, const QByteArray &section, const QByteArray &name) {
    const std::optional<RegValue> value =
        registry.readValue(RegRoot::CurrentUser, kProduct + '\\' + section, name);
    return value ? value->data : QByteArray("<absent>");
}

// The texts of the messages in a dialog log, in the order shown.
QStringList loggedTexts(const QString &log) {
    QStringList texts;
    const QString all = QString::fromUtf8(readFileBytes(log));
    for (const QString &entry : all.split(QStringLiteral("\n--\n"), Qt::SkipEmptyParts)) {
        const qsizetype start = entry.indexOf(QStringLiteral("\ntext: "));
        const qsizetype end = entry.lastIndexOf(QStringLiteral("\nanswer: "));
        if (start >= 0 && end > start)
            texts.append(entry.mid(start + 7, end - start - 7));
    }
    return texts;
}

} // namespace

class TestRuvexEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void secondInstanceIsRefusedAndFirstClosesCleanly() {
        TestDataRoot root;
        Registry registry(root.filePath(QStringLiteral("registry")));
        registry.writeString(RegRoot::CurrentUser, kProduct + "\\History", "File1",
                             sj(u"C:\\辞書\\a.jmf"));
        registry.writeString(RegRoot::CurrentUser, kProduct + "\\Window", "Width", "650");

        QProcess first;
        first.setProcessEnvironment(
            environmentFor(root, root.filePath(QStringLiteral("first.log"))));
        first.start(QStringLiteral(RUVEX_PATH), {});
        QVERIFY(first.waitForStarted());
        // The association is written while the window is created; the window is
        // up once the event loop runs, which the test sees as the process still alive.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(registry.fileFor(RegRoot::ClassesRoot)), 20000);
        QTest::qWait(500);
        QCOMPARE(first.state(), QProcess::Running);
        const QByteArray userBefore = readFileBytes(registry.fileFor(RegRoot::CurrentUser));
        const QByteArray classesBefore = readFileBytes(registry.fileFor(RegRoot::ClassesRoot));

        QProcess second;
        const QString secondLog = root.filePath(QStringLiteral("second.log"));
        second.setProcessEnvironment(environmentFor(root, secondLog));
        second.start(QStringLiteral(RUVEX_PATH), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(readFileBytes(secondLog)),
                 AnswerFileDialogs::logEntry(
                     QString(), QStringLiteral("Kelvari 2.0bはすでに起動しています。"), ResultOk));
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(readFileBytes(registry.fileFor(RegRoot::CurrentUser)), userBefore);
        QCOMPARE(readFileBytes(registry.fileFor(RegRoot::ClassesRoot)), classesBefore);

        first.terminate(); // closes the window through its normal close path
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QVERIFY(!QFile::exists(root.filePath(QStringLiteral("first.log"))));

        QCOMPARE(stored(registry, "Window", "Left"), QByteArray("0"));
        QCOMPARE(stored(registry, "Window", "Top"), QByteArray("0"));
        QCOMPARE(stored(registry, "Window", "Width"), QByteArray("650"));
        QCOMPARE(stored(registry, "Window", "Height"), QByteArray("425"));
        QCOMPARE(stored(registry, "Grid", "Yomi"), QByteArray("120"));
        QCOMPARE(stored(registry, "Grid", "Tango"), QByteArray("104"));
        QCOMPARE(stored(registry, "Grid", "Hinsi"), QByteArray("68"));
        QCOMPARE(stored(registry, "History", "File1"), sj(u"C:\\辞書\\a.jmf"));
        const QByteArray program = QDir::toNativeSeparators(QStringLiteral(RUVEX_PATH)).toUtf8();
        const std::optional<RegValue> command =
            registry.readValue(RegRoot::ClassesRoot, "JishoMakeFile\\shell\\open\\command", {});
        QVERIFY(command);
        QCOMPARE(command->data, '"' + program + "\" %1");

        // With the first copy gone, the next one starts normally.
        QProcess third;
        third.setProcessEnvironment(
            environmentFor(root, root.filePath(QStringLiteral("third.log"))));
        third.start(QStringLiteral(RUVEX_PATH), {});
        QVERIFY(third.waitForStarted());
        QTest::qWait(1500);
        QCOMPARE(third.state(), QProcess::Running);
        third.terminate();
        QVERIFY(third.waitForFinished(20000));
        QCOMPARE(third.exitCode(), 0);
    }

    // A file named on the command line is opened at start; an unquoted path with
    // blanks arrives as several arguments and is joined again.
    void commandLineFileIsOpened() {
        TestDataRoot root;
        const QString path = root.filePath(QStringLiteral("my words.jmf"));
        QVERIFY(writeFileBytes(path, "!!DICUT10\r\n" + sj(u"!!コメント：見本") + "\r\n" +
                                         sj(u"よみ,読み,名詞") + "\r\n"));
        Registry registry(root.filePath(QStringLiteral("registry")));
        const QString log = root.filePath(QStringLiteral("dialogs.log"));

        QProcess editor;
        editor.setProcessEnvironment(environmentFor(root, log));
        editor.start(QStringLiteral(RUVEX_PATH), path.split(u' '));
        QVERIFY(editor.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(registry.fileFor(RegRoot::ClassesRoot)), 20000);
        QTest::qWait(500);
        editor.terminate();
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitCode(), 0);

        // Loaded without a complaint, unchanged at close (no question), and the
        // opened file heads the history.
        QVERIFY2(!QFile::exists(log), readFileBytes(log).constData());
        QCOMPARE(stored(registry, "History", "File1"), QDir::toNativeSeparators(path).toUtf8());
    }

    // Only a copy that is running keeps another from starting. A data root that
    // cannot hold the lock is named with the reason, and the editor does not start.
    void unusableDataRootIsReported_data() {
        QTest::addColumn<QString>("plainFile"); // a file where a folder is needed
        QTest::addColumn<QString>("home");
        QTest::newRow("locks is a file") << QStringLiteral("root/locks") << QStringLiteral("root");
        QTest::newRow("data root under a file")
            << QStringLiteral("plain") << QStringLiteral("plain/root");
    }

    void unusableDataRootIsReported() {
        QFETCH(QString, plainFile);
        QFETCH(QString, home);
        TestDataRoot root;
        QVERIFY(writeFileBytes(root.filePath(plainFile), "x"));
        const QString log = root.filePath(QStringLiteral("dialogs.log"));
        QProcessEnvironment env = environmentFor(root, log);
        env.insert(QStringLiteral("KELVARI_HOME"), root.filePath(home));

        QProcess editor;
        editor.setProcessEnvironment(env);
        editor.start(QStringLiteral(RUVEX_PATH), {});
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(editor.exitCode(), 1);
        const QStringList texts = loggedTexts(log);
        QCOMPARE(texts.size(), 1);
        const QString locks =
            QDir::toNativeSeparators(root.filePath(home + QStringLiteral("/locks")));
        QCOMPARE(texts.first(),
                 QStringLiteral("Kelvari 2.0bを起動できません。\n"
                                "フォルダ \"%1\" にロックファイルを作れません。"
                                "(\"%2\" はフォルダではありません)")
                     .arg(locks, QDir::toNativeSeparators(root.filePath(plainFile))));
        // Nothing was written.
        QVERIFY(!QFile::exists(root.filePath(home + QStringLiteral("/registry"))));
    }

    // Settings are not the user's data: a registry that cannot be written is
    // reported once and the editor still ends when the session asks it to.
    void endsOnRequestWhenSettingsCannotBeWritten() {
        TestDataRoot root;
        Registry registry(root.filePath(QStringLiteral("registry")));
        QVERIFY(QDir().mkpath(registry.fileFor(RegRoot::CurrentUser)));
        const QString log = root.filePath(QStringLiteral("dialogs.log"));

        QProcess editor;
        editor.setProcessEnvironment(environmentFor(root, log));
        editor.start(QStringLiteral(RUVEX_PATH), {});
        QVERIFY(editor.waitForStarted());
        // Reading the settings at start has failed and said so.
        QTRY_COMPARE_WITH_TIMEOUT(loggedTexts(log).size(), 1, 20000);
        QTest::qWait(500);
        QCOMPARE(editor.state(), QProcess::Running);

        editor.terminate();
        const bool ended = editor.waitForFinished(10000);
        if (!ended) {
            editor.kill();
            editor.waitForFinished();
        }
        QVERIFY2(ended, "the editor refused to end");
        QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(editor.exitCode(), 0);
        const QStringList texts = loggedTexts(log);
        QCOMPARE(texts.size(), 2);
        QVERIFY2(texts.last().startsWith(QStringLiteral("設定を保存できませんでした。")),
                 qPrintable(texts.last()));
    }

    // The settings dialog of the real program: a new MaxRow is stored, applies to
    // the next new list, and is what the dialog shows after a restart.
    void settingsDialogSetsMaxRow() {
        TestDataRoot root;
        const QString script = root.filePath(QStringLiteral("answers.txt"));
        auto run = [&](const QByteArray &answers, const QString &commands) {
            const QString log = root.filePath(QStringLiteral("dialogs.log"));
            QFile::remove(log);
            if (!writeFileBytes(script, answers))
                return QString();
            QProcessEnvironment env = environmentFor(root, log);
            env.insert(QStringLiteral("KELVARI_DIALOG_SCRIPT"), script);
            env.insert(QStringLiteral("KELVARI_RUN_COMMANDS"), commands);
            QProcess editor;
            editor.setProcessEnvironment(env);
            editor.start(QStringLiteral(RUVEX_PATH), {});
            if (!editor.waitForStarted())
                return QString();
            // The hook writes the row count once the commands have run.
            QDeadlineTimer deadline(20000);
            while (!QString::fromUtf8(readFileBytes(log)).contains(u"rows: ") &&
                   !deadline.hasExpired())
                QTest::qWait(50);
            editor.terminate();
            if (!editor.waitForFinished(10000))
                editor.kill();
            return QString::fromUtf8(readFileBytes(log));
        };

        const QString first = run("window seRow=50 bbOK\n", QStringLiteral("mmSettei mmNew"));
        QVERIFY2(first.contains(QStringLiteral("rows: 51\n")), qPrintable(first));
        QCOMPARE(stored(Registry(root.filePath(QStringLiteral("registry"))), "General", "MaxRow"),
                 QByteArray("50"));

        const QString second = run("window ?seRow bbCancel\n", QStringLiteral("mmSettei"));
        QVERIFY2(second.contains(QStringLiteral("seRow=50\n")), qPrintable(second));
        QVERIFY2(second.contains(QStringLiteral("rows: 51\n")), qPrintable(second));
    }
};

QTEST_GUILESS_MAIN(TestRuvexEndToEnd)
#include "tst_ruvex_e2e.moc"
