#include "grid/gridfile.h"
#include "platform/sjis.h"
#include "tests/grid/celltable.h"
#include "tests/support/testdataroot.h"

#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

class TestGridFile : public QObject {
    Q_OBJECT
private slots:
    void saveWritesRowsAndFields() {
        TestDataRoot root;
        CellStore cells(3, 2);
        cells.setCell(0, 0, sj(u"読み"));
        cells.setCell(1, 0, "b");
        cells.setCell(2, 1, "f");
        const QString path = root.filePath(QStringLiteral("grid.txt"));
        SaveToFile(cells, path, "\t");
        QCOMPARE(readFileBytes(path), sj(u"読み") + "\tb\t\r\n\t\tf\r\n");

        CellStore loaded(1, 1);
        LoadFromFile(loaded, path, "\t");
        QCOMPARE(dump(loaded), dump(cells));
    }

    void load_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("separator");
        QTest::addColumn<QStringList>("table");
        QTest::newRow("2, 4 and 3 fields, blank lines skipped")
            << QByteArray("a,b\r\n\r\nc,d,e,f\r\n\r\ng,h,i\r\n") << QByteArray(",")
            << QStringList{QStringLiteral("a|b||"), QStringLiteral("c|d|e|f"),
                           QStringLiteral("g|h|i|")};
        QTest::newRow("LF and lone CR line ends, no final line end")
            << QByteArray("a;b\nc;d\re;f") << QByteArray(";")
            << QStringList{QStringLiteral("a|b"), QStringLiteral("c|d"), QStringLiteral("e|f")};
        QTest::newRow("multi-byte separator and trailing empty field")
            << QByteArray("x::y::\r\n") << QByteArray("::") << QStringList{QStringLiteral("x|y|")};
        QTest::newRow("empty separator: whole line in column 0")
            << QByteArray("a,b\r\n") << QByteArray() << QStringList{QStringLiteral("a,b")};
        QTest::newRow("shift-jis bytes kept")
            << (sj(u"表\tソ") + "\r\n") << QByteArray("\t") << QStringList{QStringLiteral("表|ソ")};
    }
    void load() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, separator);
        QFETCH(QStringList, table);
        TestDataRoot root;
        const QString path = root.filePath(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(path, file));
        CellStore cells(6, 9); // larger than the file: shrinks to it
        cells.setCell(5, 0, "old");
        LoadFromFile(cells, path, separator);
        QCOMPARE(dump(cells), table);
    }

    void missingFile() {
        TestDataRoot root;
        const QString path = root.filePath(QStringLiteral("none.txt"));
        CellStore cells(2, 2);
        cells.setCell(1, 1, "keep");
        try {
            LoadFromFile(cells, path, "\t");
            QFAIL("no error");
        } catch (const MFileError &e) {
            QCOMPARE(e.message(), QStringLiteral("File ") + path + QStringLiteral(" not found"));
        }
        QCOMPARE(cells.cell(1, 1), QByteArray("keep"));
    }

    void failedSaveKeepsOldFile() {
        TestDataRoot root;
        const QString blocker = root.filePath(QStringLiteral("plain"));
        QVERIFY(writeFileBytes(blocker, "old contents"));
        CellStore cells(2, 2);
        cells.setCell(0, 0, "new");
        // A path below a regular file cannot be created, even by root.
        QVERIFY_THROWS_EXCEPTION(IoError,
                                 SaveToFile(cells, blocker + QStringLiteral("/grid.txt"), ","));
        QCOMPARE(readFileBytes(blocker), QByteArray("old contents"));
        // Overwriting goes through a temporary file: the old one is replaced whole.
        SaveToFile(cells, blocker, ",");
        QCOMPARE(readFileBytes(blocker), QByteArray("new,\r\n,\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestGridFile)
#include "tst_gridfile.moc"
