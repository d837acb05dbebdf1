#include "platform/folders.h"
#include "platform/paths.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace kelvari;

class TestPaths : public QObject {
    Q_OBJECT
private slots:
    void pieces_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("asTxt");
        QTest::newRow("windows") << QStringLiteral("C:\\a\\b.jmf") << QStringLiteral("b.jmf")
                                 << QStringLiteral("C:\\a\\") << QStringLiteral(".jmf")
                                 << QStringLiteral("C:\\a\\b.txt");
        QTest::newRow("unix") << QStringLiteral("/home/u/辞書.jmf") << QStringLiteral("辞書.jmf")
                              << QStringLiteral("/home/u/") << QStringLiteral(".jmf")
                              << QStringLiteral("/home/u/辞書.txt");
        QTest::newRow("drive only")
            << QStringLiteral("C:x.jmf") << QStringLiteral("x.jmf") << QStringLiteral("C:")
            << QStringLiteral(".jmf") << QStringLiteral("C:x.txt");
        QTest::newRow("no extension")
            << QStringLiteral("C:\\a.d\\b") << QStringLiteral("b") << QStringLiteral("C:\\a.d\\")
            << QString() << QStringLiteral("C:\\a.d\\b.txt");
        QTest::newRow("two dots") << QStringLiteral("x.tar.gz") << QStringLiteral("x.tar.gz")
                                  << QString() << QStringLiteral(".gz")
                                  << QStringLiteral("x.tar.txt");
        QTest::newRow("folder") << QStringLiteral("C:\\App\\") << QString()
                                << QStringLiteral("C:\\App\\") << QString()
                                << QStringLiteral("C:\\App\\.txt");
    }
    void pieces() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QString, ext);
        QFETCH(QString, asTxt);
        QCOMPARE(Paths::extractFileName(path), name);
        QCOMPARE(Paths::extractFilePath(path), folder);
        QCOMPARE(Paths::extractFileExt(path), ext);
        QCOMPARE(Paths::changeFileExt(path, QStringLiteral(".txt")), asTxt);
    }

    void trailingSeparators() {
        const QString sep = QDir::separator();
        QCOMPARE(Paths::includeTrailingSeparator(QStringLiteral("C:\\a")),
                 QStringLiteral("C:\\a") + sep);
        QCOMPARE(Paths::includeTrailingSeparator(QStringLiteral("C:\\a\\")),
                 QStringLiteral("C:\\a\\"));
        QCOMPARE(Paths::includeTrailingSeparator(QStringLiteral("/x/")), QStringLiteral("/x/"));
        QCOMPARE(Paths::includeTrailingSeparator(QString()), QString());
        QCOMPARE(Paths::excludeTrailingSeparator(QStringLiteral("C:\\a\\")),
                 QStringLiteral("C:\\a"));
        QCOMPARE(Paths::excludeTrailingSeparator(QStringLiteral("/x/")), QStringLiteral("/x"));
        QCOMPARE(Paths::excludeTrailingSeparator(QStringLiteral("/x")), QStringLiteral("/x"));
        QCOMPARE(Paths::excludeTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    }

    void foldersLiveInTheDataRoot() {
        test::TestDataRoot root;
        const QString base = QDir::toNativeSeparators(QDir(root.path()).canonicalPath());
        QCOMPARE(QDir::toNativeSeparators(QFileInfo(Folders::dataRoot()).canonicalFilePath()),
                 base);
        QVERIFY(QFileInfo(Folders::registryFolder()).isDir());
        const QString windows = Folders::windowsFolder();
        const QString system = Folders::systemFolder();
        QVERIFY(Paths::isSeparator(windows.back()));
        QVERIFY(Paths::isSeparator(system.back()));
        QVERIFY(QFileInfo(system).isDir());
        QCOMPARE(QFileInfo(system + QStringLiteral("..")).canonicalFilePath(),
                 QFileInfo(windows).canonicalFilePath());
    }

    void dataRootWithoutEnvironment() {
        test::TestDataRoot home; // a home of our own, so nothing real is touched
        test::ScopedEnv xdg("XDG_DATA_HOME", QFile::encodeName(home.path()));
        test::ScopedEnv unset("KELVARI_HOME", QByteArray());
        QCOMPARE(Folders::dataRoot(), QDir::cleanPath(home.path() + QStringLiteral("/Kelvari")));
    }

    void programPathOverride() {
        const QString real = Folders::programPath();
        QVERIFY(QFileInfo(real).isFile());
        QVERIFY(Folders::programFolder().endsWith(QDir::separator()));
        Folders::setProgramPathOverride(QStringLiteral("/opt/kel:vari/Ruvex"));
        QCOMPARE(Folders::programPath(),
                 QDir::toNativeSeparators(QStringLiteral("/opt/kel:vari/Ruvex")));
        QCOMPARE(Folders::programFolder(),
                 QDir::toNativeSeparators(QStringLiteral("/opt/kel:vari/")));
        Folders::setProgramPathOverride({});
        QCOMPARE(Folders::programPath(), real);
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
