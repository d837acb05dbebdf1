#include "platform/inifile.h"
#include "platform/sjis.h"
#include "tests/support/testdataroot.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void lookup_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray dictSection = sj(u"辞書セット１");
        const QByteArray dictKey = sj(u"システム辞書");
        QTest::newRow("japanese names") << dictSection << dictKey << sj(u"C:\\ATOK10\\表.dic");
        QTest::newRow("ascii case and blanks")
            << QByteArray(" general ") << QByteArray("PATH") << QByteArray("C:\\x y");
        QTest::newRow("quotes dropped")
            << QByteArray("General") << QByteArray("Quoted") << QByteArray(" in quotes ");
        QTest::newRow("empty value")
            << QByteArray("General") << QByteArray("Empty") << QByteArray();
        QTest::newRow("first section wins")
            << QByteArray("General") << QByteArray("Later") << QByteArray("default");
        QTest::newRow("comment is no key")
            << QByteArray("General") << QByteArray(";Hidden") << QByteArray("default");
        QTest::newRow("missing key")
            << QByteArray("General") << QByteArray("None") << QByteArray("default");
        QTest::newRow("missing section")
            << QByteArray("Nope") << QByteArray("Path") << QByteArray("default");
        // "ア" (83 41) is not "ヂ" (83 61), though the second bytes differ only in case.
        QTest::newRow("second bytes exact")
            << QByteArray("General") << sj(u"ヂ") << QByteArray("default");
        QTest::newRow("after a huge line")
            << QByteArray("Tail") << QByteArray("k") << QByteArray("v");
    }
    void lookup() {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ATOK10w.ini"));
        const QByteArray text = "; settings\r\n"
                                "[" +
                                sj(u"辞書セット１") + "]\r\n" + sj(u"システム辞書") + "=" +
                                sj(u"C:\\ATOK10\\表.dic") +
                                "\r\n"
                                "[GENERAL]\n"
                                "  Path =  C:\\x y  \n"
                                "Quoted=\" in quotes \"\r\n"
                                "Empty=\r\n"
                                ";Hidden=1\r\n" +
                                sj(u"ア") +
                                "=1\r\n"
                                "[General]\r\n"
                                "Later=1\r\n"
                                "[Tail]\r\n" +
                                QByteArray(1024 * 1024, 'x') + "\r\nk=v";
        QVERIFY(test::writeFileBytes(path, text));
        QCOMPARE(IniFile::readString(path, section, key, "default"), expected);
    }

    // The dictionary's path becomes a folder the program copies into: bytes that
    // are not exact Shift-JIS give no path rather than some other one.
    void pathValues_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("path");
        QTest::newRow("trail bytes 0x5C of 表 and ソ")
            << sj(u"C:\\ATOK10\\表ソ\\atok10.dic") << true
            << QStringLiteral("C:\\ATOK10\\表ソ\\atok10.dic");
        QTest::newRow("empty") << QByteArray() << true << QString();
        QTest::newRow("lone lead byte at the end")
            << QByteArray("C:\\ATOK10\\lead\x82") << false << QString();
        QTest::newRow("lead byte before a blank")
            << QByteArray("C:\\AT\x82 OK\\a.dic") << false << QString();
        QTest::newRow("code without a character")
            << QByteArray("C:\\\x85\x40\\a.dic") << false << QString();
    }
    void pathValues() {
        QFETCH(QByteArray, value);
        QFETCH(bool, exact);
        QFETCH(QString, path);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ATOK10w.ini"));
        QVERIFY(test::writeFileBytes(file, "[" + sj(u"辞書セット１") + "]\r\n" +
                                               sj(u"システム辞書") + "=" + value + "\r\n"));
        const std::optional<QString> read =
            IniFile::readPath(file, sj(u"辞書セット１"), sj(u"システム辞書"));
        QCOMPARE(read.has_value(), exact);
        if (exact)
            QCOMPARE(*read, path);
        QCOMPARE(IniFile::readPath(file, sj(u"辞書セット１"), "Other"), std::nullopt);
        QCOMPARE(IniFile::readPath(dir.filePath(QStringLiteral("none.ini")), sj(u"辞書セット１"),
                                   sj(u"システム辞書")),
                 std::nullopt);
    }

    void missingFile() {
        QTemporaryDir dir;
        QCOMPARE(IniFile::readString(dir.filePath(QStringLiteral("none.ini")), "a", "b", "d"),
                 QByteArray("d"));
        QCOMPARE(IniFile::readString(dir.path(), "a", "b", "d"), QByteArray("d"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
