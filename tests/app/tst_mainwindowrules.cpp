#include "app/mainwindowrules.h"

#include <QTest>

using namespace kelvari;

class TestMainWindowRules : public QObject {
    Q_OBJECT
private slots:
    void titleFor_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("fullPath");
        QTest::addColumn<QString>("title");
        QTest::newRow("new document") << QStringLiteral("新規辞書1.jmf") << true
                                      << QStringLiteral("Kelvari 2.0b - 新規辞書1.jmf");
        QTest::newRow("full path shown") << QStringLiteral("C:\\辞書\\a.jmf") << true
                                         << QStringLiteral("Kelvari 2.0b - C:\\辞書\\a.jmf");
        QTest::newRow("name after backslash")
            << QStringLiteral("C:\\辞書\\a.jmf") << false << QStringLiteral("Kelvari 2.0b - a.jmf");
        QTest::newRow("name after drive colon")
            << QStringLiteral("C:a.jmf") << false << QStringLiteral("Kelvari 2.0b - a.jmf");
        QTest::newRow("name after slash")
            << QStringLiteral("/home/u/b.jmf") << false << QStringLiteral("Kelvari 2.0b - b.jmf");
        QTest::newRow("trailing separator leaves nothing")
            << QStringLiteral("C:\\dir\\") << false << QStringLiteral("Kelvari 2.0b - ");
    }
    void titleFor() {
        QFETCH(QString, path);
        QFETCH(bool, fullPath);
        QFETCH(QString, title);
        QCOMPARE(TitleFor(path, fullPath), title);
    }

    void deleteFromEnd_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("result");
        QTest::newRow("drops trailing separator")
            << QStringLiteral("C:\\Ruvex\\") << 1 << 1 << QStringLiteral("C:\\Ruvex");
        QTest::newRow("two from the end")
            << QStringLiteral("abcde") << 3 << 2 << QStringLiteral("abe");
        QTest::newRow("count beyond the end is cut")
            << QStringLiteral("abcde") << 2 << 9 << QStringLiteral("abc");
        QTest::newRow("empty text") << QString() << 1 << 1 << QString();
        QTest::newRow("distance beyond the start")
            << QStringLiteral("ab") << 3 << 1 << QStringLiteral("ab");
        QTest::newRow("distance zero") << QStringLiteral("ab") << 0 << 1 << QStringLiteral("ab");
        QTest::newRow("count zero") << QStringLiteral("ab") << 1 << 0 << QStringLiteral("ab");
    }
    void deleteFromEnd() {
        QFETCH(QString, text);
        QFETCH(int, distance);
        QFETCH(int, count);
        QFETCH(QString, result);
        QCOMPARE(DeleteFromEnd(text, distance, count), result);
    }

    void commandLineFileName_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("name");
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("one, kept whole with its blanks")
            << QStringList{QStringLiteral("C:\\My Files\\a.jmf")}
            << QStringLiteral("C:\\My Files\\a.jmf");
        QTest::newRow("pieces joined by single blanks")
            << QStringList{QStringLiteral("C:\\My"), QStringLiteral("Files\\a"),
                           QStringLiteral("b.jmf")}
            << QStringLiteral("C:\\My Files\\a b.jmf");
        QTest::newRow("one empty argument") << QStringList{QString()} << QString();
    }
    void commandLineFileName() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, name);
        QCOMPARE(CommandLineFileName(arguments), name);
    }

    void resizeChange_data() {
        QTest::addColumn<int>("dH");
        QTest::addColumn<int>("dW");
        QTest::addColumn<int>("column");
        QTest::newRow("wider by 41") << 0 << 41 << 20;
        QTest::newRow("narrower by 41") << 0 << -41 << -20;
        QTest::newRow("-3 halves toward zero") << 0 << -3 << -1;
        QTest::newRow("-1 gives nothing") << 0 << -1 << 0;
        QTest::newRow("taller only") << 100 << 0 << 0;
    }
    void resizeChange() {
        QFETCH(int, dH);
        QFETCH(int, dW);
        QFETCH(int, column);
        const ResizeChange change = resizeChangeFor(dH, dW);
        QCOMPARE(change.hinsiHeight, dH);
        QCOMPARE(change.commentWidth, dW);
        QCOMPARE(change.columnWidth, column);
    }
};

QTEST_GUILESS_MAIN(TestMainWindowRules)
#include "tst_mainwindowrules.moc"
