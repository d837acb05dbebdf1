#include "grid/gridsort.h"
#include "platform/sjis.h"

#include "tests/grid/celltable.h"

#include <QLocale>

#include <QTest>

using namespace kelvari;
using kelvari::test::dump;
using kelvari::test::makeCells;

namespace {

const GridShape kOneHeader{1, 1};

enum Op { CompleteRows, CompleteColumns, Col, Row, AllRows, AllCols };

void run(GridSorter &sorter, CellStore &cells, Op op, int line) {
    switch (op) {
    case CompleteRows:
        sorter.SortCompleteRows(cells, kOneHeader, line);
        break;
    case CompleteColumns:
        sorter.SortCompleteColumns(cells, kOneHeader, line);
        break;
    case Col:
        sorter.SortCol(cells, kOneHeader, line);
        break;
    case Row:
        sorter.SortRow(cells, kOneHeader, line);
        break;
    case AllRows:
        sorter.SortAllRows(cells, kOneHeader);
        break;
    case AllCols:
        sorter.SortAllCols(cells, kOneHeader);
        break;
    }
}

} // namespace

class TestGridSort : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void sortCompleteRows_data() {
        QTest::addColumn<int>("useFixed");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        const QString head = QStringLiteral("#|読み|単語");
        QTest::newRow("C B A ascending, row numbers stay")
            << int(hfNot) << false
            << QStringList{head, QStringLiteral("1|C|c"), QStringLiteral("2|B|b"),
                           QStringLiteral("3|A|a")}
            << QStringList{head, QStringLiteral("1|A|a"), QStringLiteral("2|B|b"),
                           QStringLiteral("3|C|c")};
        QTest::newRow("equal keys keep their order")
            << int(hfNot) << false
            << QStringList{head, QStringLiteral("1|B|first"), QStringLiteral("2|A|x"),
                           QStringLiteral("3|b|second")}
            << QStringList{head, QStringLiteral("1|A|x"), QStringLiteral("2|B|first"),
                           QStringLiteral("3|b|second")};
        QTest::newRow("descending: equal keys still in earlier order")
            << int(hfNot) << true
            << QStringList{head, QStringLiteral("1|B|first"), QStringLiteral("2|A|x"),
                           QStringLiteral("3|b|second")}
            << QStringList{head, QStringLiteral("1|B|first"), QStringLiteral("2|b|second"),
                           QStringLiteral("3|A|x")};
        QTest::newRow("smart: header column moves with its row")
            << int(hfSmart) << false
            << QStringList{head, QStringLiteral("1|C|c"), QStringLiteral("2|A|a")}
            << QStringList{head, QStringLiteral("2|A|a"), QStringLiteral("1|C|c")};
        QTest::newRow("yes: header row joins the order")
            << int(hfYes) << false
            << QStringList{QStringLiteral("#|B|h"), QStringLiteral("1|C|c"),
                           QStringLiteral("2|A|a")}
            << QStringList{QStringLiteral("2|A|a"), QStringLiteral("#|B|h"),
                           QStringLiteral("1|C|c")};
    }
    void sortCompleteRows() {
        QFETCH(int, useFixed);
        QFETCH(bool, descending);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        CellStore cells = makeCells(before);
        GridSorter sorter;
        sorter.setUseFixed(HandleFixed(useFixed));
        sorter.setSortDescending(descending);
        sorter.SortCompleteRows(cells, kOneHeader, 1);
        QCOMPARE(dump(cells), after);
        QCOMPARE(sorter.lastSortKind(), 1);
    }

    void numericRowsKeepZerosInPlace() {
        // Texts without a number all read 0; the whole-row sort keeps their order.
        CellStore cells =
            makeCells({QStringLiteral("#|n"), QStringLiteral("1|10"), QStringLiteral("2|abc"),
                       QStringLiteral("3|"), QStringLiteral("4|2x"), QStringLiteral("5|9")});
        GridSorter sorter;
        sorter.setKeyType(soNumeric);
        sorter.SortCompleteRows(cells, kOneHeader, 1);
        QCOMPARE(dump(cells), (QStringList{QStringLiteral("#|n"), QStringLiteral("1|abc"),
                                           QStringLiteral("2|"), QStringLiteral("3|2x"),
                                           QStringLiteral("4|9"), QStringLiteral("5|10")}));
        // Sorting one column orders the zeros as text.
        cells = makeCells({QStringLiteral("#|n"), QStringLiteral("1|10"), QStringLiteral("2|9"),
                           QStringLiteral("3|abc"), QStringLiteral("4|"), QStringLiteral("5|2x")});
        sorter.SortCol(cells, kOneHeader, 1);
        QCOMPARE(dump(cells), (QStringList{QStringLiteral("#|n"), QStringLiteral("1|"),
                                           QStringLiteral("2|abc"), QStringLiteral("3|2x"),
                                           QStringLiteral("4|9"), QStringLiteral("5|10")}));
    }

    void otherSorts_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("useFixed");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("after");
        // Before: the same 3 x 3 table each time (see otherSorts).
        QTest::newRow("complete columns by row 1, header row stays")
            << int(CompleteColumns) << int(hfNot) << 1
            << QStringList{QStringLiteral("h|x|y"), QStringLiteral("r1|a|c"),
                           QStringLiteral("r2|f|b")};
        QTest::newRow("complete columns, smart: header row moves")
            << int(CompleteColumns) << int(hfSmart) << 1
            << QStringList{QStringLiteral("h|y|x"), QStringLiteral("r1|a|c"),
                           QStringLiteral("r2|f|b")};
        QTest::newRow("one column")
            << int(Col) << int(hfNot) << 1
            << QStringList{QStringLiteral("h|x|y"), QStringLiteral("r1|b|a"),
                           QStringLiteral("r2|c|f")};
        QTest::newRow("one row, yes: header cell joins")
            << int(Row) << int(hfYes) << 2
            << QStringList{QStringLiteral("h|x|y"), QStringLiteral("r1|c|a"),
                           QStringLiteral("b|f|r2")};
        QTest::newRow("all rows") << int(AllRows) << int(hfNot) << 0
                                  << QStringList{QStringLiteral("h|x|y"), QStringLiteral("r1|a|c"),
                                                 QStringLiteral("r2|b|f")};
        QTest::newRow("all columns")
            << int(AllCols) << int(hfNot) << 0
            << QStringList{QStringLiteral("h|x|y"), QStringLiteral("r1|b|a"),
                           QStringLiteral("r2|c|f")};
    }
    void otherSorts() {
        QFETCH(int, op);
        QFETCH(int, useFixed);
        QFETCH(int, line);
        QFETCH(QStringList, after);
        CellStore cells = makeCells(
            {QStringLiteral("h|x|y"), QStringLiteral("r1|c|a"), QStringLiteral("r2|b|f")});
        GridSorter sorter;
        sorter.setUseFixed(HandleFixed(useFixed));
        run(sorter, cells, Op(op), line);
        QCOMPARE(dump(cells), after);
    }

    void undoTwice_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("useFixed");
        for (int op = CompleteRows; op <= AllCols; ++op) {
            for (int fixed : {int(hfNot), int(hfYes)})
                QTest::addRow("op %d, fixed %d", op, fixed) << op << fixed;
        }
    }
    void undoTwice() {
        QFETCH(int, op);
        QFETCH(int, useFixed);
        const QStringList original{QStringLiteral("z|q|p|o"), QStringLiteral("3|d|b|a"),
                                   QStringLiteral("1|a|c|b"), QStringLiteral("2|c|a|e")};
        CellStore cells = makeCells(original);
        GridSorter sorter;
        sorter.setUseFixed(HandleFixed(useFixed));
        run(sorter, cells, Op(op), 2);
        const QStringList sorted = dump(cells);
        QVERIFY(sorted != original);
        sorter.UndoSort(cells);
        QCOMPARE(dump(cells), original);
        sorter.UndoSort(cells);
        QCOMPARE(dump(cells), sorted);
    }

    void sortIndexHoldsTheUndoOrder() {
        CellStore cells = makeCells({QStringLiteral("h|k"), QStringLiteral("1|c"),
                                     QStringLiteral("2|a"), QStringLiteral("3|b")});
        GridSorter sorter;
        sorter.SortCompleteRows(cells, kOneHeader, 1);
        // Rows 2, 3, 1 moved to 1, 2, 3: row 1 went to 3, and so on.
        QList<QByteArray> texts;
        for (int k = 0; k < sorter.SortIndex().count(); ++k)
            texts << sorter.SortIndex().string(k);
        QCOMPARE(texts, (QList<QByteArray>{"0", "3", "1", "2"}));
    }

    void failedDateSortChangesNothing() {
        const QStringList dates{QStringLiteral("h|d"), QStringLiteral("1|1:00 PM"),
                                QStringLiteral("2|12:00 AM")};
        CellStore cells = makeCells(dates);
        GridSorter sorter;
        sorter.setKeyType(soDate);
        sorter.setDateTimeFormat("H:MM AMPM");
        sorter.SortCompleteRows(cells, kOneHeader, 1);
        const QStringList sorted = dump(cells);
        cells.setCell(1, 1, "12:00"); // no AM or PM
        const QStringList broken = dump(cells);
        QVERIFY_THROWS_EXCEPTION(E_Format_Invalid, sorter.SortCol(cells, kOneHeader, 1));
        QCOMPARE(dump(cells), broken);
        QCOMPARE(sorter.lastSortKind(), 1);
        sorter.UndoSort(cells); // the earlier sort can still be undone
        QCOMPARE(dump(cells),
                 (QStringList{dates[0], QStringLiteral("1|1:00 PM"), QStringLiteral("2|12:00")}));
    }

    void undoAfterShrinkDoesNothing() {
        CellStore cells = makeCells({QStringLiteral("h|k"), QStringLiteral("1|c"),
                                     QStringLiteral("2|a"), QStringLiteral("3|b")});
        GridSorter sorter;
        sorter.SortCompleteRows(cells, kOneHeader, 1);
        cells.deleteRows(3, 1);
        const QStringList now = dump(cells);
        sorter.UndoSort(cells);
        QCOMPARE(dump(cells), now);
    }

    void sortIndexReadsTheSortersSettings() {
        GridSorter sorter;
        QCOMPARE(&sorter.SortIndex().settings(), &sorter.settings());
        QCOMPARE(sorter.DateTimeFormat(), sorter.SortIndex().DateTimeFormat());
        QCOMPARE(sorter.ShortYearBorder(), 10);
        QVERIFY(sorter.ShortYearExpand());
        sorter.setShortYearBorder(50);
        sorter.setShortYearExpand(false);
        sorter.setKeyType(soNumeric);
        sorter.setKeyPos(0); // kept as set, read as 1
        sorter.setSortDescending(true);
        QCOMPARE(sorter.SortIndex().ShortYearBorder(), 50);
        QVERIFY(!sorter.SortIndex().ShortYearExpand());
        QCOMPARE(sorter.SortIndex().keyType(), soNumeric);
        QCOMPARE(sorter.KeyPos(), 0);
        QCOMPARE(sorter.SortIndex().keyPos(), 1);
        QVERIFY(sorter.SortIndex().descending());
        QVERIFY_THROWS_EXCEPTION(E_Format_Invalid, sorter.setDateTimeFormat("yy/qq/dd"));
        QCOMPARE(sorter.DateTimeFormat(), QByteArray("yy/qq/dd"));
        QCOMPARE(sorter.SortIndex().DateTimeFormat(), QByteArray("yy/qq/dd"));
    }
};

QTEST_GUILESS_MAIN(TestGridSort)
#include "tst_gridsort.moc"
