#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;

namespace {

constexpr RegRoot HKCU = RegRoot::CurrentUser;
const QByteArray kKey = SettingsStore::kProductKey;

RegValue dword(quint32 n) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return {RegType::Dword, data};
}

} // namespace

Q_DECLARE_METATYPE(RegValue)

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void openingCreatesTheProductKey() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        SettingsStore store(reg);
        QVERIFY(reg.keyExists(HKCU, "Software\\Vesk\\Pomwick"));
        // Reads give defaults and create nothing.
        QCOMPARE(store.ReadIntegerSetting("Window", "Width", 602), 602);
        QCOMPARE(store.ReadBooleanSetting("General", "FullPath", true), true);
        QCOMPARE(store.ReadTextSetting("ErrorDialog", "FontName", sj(u"ＭＳ ゴシック")),
                 sj(u"ＭＳ ゴシック"));
        QCOMPARE(store.ReadTextSetting({}, "Version", {}), QByteArray());
        QVERIFY(reg.subkeyNames(HKCU, kKey).isEmpty());
    }

    void parseInteger_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("value"); // -1 stands for "no number" in rows marked so
        QTest::addColumn<bool>("valid");
        QTest::newRow("decimal") << QByteArray("425") << 425 << true;
        QTest::newRow("negative") << QByteArray("-8") << -8 << true;
        QTest::newRow("plus") << QByteArray("+5") << 5 << true;
        QTest::newRow("0x") << QByteArray("0x20") << 32 << true;
        QTest::newRow("0X mixed case") << QByteArray("0X1f") << 31 << true;
        QTest::newRow("dollar") << QByteArray("$20") << 32 << true;
        QTest::newRow("dollar upper") << QByteArray("$1F") << 31 << true;
        QTest::newRow("negative dollar") << QByteArray("-$10") << -16 << true;
        QTest::newRow("int max") << QByteArray("2147483647") << 2147483647 << true;
        QTest::newRow("int min") << QByteArray("-2147483648") << (-2147483647 - 1) << true;
        QTest::newRow("hex max") << QByteArray("0x7FFFFFFF") << 2147483647 << true;
        QTest::newRow("leading zeros") << QByteArray("007") << 7 << true;
        QTest::newRow("letters") << QByteArray("abc") << 0 << false;
        QTest::newRow("empty") << QByteArray() << 0 << false;
        QTest::newRow("0x alone is two characters") << QByteArray("0x") << 0 << false;
        QTest::newRow("0x signed") << QByteArray("0x-1") << 0 << false;
        QTest::newRow("dollar alone") << QByteArray("$") << 0 << false;
        QTest::newRow("sign alone") << QByteArray("-") << 0 << false;
        QTest::newRow("trailing garbage") << QByteArray("12abc") << 0 << false;
        QTest::newRow("blank") << QByteArray(" 12") << 0 << false;
        QTest::newRow("too big") << QByteArray("2147483648") << 0 << false;
        QTest::newRow("too small") << QByteArray("-2147483649") << 0 << false;
        QTest::newRow("hex too big") << QByteArray("0x80000000") << 0 << false;
        QTest::newRow("dollar too big") << QByteArray("$FFFFFFFF") << 0 << false;
        QTest::newRow("huge") << QByteArray(400, '9') << 0 << false;
        QTest::newRow("full-width digits") << sj(u"１２") << 0 << false;
    }
    void parseInteger() {
        QFETCH(QByteArray, text);
        QFETCH(int, value);
        QFETCH(bool, valid);
        const std::optional<int> parsed = SettingsStore::parseInteger(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void readsStoredText_data() {
        QTest::addColumn<RegValue>("stored");
        QTest::addColumn<int>("integer");  // read with default 100
        QTest::addColumn<bool>("boolean"); // read with default true
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0x20") << RegValue{RegType::Sz, "0x20"} << 32 << true << QByteArray("0x20");
        QTest::newRow("abc") << RegValue{RegType::Sz, "abc"} << 100 << true << QByteArray("abc");
        QTest::newRow("2 is true") << RegValue{RegType::Sz, "2"} << 2 << true << QByteArray("2");
        QTest::newRow("0 is false") << RegValue{RegType::Sz, "0"} << 0 << false << QByteArray("0");
        QTest::newRow("empty text") << RegValue{RegType::Sz, {}} << 100 << true << QByteArray();
        QTest::newRow("stops at zero") << RegValue{RegType::Sz, QByteArray("0\0"
                                                                           "12",
                                                                           4)}
                                       << 0 << false << QByteArray("0");
        QTest::newRow("expand is text")
            << RegValue{RegType::ExpandSz, "-1"} << -1 << true << QByteArray("-1");
        QTest::newRow("shift-jis")
            << RegValue{RegType::Sz, sj(u"C:\\表\\ソフト")} << 100 << true << sj(u"C:\\表\\ソフト");
    }
    void readsStoredText() {
        QFETCH(RegValue, stored);
        QFETCH(int, integer);
        QFETCH(bool, boolean);
        QFETCH(QByteArray, text);
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeValue(HKCU, kKey + "\\General", "MaxRow", stored);
        const SettingsStore store(reg);
        QCOMPARE(store.ReadIntegerSetting("General", "maxrow", 100), integer);
        QCOMPARE(store.ReadBooleanSetting("General", "MaxRow", true), boolean);
        QCOMPARE(store.ReadTextSetting("GENERAL", "MaxRow", "default"), text);
    }

    void nonTextValueIsAnError_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<RegValue>("stored");
        QTest::addColumn<QString>("message");
        QTest::newRow("dword") << QByteArray("Window") << dword(425)
                               << QStringLiteral(
                                      "設定値 Window\\Height の型が文字列ではありません。");
        QTest::newRow("binary") << QByteArray("Window") << RegValue{RegType::Binary, "1"}
                                << QStringLiteral(
                                       "設定値 Window\\Height の型が文字列ではありません。");
        QTest::newRow("multi") << QByteArray("Window") << RegValue{RegType::MultiSz, "1"}
                               << QStringLiteral(
                                      "設定値 Window\\Height の型が文字列ではありません。");
        QTest::newRow("product key")
            << QByteArray() << dword(1)
            << QStringLiteral("設定値 Height の型が文字列ではありません。");
    }
    void nonTextValueIsAnError() {
        QFETCH(QByteArray, section);
        QFETCH(RegValue, stored);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeValue(HKCU, section.isEmpty() ? kKey : kKey + '\\' + section, "Height", stored);
        const SettingsStore store(reg);
        const auto expectError = [&](const auto &read) {
            try {
                read();
                QFAIL("no error");
            } catch (const AppError &error) {
                QCOMPARE(error.message(), message);
            }
        };
        expectError([&] { store.ReadTextSetting(section, "Height", {}); });
        expectError([&] { store.ReadIntegerSetting(section, "Height", 425); });
        expectError([&] { store.ReadBooleanSetting(section, "Height", true); });
        expectError([&] { store.ReadPathSetting(section, "Height"); });
    }

    // Folders and history entries are paths the editor opens and saves into: a
    // stored text that is not exact Shift-JIS gives no path, never a different one.
    void pathSettings_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("path");
        QTest::newRow("trail bytes 0x5C of 表 and ソ")
            << sj(u"C:\\表\\ソフト\\a.jmf") << true << QStringLiteral("C:\\表\\ソフト\\a.jmf");
        QTest::newRow("empty") << QByteArray() << true << QString();
        QTest::newRow("stops at zero")
            << QByteArray("C:\\a\0\x82", 6) << true << QStringLiteral("C:\\a");
        QTest::newRow("lone lead byte at the end")
            << QByteArray("C:\\Dic\\lead\x82") << false << QString();
        QTest::newRow("lead byte before a blank")
            << QByteArray("C:\\D\x82 ic") << false << QString();
    }
    void pathSettings() {
        QFETCH(QByteArray, stored);
        QFETCH(bool, exact);
        QFETCH(QString, path);
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeString(HKCU, kKey + "\\History", "File1", stored);
        const SettingsStore store(reg);
        const std::optional<QString> read = store.ReadPathSetting("History", "File1");
        QCOMPARE(read.has_value(), exact);
        if (exact)
            QCOMPARE(*read, path);
        QCOMPARE(store.ReadPathSetting("History", "File2"), std::nullopt);
        QCOMPARE(store.ReadPathSetting("Atok", "Path"), std::nullopt);
    }

    void writesText() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        SettingsStore store(reg);
        store.WriteIntegerSetting("Window", "Left", -8);
        store.WriteIntegerSetting("Window", "Height", 425);
        store.WriteBooleanSetting("General", "FullPath", true);
        store.WriteBooleanSetting("General", "ShowAtokHelp", false);
        store.WriteTextSetting("Atok", "Path", sj(u"C:\\表\\"));
        store.WriteTextSetting({}, "Version", "2.0b");
        const auto stored = [&](const QByteArray &path, const QByteArray &name) {
            const auto value = reg.readValue(HKCU, path, name);
            return value && value->type == RegType::Sz ? value->data : QByteArray("<not REG_SZ>");
        };
        QCOMPARE(stored(kKey + "\\Window", "Left"), QByteArray("-8"));
        QCOMPARE(stored(kKey + "\\Window", "Height"), QByteArray("425"));
        QCOMPARE(stored(kKey + "\\General", "FullPath"), QByteArray("1"));
        QCOMPARE(stored(kKey + "\\General", "ShowAtokHelp"), QByteArray("0"));
        QCOMPARE(stored(kKey + "\\Atok", "Path"), sj(u"C:\\表\\"));
        QCOMPARE(stored(kKey, "Version"), QByteArray("2.0b"));
        QCOMPARE(store.ReadIntegerSetting("Window", "Left", 0), -8);
        QCOMPARE(store.ReadTextSetting("Atok", "Path", {}), sj(u"C:\\表\\"));
    }

    void listsNamesInStoredOrder() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        SettingsStore store(reg);
        QVERIFY(store.ListSettingNames("History").isEmpty());
        QVERIFY(reg.keyExists(HKCU, kKey + "\\History")); // listing creates the section
        for (const char *name : {"File1", "File2", "File10", "File3"})
            store.WriteTextSetting("History", name, name);
        QCOMPARE(store.ListSettingNames("History"),
                 (QList<QByteArray>{"File1", "File2", "File10", "File3"}));
    }

    void refusedWritesNameTheValue() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("registry"));
        Registry reg(folder);
        SettingsStore store(reg);
        store.WriteIntegerSetting("Window", "Width", 602);
        // The registry's folder is replaced by a file: nothing can be written any more.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(test::writeFileBytes(folder, "x"));
        try {
            store.WriteIntegerSetting("Window", "Height", 425);
            QFAIL("no error");
        } catch (const AppError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("Pomwick\\Window\\Height")),
                     qPrintable(error.message()));
        }
        QVERIFY_THROWS_EXCEPTION(AppError, SettingsStore{reg});
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
