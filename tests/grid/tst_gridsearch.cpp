#include "grid/gridsearch.h"
#include "grid/gridsort.h"
#include "platform/sjis.h"

#include "tests/grid/celltable.h"

#include <QLocale>

#include <QTest>

using namespace kelvari;
using kelvari::test::makeCells;

namespace {

using Hits = QList<QPoint>; // (column, row)

// Every match of a search, FindFirst's and then FindNext's until it fails.
Hits allHits(GridSorter &sorter, const CellStore &cells, bool found, int col, int row) {
    Hits hits;
    while (found) {
        hits << QPoint(col, row);
        found = sorter.FindNext(cells, col, row);
    }
    if (col != -1 || row != -1)
        hits << QPoint(col, row); // a failed search must answer -1, -1
    return hits;
}

const GridShape kOneHeader{1, 1};

CellStore smallGrid() {
    return makeCells(
        {QStringLiteral("#|A|B|C"), QStringLiteral("1|k|x|k"), QStringLiteral("2|y|k|z")});
}

} // namespace

class TestGridSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void findFirstAndNext_data() {
        QTest::addColumn<int>("useFixed");
        QTest::addColumn<bool>("rowWise");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<Hits>("hits");
        QTest::newRow("row-wise") << int(hfNot) << true << false << QByteArray("k")
                                  << Hits{{1, 1}, {3, 1}, {2, 2}};
        QTest::newRow("column-wise")
            << int(hfNot) << false << false << QByteArray("k") << Hits{{1, 1}, {2, 2}, {3, 1}};
        QTest::newRow("reverse: bottom-right first")
            << int(hfNot) << true << true << QByteArray("k") << Hits{{2, 2}, {3, 1}, {1, 1}};
        QTest::newRow("reverse column-wise")
            << int(hfNot) << false << true << QByteArray("k") << Hits{{3, 1}, {2, 2}, {1, 1}};
        QTest::newRow("headers not searched")
            << int(hfNot) << true << false << QByteArray("2") << Hits{};
        QTest::newRow("smart row-wise: header column searched")
            << int(hfSmart) << true << false << QByteArray("2") << Hits{{0, 2}};
        QTest::newRow("smart column-wise: header column not searched")
            << int(hfSmart) << false << false << QByteArray("2") << Hits{};
        QTest::newRow("yes: header row searched")
            << int(hfYes) << true << false << QByteArray("b") << Hits{{2, 0}};
    }
    void findFirstAndNext() {
        QFETCH(int, useFixed);
        QFETCH(bool, rowWise);
        QFETCH(bool, reverse);
        QFETCH(QByteArray, key);
        QFETCH(Hits, hits);
        const CellStore cells = smallGrid();
        GridSorter sorter;
        sorter.setUseFixed(HandleFixed(useFixed));
        sorter.SetReverseSearch(cells, reverse);
        int col = 0, row = 0;
        const bool found = sorter.FindFirst(cells, kOneHeader, key, rowWise, col, row);
        QCOMPARE(allHits(sorter, cells, found, col, row), hits);
        QVERIFY(sorter.SearchExists());
        QVERIFY(!sorter.FindNext(cells, col, row)); // stays finished
    }

    void continuesAfterTheMatch() {
        // The main window's grid: a word in column 2 of row 7.
        CellStore cells(4, 10);
        cells.setCell(2, 7, sj(u"単語"));
        GridSorter sorter;
        int col = 0, row = 0;
        QVERIFY(sorter.FindFirst(cells, kOneHeader, sj(u"単語"), true, col, row));
        QCOMPARE(QPoint(col, row), QPoint(2, 7));
        QCOMPARE(sorter.searchArea().currentCol, 3);
        QCOMPARE(sorter.searchArea().currentRow, 7);
    }

    void findInRowAndColumn() {
        const CellStore cells = smallGrid();
        GridSorter sorter;
        int col = 0, row = 0;
        bool found = sorter.FindFirstInRow(cells, kOneHeader, "k", 1, col, row);
        QCOMPARE(allHits(sorter, cells, found, col, row), (Hits{{1, 1}, {3, 1}}));
        sorter.SetReverseSearch(cells, true);
        found = sorter.FindFirstInRow(cells, kOneHeader, "k", 1, col, row);
        QCOMPARE(QPoint(col, row), QPoint(3, 1)); // starts at the last column
        found = sorter.FindFirstInCol(cells, kOneHeader, "k", 2, col, row);
        QCOMPARE(allHits(sorter, cells, found, col, row), (Hits{{2, 2}}));
    }

    void matching_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("substring");
        QTest::addColumn<int>("keyPos");
        QTest::addColumn<int>("keyLen");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("cell");
        QTest::addColumn<bool>("match");
        const int all = 2147483647;
        QTest::newRow("text ignores case")
            << int(soString) << false << 1 << all << QByteArray("abc") << QByteArray("ABC") << true;
        QTest::newRow("text is whole") << int(soString) << false << 1 << all << QByteArray("abc")
                                       << QByteArray("abcd") << false;
        QTest::newRow("substring ignores case") << int(soString) << true << 1 << all
                                                << QByteArray("abc") << QByteArray("xABCd") << true;
        QTest::newRow("japanese") << int(soString) << false << 1 << all << sj(u"読み")
                                  << sj(u"読み") << true;
        QTest::newRow("key cut 2,3")
            << int(soString) << false << 2 << 3 << QByteArray("abc") << QByteArray("xabcz") << true;
        QTest::newRow("substring ignores the cut")
            << int(soString) << true << 4 << 1 << QByteArray("abc") << QByteArray("xabcz") << true;
        // テ is 83 65: its second byte is an 'e'. Capitalised byte by byte it
        // would read 83 45, which is ウ.
        QTest::newRow("substring: a second byte is no letter (cell)")
            << int(soString) << true << 1 << all << sj(u"ウ") << sj(u"テスト") << false;
        QTest::newRow("substring: a second byte is no letter (key)")
            << int(soString) << true << 1 << all << sj(u"テ") << sj(u"ウス") << false;
        QTest::newRow("substring: double-byte and ASCII letters")
            << int(soString) << true << 1 << all << sj(u"aテ") << sj(u"xAテスト") << true;
        QTest::newRow("case-sensitive") << int(soStringCaseSensitive) << false << 1 << all
                                        << QByteArray("abc") << QByteArray("ABC") << false;
        QTest::newRow("case-sensitive substring") << int(soStringCaseSensitive) << true << 1 << all
                                                  << QByteArray("bc") << QByteArray("abcd") << true;
        QTest::newRow("number at real48 precision")
            << int(soNumeric) << false << 1 << all << QByteArray("1")
            << QByteArray("1.0000000000001") << true;
        QTest::newRow("number differs")
            << int(soNumeric) << false << 1 << all << QByteArray("2") << QByteArray("2.5") << false;
        QTest::newRow("date written differently")
            << int(soDate) << false << 1 << all << QByteArray("2024/1/2")
            << QByteArray("2024/01/02 0:00") << true;
        QTest::newRow("date and time")
            << int(soDate) << false << 1 << all << QByteArray("2024/1/2 1:05 PM")
            << QByteArray("2024/01/02 13:05:00") << true;
    }
    void matching() {
        QFETCH(int, type);
        QFETCH(bool, substring);
        QFETCH(int, keyPos);
        QFETCH(int, keyLen);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, cell);
        QFETCH(bool, match);
        CellStore cells(2, 2);
        cells.setCell(1, 1, cell);
        GridSorter sorter;
        sorter.setKeyType(TMSortType(type));
        sorter.setSearchSubstring(substring);
        sorter.setKeyPos(keyPos);
        sorter.setKeyLen(keyLen);
        int col = 0, row = 0;
        QCOMPARE(sorter.FindFirst(cells, kOneHeader, key, true, col, row), match);
    }

    void substringCapitalisesTheKey() {
        CellStore cells(2, 2);
        GridSorter sorter;
        sorter.setSearchSubstring(true);
        int col = 0, row = 0;
        sorter.FindFirst(cells, kOneHeader, sj(u"abcテ"), true, col, row);
        QCOMPARE(sorter.SearchKey(), sj(u"ABCテ")); // only the ASCII letters
    }

    void reverseSwitch() {
        const CellStore cells = smallGrid();
        GridSorter sorter;
        int col = 0, row = 0;
        QVERIFY(sorter.FindFirst(cells, kOneHeader, "k", true, col, row));
        QVERIFY(sorter.FindNext(cells, col, row));
        QCOMPARE(QPoint(col, row), QPoint(3, 1));
        // Turned around while running: continues from the last match backwards.
        sorter.SetReverseSearch(cells, true);
        QVERIFY(sorter.FindNext(cells, col, row));
        QCOMPARE(QPoint(col, row), QPoint(1, 1));
        QVERIFY(!sorter.FindNext(cells, col, row));
        QCOMPARE(QPoint(col, row), QPoint(-1, -1));
        // Turned around after the end: starts again from the other end.
        sorter.SetReverseSearch(cells, false);
        QVERIFY(sorter.FindNext(cells, col, row));
        QCOMPARE(QPoint(col, row), QPoint(1, 1));
    }

    void notADate() {
        CellStore cells = makeCells(
            {QStringLiteral("#|A"), QStringLiteral("1|2024/1/2"), QStringLiteral("2|soon")});
        GridSorter sorter;
        sorter.setKeyType(soDate);
        int col = 0, row = 0;
        const QString expected = QStringLiteral("'soon' は日付または時刻ではありません");
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                if (attempt == 0)
                    sorter.FindFirst(cells, kOneHeader, "2030/1/1", true, col, row);
                else
                    sorter.FindNext(cells, col, row); // meets the same cell again
                QFAIL("no conversion error");
            } catch (const AppError &e) {
                QCOMPARE(e.message(), expected);
            }
            QCOMPARE(sorter.searchArea().currentRow, 2);
        }
        try {
            sorter.FindFirst(cells, kOneHeader, "13/45/99", true, col, row);
            QFAIL("no conversion error");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), QStringLiteral("'13/45/99' は日付または時刻ではありません"));
        }
    }

    void readSystemDateTime_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("date") << QByteArray("2024/2/29") << true;
        QTest::newRow("date and seconds") << QByteArray("2024/2/29 23:59:59") << true;
        QTest::newRow("time alone") << QByteArray("12:30 AM") << true;
        QTest::newRow("no such day") << QByteArray("2023/2/29") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("trailing junk") << QByteArray("2024/1/1 x") << false;
        QTest::newRow("hour 24") << QByteArray("24:00") << false;
    }
    void readSystemDateTime() {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        bool ok = true;
        try {
            kelvari::readSystemDateTime(text);
        } catch (const AppError &) {
            ok = false;
        }
        QCOMPARE(ok, valid);
    }
};

QTEST_GUILESS_MAIN(TestGridSearch)
#include "tst_gridsearch.moc"
