// The uninstall engine on a temporary data root: the platform registry, real
// files in the test's folder, scripted message boxes.

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"
#include "uninstaller/platformhost.h"
#include "uninstaller/uninstallerprogram.h"
#include "uninstaller/uninstalltexts.h"

using namespace kelvari;
using namespace kelvari::uninst;
using kelvari::test::ScriptedDialogs;

namespace {

const QByteArray kUninstallList = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

QByteArray scriptText(const QStringList &lines) {
    QByteArray text;
    for (const QString &line : lines)
        text += sj(line) + "\r\n";
    return text;
}

// Refuses every value of one name, the way a registry refuses a write.
class RefusingRegistry : public UninstallRegistry {
public:
    RefusingRegistry(UninstallRegistry &inner, QByteArray refusedName)
        : m_inner(inner), m_refused(std::move(refusedName)) {}
    void deleteKeyTree(RegRoot root, const QByteArray &path) override {
        m_inner.deleteKeyTree(root, path);
    }
    void createKey(RegRoot root, const QByteArray &path) override { m_inner.createKey(root, path); }
    void writeString(RegRoot root, const QByteArray &path, const QByteArray &name,
                     const QByteArray &text) override {
        if (name == m_refused)
            throw RegistryError(QStringLiteral("書き込みが拒否されました"));
        m_inner.writeString(root, path, name, text);
    }

private:
    UninstallRegistry &m_inner;
    QByteArray m_refused;
};

struct Fixture {
    test::TestDataRoot root;
    Registry registry{Folders::registryFolder()};
    PlatformRegistry platformRegistry{registry};
    DiskFiles files;
    ScriptedDialogs dialogs;
    QString appFolder = root.filePath(QStringLiteral("App")) + QLatin1Char('/');
    QString scriptPath = appFolder + QStringLiteral("UnRuvex.inf");

    Fixture() { QDir().mkpath(appFolder); }

    void writeScript(const QStringList &lines) const {
        QVERIFY(test::writeFileBytes(scriptPath, scriptText(lines)));
    }
    void writeFile(const QString &path) const {
        QVERIFY(test::writeFileBytes(path, QByteArray("data")));
    }
    QString inApp(const QString &name) const { return appFolder + name; }

    UninstallResult runEngine(UninstallRegistry *registryOverride = nullptr) {
        UninstallEngine engine(dialogs, registryOverride ? *registryOverride : platformRegistry,
                               files, {Folders::windowsFolder(), Folders::systemFolder()});
        return engine.run(locateScript(scriptPath));
    }
    int runProgram(const QStringList &arguments) {
        ProgramContext context{dialogs,
                               platformRegistry,
                               files,
                               {Folders::windowsFolder(), Folders::systemFolder()},
                               scriptPath};
        return runUninstaller(arguments, context);
    }
    int runProgram() { return runProgram({QStringLiteral("/u"), scriptPath}); }

    // Every box of a run is ownerless and carries the uninstaller's caption.
    void verifyBoxes() const {
        for (const test::ShownDialog &shown : dialogs.shown()) {
            QCOMPARE(shown.kind, test::DialogKind::Message);
            QCOMPARE(shown.owner, nullptr);
            QCOMPARE(shown.caption, captionText());
        }
    }
};

} // namespace

class TestUninstallEngine : public QObject {
    Q_OBJECT

private slots:
    void commandLineFindsScript_data();
    void commandLineFindsScript();
    void aboutMessage();
    void warningsInOrderThenStartQuestionNo();
    void deleteRegLines();
    void settingsQuestionNoKeepsKeys();
    void createRegLines();
    void passesRunInTheirOrder();
    void finalReports_data();
    void finalReports();
    void renameFileLines();
    void deleteFileDeletesOnlyNamedFiles();
    void inexactFileNamesAreNotActedOn_data();
    void inexactFileNamesAreNotActedOn();
    void inexactRegistryLinesStop_data();
    void inexactRegistryLinesStop();
    void copyAndMoveSectionsAreSkipped();
    void scriptDeletedByEarlierSectionStops();
    void stoppingErrors_data();
    void stoppingErrors();
    void refusedValueStops();
    void damagedRegistryFileIsReported_data();
    void damagedRegistryFileIsReported();
};

void TestUninstallEngine::commandLineFindsScript_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("scriptName");
    QTest::addColumn<QStringList>("argumentsAfterRoot"); // the first is appended to the root
    QTest::addColumn<QString>("missingName");            // empty: the script is found
    QTest::newRow("path with a space arrives in pieces")
        << QStringLiteral("My App") << QStringLiteral("UnRuvex.inf")
        << QStringList{QStringLiteral("/My"), QStringLiteral("App/UnRuvex.inf")} << QString();
    QTest::newRow("folder with separator") << QStringLiteral("App") << QStringLiteral("Uninst.inf")
                                           << QStringList{QStringLiteral("/App/")} << QString();
    QTest::newRow("script-style separators")
        << QStringLiteral("App") << QStringLiteral("Uninst.inf")
        << QStringList{QStringLiteral("\\App\\")} << QString();
    QTest::newRow("folder without separator")
        << QStringLiteral("App") << QStringLiteral("Uninst.inf")
        << QStringList{QStringLiteral("/App")} << QStringLiteral("AppUninst.inf");
}

void TestUninstallEngine::commandLineFindsScript() {
    QFETCH(QString, folderName);
    QFETCH(QString, scriptName);
    QFETCH(QStringList, argumentsAfterRoot);
    QFETCH(QString, missingName);
    Fixture f;
    const QString script = f.root.filePath(folderName + QLatin1Char('/') + scriptName);
    QVERIFY(test::writeFileBytes(script, scriptText({QStringLiteral("//Orlin-Uninstaller")})));
    QStringList arguments{QStringLiteral("/u")};
    arguments << f.root.path() + argumentsAfterRoot.first() << argumentsAfterRoot.mid(1);

    if (missingName.isEmpty())
        f.dialogs.expectMessage(startQuestionText(), ResultNo);
    else
        f.dialogs.expectMessage(scriptMissingText(missingName));
    QCOMPARE(f.runProgram(arguments), missingName.isEmpty() ? 0 : 1);
    f.verifyBoxes();
    if (!missingName.isEmpty())
        QCOMPARE(f.dialogs.shown().first().messageKind, MessageKind::Error);
}

void TestUninstallEngine::aboutMessage() {
    Fixture f;
    f.writeScript({QStringLiteral("//Orlin-Uninstaller")});
    const QDate date = QFileInfo(f.scriptPath).lastModified().date();
    const QString expected = aboutText(QLocale::system().toString(date, QLocale::ShortFormat));
    const QList<QStringList> commandLines{
        {}, {QStringLiteral("/u")}, {QStringLiteral("-u"), f.scriptPath}};
    for (const QStringList &arguments : commandLines) {
        f.dialogs.reset();
        f.dialogs.expectMessage(expected);
        QCOMPARE(f.runProgram(arguments), 0);
        QCOMPARE(f.dialogs.shown().size(), 1);
        const test::ShownDialog &about = f.dialogs.shown().first();
        QCOMPARE(about.text, expected);
        QCOMPARE(about.caption, QStringLiteral("バージョン情報"));
        QCOMPARE(about.messageKind, MessageKind::Information);
        QCOMPARE(about.buttons, MessageButtons(MessageButton::Ok));
    }
    QVERIFY(QFileInfo::exists(f.scriptPath));
}

void TestUninstallEngine::warningsInOrderThenStartQuestionNo() {
    Fixture f;
    f.registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick", "a", "1");
    f.writeFile(f.inApp(QStringLiteral("Ruvex")));
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[Warning]"),
                   QStringLiteral("最初の警告"), QStringLiteral("二行目"), QStringLiteral("end;"),
                   QStringLiteral("[DeleteReg]"), QStringLiteral("Inst=Pomwick"),
                   QStringLiteral("end;"), QStringLiteral("[Warning]"), QStringLiteral("次の警告"),
                   QStringLiteral("end;"), QStringLiteral("[DeleteFile]"), QStringLiteral("Ruvex"),
                   QStringLiteral("UnRuvex.inf"), QStringLiteral("end;")});
    f.dialogs.expectMessage(QStringLiteral("最初の警告"))
        .expectMessage(QStringLiteral("次の警告"))
        .expectMessage(startQuestionText(), ResultNo);
    QCOMPARE(f.runProgram(), 0); // no report follows a No

    f.verifyBoxes();
    const QList<test::ShownDialog> &shown = f.dialogs.shown();
    QCOMPARE(shown.at(0).text, QStringLiteral("最初の警告\r\n二行目"));
    QCOMPARE(shown.at(0).messageKind, MessageKind::Warning);
    QCOMPARE(shown.at(1).text, QStringLiteral("次の警告"));
    QCOMPARE(shown.at(2).text, startQuestionText());
    QCOMPARE(shown.at(2).messageKind, MessageKind::Confirmation);
    QCOMPARE(shown.at(2).buttons, MessageButton::Yes | MessageButton::No);
    // Nothing changed.
    QVERIFY(f.registry.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"));
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("Ruvex"))));
    QVERIFY(QFileInfo::exists(f.scriptPath));
}

void TestUninstallEngine::deleteRegLines() {
    Fixture f;
    Registry &r = f.registry;
    r.writeString(RegRoot::LocalMachine, kUninstallList + "AppOne", "DisplayName", "one");
    r.writeString(RegRoot::LocalMachine, kUninstallList + "AppTwo", "DisplayName", "two");
    r.writeString(RegRoot::LocalMachine, kUninstallList + "Other", "DisplayName", "other");
    r.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick\\Window", "Top", "1");
    r.writeString(RegRoot::CurrentUser, "Software\\Vesk\\App\\Sub\\Deep", "x", "1");
    r.writeString(RegRoot::CurrentUser, "Software\\Vesk\\App", "y", "2");
    r.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Kept", "z", "3");
    r.writeString(RegRoot::ClassesRoot, ".jmf", "", "JMFFile");
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[DeleteReg]"),
                   QStringLiteral("Key=HCU\\Software\\Vesk\\App"), QStringLiteral("Uninst=AppOne"),
                   QStringLiteral("Uninst=AppTwo"), QStringLiteral("Inst=Pomwick"),
                   QStringLiteral("Key=XYZ\\Software\\Vesk\\Kept"),
                   QStringLiteral("Key=HCU\\Software\\Vesk\\NoSuchKey"),
                   // Nameless lines would take the whole list, vendor key or root.
                   QStringLiteral("Uninst="), QStringLiteral("Inst="), QStringLiteral("Key=HCR"),
                   QStringLiteral("Key=HCR\\"), QStringLiteral("end;")});
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(settingsQuestionText(), ResultYes);
    const UninstallResult result = f.runEngine();
    f.verifyBoxes();
    QVERIFY(result.runCompleted);
    QVERIFY(result.settingsDeleted);
    QVERIFY(!result.folderRemoved);

    QVERIFY(!r.keyExists(RegRoot::LocalMachine, kUninstallList + "AppOne"));
    QVERIFY(!r.keyExists(RegRoot::LocalMachine, kUninstallList + "AppTwo"));
    QVERIFY(r.keyExists(RegRoot::LocalMachine, kUninstallList + "Other"));
    QVERIFY(!r.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"));
    QVERIFY(!r.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\App\\Sub\\Deep"));
    QVERIFY(!r.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\App"));
    QVERIFY(r.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Kept"));
    QVERIFY(r.readValue(RegRoot::ClassesRoot, ".jmf", ""));
}

void TestUninstallEngine::settingsQuestionNoKeepsKeys() {
    Fixture f;
    f.registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick", "a", "1");
    f.registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Second", "a", "1");
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[DeleteReg]"),
                   QStringLiteral("Inst=Pomwick"), QStringLiteral("end;"),
                   QStringLiteral("[DeleteReg]"), QStringLiteral("Inst=Second"),
                   QStringLiteral("end;")});
    // Each section asks on its own.
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(settingsQuestionText(), ResultNo)
        .expectMessage(settingsQuestionText(), ResultYes)
        .expectMessage(finalReportText(false, true));
    QCOMPARE(f.runProgram(), 0);
    QVERIFY(f.registry.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"));
    QVERIFY(!f.registry.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Second"));
}

void TestUninstallEngine::createRegLines() {
    Fixture f;
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[CreateReg]"),
                   QStringLiteral("Key=HCU\\Software\\Vesk\\New\\Sub"),
                   QStringLiteral("String=,hello"), QStringLiteral("String=Name,a,b"),
                   QStringLiteral("String=表示,ソフト"), QStringLiteral("Key=HCR\\.abc"),
                   QStringLiteral("String=,AbcFile"), QStringLiteral("end;")});
    f.dialogs.expectMessage(startQuestionText(), ResultYes);
    const UninstallResult result = f.runEngine();
    QVERIFY(result.runCompleted);
    QVERIFY(!result.settingsDeleted);

    auto value = [&f](RegRoot root, const QByteArray &path, const QByteArray &name) {
        const std::optional<RegValue> v = f.registry.readValue(root, path, name);
        return v && v->type == RegType::Sz ? v->data : QByteArray("<none>");
    };
    const QByteArray key = "Software\\Vesk\\New\\Sub";
    QCOMPARE(value(RegRoot::CurrentUser, key, ""), QByteArray("hello"));
    QCOMPARE(value(RegRoot::CurrentUser, key, "Name"), QByteArray("a,b"));
    QCOMPARE(value(RegRoot::CurrentUser, key, sj(u"表示")), sj(u"ソフト"));
    QCOMPARE(value(RegRoot::ClassesRoot, ".abc", ""), QByteArray("AbcFile"));
    // Later values went to the key opened last, not to the first one.
    QCOMPARE(f.registry.valueNames(RegRoot::CurrentUser, key).size(), 3);
}

void TestUninstallEngine::passesRunInTheirOrder() {
    Fixture f;
    f.registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick", "Old", "1");
    f.writeFile(f.inApp(QStringLiteral("a.txt")));
    f.writeFile(f.inApp(QStringLiteral("c.txt")));
    f.writeFile(f.inApp(QStringLiteral("d.txt")));
    // Registry deletions, then creations, whatever their places; file sections in file order.
    f.writeScript(
        {QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[RenameFile]"),
         QStringLiteral("a.txt,b.txt"), QStringLiteral("end;"), QStringLiteral("[CreateReg]"),
         QStringLiteral("Key=HCU\\Software\\Vesk\\Pomwick"), QStringLiteral("String=Fresh,1"),
         QStringLiteral("end;"), QStringLiteral("[DeleteFile]"), QStringLiteral("b.txt"),
         QStringLiteral("c.txt"), QStringLiteral("end;"), QStringLiteral("[DeleteReg]"),
         QStringLiteral("Inst=Pomwick"), QStringLiteral("end;"), QStringLiteral("[RenameFile]"),
         QStringLiteral("d.txt,c.txt"), QStringLiteral("end;")});
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(settingsQuestionText(), ResultYes);
    QVERIFY(f.runEngine().runCompleted);
    QCOMPARE(f.registry.valueNames(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"),
             QList<QByteArray>{"Fresh"});
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("a.txt"))));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("b.txt"))));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("d.txt"))));
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("c.txt"))));
}

void TestUninstallEngine::finalReports_data() {
    QTest::addColumn<int>("settingsAnswer");
    QTest::addColumn<bool>("saveFolder");
    QTest::addColumn<bool>("folderRemoved");
    QTest::newRow("everything deleted") << int(ResultYes) << false << true;
    QTest::newRow("SaveFolder keeps the folder") << int(ResultYes) << true << false;
    QTest::newRow("settings kept") << int(ResultNo) << false << true;
    QTest::newRow("settings and folder kept") << int(ResultNo) << true << false;
}

void TestUninstallEngine::finalReports() {
    QFETCH(int, settingsAnswer);
    QFETCH(bool, saveFolder);
    QFETCH(bool, folderRemoved);
    Fixture f;
    f.registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick", "a", "1");
    f.writeFile(f.inApp(QStringLiteral("Ruvex")));
    f.writeFile(f.inApp(QStringLiteral("Ruvex.hlp")));
    QStringList lines{QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[DeleteReg]"),
                      QStringLiteral("Inst=Pomwick"),        QStringLiteral("end;"),
                      QStringLiteral("[DeleteFile]"),        QStringLiteral("Ruvex"),
                      QStringLiteral("Ruvex.hlp"),           QStringLiteral("UnRuvex.inf")};
    if (saveFolder)
        lines << QStringLiteral("SaveFolder");
    lines << QStringLiteral("end;");
    f.writeScript(lines);

    const bool settingsDeleted = settingsAnswer == ResultYes;
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(settingsQuestionText(), settingsAnswer)
        .expectMessage(finalReportText(folderRemoved, settingsDeleted));
    QCOMPARE(f.runProgram(), 0);
    f.verifyBoxes();
    const test::ShownDialog &report = f.dialogs.shown().last();
    QCOMPARE(report.text, finalReportText(folderRemoved, settingsDeleted));
    QCOMPARE(report.messageKind, MessageKind::Information);
    QCOMPARE(QFileInfo::exists(f.appFolder), !folderRemoved);
    QVERIFY(!QFileInfo::exists(f.scriptPath));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("Ruvex.hlp"))));
    QCOMPARE(f.registry.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"),
             !settingsDeleted);
}

void TestUninstallEngine::renameFileLines() {
    Fixture f;
    const QString windows = Folders::windowsFolder();
    f.writeFile(windows + QStringLiteral("old.ini"));
    f.writeFile(f.inApp(QStringLiteral("a.txt")));
    f.writeFile(f.inApp(QStringLiteral("keep.txt")));
    f.writeFile(f.inApp(QStringLiteral("taken.txt")));
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[RenameFile]"),
                   QStringLiteral("WinDir\\old.ini,new.ini"), QStringLiteral("a.txt,b.txt"),
                   QStringLiteral("keep.txt,taken.txt"), QStringLiteral("missing.txt,x.txt"),
                   QStringLiteral("keep.txt"), QStringLiteral("end;")});
    f.dialogs.expectMessage(startQuestionText(), ResultYes);
    QVERIFY(f.runEngine().runCompleted);
    QVERIFY(!QFileInfo::exists(windows + QStringLiteral("old.ini")));
    QVERIFY(QFileInfo::exists(windows + QStringLiteral("new.ini")));
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("b.txt"))));
    // An existing file is never replaced by a rename.
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("keep.txt"))));
    QCOMPARE(test::readFileBytes(f.inApp(QStringLiteral("taken.txt"))), QByteArray("data"));
}

void TestUninstallEngine::deleteFileDeletesOnlyNamedFiles() {
    Fixture f;
    const QString windows = Folders::windowsFolder();
    const QString system = Folders::systemFolder();
    f.writeFile(windows + QStringLiteral("app.ini"));
    f.writeFile(system + QStringLiteral("app.dll"));
    f.writeFile(f.inApp(QStringLiteral("sub/inner.txt")));
    f.writeFile(f.inApp(QStringLiteral("表.txt")));
    f.writeFile(f.root.filePath(QStringLiteral("outside.txt")));
    f.writeFile(f.inApp(QStringLiteral("Ruvex")));
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[DeleteFile]"),
                   QStringLiteral("WinDir\\app.ini"), QStringLiteral("SysDir\\app.dll"),
                   QStringLiteral("表.txt"), QStringLiteral("..\\outside.txt"),
                   // Lines that name no file or a folder delete nothing.
                   QString(), QStringLiteral("sub"), QStringLiteral("sub\\"),
                   QStringLiteral("WinDir\\"), QStringLiteral("SysDir\\"),
                   QStringLiteral("missing.txt"), QStringLiteral("end;")});
    f.dialogs.expectMessage(startQuestionText(), ResultYes);
    const UninstallResult result = f.runEngine();
    QVERIFY(result.runCompleted);
    QVERIFY(!QFileInfo::exists(windows + QStringLiteral("app.ini")));
    QVERIFY(!QFileInfo::exists(system + QStringLiteral("app.dll")));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("表.txt"))));
    QVERIFY(!QFileInfo::exists(f.root.filePath(QStringLiteral("outside.txt"))));
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("sub/inner.txt"))));
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("Ruvex"))));
    QVERIFY(QFileInfo(windows).isDir());
    QVERIFY(QFileInfo(system).isDir());
    // Files remain, so the folder stays.
    QVERIFY(!result.folderRemoved);
    QVERIFY(QFileInfo(f.appFolder).isDir());
}

// A name whose bytes are not exact Shift-JIS is never decoded into some other
// name: the display decoder would turn "lead" + lone lead byte into "lead".
void TestUninstallEngine::inexactFileNamesAreNotActedOn_data() {
    QTest::addColumn<QString>("header");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>(
        "survivor"); // in the app folder, or the Windows folder after "WinDir/"
    const QString del = QStringLiteral("[DeleteFile]");
    const QString ren = QStringLiteral("[RenameFile]");
    QTest::newRow("delete: lone lead byte")
        << del << QByteArray("lead\x82") << QStringLiteral("lead");
    QTest::newRow("delete: lead byte before a blank")
        << del << QByteArray("a\x82 b") << QStringLiteral("a\uFFFD b");
    QTest::newRow("delete: code without a character")
        << del << QByteArray("a\x85\x40") << QStringLiteral("a\uFFFD");
    QTest::newRow("delete in the Windows folder")
        << del << QByteArray("WinDir\\lead\x82") << QStringLiteral("WinDir/lead");
    QTest::newRow("rename from an inexact name")
        << ren << QByteArray("lead\x82,renamed") << QStringLiteral("lead");
    QTest::newRow("rename to an inexact name")
        << ren << QByteArray("lead,new\x82") << QStringLiteral("lead");
}

void TestUninstallEngine::inexactFileNamesAreNotActedOn() {
    QFETCH(QString, header);
    QFETCH(QByteArray, line);
    QFETCH(QString, survivor);
    Fixture f;
    const QString windowsPrefix = QStringLiteral("WinDir/");
    const QString survivorPath = survivor.startsWith(windowsPrefix)
                                     ? Folders::windowsFolder() + survivor.mid(windowsPrefix.size())
                                     : f.inApp(survivor);
    f.writeFile(survivorPath);
    f.writeFile(f.inApp(QStringLiteral("after.txt")));
    const bool rename = header == QStringLiteral("[RenameFile]");
    // The line is passed over; the lines after it still run.
    QVERIFY(test::writeFileBytes(
        f.scriptPath, scriptText({QStringLiteral("//Orlin-Uninstaller"), header}) + line + "\r\n" +
                          scriptText({rename ? QStringLiteral("after.txt,later.txt")
                                             : QStringLiteral("after.txt"),
                                      QStringLiteral("end;")})));
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(finalReportText(false, false));
    QCOMPARE(f.runProgram(), 0);
    f.verifyBoxes();

    QCOMPARE(test::readFileBytes(survivorPath), QByteArray("data"));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("after.txt"))));
    QStringList expected{QStringLiteral("UnRuvex.inf")};
    if (!survivor.startsWith(windowsPrefix))
        expected << survivor;
    if (rename)
        expected << QStringLiteral("later.txt");
    expected.sort();
    QCOMPARE(QDir(f.appFolder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name), expected);
}

void TestUninstallEngine::inexactRegistryLinesStop_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("shownName"); // empty: the key was not opened
    // An inexact key is never opened, so the value after it has no key.
    QTest::newRow("key: lead byte before a blank")
        << QByteArray("Key=HCU\\Software\\Vesk\\New\x82 A") << QString();
    QTest::newRow("value name: lone lead byte")
        << QByteArray("String=V\x82,1") << QStringLiteral("V") + QChar(QChar::ReplacementCharacter);
    QTest::newRow("value text: lone lead byte")
        << QByteArray("String=V,1\x82") << QStringLiteral("V");
}

void TestUninstallEngine::inexactRegistryLinesStop() {
    QFETCH(QByteArray, line);
    QFETCH(QString, shownName);
    Fixture f;
    const QString sig = QStringLiteral("//Orlin-Uninstaller");
    const QString path = QDir::toNativeSeparators(f.scriptPath);
    QByteArray script;
    QString errorText;
    if (shownName.isEmpty()) {
        script = scriptText({sig, QStringLiteral("[CreateReg]")}) + line + "\r\n" +
                 scriptText({QStringLiteral("String=V,1")});
        errorText = noOpenKeyText(path, 4, QStringLiteral("V"));
    } else {
        script = scriptText({sig, QStringLiteral("[CreateReg]"),
                             QStringLiteral("Key=HCU\\Software\\Vesk\\New")}) +
                 line + "\r\n";
        errorText = inexactValueText(path, 4, shownName);
    }
    script += scriptText({QStringLiteral("end;"), QStringLiteral("[DeleteFile]"),
                          QStringLiteral("UnRuvex.inf"), QStringLiteral("end;")});
    QVERIFY(test::writeFileBytes(f.scriptPath, script));
    f.dialogs.expectMessage(startQuestionText(), ResultYes).expectMessage(errorText);
    QCOMPARE(f.runProgram(), 1);
    f.verifyBoxes();
    QCOMPARE(f.dialogs.shown().last().text, errorText);
    // Nothing was written under any name, and the later section did not run.
    QCOMPARE(f.registry.subkeyNames(RegRoot::CurrentUser, "Software\\Vesk"),
             shownName.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{"New"});
    QVERIFY(f.registry.valueNames(RegRoot::CurrentUser, "Software\\Vesk\\New").isEmpty());
    QVERIFY(QFileInfo::exists(f.scriptPath));
}

void TestUninstallEngine::copyAndMoveSectionsAreSkipped() {
    Fixture f;
    f.writeFile(f.inApp(QStringLiteral("a.txt")));
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[CopyFile]"),
                   QStringLiteral("a.txt,b.txt"), QStringLiteral("end;"),
                   QStringLiteral("[MoveFile]"), QStringLiteral("a.txt,c.txt"),
                   QStringLiteral("end;")});
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(finalReportText(false, false));
    QCOMPARE(f.runProgram(), 0);
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("a.txt"))));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("b.txt"))));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("c.txt"))));
}

void TestUninstallEngine::scriptDeletedByEarlierSectionStops() {
    Fixture f;
    f.writeFile(f.inApp(QStringLiteral("first.txt")));
    f.writeFile(f.inApp(QStringLiteral("second.txt")));
    f.registry.writeString(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick", "a", "1");
    f.writeScript(
        {QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[DeleteReg]"),
         QStringLiteral("Inst=Pomwick"), QStringLiteral("end;"), QStringLiteral("[DeleteFile]"),
         QStringLiteral("first.txt"), QStringLiteral("UnRuvex.inf"), QStringLiteral("end;"),
         QStringLiteral("[DeleteFile]"), QStringLiteral("second.txt"), QStringLiteral("end;")});
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(settingsQuestionText(), ResultYes)
        .expectMessage(scriptUnreadableText(QDir::toNativeSeparators(f.scriptPath)));
    QCOMPARE(f.runProgram(), 1); // no final report
    f.verifyBoxes();
    QCOMPARE(f.dialogs.shown().last().messageKind, MessageKind::Error);
    // What ran stays done; the later section did not run.
    QVERIFY(!f.registry.keyExists(RegRoot::CurrentUser, "Software\\Vesk\\Pomwick"));
    QVERIFY(!QFileInfo::exists(f.inApp(QStringLiteral("first.txt"))));
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("second.txt"))));
}

void TestUninstallEngine::stoppingErrors_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("startAsked");
    QTest::addColumn<QString>("errorText"); // a part of it
    QTest::addColumn<bool>("fileDeleted");  // did a section before the error run?
    const QString sig = QStringLiteral("//Orlin-Uninstaller");
    const QString del = QStringLiteral("[DeleteFile]");
    const QString gone = QStringLiteral("gone.txt");
    const QString end = QStringLiteral("end;");
    QTest::newRow("empty script") << QByteArray() << false
                                  << QStringLiteral("\" UnRuvex.inf \"は空のファイルです。")
                                  << false;
    QTest::newRow("signature on the second line")
        << scriptText({QStringLiteral("; uninstall"), sig}) << false << wrongScriptText() << false;
    QTest::newRow("warning without end")
        << scriptText({sig, QStringLiteral("[Warning]"), QStringLiteral("text")}) << false
        << QStringLiteral("の 2 行目の [Warning] に \"end;\" の行がありません。") << false;
    QTest::newRow("warning as last line")
        << scriptText({sig, QStringLiteral("[Warning]")}) << false
        << QStringLiteral("の 2 行目の [Warning] に \"end;\" の行がありません。") << false;
    QTest::newRow("file section without end after one that ran")
        << scriptText({sig, del, gone, end, del, QStringLiteral("never.txt")}) << true
        << QStringLiteral("の 5 行目の [DeleteFile] に \"end;\" の行がありません。") << true;
    QTest::newRow("value without a key")
        << scriptText({sig, del, gone, end, QStringLiteral("[CreateReg]"),
                       QStringLiteral("String=Name,x"), end})
        << true << QStringLiteral("の 6 行目: 値 \"Name\" を書き込むキーが開かれていません。")
        << false;
    QTest::newRow("default value after an unknown root")
        << scriptText({sig, QStringLiteral("[CreateReg]"), QStringLiteral("Key=HKCU\\Software\\X"),
                       QStringLiteral("String=,x"), end})
        << true << QStringLiteral("の 4 行目: 値 \"(既定)\" を書き込むキーが開かれていません。")
        << false;
}

void TestUninstallEngine::stoppingErrors() {
    QFETCH(QByteArray, script);
    QFETCH(bool, startAsked);
    QFETCH(QString, errorText);
    QFETCH(bool, fileDeleted);
    Fixture f;
    QVERIFY(test::writeFileBytes(f.scriptPath, script));
    f.writeFile(f.inApp(QStringLiteral("gone.txt")));
    f.writeFile(f.inApp(QStringLiteral("never.txt")));
    if (startAsked)
        f.dialogs.expectMessage(startQuestionText(), ResultYes);
    f.dialogs.expectMessage(errorText);
    QCOMPARE(f.runProgram(), 1); // and no final report
    f.verifyBoxes();
    QCOMPARE(f.dialogs.shown().last().messageKind, MessageKind::Error);
    QCOMPARE(QFileInfo::exists(f.inApp(QStringLiteral("gone.txt"))), !fileDeleted);
    QVERIFY(QFileInfo::exists(f.inApp(QStringLiteral("never.txt"))));
    QVERIFY(QFileInfo::exists(f.scriptPath));
}

void TestUninstallEngine::refusedValueStops() {
    Fixture f;
    f.writeScript({QStringLiteral("//Orlin-Uninstaller"), QStringLiteral("[CreateReg]"),
                   QStringLiteral("Key=HCU\\Software\\Vesk\\New"), QStringLiteral("String=Ok,1"),
                   QStringLiteral("String=Bad,2"), QStringLiteral("String=Later,3"),
                   QStringLiteral("end;"), QStringLiteral("[DeleteFile]"),
                   QStringLiteral("UnRuvex.inf"), QStringLiteral("end;")});
    RefusingRegistry refusing(f.platformRegistry, "Bad");
    f.dialogs.expectMessage(startQuestionText(), ResultYes)
        .expectMessage(valueRefusedText(QDir::toNativeSeparators(f.scriptPath), 5,
                                        QStringLiteral("Bad"),
                                        QStringLiteral("HCU\\Software\\Vesk\\New"),
                                        QStringLiteral("書き込みが拒否されました")));
    const UninstallResult result = f.runEngine(&refusing);
    QVERIFY(result.stoppedByError);
    QVERIFY(!result.runCompleted);
    QVERIFY(f.registry.readValue(RegRoot::CurrentUser, "Software\\Vesk\\New", "Ok"));
    QVERIFY(!f.registry.readValue(RegRoot::CurrentUser, "Software\\Vesk\\New", "Later"));
    QVERIFY(QFileInfo::exists(f.scriptPath));
}

// A registry file the reader refuses (a hand-written value with "\T") is put
// aside by the registry; the uninstaller says so in a box of its own, naming
// the file and its copy, and goes on with the fresh root.
void TestUninstallEngine::damagedRegistryFileIsReported_data() {
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<bool>("settingsDeleted");
    const QString end = QStringLiteral("end;");
    QTest::newRow("met by a deletion")
        << QStringList{QStringLiteral("[DeleteReg]"), QStringLiteral("Inst=Pomwick"),
                       QStringLiteral("Uninst=Pomwick2.0b"), end}
        << true;
    QTest::newRow("met by a creation")
        << QStringList{QStringLiteral("[CreateReg]"),
                       QStringLiteral("Key=HCU\\Software\\Vesk\\Fresh"),
                       QStringLiteral("String=a,1"), end}
        << false;
}

void TestUninstallEngine::damagedRegistryFileIsReported() {
    QFETCH(QStringList, sections);
    QFETCH(bool, settingsDeleted);
    Fixture f;
    f.registry.writeString(RegRoot::LocalMachine, kUninstallList + "Pomwick2.0b", "DisplayName",
                           "Kelvari 2.0b");
    const QString userFile = f.registry.fileFor(RegRoot::CurrentUser);
    const QByteArray damaged = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick]\r\n"
                               "\"SaveDir\"=\"C:\\Tools\"\r\n";
    QVERIFY(test::writeFileBytes(userFile, damaged));
    f.writeScript(QStringList{QStringLiteral("//Orlin-Uninstaller")}
                  << sections
                  << QStringList{QStringLiteral("[DeleteFile]"), QStringLiteral("UnRuvex.inf"),
                                 QStringLiteral("end;")});

    f.dialogs.expectMessage(startQuestionText(), ResultYes);
    if (settingsDeleted)
        f.dialogs.expectMessage(settingsQuestionText(), ResultYes);
    f.dialogs.expectMessage(QDir::toNativeSeparators(userFile))
        .expectMessage(finalReportText(true, settingsDeleted));
    QCOMPARE(f.runProgram(), 0);
    f.verifyBoxes();

    const QStringList copies =
        QDir(f.registry.folder()).entryList({QStringLiteral("HKEY_CURRENT_USER.reg.damaged-*")});
    QCOMPARE(copies.size(), 1);
    const QString copy = QDir(f.registry.folder()).filePath(copies.first());
    QCOMPARE(test::readFileBytes(copy), damaged);
    const test::ShownDialog &report = f.dialogs.shown().at(settingsDeleted ? 2 : 1);
    QCOMPARE(report.messageKind, MessageKind::Error);
    QCOMPARE(report.buttons, MessageButtons(MessageButton::Ok));
    QVERIFY2(report.text.contains(QDir::toNativeSeparators(copy)), qPrintable(report.text));
    // The run went on: the later line ran, and the step that met the damage was
    // made on the fresh root.
    if (settingsDeleted) {
        QVERIFY(!f.registry.keyExists(RegRoot::LocalMachine, kUninstallList + "Pomwick2.0b"));
    } else {
        QCOMPARE(f.registry.readValue(RegRoot::CurrentUser, "Software\\Vesk\\Fresh", "a")->data,
                 QByteArray("1"));
    }
}

QTEST_GUILESS_MAIN(TestUninstallEngine)
#include "tst_uninstallengine.moc"
