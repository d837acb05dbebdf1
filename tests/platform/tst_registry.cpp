#include "platform/regfile.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace kelvari;
using kelvari::test::readFileBytes;
using kelvari::test::writeFileBytes;

namespace {

constexpr RegRoot HKCU = RegRoot::CurrentUser;

RegValue dword(quint32 n) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return {RegType::Dword, data};
}

// The damaged copies left beside a root's file.
QStringList damagedCopies(const QString &folder) {
    return QDir(folder).entryList({QStringLiteral("HKEY_CURRENT_USER.reg.damaged-*")}, QDir::Files);
}

#ifdef Q_OS_UNIX
// Makes every write past `bytes` fail (EFBIG) while it lives; works for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};
#endif

} // namespace

Q_DECLARE_METATYPE(RegValue)

class TestRegistry : public QObject {
    Q_OBJECT
private slots:
    void valuesRoundTrip_data() {
        QTest::addColumn<RegValue>("value");
        QTest::newRow("ascii") << RegValue{RegType::Sz, "hello"};
        QTest::newRow("empty text") << RegValue{RegType::Sz, {}};
        QTest::newRow("backslash and quote") << RegValue{RegType::Sz, "C:\\a \"b\"\\"};
        QTest::newRow("second byte 0x5C") << RegValue{RegType::Sz, sj(u"表示ソフト\\表")};
        QTest::newRow("lead byte before quote")
            << RegValue{RegType::Sz, QByteArray("a\x95\"b\x83\\", 6)};
        QTest::newRow("dangling lead byte") << RegValue{RegType::Sz, QByteArray("ab\x95", 3)};
        QTest::newRow("line breaks") << RegValue{RegType::Sz, "one\r\ntwo\n"};
        QTest::newRow("zero byte") << RegValue{RegType::Sz, QByteArray("a\0b", 3)};
        QTest::newRow("expand") << RegValue{RegType::ExpandSz, "%WINDIR%\\x"};
        QTest::newRow("multi") << RegValue{RegType::MultiSz, QByteArray("a\0b\0", 4)};
        QTest::newRow("dword") << dword(0x1e);
        QTest::newRow("dword max") << dword(0xFFFFFFFFu);
        QTest::newRow("dword short data") << RegValue{RegType::Dword, "\x01"};
        QTest::newRow("binary") << RegValue{RegType::Binary, QByteArray("\x00\xff\x5c", 3)};
        QTest::newRow("empty binary") << RegValue{RegType::Binary, {}};
        QTest::newRow("other type") << RegValue{static_cast<RegType>(11), "12345678"};
    }
    void valuesRoundTrip() {
        QFETCH(RegValue, value);
        QTemporaryDir dir;
        Registry writer(dir.filePath(QStringLiteral("a")));
        writer.writeValue(HKCU, "Software\\Test", sj(u"名前表"), value);
        // A copy in another folder is parsed afresh, not served from memory.
        const QString copy = dir.filePath(QStringLiteral("b/HKEY_CURRENT_USER.reg"));
        QVERIFY(writeFileBytes(copy, readFileBytes(writer.fileFor(HKCU))));
        const auto read = Registry(dir.filePath(QStringLiteral("b")))
                              .readValue(HKCU, "software\\TEST", sj(u"名前表"));
        QVERIFY(read.has_value());
        QCOMPARE(static_cast<int>(read->type), static_cast<int>(value.type));
        QCOMPARE(read->data, value.data);
    }

    void fileForm() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeString(HKCU, "Software\\Vesk\\Pomwick", "Version", "2.0b");
        reg.writeString(HKCU, "Software\\Vesk\\Pomwick", {}, sj(u"表\"x\\"));
        reg.writeValue(HKCU, "Software\\Vesk\\Pomwick\\Bin", "N", dword(30));
        reg.writeValue(HKCU, "Software\\Vesk\\Pomwick\\Bin", "B", {RegType::Binary, "\x01\x02"});
        reg.writeValue(HKCU, "Software\\Vesk\\Pomwick\\Bin", "E", {RegType::ExpandSz, "a"});
        const QByteArray expected = QByteArray("REGEDIT4\r\n\r\n"
                                               "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                                               "[HKEY_CURRENT_USER\\Software\\Vesk]\r\n\r\n"
                                               "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick]\r\n"
                                               "\"Version\"=\"2.0b\"\r\n") +
                                    "@=\"" + sj(u"表") + "\\\"x\\\\\"\r\n" +
                                    "\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\Vesk\\Pomwick\\Bin]\r\n"
                                    "\"N\"=dword:0000001e\r\n"
                                    "\"B\"=hex:01,02\r\n"
                                    "\"E\"=hex(2):61,00\r\n"
                                    "\r\n";
        QCOMPARE(readFileBytes(reg.fileFor(HKCU)), expected);
    }

    void handWrittenFileIsRead() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        QVERIFY(writeFileBytes(reg.fileFor(HKCU), "REGEDIT4\n"
                                                  "; a comment\n"
                                                  "   \n"
                                                  "[hkey_current_user\\A\\B]\n"
                                                  "\"Bin\"=hex:01,02,\\\n"
                                                  "  03\n"
                                                  "\"D\"=DWORD:0000000A\n"
                                                  "[HKEY_CURRENT_USER\\A]\n"
                                                  "\"x\"=\"1\"\n"
                                                  "[HKEY_CURRENT_USER\\A\\B]\n"
                                                  "\"BIN\"=\"again\"\n"));
        QCOMPARE(reg.subkeyNames(HKCU, "A"), QList<QByteArray>{"B"});
        QCOMPARE(reg.valueNames(HKCU, "A\\B"), (QList<QByteArray>{"Bin", "D"}));
        QCOMPARE(reg.readValue(HKCU, "A\\B", "bin")->data, QByteArray("again"));
        QCOMPARE(reg.readValue(HKCU, "A\\B", "D")->data, dword(10).data);
        QCOMPARE(reg.readValue(HKCU, "A", "X")->data, QByteArray("1"));
    }

    void keysWithSecondByte5C() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        const QByteArray path = "Software\\" + sj(u"表") + "\\" + sj(u"ソフト");
        reg.createKey(HKCU, path);
        QCOMPARE(reg.subkeyNames(HKCU, "Software"), QList<QByteArray>{sj(u"表")});
        QCOMPARE(reg.subkeyNames(HKCU, "Software\\" + sj(u"表")), QList<QByteArray>{sj(u"ソフト")});
        QVERIFY(readFileBytes(reg.fileFor(HKCU))
                    .contains("[HKEY_CURRENT_USER\\Software\\" + sj(u"表") + "\\" + sj(u"ソフト") +
                              "]\r\n"));
        QVERIFY(Registry(dir.path()).keyExists(HKCU, path));
    }

    void namesIgnoreAsciiCaseOnly() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeString(HKCU, "Software\\Vesk", "Height", "1");
        reg.writeString(HKCU, "Software\\Vesk", "Other", "x");
        reg.writeString(HKCU, "SOFTWARE\\vesk", "HEIGHT", "2");
        // Overwriting keeps the first spelling and the place of the value.
        QCOMPARE(reg.valueNames(HKCU, "Software\\Vesk"), (QList<QByteArray>{"Height", "Other"}));
        QCOMPARE(reg.readValue(HKCU, "software\\VESK", "height")->data, QByteArray("2"));
        // "ア" is 83 41 and "ヂ" 83 61: their second bytes look like A and a.
        reg.writeString(HKCU, "K", sj(u"ア"), "1");
        reg.writeString(HKCU, "K", sj(u"ヂ"), "2");
        QCOMPARE(reg.valueNames(HKCU, "K").size(), 2);
        QCOMPARE(reg.readValue(HKCU, "K", sj(u"ア"))->data, QByteArray("1"));
    }

    void orderAndDeletion() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        for (const char *name : {"File1", "File10", "File2"})
            reg.writeString(HKCU, "H", name, name);
        reg.createKey(HKCU, "P\\z");
        reg.createKey(HKCU, "P\\a\\deep");
        reg.writeString(HKCU, "P\\a\\deep", "v", "1");
        reg.createKey(HKCU, "P\\m");
        QCOMPARE(Registry(dir.path()).valueNames(HKCU, "H"),
                 (QList<QByteArray>{"File1", "File10", "File2"}));
        QCOMPARE(reg.subkeyNames(HKCU, "P"), (QList<QByteArray>{"z", "a", "m"}));

        QVERIFY(reg.deleteValue(HKCU, "H", "file1"));
        QVERIFY(!reg.deleteValue(HKCU, "H", "file1"));
        reg.writeString(HKCU, "H", "File1", "back");
        QCOMPARE(reg.valueNames(HKCU, "H"), (QList<QByteArray>{"File10", "File2", "File1"}));

        QVERIFY(reg.deleteKey(HKCU, "\\p\\A"));
        QVERIFY(!reg.keyExists(HKCU, "P\\a\\deep"));
        QVERIFY(!reg.deleteKey(HKCU, "P\\a"));
        QCOMPARE(reg.subkeyNames(HKCU, "P"), (QList<QByteArray>{"z", "m"}));

        // An empty path never wipes the root.
        QVERIFY(!reg.deleteKey(HKCU, ""));
        QVERIFY(!reg.deleteKey(HKCU, "\\"));
        QVERIFY(reg.keyExists(HKCU, "H"));
    }

    void defaultValueAndRoots() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeString(RegRoot::ClassesRoot, "\\.jmf", {}, "JishoMakeFile");
        QCOMPARE(reg.valueNames(RegRoot::ClassesRoot, ".jmf"), QList<QByteArray>{QByteArray()});
        QVERIFY(readFileBytes(reg.fileFor(RegRoot::ClassesRoot))
                    .contains("[HKEY_CLASSES_ROOT\\.jmf]\r\n@=\"JishoMakeFile\"\r\n"));
        QVERIFY(!reg.keyExists(HKCU, ".jmf"));
        QVERIFY(reg.keyExists(HKCU, {})); // the root always exists
        QVERIFY(Registry::rootFromName("hkey_local_machine") == RegRoot::LocalMachine);
        QVERIFY(!Registry::rootFromName("HKLM"));
    }

    void invalidNames() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        QVERIFY_THROWS_EXCEPTION(RegistryError, reg.createKey(HKCU, "a\\\\b"));
        QVERIFY_THROWS_EXCEPTION(RegistryError, reg.createKey(HKCU, "a\\b\x95"));
        QVERIFY_THROWS_EXCEPTION(RegistryError, reg.writeString(HKCU, "a", "x\ny", "1"));
        QVERIFY(!reg.keyExists(HKCU, "a\\\\b"));
        QVERIFY(!QFileInfo::exists(reg.fileFor(HKCU)));
    }

    void seesChangesOfOtherWriters() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeString(HKCU, "K", "v", "aaaa");
        QCOMPARE(reg.readValue(HKCU, "K", "v")->data, QByteArray("aaaa"));
        // Same size, written behind our back.
        QByteArray bytes = readFileBytes(reg.fileFor(HKCU));
        bytes.replace("aaaa", "bbbb");
        QVERIFY(writeFileBytes(reg.fileFor(HKCU), bytes));
        QCOMPARE(reg.readValue(HKCU, "K", "v")->data, QByteArray("bbbb"));
        reg.writeString(HKCU, "K", "w", "1");
        QCOMPARE(Registry(dir.path()).readValue(HKCU, "K", "v")->data, QByteArray("bbbb"));
    }

    void damagedFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no signature") << QByteArray("[HKEY_CURRENT_USER\\A]\r\n");
        QTest::newRow("other signature") << QByteArray("Windows Registry Editor\r\n");
        QTest::newRow("unterminated string")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"abc\r\n");
        QTest::newRow("quote taken by a lead byte")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"ab\x95\"\r\n");
        QTest::newRow("bad escape")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"a\\n\"\r\n");
        QTest::newRow("value outside a key") << QByteArray("REGEDIT4\r\n\"v\"=\"1\"\r\n");
        QTest::newRow("unknown line")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\nv=1\r\n");
        QTest::newRow("bad hex") << QByteArray(
            "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=hex:1g\r\n");
        QTest::newRow("continuation at end")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=hex:01,\\\r\n");
        QTest::newRow("bad dword")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=dword:123456789\r\n");
        QTest::newRow("other root") << QByteArray("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n");
        QTest::newRow("unclosed key") << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\r\n");
        QTest::newRow("bracket taken by a lead byte")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\x95]\r\n");
        QTest::newRow("empty key name")
            << QByteArray("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\\\B]\r\n");
    }
    void damagedFile() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        Registry reg(dir.path());
        QVERIFY(writeFileBytes(reg.fileFor(HKCU), bytes));
        try {
            reg.readValue(HKCU, "A", "v");
            QFAIL("a damaged file was read without an error");
        } catch (const RegistryError &error) {
            QVERIFY2(error.message().contains(QDir::toNativeSeparators(reg.fileFor(HKCU))),
                     qPrintable(error.message()));
        }
        const QStringList copies = damagedCopies(dir.path());
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readFileBytes(dir.filePath(copies.first())), bytes);
        // The file is out of the way: the root is empty and can be written again.
        QVERIFY(!reg.readValue(HKCU, "A", "v"));
        reg.writeString(HKCU, "A", "v", "new");
        QCOMPARE(Registry(dir.path()).readValue(HKCU, "A", "v")->data, QByteArray("new"));
        QCOMPARE(readFileBytes(dir.filePath(copies.first())), bytes);
    }

    void damageFoundByAWriteIsKept() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        const QByteArray bytes = "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"x\r\n";
        QVERIFY(writeFileBytes(reg.fileFor(HKCU), bytes));
        QVERIFY_THROWS_EXCEPTION(RegistryError, reg.writeString(HKCU, "A", "w", "1"));
        QVERIFY(!QFileInfo::exists(reg.fileFor(HKCU)));
        QCOMPARE(readFileBytes(dir.filePath(damagedCopies(dir.path()).value(0))), bytes);
    }

    void emptyFileIsEmptyRoot() {
        QTemporaryDir dir;
        Registry reg(dir.path());
        QVERIFY(writeFileBytes(reg.fileFor(HKCU), {}));
        QVERIFY(reg.subkeyNames(HKCU, {}).isEmpty());
        QVERIFY(damagedCopies(dir.path()).isEmpty());
    }

    void refusedWriteNamesTheKey() {
        QTemporaryDir dir;
        // The registry folder cannot be made: a file stands in its place.
        const QString folder = dir.filePath(QStringLiteral("registry"));
        QVERIFY(writeFileBytes(folder, "not a folder"));
        Registry reg(folder);
        QVERIFY(!reg.keyExists(HKCU, "Software"));
        try {
            reg.createKey(HKCU, "Software\\Vesk");
            QFAIL("no error");
        } catch (const RegistryError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("HKEY_CURRENT_USER\\Software\\Vesk")),
                     qPrintable(error.message()));
        }
        QCOMPARE(readFileBytes(folder), QByteArray("not a folder"));
    }

    void failedWriteKeepsOldFile() {
#ifdef Q_OS_UNIX
        QTemporaryDir dir;
        Registry reg(dir.path());
        // Large enough that the lock file still fits under the limit.
        const QByteArray a(200, '1');
        reg.writeString(HKCU, "K", "a", a);
        const QByteArray before = readFileBytes(reg.fileFor(HKCU));
        {
            FileSizeLimit limit(before.size() + 8);
            try {
                reg.writeString(HKCU, "K", "Height", QByteArray(200, 'x'));
                QFAIL("no error");
            } catch (const RegistryError &error) {
                QVERIFY2(error.message().contains(QStringLiteral("HKEY_CURRENT_USER\\K\\Height")),
                         qPrintable(error.message()));
                QVERIFY2(error.message().contains(QStringLiteral("ﾃﾞｨｽｸがいっぱいです")),
                         qPrintable(error.message()));
            }
        }
        QCOMPARE(readFileBytes(reg.fileFor(HKCU)), before);
        QVERIFY(!reg.readValue(HKCU, "K", "Height"));
        QCOMPARE(reg.readValue(HKCU, "K", "a")->data, a);
#else
        QSKIP("needs a file size limit");
#endif
    }

    void readOnlyFileOrFolderIsRespected() {
#ifdef Q_OS_UNIX
        if (geteuid() == 0)
            QSKIP("root writes whatever the permissions say");
#endif
        QTemporaryDir dir;
        Registry reg(dir.path());
        reg.writeString(HKCU, "K", "a", "1");
        const QByteArray before = readFileBytes(reg.fileFor(HKCU));
        const auto rw = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QFile::setPermissions(reg.fileFor(HKCU), QFile::ReadOwner);
        QVERIFY_THROWS_EXCEPTION(RegistryError, reg.writeString(HKCU, "K", "b", "2"));
        QFile::setPermissions(reg.fileFor(HKCU), rw);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY_THROWS_EXCEPTION(RegistryError, reg.writeString(HKCU, "K", "b", "2"));
        QFile::setPermissions(dir.path(), rw);
        QCOMPARE(readFileBytes(reg.fileFor(HKCU)), before);
    }

    void twoProcessesLoseNothing() {
        QTemporaryDir dir;
        const int count = 60;
        QProcess other;
        other.setProcessChannelMode(QProcess::ForwardedChannels);
        other.start(QStringLiteral(KELVARI_PLATFORM_HELPER),
                    {QStringLiteral("regwrite"), dir.path(), QStringLiteral("them"),
                     QString::number(count)});
        QVERIFY(other.waitForStarted());
        Registry reg(dir.path());
        for (int i = 0; i < count; ++i) {
            const QByteArray name = "us" + QByteArray::number(i);
            reg.writeString(HKCU, "Software\\Race", name, name);
            reg.createKey(HKCU, "Software\\Race\\" + name);
        }
        QVERIFY(other.waitForFinished(120000));
        QCOMPARE(other.exitCode(), 0);
        const Registry fresh(dir.path());
        QCOMPARE(fresh.valueNames(HKCU, "Software\\Race").size(), 2 * count);
        QCOMPARE(fresh.subkeyNames(HKCU, "Software\\Race").size(), 2 * count);
        for (int i = 0; i < count; ++i) {
            for (const char *who : {"us", "them"}) {
                const QByteArray name = who + QByteArray::number(i);
                QCOMPARE(fresh.readValue(HKCU, "Software\\Race", name)->data, name);
            }
        }
    }

    void splitKeyPath_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QList<QByteArray>>("components");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << QByteArray("a\\b") << QList<QByteArray>{"a", "b"} << true;
        QTest::newRow("leading and trailing")
            << QByteArray("\\a\\") << QList<QByteArray>{"a"} << true;
        QTest::newRow("root") << QByteArray("") << QList<QByteArray>{} << true;
        QTest::newRow("second byte 5C")
            << sj(u"表\\ソ") << QList<QByteArray>{sj(u"表"), sj(u"ソ")} << true;
        QTest::newRow("lead swallows separator")
            << QByteArray("a\x95\\b") << QList<QByteArray>{QByteArray("a\x95\\b")} << true;
        QTest::newRow("empty component") << QByteArray("a\\\\b") << QList<QByteArray>{} << false;
        QTest::newRow("dangling lead") << QByteArray("a\\\x95") << QList<QByteArray>{} << false;
        QTest::newRow("control") << QByteArray("a\tb") << QList<QByteArray>{} << false;
        QTest::newRow("too deep") << QByteArray("a\\").repeated(regfile::kMaxDepth + 1)
                                  << QList<QByteArray>{} << false;
    }
    void splitKeyPath() {
        QFETCH(QByteArray, path);
        QFETCH(QList<QByteArray>, components);
        QFETCH(bool, valid);
        const auto result = regfile::splitKeyPath(path);
        QCOMPARE(result.has_value(), valid);
        if (valid)
            QCOMPARE(*result, components);
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
