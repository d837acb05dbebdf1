// The uninstall script's text rules: command line and script path, lines and
// sections, the fixed-position cutting of registry and file lines, the texts.

#include <QDir>
#include <QTest>

#include "platform/sjis.h"
#include "uninstaller/scriptformat.h"
#include "uninstaller/scriptlines.h"
#include "uninstaller/scriptpath.h"
#include "uninstaller/uninstalltexts.h"

using namespace kelvari;
using namespace kelvari::uninst;

Q_DECLARE_METATYPE(std::optional<QString>)

class TestUninstallScript : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void scriptPathRules_data();
    void scriptPathRules();
    void locateScriptIsAbsoluteAndNative();
    void lineBreaks_data();
    void lineBreaks();
    void signature_data();
    void signature();
    void headersAreExact();
    void sectionBodies();
    void registryNameLines();
    void keyLines_data();
    void keyLines();
    void stringLines_data();
    void stringLines();
    void createRegLineKind();
    void fileLines();
    void finalReports_data();
    void finalReports();
    void aboutText();
};

void TestUninstallScript::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<std::optional<QString>>("script");
    const auto none = std::optional<QString>();
    QTest::newRow("spaces rejoin the path")
        << QStringList{QStringLiteral("/u"), QStringLiteral("C:\\Program"),
                       QStringLiteral("Files\\App\\UnRuvex.inf")}
        << std::optional<QString>(QStringLiteral("C:\\Program Files\\App\\UnRuvex.inf"));
    QTest::newRow("one argument") << QStringList{QStringLiteral("/u"), QStringLiteral("C:\\App\\")}
                                  << std::optional<QString>(QStringLiteral("C:\\App\\"));
    QTest::newRow("no arguments") << QStringList{} << none;
    QTest::newRow("switch alone") << QStringList{QStringLiteral("/u")} << none;
    QTest::newRow("switch is case-sensitive")
        << QStringList{QStringLiteral("/U"), QStringLiteral("C:\\App\\")} << none;
    QTest::newRow("other switch") << QStringList{QStringLiteral("-u"), QStringLiteral("x.inf")}
                                  << none;
    QTest::newRow("path not after the switch")
        << QStringList{QStringLiteral("x.inf"), QStringLiteral("/u")} << none;
    QTest::newRow("empty path") << QStringList{QStringLiteral("/u"), QString()} << none;
}

void TestUninstallScript::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(std::optional<QString>, script);
    QCOMPARE(scriptArgument(arguments), script);
}

void TestUninstallScript::scriptPathRules_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("full path") << QStringLiteral("C:\\Program Files\\App\\UnRuvex.inf")
                               << QStringLiteral("C:\\Program Files\\App\\UnRuvex.inf")
                               << QStringLiteral("C:\\Program Files\\App\\")
                               << QStringLiteral("UnRuvex.inf");
    QTest::newRow("folder with separator")
        << QStringLiteral("C:\\App\\") << QStringLiteral("C:\\App\\Uninst.inf")
        << QStringLiteral("C:\\App\\") << QStringLiteral("Uninst.inf");
    QTest::newRow("folder without separator")
        << QStringLiteral("C:\\App") << QStringLiteral("C:\\AppUninst.inf")
        << QStringLiteral("C:\\") << QStringLiteral("AppUninst.inf");
    QTest::newRow("dot only in a folder name")
        << QStringLiteral("C:\\v1.2\\App") << QStringLiteral("C:\\v1.2\\AppUninst.inf")
        << QStringLiteral("C:\\v1.2\\") << QStringLiteral("AppUninst.inf");
    QTest::newRow("drive only") << QStringLiteral("D:") << QStringLiteral("D:Uninst.inf")
                                << QStringLiteral("D:") << QStringLiteral("Uninst.inf");
    QTest::newRow("platform separators")
        << QStringLiteral("/opt/app/UnRuvex.inf") << QStringLiteral("/opt/app/UnRuvex.inf")
        << QStringLiteral("/opt/app/") << QStringLiteral("UnRuvex.inf");
}

void TestUninstallScript::scriptPathRules() {
    QFETCH(QString, argument);
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QCOMPARE(completeScriptPath(argument), path);
    QCOMPARE(folderOf(path), folder);
    QCOMPARE(fileNameOf(path), fileName);
}

void TestUninstallScript::locateScriptIsAbsoluteAndNative() {
    const QString root = QDir::tempPath();
    const ScriptLocation location = locateScript(root + QStringLiteral("\\App\\"));
    QCOMPARE(location.path, QDir::toNativeSeparators(root + QStringLiteral("/App/Uninst.inf")));
    QCOMPARE(location.folder, QDir::toNativeSeparators(root + QStringLiteral("/App/")));
    QCOMPARE(location.fileName, QStringLiteral("Uninst.inf"));

    // A bare name lies in the current folder, which is then the script's folder.
    const ScriptLocation bare = locateScript(QStringLiteral("x.inf"));
    QCOMPARE(bare.folder, QDir::toNativeSeparators(QDir::currentPath() + QLatin1Char('/')));
}

void TestUninstallScript::lineBreaks_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\n\r\nd")
                           << QList<QByteArray>{"a", "b", "c", "", "d"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QList<QByteArray>{"a", "", "b"};
    QTest::newRow("blank only") << QByteArray("\r\n") << QList<QByteArray>{""};
    QTest::newRow("untrimmed") << QByteArray(" end; \r\n") << QList<QByteArray>{" end; "};
}

void TestUninstallScript::lineBreaks() {
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(splitScriptLines(text), lines);
}

void TestUninstallScript::signature_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exact") << QByteArray("//Orlin-Uninstaller") << true;
    QTest::newRow("other case, text around")
        << (sj(u"辞書 //ORLIN-uninstaller ver1") + QByteArray(" x")) << true;
    QTest::newRow("without slashes") << QByteArray("Orlin-Uninstaller") << false;
    QTest::newRow("one slash") << QByteArray("/Orlin-Uninstaller") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestUninstallScript::signature() {
    QFETCH(QByteArray, line);
    QFETCH(bool, accepted);
    QCOMPARE(hasSignature(line), accepted);
}

void TestUninstallScript::headersAreExact() {
    QCOMPARE(sectionHeader("[DeleteFile]"), std::optional(SectionKind::DeleteFile));
    QCOMPARE(sectionHeader("[CopyFile]"), std::optional(SectionKind::CopyFile));
    QCOMPARE(sectionHeader("[deletefile]"), std::nullopt);
    QCOMPARE(sectionHeader(" [Warning]"), std::nullopt);
    QCOMPARE(sectionHeader("[Warning] "), std::nullopt);
    QVERIFY(isSectionEnd("end;"));
    QVERIFY(!isSectionEnd("End;"));
    QVERIFY(!isSectionEnd("end; "));
}

void TestUninstallScript::sectionBodies() {
    const ScriptLines lines{"//Orlin-Uninstaller", "[Warning]", "end;", "text",        "end;",
                            "[DeleteFile]",        "a",         "end;", "[DeleteFile]"};
    // A warning's first line is text even when it reads "end;".
    const auto warning = findSectionBody(lines, 1, SectionKind::Warning);
    QVERIFY(warning);
    QCOMPARE(warning->first, 2);
    QCOMPARE(warning->end, 4);
    const auto files = findSectionBody(lines, 5, SectionKind::DeleteFile);
    QVERIFY(files);
    QCOMPARE(files->first, 6);
    QCOMPARE(files->end, 7);
    QCOMPARE(findSectionBody(lines, 8, SectionKind::DeleteFile), std::nullopt);
    QCOMPARE(findSectionBody(ScriptLines{"sig", "[Warning]"}, 1, SectionKind::Warning),
             std::nullopt);
    QCOMPARE(findSectionBody(ScriptLines{"sig", "[Warning]", "end;"}, 1, SectionKind::Warning),
             std::nullopt);
}

void TestUninstallScript::registryNameLines() {
    QVERIFY(isUninstLine("Uninst=Pomwick2.0b"));
    QVERIFY(!isInstLine("Uninst=Pomwick2.0b"));
    QVERIFY(isInstLine("Inst=Pomwick"));
    QCOMPARE(uninstKeyPath("Uninst=Pomwick2.0b"),
             std::optional<QByteArray>(
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pomwick2.0b"));
    QCOMPARE(instKeyPath("Inst=Pomwick"), std::optional<QByteArray>("Software\\Vesk\\Pomwick"));
    // Cut at the fixed position, wherever the marker stood.
    QCOMPARE(instKeyPath("xInst=Pomwick"), std::optional<QByteArray>("Software\\Vesk\\=Pomwick"));
    // A line without a name would name the whole list or vendor key.
    QCOMPARE(uninstKeyPath("Uninst="), std::nullopt);
    QCOMPARE(instKeyPath("Inst=\\"), std::nullopt);
    // Nor does a name that is not exact Shift-JIS: it is never read as some other key.
    QCOMPARE(uninstKeyPath("Uninst=App\x82 A"), std::nullopt);
    QCOMPARE(instKeyPath("Inst=App\x82"), std::nullopt);
    QCOMPARE(instKeyPath(QByteArray("Inst=") + sj(u"表ソ")),
             std::optional<QByteArray>(QByteArray("Software\\Vesk\\") + sj(u"表ソ")));
}

void TestUninstallScript::keyLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("rootText");
    QTest::addColumn<int>("root"); // -1: not in the table
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("HCR") << QByteArray("Key=HCR\\.jmf") << QByteArray("HCR")
                         << int(RegRoot::ClassesRoot) << QByteArray("\\.jmf");
    QTest::newRow("HCU") << QByteArray("Key=HCU\\Software\\Vesk\\App") << QByteArray("HCU")
                         << int(RegRoot::CurrentUser) << QByteArray("\\Software\\Vesk\\App");
    QTest::newRow("HLM") << QByteArray("Key=HLM\\SOFTWARE\\X") << QByteArray("HLM")
                         << int(RegRoot::LocalMachine) << QByteArray("\\SOFTWARE\\X");
    QTest::newRow("HU") << QByteArray("Key=HU\\.DEFAULT") << QByteArray("HU") << int(RegRoot::Users)
                        << QByteArray("\\.DEFAULT");
    QTest::newRow("HCC") << QByteArray("Key=HCC\\a") << QByteArray("HCC")
                         << int(RegRoot::CurrentConfig) << QByteArray("\\a");
    QTest::newRow("HDD") << QByteArray("Key=HDD\\a") << QByteArray("HDD") << int(RegRoot::DynData)
                         << QByteArray("\\a");
    QTest::newRow("full root name is unknown")
        << QByteArray("Key=HKEY_CURRENT_USER\\a") << QByteArray("HKEY_CURRENT_USER") << -1
        << QByteArray("\\a");
    QTest::newRow("lower case is unknown")
        << QByteArray("Key=hcu\\a") << QByteArray("hcu") << -1 << QByteArray("\\a");
    QTest::newRow("no separator") << QByteArray("Key=HCU") << QByteArray("HCU")
                                  << int(RegRoot::CurrentUser) << QByteArray();
    QTest::newRow("separator before the root")
        << QByteArray("\\Key=HCU") << QByteArray() << -1 << QByteArray("\\Key=HCU");
    QTest::newRow("path that is not exact Shift-JIS has no root")
        << QByteArray("Key=HCU\\lead\x82") << QByteArray("HCU") << -1 << QByteArray("\\lead\x82");
    QTest::newRow("Shift-JIS path kept byte for byte")
        << (QByteArray("Key=HCU\\") + sj(u"表示")) << QByteArray("HCU") << int(RegRoot::CurrentUser)
        << (QByteArray("\\") + sj(u"表示"));
}

void TestUninstallScript::keyLines() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, rootText);
    QFETCH(int, root);
    QFETCH(QByteArray, path);
    QVERIFY(isKeyLine(line));
    const KeyLine key = parseKeyLine(line);
    QCOMPARE(key.rootText, rootText);
    QCOMPARE(key.root ? int(*key.root) : -1, root);
    QCOMPARE(key.path, path);
}

void TestUninstallScript::stringLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("default value")
        << QByteArray("String=,hello") << QByteArray() << QByteArray("hello");
    QTest::newRow("commas stay in the text")
        << QByteArray("String=Name,a,b") << QByteArray("Name") << QByteArray("a,b");
    QTest::newRow("no comma: default value")
        << QByteArray("String=hello") << QByteArray() << QByteArray("hello");
    QTest::newRow("empty text") << QByteArray("String=Name,") << QByteArray("Name") << QByteArray();
    QTest::newRow("Shift-JIS text")
        << (QByteArray("String=Name,") + sj(u"ソフト表")) << QByteArray("Name") << sj(u"ソフト表");
}

void TestUninstallScript::stringLines() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, text);
    QVERIFY(isStringLine(line));
    const StringLine value = parseStringLine(line);
    QCOMPARE(value.name, name);
    QCOMPARE(value.text, text);
}

void TestUninstallScript::createRegLineKind() {
    QCOMPARE(classifyCreateRegLine("Key=HCU\\a"), CreateRegLine::Key);
    QCOMPARE(classifyCreateRegLine("String=Key=1"), CreateRegLine::String);
    QCOMPARE(classifyCreateRegLine("Key=HCU\\String=x"), CreateRegLine::Key);
    QCOMPARE(classifyCreateRegLine("comment"), CreateRegLine::Other);
}

void TestUninstallScript::fileLines() {
    const QString script = QStringLiteral("/s/");
    const QString windows = QStringLiteral("/w/");
    const QString system = QStringLiteral("/w/system/");
    FileLine line = resolveFileLine("WinDir\\old.ini,new.ini", script, windows, system);
    QCOMPARE(line.folder, windows);
    QCOMPARE(line.name, QByteArray("old.ini,new.ini"));
    line = resolveFileLine("SysDir\\a.dll", script, windows, system);
    QCOMPARE(line.folder, system);
    QCOMPARE(line.name, QByteArray("a.dll"));
    // Prefixes are exact; anything else is relative to the script's folder and used whole.
    line = resolveFileLine("windir\\a.ini", script, windows, system);
    QCOMPARE(line.folder, script);
    QCOMPARE(line.name, QByteArray("windir\\a.ini"));

    QCOMPARE(filePathFor(script, "sub\\Ruvex.hlp"),
             script + QDir::toNativeSeparators(QStringLiteral("sub/Ruvex.hlp")));
    // A 0x5C trail byte is part of its character, not a separator.
    QCOMPARE(filePathFor(script, sj(u"表.txt")), script + QStringLiteral("表.txt"));
    QCOMPARE(filePathFor(windows, QByteArray()), QString());
    QCOMPARE(filePathFor(windows, "lead\x82"), QString());
    QVERIFY(isSaveFolderLine("SaveFolder"));
    QVERIFY(!isSaveFolderLine("SaveFolder "));
}

void TestUninstallScript::finalReports_data() {
    QTest::addColumn<bool>("folderRemoved");
    QTest::addColumn<bool>("settingsDeleted");
    QTest::addColumn<QString>("rest");
    QTest::newRow("everything") << true << true
                                << QStringLiteral(
                                       ">>ファイル・フォルダ・設定情報の全てが削除されました。");
    QTest::newRow("files remain")
        << false << true
        << QStringLiteral(">>インストールした以外のファイルが、フォルダ内に残っています。");
    QTest::newRow("settings kept")
        << true << false << QStringLiteral(">>設定情報は、残されました。");
    QTest::newRow("both remain") << false << false
                                 << QStringLiteral(
                                        ">>インストールした以外のファイルが、フォルダ内に"
                                        "残っています。\r\n>>設定情報は、残されました。");
}

void TestUninstallScript::finalReports() {
    QFETCH(bool, folderRemoved);
    QFETCH(bool, settingsDeleted);
    QFETCH(QString, rest);
    QCOMPARE(finalReportText(folderRemoved, settingsDeleted),
             QStringLiteral("アンインストールは無事終了しました。\r\n\r\n") + rest);
}

void TestUninstallScript::aboutText() {
    QCOMPARE(uninst::aboutText(QStringLiteral("1998/05/04")),
             QStringLiteral("Orlin-Uninstaller Ver2.02\r\n\r\n製作日：1998/05/04\r\n\r\n"
                            "このファイルは、製作者の作ったアプリケーションの\r\n"
                            "アンインストールに必要なので、削除しないで下さい。"));
    QCOMPARE(scriptMissingText(QStringLiteral("AppUninst.inf")),
             QStringLiteral(
                 "\" AppUninst.inf \"が見つかりません。\r\nアンインストール出来ませんでした。"));
}

QTEST_GUILESS_MAIN(TestUninstallScript)
#include "tst_uninstallscript.moc"
