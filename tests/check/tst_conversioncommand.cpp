#include "check/conversioncommand.h"

#include "document/mainwindowstate.h"
#include "platform/folders.h"
#include "platform/sjis.h"
#include "tests/check/fakeatok.h"
#include "tests/support/recordinghelpengine.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QString kAfterConversion = QStringLiteral("context 10003");
QByteArray wordListBytes() {
    return "!!DICUT10\r\n" + sj(u"かんじ,漢字,名詞\r\n");
}
const QByteArray kWordList = wordListBytes();

// The command over a data root, with scripted dialogs, a recording help engine
// and a document whose Save As and grammar gate the test plays.
struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    RecordingHelpEngine help;
    MainWindowState state;
    QString currentFileName; // the document's, as the window's model holds it
    QStringList calls;       // "save as", "gate 変換"
    bool saveAsWrites = true;
    bool gatePasses = true;
    ConversionCommand command{
        ConversionCommand::Parts{state, dialogs, help, nullptr, [this] { return currentFileName; },
                                 [this] {
                                     calls.append(QStringLiteral("save as"));
                                     if (saveAsWrites) {
                                         currentFileName = file(QStringLiteral("docs/単語帳.jmf"));
                                         writeFileBytes(currentFileName, kWordList);
                                     }
                                     return saveAsWrites;
                                 },
                                 [this] {
                                     calls.append(QStringLiteral("gate 変換"));
                                     return gatePasses;
                                 }}};

    // A folder under the root, made, with its separator.
    QString folder(const QString &name) const {
        QDir().mkpath(root.filePath(name));
        return root.filePath(name) + u'/';
    }
    QString file(const QString &name) const { return root.filePath(name); }
    // A saved word list under docs/.
    QString wordList(const QString &name, const QByteArray &bytes = kWordList) const {
        writeFileBytes(file(QStringLiteral("docs/") + name), bytes);
        return file(QStringLiteral("docs/") + name);
    }
    QByteArray rootBytes() const { return sjis::encode(root.path()).bytes + '/'; }
    // Every file of that name under the root, relative to it.
    QStringList copiesNamed(const QString &name) const {
        QStringList found;
        QDirIterator it(root.path(), {name}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(QDir(root.path()).relativeFilePath(it.next()));
        return found;
    }
};

} // namespace

class TestConversionCommand : public QObject {
    Q_OBJECT
private slots:
    void followUpsAsTheSettingsSay_data() {
        QTest::addColumn<bool>("utility");
        QTest::addColumn<bool>("help");
        QTest::newRow("both") << true << true;
        QTest::newRow("utility only") << true << false;
        QTest::newRow("help only") << false << true;
        QTest::newRow("neither") << false << false;
    }
    void followUpsAsTheSettingsSay() {
        QFETCH(bool, utility);
        QFETCH(bool, help);
        Fixture f;
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        f.state.AtokFolder = atok;
        f.state.ShowAtokUtility = utility;
        f.state.ShowAtokHelp = help;

        f.command.ConvertFile(f.wordList(QStringLiteral("a.b.jmf")));
        QCOMPARE(readFileBytes(atok + QStringLiteral("a.b.txt")), kWordList);
        QCOMPARE(f.help.requests, help ? QStringList{kAfterConversion} : QStringList());
        // Started bare: no arguments, in the program's own working folder.
        QCOMPARE(utilityStarts(atok, utility ? 1 : 0), bareStarts(utility ? 1 : 0));
        QVERIFY(f.dialogs.shown().isEmpty());
    }

    // Where the copy goes: the folder of the last run, else the one the
    // settings file names, else the one the user picks.
    void findsTheUtilitysFolder_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("dictionary"); // in the settings file; empty: no file
        QTest::addColumn<QStringList>("utilities");
        QTest::addColumn<QString>("pick"); // "-": no dialog; empty: the user cancels
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("warnings");
        const QStringList none;
        QTest::newRow("the stored folder")
            << QStringLiteral("last") << QByteArray("ini/sys.dic")
            << QStringList{QStringLiteral("last"), QStringLiteral("ini")} << QStringLiteral("-")
            << QStringLiteral("last") << none;
        QTest::newRow("the settings file's folder")
            << QString() << QByteArray("ini/sys.dic") << QStringList{QStringLiteral("ini")}
            << QStringLiteral("-") << QStringLiteral("ini") << none;
        QTest::newRow("stored folder lost the utility")
            << QStringLiteral("last") << QByteArray("ini/sys.dic")
            << QStringList{QStringLiteral("ini")} << QStringLiteral("-") << QStringLiteral("ini")
            << none;
        QTest::newRow("second byte 0x5C in the dictionary's name")
            << QString() << sj(u"表示/ソフト.dic") << QStringList{QStringLiteral("表示")}
            << QStringLiteral("-") << QStringLiteral("表示") << none;
        QTest::newRow("picked elsewhere")
            << QString() << QByteArray("ini/sys.dic") << QStringList{QStringLiteral("other")}
            << QStringLiteral("other/Atok10ut.exe") << QStringLiteral("other") << none;
        QTest::newRow("picked under another name")
            << QString() << QByteArray() << QStringList{QStringLiteral("other")}
            << QStringLiteral("other/renamed.exe") << QStringLiteral("other") << none;
        QTest::newRow("cancelled: the settings file's folder")
            << QString() << QByteArray("ini/sys.dic") << none << QString() << QStringLiteral("ini")
            << QStringList{QStringLiteral("could not be started")};
        QTest::newRow("cancelled without any folder")
            << QString() << QByteArray() << none << QString() << QString()
            << QStringList{QStringLiteral("was not converted"), QStringLiteral("was not started")};
    }
    void findsTheUtilitysFolder() {
        QFETCH(QString, stored);
        QFETCH(QByteArray, dictionary);
        QFETCH(QStringList, utilities);
        QFETCH(QString, pick);
        QFETCH(QString, expected);
        QFETCH(QStringList, warnings);
        Fixture f;
        f.folder(QStringLiteral("ini"));
        for (const QString &name : utilities)
            QVERIFY(installUtility(f.folder(name)));
        if (!stored.isEmpty())
            f.state.AtokFolder = f.folder(stored);
        if (!dictionary.isEmpty())
            QVERIFY(writeAtokSettings(f.rootBytes() + dictionary));
        if (pick != u"-")
            f.dialogs.expectOpenFile(pick.isEmpty() ? QString() : f.file(pick));
        for (const QString &warning : warnings)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));

        f.command.ConvertFile(f.wordList(QStringLiteral("a.jmf")));
        const QString folder = expected.isEmpty() ? QString() : f.folder(expected);
        QCOMPARE(f.state.AtokFolder, folder);
        QCOMPARE(f.copiesNamed(QStringLiteral("a.txt")),
                 expected.isEmpty() ? QStringList()
                                    : QStringList{expected + QStringLiteral("/a.txt")});
        if (utilities.contains(expected))
            QCOMPARE(utilityStarts(folder, 1), bareStarts(1));
        QCOMPARE(f.help.requests, QStringList{kAfterConversion});
        if (pick != u"-") {
            const ShownDialog &shown = f.dialogs.shown().value(0);
            QCOMPARE(shown.kind, DialogKind::OpenFile);
            QCOMPARE(shown.caption, QStringLiteral("ATOK10辞書ﾕｰﾃｨﾘﾃｨの指定"));
            QCOMPARE(shown.fileName, QStringLiteral("Atok10ut.exe"));
            QCOMPARE(shown.filter, QStringLiteral("実行ファイル (*.exe)"));
        }
    }

    // Nothing in the folder's name reaches a shell.
    void folderNameIsNotInterpreted() {
        Fixture f;
        const QString name = QStringLiteral("atok 10 \"q\" 'p' $(touch interpreted); `touch x`");
        const QString atok = f.folder(name);
        QVERIFY(installUtility(atok));
        QVERIFY(writeAtokSettings(f.rootBytes() + sjis::encode(name).bytes + "/sys.dic"));
        f.command.ConvertFile(f.wordList(QStringLiteral("a.jmf")));
        QCOMPARE(readFileBytes(atok + QStringLiteral("a.txt")), kWordList);
        QCOMPARE(utilityStarts(atok, 1), bareStarts(1));
        QVERIFY(!QFileInfo::exists(QStringLiteral("interpreted")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("x")));
    }

    void convertsTheOpenDocument_data() {
        QTest::addColumn<bool>("neverSaved");
        QTest::addColumn<bool>("saveAsWrites");
        QTest::addColumn<bool>("gatePasses");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("converted");
        const QString saveAs = QStringLiteral("save as");
        const QString gate = QStringLiteral("gate 変換");
        QTest::newRow("new, saved") << true << true << true << QStringList{saveAs, gate} << true;
        QTest::newRow("new, not saved") << true << false << true << QStringList{saveAs} << false;
        QTest::newRow("new, saved, grammar errors")
            << true << true << false << QStringList{saveAs, gate} << false;
        QTest::newRow("saved before") << false << false << true << QStringList{gate} << true;
        QTest::newRow("saved before, grammar errors")
            << false << false << false << QStringList{gate} << false;
    }
    void convertsTheOpenDocument() {
        QFETCH(bool, neverSaved);
        QFETCH(bool, saveAsWrites);
        QFETCH(bool, gatePasses);
        QFETCH(QStringList, calls);
        QFETCH(bool, converted);
        Fixture f;
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        f.state.AtokFolder = atok;
        f.state.ShowAtokUtility = false;
        f.currentFileName =
            neverSaved ? QStringLiteral("新規辞書1.jmf") : f.wordList(QStringLiteral("単語帳.jmf"));
        f.saveAsWrites = saveAsWrites;
        f.gatePasses = gatePasses;

        f.command.mmConvertClick();
        QCOMPARE(f.calls, calls);
        QCOMPARE(f.copiesNamed(QStringLiteral("*.txt")),
                 converted ? QStringList{QStringLiteral("atok/単語帳.txt")} : QStringList());
        QCOMPARE(f.help.requests, converted ? QStringList{kAfterConversion} : QStringList());
    }

    // Another file is converted as it is: no grammar check, the document untouched.
    void convertsAnotherFile() {
        Fixture f;
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        f.state.AtokFolder = atok;
        f.state.ShowAtokUtility = false;
        f.state.SaveDir = f.folder(QStringLiteral("docs"));
        f.currentFileName = QStringLiteral("新規辞書1.jmf");
        const QByteArray faulty = "!!DICUT10\r\nabc,def,xyz\r\n";
        f.dialogs.expectOpenFile(f.wordList(QStringLiteral("faulty.jmf"), faulty));
        f.dialogs.expectOpenFile(QString());

        f.command.mmOthersClick();
        QCOMPARE(readFileBytes(atok + QStringLiteral("faulty.txt")), faulty);
        QVERIFY(f.calls.isEmpty());
        QCOMPARE(f.currentFileName, QStringLiteral("新規辞書1.jmf"));
        const ShownDialog &shown = f.dialogs.shown().value(0);
        QCOMPARE(shown.caption, QStringLiteral("辞書作成ファイルを指定"));
        QCOMPARE(shown.directory, f.state.SaveDir);
        QCOMPARE(shown.filter, QStringLiteral("辞書作成ファイル (*.jmf)"));
        QVERIFY(shown.fileName.isEmpty());

        // Cancelled: nothing at all.
        f.command.mmOthersClick();
        QCOMPARE(f.copiesNamed(QStringLiteral("*.txt")),
                 QStringList{QStringLiteral("atok/faulty.txt")});
        QCOMPARE(f.help.requests, QStringList{kAfterConversion});
    }

    void utilityCommandFollowsItsSetting() {
        Fixture f;
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        QVERIFY(writeAtokSettings(f.rootBytes() + "atok/sys.dic"));

        // Off: not even the folder is looked for.
        f.state.ShowAtokUtility = false;
        f.command.mmUtilClick();
        QVERIFY(f.state.AtokFolder.isEmpty());
        QCOMPARE(utilityStarts(atok, 0), bareStarts(0));

        f.state.ShowAtokUtility = true;
        f.command.mmUtilClick();
        QCOMPARE(f.state.AtokFolder, atok);
        QCOMPARE(utilityStarts(atok, 1), bareStarts(1));
        QVERIFY(f.dialogs.shown().isEmpty());
        QVERIFY(f.help.requests.isEmpty());
    }

    void utilityHelpOpensWithTheDesktopHandler() {
        Fixture f;
        const QString opener = f.file(QStringLiteral("opener"));
        QVERIFY(writeFileBytes(opener, "#!/bin/sh\nprintf '%s' \"$1\" >> \"$0.log\"\n"));
        QVERIFY(QFile::setPermissions(opener, QFile::permissions(opener) | QFile::ExeOwner));
        const ScopedEnv handler("KELVARI_OPEN_COMMAND", QFile::encodeName(opener));
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        QVERIFY(writeAtokSettings(f.rootBytes() + "atok/sys.dic"));

        // The utility is there but its help is not: nothing to open, nothing asked.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("could not be opened")));
        f.command.mmAtokHelpClick();
        QCOMPARE(f.state.AtokFolder, atok);
        QVERIFY(!QFileInfo::exists(opener + QStringLiteral(".log")));

        QVERIFY(writeFileBytes(atok + QStringLiteral("Atok10ut.hlp"), "help"));
        f.command.mmAtokHelpClick();
        QCOMPARE(QString::fromUtf8(readFileBytes(opener + QStringLiteral(".log"))),
                 atok + QStringLiteral("Atok10ut.hlp"));
        QVERIFY(f.dialogs.shown().isEmpty());
        QVERIFY(f.help.requests.isEmpty());
    }
};

QTEST_MAIN(TestConversionCommand)
#include "tst_conversioncommand.moc"
