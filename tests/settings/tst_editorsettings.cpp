// The editor's typed settings: the layout of the product key, the defaults and
// the encodings, read from files as earlier runs stored them.

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/editorsettings.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

constexpr RegRoot HKCU = RegRoot::CurrentUser;
const QByteArray kProduct = "Software\\Vesk\\Pomwick";

// Stands for the program's folder in the tables below.
const QString kProgramFolder = QStringLiteral("<program folder>");

// A registry in a temporary folder, with the program said to live in a writable
// folder "kelvari" beside it (the default folder for new files).
struct Fixture {
    TestDataRoot root;
    Registry registry{root.filePath(QStringLiteral("registry"))};
    QString programFolder = root.filePath(QStringLiteral("kelvari"));

    Fixture() {
        QDir().mkpath(programFolder);
        Folders::setProgramPathOverride(programFolder + QStringLiteral("/Ruvex"));
    }
    ~Fixture() { Folders::setProgramPathOverride({}); }

    void set(const QByteArray &section, const QByteArray &name, const QByteArray &text) {
        registry.writeString(HKCU, kProduct + '\\' + section, name, text);
    }
    QByteArray stored(const QByteArray &section, const QByteArray &name) const {
        const std::optional<RegValue> value =
            registry.readValue(HKCU, kProduct + '\\' + section, name);
        return value ? value->data : QByteArray("<absent>");
    }
    QList<QByteArray> names(const QByteArray &section) const {
        return registry.valueNames(HKCU, kProduct + '\\' + section);
    }
    QByteArray fileBytes() const { return readFileBytes(registry.fileFor(HKCU)); }
};

} // namespace

Q_DECLARE_METATYPE(kelvari::GeneralSettings)

namespace kelvari {
char *toString(const GeneralSettings &g) {
    return QTest::toString(QStringLiteral("{%1, %2, %3, %4, \"%5\"}")
                               .arg(g.MaxRow)
                               .arg(g.ShowFullPath)
                               .arg(g.ShowAtokUtility)
                               .arg(g.ShowAtokHelp)
                               .arg(g.SaveDir));
}
char *toString(const WindowPlacement &p) {
    return QTest::toString(
        QStringLiteral("{%1, %2, %3, %4}").arg(p.Left).arg(p.Top).arg(p.Height).arg(p.Width));
}
} // namespace kelvari

class TestEditorSettings : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesTheDefaults() {
        Fixture f;
        EditorSettings settings(f.registry);
        QCOMPARE(settings.readWindow(), (WindowPlacement{0, 0, 425, 602}));
        QCOMPARE(settings.readColumnWidths(), (ColumnWidths{120, 104, 68}));
        QCOMPARE(settings.readGeneral(), (GeneralSettings{100, true, true, true, f.programFolder}));
        QCOMPARE(EditorSettings::defaultSaveDir(), f.programFolder);
        QVERIFY(settings.readAtokFolder().isEmpty());
        QVERIFY(settings.readHistory().isEmpty());
        // Reading leaves the product key and the history section, nothing else.
        QCOMPARE(f.registry.subkeyNames(HKCU, kProduct), (QList<QByteArray>{"History"}));
        QVERIFY(f.names("History").isEmpty());
    }

    // A file exactly as an earlier run left it reads back the same values.
    void fileOfAnEarlierRunReadsTheSame() {
        Fixture f;
        const QByteArray file =
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesk]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick]\r\n"
            "\"Version\"=\"2.0b\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick\\Window]\r\n"
            "\"Left\"=\"-8\"\r\n\"Top\"=\"12\"\r\n\"Height\"=\"525\"\r\n\"Width\"=\"643\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick\\Grid]\r\n"
            "\"Yomi\"=\"140\"\r\n\"Tango\"=\"0x20\"\r\n\"Hinsi\"=\"$1F\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick\\General]\r\n"
            "\"MaxRow\"=\"50\"\r\n\"FullPath\"=\"0\"\r\n\"ShowAtokUtility\"=\"2\"\r\n"
            "\"ShowAtokHelp\"=\"0\"\r\n" +
            sj(u"\"SaveDir\"=\"D:\\\\ソフト\\\\表\"\r\n\r\n") +
            "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick\\Atok]\r\n"
            "\"Path\"=\"C:\\\\ATOK10\\\\\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick\\History]\r\n"
            "\"File2\"=\"C:\\\\b.jmf\"\r\n" +
            sj(u"\"File1\"=\"C:\\\\辞書\\\\a.jmf\"\r\n") + "\"Other\"=\"C:\\\\c.jmf\"\r\n\r\n";
        QVERIFY(writeFileBytes(f.registry.fileFor(HKCU), file));

        EditorSettings settings(f.registry);
        QCOMPARE(settings.readWindow(), (WindowPlacement{-8, 12, 525, 643}));
        QCOMPARE(settings.readColumnWidths(), (ColumnWidths{140, 32, 31}));
        QCOMPARE(settings.readGeneral(),
                 (GeneralSettings{50, false, true, false, QStringLiteral("D:\\ソフト\\表")}));
        QCOMPARE(settings.readAtokFolder(), QStringLiteral("C:\\ATOK10\\"));
        // Every value of the section, in stored order, whatever its name.
        QCOMPARE(settings.readHistory(),
                 (QStringList{QStringLiteral("C:\\b.jmf"), QStringLiteral("C:\\辞書\\a.jmf"),
                              QStringLiteral("C:\\c.jmf")}));
        QCOMPARE(f.fileBytes(), file); // reading wrote nothing
    }

    void generalValuesAsStored_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<GeneralSettings>("expected");
        const QString dir = kProgramFolder;
        QTest::newRow("hex MaxRow") << QByteArray("MaxRow") << QByteArray("0x20")
                                    << GeneralSettings{32, true, true, true, dir};
        QTest::newRow("MaxRow not a number") << QByteArray("MaxRow") << QByteArray("abc")
                                             << GeneralSettings{100, true, true, true, dir};
        // The limit is the main window's business; the dialog shows the nearer bound.
        QTest::newRow("MaxRow out of range") << QByteArray("MaxRow") << QByteArray("5000")
                                             << GeneralSettings{5000, true, true, true, dir};
        QTest::newRow("FullPath 2 is true") << QByteArray("FullPath") << QByteArray("2")
                                            << GeneralSettings{100, true, true, true, dir};
        QTest::newRow("FullPath 0 is false") << QByteArray("FullPath") << QByteArray("0")
                                             << GeneralSettings{100, false, true, true, dir};
        QTest::newRow("empty boolean is the default")
            << QByteArray("ShowAtokHelp") << QByteArray()
            << GeneralSettings{100, true, true, true, dir};
        QTest::newRow("empty SaveDir stays empty")
            << QByteArray("SaveDir") << QByteArray() << GeneralSettings{100, true, true, true, {}};
    }
    void generalValuesAsStored() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, text);
        QFETCH(GeneralSettings, expected);
        Fixture f;
        if (expected.SaveDir == kProgramFolder)
            expected.SaveDir = f.programFolder;
        f.set("General", name, text);
        QCOMPARE(EditorSettings(f.registry).readGeneral(), expected);
    }

    void usableMaxRow_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("rows");
        QTest::newRow("lowest") << 1 << 1;
        QTest::newRow("highest") << 999 << 999;
        QTest::newRow("zero") << 0 << 100;
        QTest::newRow("negative") << -5 << 100;
        QTest::newRow("too many") << 1000 << 100;
    }
    void usableMaxRow() {
        QFETCH(int, stored);
        QFETCH(int, rows);
        QCOMPARE(EditorSettings::usableMaxRow(stored), rows);
    }

    // Each section is written in its fixed order, integers as decimal text and
    // booleans as "1" and "0", all as plain text values.
    void writesKeepTheLayout() {
        Fixture f;
        EditorSettings settings(f.registry);
        settings.writeWindow({-8, 12, 525, 643});
        settings.writeColumnWidths({140, 124, 68});
        settings.writeGeneral({50, false, true, false, QStringLiteral("D:\\ソフト\\表")});
        settings.writeAtokFolder(QStringLiteral("C:\\ATOK10\\"));
        settings.writeHistory({QStringLiteral("C:\\辞書\\a.jmf"), QStringLiteral("C:\\b.jmf")});

        QCOMPARE(f.names("Window"), (QList<QByteArray>{"Left", "Top", "Height", "Width"}));
        QCOMPARE(f.names("Grid"), (QList<QByteArray>{"Yomi", "Tango", "Hinsi"}));
        QCOMPARE(f.names("General"), (QList<QByteArray>{"MaxRow", "FullPath", "ShowAtokUtility",
                                                        "ShowAtokHelp", "SaveDir"}));
        QCOMPARE(f.names("History"), (QList<QByteArray>{"File1", "File2"}));
        const QList<std::tuple<QByteArray, QByteArray, QByteArray>> expected = {
            {"Window", "Left", "-8"},          {"Window", "Top", "12"},
            {"Window", "Height", "525"},       {"Window", "Width", "643"},
            {"Grid", "Yomi", "140"},           {"Grid", "Tango", "124"},
            {"Grid", "Hinsi", "68"},           {"General", "MaxRow", "50"},
            {"General", "FullPath", "0"},      {"General", "ShowAtokUtility", "1"},
            {"General", "ShowAtokHelp", "0"},  {"General", "SaveDir", sj(u"D:\\ソフト\\表")},
            {"Atok", "Path", "C:\\ATOK10\\"},  {"History", "File1", sj(u"C:\\辞書\\a.jmf")},
            {"History", "File2", "C:\\b.jmf"},
        };
        for (const auto &[section, name, data] : expected) {
            const std::optional<RegValue> value =
                f.registry.readValue(HKCU, kProduct + '\\' + section, name);
            QVERIFY2(value, name.constData());
            QCOMPARE(value->type, RegType::Sz);
            QCOMPARE(value->data, data);
        }
    }

    void historyReplacesTheOldEntries() {
        Fixture f;
        for (const char *name : {"File1", "File2", "File3", "File12", "FileX", "Other"})
            f.set("History", name, "old");
        EditorSettings settings(f.registry);
        // A path Shift-JIS cannot hold is left out without a gap in the numbers.
        settings.writeHistory({QStringLiteral("C:\\a.jmf"), QStringLiteral("C:\\€.jmf"),
                               QStringLiteral("C:\\b.jmf")});
        QCOMPARE(f.names("History"), (QList<QByteArray>{"File1", "File2", "FileX", "Other"}));
        QCOMPARE(f.stored("History", "File1"), QByteArray("C:\\a.jmf"));
        QCOMPARE(f.stored("History", "File2"), QByteArray("C:\\b.jmf"));
        QCOMPARE(f.stored("History", "FileX"), QByteArray("old"));
    }

    void textThatShiftJisCannotHold() {
        Fixture f;
        EditorSettings settings(f.registry);
        settings.writeGeneral({});
        const QByteArray before = f.fileBytes();
        try {
            settings.writeGeneral({50, false, false, false, QStringLiteral("D:\\€")});
            QFAIL("no error");
        } catch (const AppError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("General\\SaveDir")),
                     qPrintable(error.message()));
        }
        QCOMPARE(f.fileBytes(), before); // not even MaxRow

        settings.writeAtokFolder(QStringLiteral("D:\\€\\"));
        QCOMPARE(f.stored("Atok", "Path"), QByteArray());
    }

    void valueOfAnotherTypeStopsTheRead() {
        Fixture f;
        f.registry.writeValue(HKCU, kProduct + "\\General", "FullPath",
                              {RegType::Dword, QByteArray(4, '\0')});
        EditorSettings settings(f.registry);
        try {
            settings.readGeneral();
            QFAIL("no error");
        } catch (const AppError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("General\\FullPath")),
                     qPrintable(error.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestEditorSettings)
#include "tst_editorsettings.moc"
