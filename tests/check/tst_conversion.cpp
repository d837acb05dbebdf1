#include "check/conversion.h"
#include "platform/atomicfile.h"

#include "platform/errors.h"
#include "platform/sjis.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

class TestConversion : public QObject {
    Q_OBJECT
private slots:
    void outputFileName_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("jmf") << QStringLiteral("/home/u/単語帳.jmf")
                             << QStringLiteral("単語帳.txt");
        QTest::newRow("two dots") << QStringLiteral("/home/u/a.b.jmf") << QStringLiteral("a.b.txt");
        QTest::newRow("no extension")
            << QStringLiteral("/home/u/list") << QStringLiteral("list.txt");
        QTest::newRow("dot only in the folder")
            << QStringLiteral("/home/u.v2/list") << QStringLiteral("list.txt");
        QTest::newRow("stored path")
            << QStringLiteral("C:\\辞書\\x.JMF") << QStringLiteral("x.txt");
        QTest::newRow("already txt") << QStringLiteral("/home/u/a.txt") << QStringLiteral("a.txt");
    }
    void outputFileName() {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QCOMPARE(Conversion::outputFileName(source), expected);
        QCOMPARE(Conversion::outputPath(QStringLiteral("/atok/"), source),
                 QStringLiteral("/atok/") + expected);
    }

    // The second bytes of 表 and ソ are 0x5C, the byte of "\".
    void folderFromSettingsFile_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("expected");
        const QByteArray entry =
            sj(u"[辞書セット１]\r\nシステム辞書=C:\\ATOK10\\表\\ATOK10.DIC\r\n");
        QTest::newRow("entry") << entry << QStringLiteral("C:\\ATOK10\\表\\");
        QTest::newRow("among others")
            << sj(u"[全般]\r\nシステム辞書=C:\\WRONG\\x.dic\r\n") + entry +
                   sj(u"[辞書セット２]\r\nシステム辞書=D:\\X\\y.dic\r\n")
            << QStringLiteral("C:\\ATOK10\\表\\");
        QTest::newRow("quoted") << sj(u"[辞書セット１]\nシステム辞書=\"/opt/atok 10/s.dic\"\n")
                                << QStringLiteral("/opt/atok 10/");
        QTest::newRow("no section")
            << sj(u"[辞書セット２]\r\nシステム辞書=C:\\A\\b.dic\r\n") << QString();
        QTest::newRow("no value") << sj(u"[辞書セット１]\r\nユーザー辞書=C:\\A\\b.dic\r\n")
                                  << QString();
        QTest::newRow("no file") << QByteArray() << QString();

        // The folder part of the stored path.
        const auto stored = [](const QByteArray &path) {
            return sj(u"[辞書セット１]\r\nシステム辞書=") + path + "\r\n";
        };
        QTest::newRow("slashes") << stored("/opt/atok/sys.dic") << QStringLiteral("/opt/atok/");
        QTest::newRow("drive only") << stored("C:sys.dic") << QStringLiteral("C:");
        QTest::newRow("bare name") << stored("sys.dic") << QString();
        QTest::newRow("empty") << stored({}) << QString();
        QTest::newRow("second byte 0x5C in the folder")
            << stored(sj(u"C:\\表示\\ATOK10.DIC")) << QStringLiteral("C:\\表示\\");
        QTest::newRow("folder ends in such a character")
            << stored(sj(u"C:\\ATOK表\\sys.dic")) << QStringLiteral("C:\\ATOK表\\");
        QTest::newRow("second byte 0x5C in the name")
            << stored(sj(u"/opt/atok/ソフト.dic")) << QStringLiteral("/opt/atok/");
        QTest::newRow("only such characters") << stored(sj(u"表ソ")) << QString();
        // Bytes that are no Shift-JIS name no folder at all.
        QTest::newRow("lone lead byte at the end") << stored("C:\\a\\\x95") << QString();
    }
    void folderFromSettingsFile() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = Conversion::settingsFilePath(dir.path() + u'/');
        QCOMPARE(path, dir.path() + QStringLiteral("/ATOK10w.ini"));
        if (!ini.isEmpty())
            QVERIFY(writeFileBytes(path, ini));
        QCOMPARE(Conversion::folderFromSettingsFile(path), expected);
    }

    void folderHolds() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QVERIFY(writeFileBytes(folder + QStringLiteral("Atok10ut.exe"), "#!/bin/sh\n"));
        QVERIFY(QDir(folder).mkdir(QStringLiteral("Atok10ut.hlp")));
        QVERIFY(Conversion::folderHolds(folder, Conversion::utilityFileName()));
        QCOMPARE(Conversion::utilityPath(folder), folder + QStringLiteral("Atok10ut.exe"));
        // A folder of that name is no help file.
        QVERIFY(!Conversion::folderHolds(folder, Conversion::utilityHelpFileName()));
        // An unknown folder is not the current one.
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const bool held = Conversion::folderHolds(QString(), Conversion::utilityFileName());
        QDir::setCurrent(current);
        QVERIFY(!held);
    }

    void neverSavedNames_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("neverSaved");
        QTest::newRow("new") << QStringLiteral("新規辞書1.jmf") << true;
        QTest::newRow("new 12") << QStringLiteral("新規辞書12.jmf") << true;
        QTest::newRow("saved under that name") << QStringLiteral("/home/u/新規辞書1.jmf") << false;
        QTest::newRow("saved") << QStringLiteral("/home/u/単語帳.jmf") << false;
    }
    void neverSavedNames() {
        QFETCH(QString, fileName);
        QFETCH(bool, neverSaved);
        QCOMPARE(Conversion::isNeverSaved(fileName), neverSaved);
    }

    // Bytes that are not Shift-JIS, CR LF and a longer old copy: the result is the
    // source exactly.
    void copyIsByteForByteAndOverwrites() {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("単語帳.jmf"));
        const QString target = dir.filePath(QStringLiteral("atok/単語帳.txt"));
        QByteArray bytes =
            sj(u"!!DICUT10\r\nかんじ,漢字,名詞\r\n") + QByteArray("\x80\xff\x00\x5c", 4);
        bytes += QByteArray(200 * 1024, 'x'); // more than one piece
        QVERIFY(writeFileBytes(source, bytes));
        QVERIFY(writeFileBytes(target, QByteArray(400 * 1024, 'o')));
        copyFileAtomically(source, target);
        QCOMPARE(readFileBytes(target), bytes);
    }

    void failedCopyKeepsTheOldFile_data() {
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing source") << QStringLiteral("missing");
        QTest::newRow("source is a folder") << QStringLiteral("folder");
    }
    void failedCopyKeepsTheOldFile() {
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("a.jmf"));
        const QString target = dir.filePath(QStringLiteral("a.txt"));
        if (problem == u"folder")
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a.jmf")));
        QVERIFY(writeFileBytes(target, "good"));
        QVERIFY_THROWS_EXCEPTION(AppError, copyFileAtomically(source, target));
        QCOMPARE(readFileBytes(target), QByteArray("good"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")});
    }

    void copyIntoMissingFolderFails() {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("a.jmf"));
        QVERIFY(writeFileBytes(source, "!!DICUT10\r\n"));
        QVERIFY_THROWS_EXCEPTION(
            AppError, copyFileAtomically(source, dir.filePath(QStringLiteral("none/a.txt"))));
    }
};

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
