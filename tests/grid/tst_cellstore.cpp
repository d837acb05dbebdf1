#include "grid/cellstore.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <QTest>

using namespace kelvari;

namespace {

QByteArray tag(int col, int row) {
    return QByteArray::number(col) + ':' + QByteArray::number(row);
}

// The main window's shape: 4 columns, 101 rows, every cell naming its position.
CellStore taggedStore(int cols = 4, int rows = 101) {
    CellStore store(cols, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            store.setCell(c, r, tag(c, r));
    return store;
}

// Row r of the store holds the tags of original row `from` (-1: empty).
bool rowIs(const CellStore &store, int r, int from) {
    for (int c = 0; c < store.colCount(); ++c) {
        const QByteArray expected = from < 0 ? QByteArray() : tag(c, from);
        if (store.cell(c, r) != expected) {
            qWarning("row %d col %d: '%s' expected '%s'", r, c, store.cell(c, r).constData(),
                     expected.constData());
            return false;
        }
    }
    return true;
}

} // namespace

class TestCellStore : public QObject {
    Q_OBJECT
private slots:
    void cellsRoundTrip_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("japanese") << sj(u"単語");
        QTest::newRow("trail byte 0x5C") << sj(u"表ソ");
        QTest::newRow("invalid shift-jis bytes") << QByteArray("\x81\x00\xff\x80", 4);
        QTest::newRow("127 bytes") << QByteArray(127, 'a');
        QTest::newRow("128 bytes: two-byte length") << QByteArray(128, 'b');
        QTest::newRow("70000 bytes") << QByteArray(70000, 'c');
    }
    void cellsRoundTrip() {
        QFETCH(QByteArray, text);
        CellStore store(4, 3);
        store.setCell(0, 1, "left");
        store.setCell(1, 1, text);
        store.setCell(3, 1, "right");
        QCOMPARE(store.cell(1, 1), text);
        QCOMPARE(store.cell(0, 1), QByteArray("left"));
        QCOMPARE(store.cell(3, 1), QByteArray("right"));
        QCOMPARE(QByteArray(store.cellView(1, 1).data(), qsizetype(store.cellView(1, 1).size())),
                 text);
        store.setCell(3, 1, {});
        QCOMPARE(store.cell(1, 1), text);
        QVERIFY(store.cell(3, 1).isEmpty());
    }

    void countsNeverBelowOne() {
        CellStore store(4, 10);
        store.setRowCount(0);
        store.setColCount(-5);
        QCOMPARE(store.rowCount(), 1);
        QCOMPARE(store.colCount(), 1);
        store.deleteRows(0, 5);
        QCOMPARE(store.rowCount(), 1);
    }

    void loweringCountsDropsCellsBeyond() {
        CellStore store = taggedStore(4, 10);
        store.setRowCount(5);
        store.setColCount(2);
        store.setRowCount(10);
        store.setColCount(4);
        QCOMPARE(store.cell(1, 4), tag(1, 4));
        QVERIFY(store.cell(2, 4).isEmpty());
        QVERIFY(store.cell(0, 5).isEmpty());
        QVERIFY(store.cell(3, 9).isEmpty());
    }

    void outsideCellsReadableAndWritable() {
        CellStore store(4, 5);
        store.setCell(6, 2, "wide");
        store.setCell(1, 8, "below");
        QCOMPARE(store.cell(6, 2), QByteArray("wide"));
        QCOMPARE(store.cell(1, 8), QByteArray("below"));
        QCOMPARE(store.rowCount(), 5);
        QCOMPARE(store.colCount(), 4);
        QVERIFY(store.cell(100, 100).isEmpty());
        QVERIFY(store.cell(-1, 0).isEmpty());
        // Raising the counts shows them; lowering drops them.
        store.setRowCount(9);
        store.setColCount(7);
        QCOMPARE(store.cell(1, 8), QByteArray("below"));
        QCOMPARE(store.cell(6, 2), QByteArray("wide"));
        store.setColCount(4);
        store.setColCount(7);
        QVERIFY(store.cell(6, 2).isEmpty());
        QVERIFY_THROWS_EXCEPTION(AppError, store.setCell(-1, 0, "x"));
    }

    // Row views are ColCount wide: moving rows leaves cells beyond the last column
    // where they were.
    void rowOperationsLeaveOutsideColumnsInPlace() {
        CellStore store = taggedStore(4, 6);
        store.setCell(5, 2, "outside");
        store.insertRows(1, 1);
        QVERIFY(rowIs(store, 3, 2));
        QCOMPARE(store.cell(5, 2), QByteArray("outside"));
        QVERIFY(store.cell(5, 3).isEmpty());
        store.deleteRows(0, 2);
        QVERIFY(rowIs(store, 1, 2));
        QCOMPARE(store.cell(5, 2), QByteArray("outside"));
        store.clearRow(2);
        QVERIFY(rowIs(store, 2, -1));
        QCOMPARE(store.cell(5, 2), QByteArray("outside"));
    }

    void insertRows_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::newRow("one row at 5") << 5 << 1;
        QTest::newRow("three rows at 5") << 5 << 3;
        QTest::newRow("inside the header row") << 0 << 1;
        QTest::newRow("append two") << 101 << 2;
        QTest::newRow("before the last row") << 100 << 1;
    }
    void insertRows() {
        QFETCH(int, index);
        QFETCH(int, count);
        CellStore store = taggedStore();
        store.insertRows(index, count);
        QCOMPARE(store.rowCount(), 101 + count);
        for (int r = 0; r < store.rowCount(); ++r) {
            const int from = r < index ? r : (r < index + count ? -1 : r - count);
            QVERIFY2(rowIs(store, r, from), qPrintable(QString::number(r)));
        }
    }

    void insertRowsOverwritesCellsJustBelowTheGrid() {
        CellStore store = taggedStore(4, 5);
        store.setCell(0, 5, "below 1");
        store.setCell(0, 7, "below 3");
        store.insertRows(1, 2);
        QVERIFY(rowIs(store, 6, 4));
        QCOMPARE(store.cell(0, 7), QByteArray("below 3"));
    }

    void deleteRows_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rowsAfter");
        QTest::newRow("one row at 5") << 5 << 1 << 100;
        QTest::newRow("count clamped at the end") << 99 << 5 << 99;
        QTest::newRow("the last row") << 100 << 1 << 100;
        QTest::newRow("header row") << 0 << 1 << 100;
        QTest::newRow("index = count: nothing") << 101 << 3 << 101;
    }
    void deleteRows() {
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(int, rowsAfter);
        CellStore store = taggedStore();
        store.deleteRows(index, count);
        QCOMPARE(store.rowCount(), rowsAfter);
        const int removed = 101 - rowsAfter;
        for (int r = 0; r < rowsAfter; ++r)
            QVERIFY2(rowIs(store, r, r < index ? r : r + removed), qPrintable(QString::number(r)));
        // Nothing of the removed rows survives beyond the new last row.
        store.setRowCount(101);
        for (int r = rowsAfter; r < 101; ++r)
            QVERIFY(rowIs(store, r, -1));
    }

    void deleteAllRowsLeavesOne() {
        CellStore store = taggedStore(4, 2);
        store.deleteRows(0, 2);
        QCOMPARE(store.rowCount(), 1);
        QVERIFY(rowIs(store, 0, -1));
    }

    void badRowArgumentsAreRangeErrors() {
        CellStore store = taggedStore(4, 5);
        QVERIFY_THROWS_EXCEPTION(AppError, store.insertRows(-1, 1));
        QVERIFY_THROWS_EXCEPTION(AppError, store.insertRows(6, 1));
        QVERIFY_THROWS_EXCEPTION(AppError, store.deleteRows(-1, 1));
        QVERIFY_THROWS_EXCEPTION(AppError, store.deleteCols(5, 1));
        store.insertRows(2, 0);
        store.deleteRows(2, -1);
        QCOMPARE(store.rowCount(), 5);
        QVERIFY(rowIs(store, 2, 2));
    }

    void insertAndDeleteCols() {
        CellStore store = taggedStore(4, 3);
        store.insertCols(1, 2);
        QCOMPARE(store.colCount(), 6);
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(store.cell(0, r), tag(0, r));
            QVERIFY(store.cell(1, r).isEmpty());
            QVERIFY(store.cell(2, r).isEmpty());
            QCOMPARE(store.cell(3, r), tag(1, r));
            QCOMPARE(store.cell(5, r), tag(3, r));
        }
        store.deleteCols(0, 3);
        QCOMPARE(store.colCount(), 3);
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(store.cell(0, r), tag(1, r));
            QCOMPARE(store.cell(2, r), tag(3, r));
        }
        store.deleteCols(1, 10);
        QCOMPARE(store.colCount(), 1);
        QCOMPARE(store.cell(0, 2), tag(1, 2));
    }

    void copyAndClearViews() {
        CellStore store = taggedStore(4, 4);
        store.copyRow(3, 1);
        QVERIFY(rowIs(store, 3, 1));
        store.copyCol(0, 2);
        QCOMPARE(store.cell(0, 3), tag(2, 1));
        QCOMPARE(store.cell(0, 0), tag(2, 0));
        store.clearCol(1);
        for (int r = 0; r < 4; ++r)
            QVERIFY(store.cell(1, r).isEmpty());
        QCOMPARE(store.cell(2, 0), tag(2, 0));
    }

    void moveRowAndCol() {
        CellStore store = taggedStore(4, 6);
        store.moveRow(1, 4);
        QVERIFY(rowIs(store, 1, 2));
        QVERIFY(rowIs(store, 3, 4));
        QVERIFY(rowIs(store, 4, 1));
        store.moveRow(4, 1);
        for (int r = 0; r < 6; ++r)
            QVERIFY(rowIs(store, r, r));
        store.moveCol(3, 0);
        QCOMPARE(store.cell(0, 2), tag(3, 2));
        QCOMPARE(store.cell(1, 2), tag(0, 2));
        QCOMPARE(store.cell(3, 2), tag(2, 2));
        QVERIFY_THROWS_EXCEPTION(AppError, store.moveRow(0, 6));
    }

    void permute_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("identity") << 1 << QList<int>{0, 1, 2};
        QTest::newRow("reverse") << 0 << QList<int>{4, 3, 2, 1, 0};
        QTest::newRow("one long cycle") << 1 << QList<int>{1, 2, 3, 0};
        QTest::newRow("two cycles") << 0 << QList<int>{1, 0, 3, 4, 2};
        QTest::newRow("empty") << 2 << QList<int>{};
    }
    void permute() {
        QFETCH(int, first);
        QFETCH(QList<int>, order);
        const std::vector<int> vec(order.begin(), order.end());
        CellStore rows = taggedStore(5, 5);
        rows.permuteRows(first, vec);
        CellStore cols = taggedStore(5, 5);
        cols.permuteCols(first, vec);
        for (int i = 0; i < 5; ++i) {
            const bool inside = i >= first && i < first + order.size();
            const int from = inside ? first + order[i - first] : i;
            QVERIFY(rowIs(rows, i, from));
            for (int r = 0; r < 5; ++r)
                QCOMPARE(cols.cell(i, r), tag(from, r));
        }
    }

    void badPermutationIsRejectedUntouched() {
        CellStore store = taggedStore(4, 5);
        QVERIFY_THROWS_EXCEPTION(AppError, store.permuteRows(0, {0, 0, 1}));
        QVERIFY_THROWS_EXCEPTION(AppError, store.permuteRows(3, {0, 1, 2}));
        QVERIFY_THROWS_EXCEPTION(AppError, store.permuteCols(0, {1, 2}));
        for (int r = 0; r < 5; ++r)
            QVERIFY(rowIs(store, r, r));
    }

    void packedRows() {
        const CellStore::PackedRow packed = CellStore::packRow({"a", "", sj(u"語"), "", ""});
        QCOMPARE(CellStore::cellOf(packed, 0), std::string_view("a"));
        QVERIFY(CellStore::cellOf(packed, 1).empty());
        QCOMPARE(CellStore::cellOf(packed, 2), std::string_view(sj(u"語").constData(), 2));
        QVERIFY(CellStore::cellOf(packed, 7).empty());
        QVERIFY(CellStore::packRow({"", ""}).empty());
        CellStore store(3, 2);
        store.setPackedRow(1, packed);
        QCOMPARE(store.cell(2, 1), sj(u"語"));
        QCOMPARE(store.packedRow(1), packed);
        QVERIFY(store.packedRow(50).empty());
        QVERIFY(store.isRowEmpty(0, 0, 2));
        QVERIFY(!store.isRowEmpty(1, 1, 2));
        QVERIFY(store.isRowEmpty(1, 1, 1));
    }

    // Copies of rows (a snapshot of the document holds them) share the bytes
    // with the store; no change of the store may reach into them.
    void rowCopiesKeepTheirText_data() {
        QTest::addColumn<int>("operation");
        const char *names[] = {"setCell",
                               "clearRow",
                               "copyRow",
                               "copyCol",
                               "clearCol",
                               "insertCols",
                               "deleteCols",
                               "moveCol",
                               "permuteCols",
                               "lower ColCount",
                               "cell beyond ColCount",
                               "setCell of the same length"};
        for (int i = 0; i < int(std::size(names)); ++i)
            QTest::newRow(names[i]) << i;
    }
    void rowCopiesKeepTheirText() {
        QFETCH(int, operation);
        CellStore store = taggedStore(4, 6);
        store.setCell(5, 3, "outside");
        std::vector<PackedRow> copies;
        std::vector<std::string> texts;
        for (int r = 0; r < 6; ++r) {
            copies.push_back(store.packedRow(r));
            texts.emplace_back(copies.back().view());
            QVERIFY(copies.back().isSharedWith(store.packedRow(r)));
        }
        switch (operation) {
        case 0:
            store.setCell(2, 1, "x");
            break;
        case 1:
            store.clearRow(3);
            break;
        case 2:
            store.copyRow(1, 3);
            break;
        case 3:
            store.copyCol(0, 2);
            break;
        case 4:
            store.clearCol(1);
            break;
        case 5:
            store.insertCols(1, 1);
            break;
        case 6:
            store.deleteCols(0, 1);
            break;
        case 7:
            store.moveCol(3, 0);
            break;
        case 8:
            store.permuteCols(0, {3, 2, 1, 0});
            break;
        case 9:
            store.setColCount(2);
            break;
        case 10:
            store.setCell(6, 2, "far");
            break;
        case 11: // renumbering writes texts of the old length
            store.setCell(1, 2, QByteArray(qsizetype(store.cellView(1, 2).size()), 'z'));
            break;
        }
        bool someRowChanged = false;
        for (int r = 0; r < 6; ++r) {
            QCOMPARE(copies[size_t(r)].view(), std::string_view(texts[size_t(r)]));
            if (!copies[size_t(r)].isSharedWith(store.packedRow(r)))
                someRowChanged = true;
        }
        QVERIFY(someRowChanged);
    }

    // Renumbering writes the row number over the old one, in the copies too; the
    // words of a copy stay, and a number of another length builds a new row.
    void rowNumbersAreWrittenInPlace() {
        CellStore store = taggedStore(4, 3);
        store.setCell(0, 1, "1");
        store.setCell(0, 2, "2");
        const PackedRow copy = store.packedRow(1);
        store.setRowNumber(1, "7");
        QCOMPARE(store.cell(0, 1), QByteArray("7"));
        QVERIFY(copy.isSharedWith(store.packedRow(1)));
        QCOMPARE(CellStore::cellOf(copy, 2), std::string_view(tag(2, 1).constData()));

        const PackedRow other = store.packedRow(2);
        store.setRowNumber(2, "10");
        QCOMPARE(store.cell(0, 2), QByteArray("10"));
        QCOMPARE(CellStore::cellOf(other, 0), std::string_view("2"));
        QVERIFY(!other.isSharedWith(store.packedRow(2)));
    }

    void rowMovesShareRows() {
        CellStore store = taggedStore(4, 6);
        const PackedRow row2 = store.packedRow(2);
        store.copyRow(4, 2);
        QVERIFY(store.packedRow(4).isSharedWith(row2));
        store.moveRow(2, 5);
        store.insertRows(0, 1);
        store.permuteRows(1, {1, 0});
        QVERIFY(store.packedRow(6).isSharedWith(row2));
        // A copy of the store shares every row until one side changes it.
        CellStore other = store;
        other.setCell(1, 6, "changed");
        QVERIFY(store.packedRow(6).isSharedWith(row2));
        QCOMPARE(store.cell(1, 6), tag(1, 2));
        // Equal text is equal, shared or not.
        QCOMPARE(PackedRow(row2.view()), row2);
        QVERIFY(!PackedRow(row2.view()).isSharedWith(row2));
    }

    void assignRowsSharesThem() {
        std::vector<PackedRow> rows{CellStore::packRow({"1", "a"}),
                                    CellStore::packRow({"2", "b", "", "", "wide"})};
        CellStore store(4, 2);
        store.assignRows(1, rows, 5);
        QCOMPARE(store.rowCount(), 2); // rows below the last one are stored, not shown
        QVERIFY(store.packedRow(1).isSharedWith(rows[0]));
        QCOMPARE(store.cell(4, 2), QByteArray("wide"));
        // The wide row's cell beyond ColCount stays in place when rows move.
        store.setRowCount(3);
        store.insertRows(0, 1);
        QCOMPARE(store.cell(1, 3), QByteArray("b"));
        QCOMPARE(store.cell(4, 2), QByteArray("wide"));
    }

    void replaceRows_data() {
        QTest::addColumn<int>("newRows");
        QTest::addColumn<bool>("belowKept");
        // A cell written below the old last row (row 8 of 5) is kept when the
        // new count reaches past the old one, as raising RowCount would.
        QTest::newRow("more rows") << 7 << true;
        QTest::newRow("fewer rows") << 3 << false;
        QTest::newRow("none: one empty row") << 0 << false;
    }
    void replaceRows() {
        QFETCH(int, newRows);
        QFETCH(bool, belowKept);
        CellStore store = taggedStore(4, 5);
        store.setCell(1, 8, "below");
        store.setCell(6, 1, "wide");
        std::vector<CellStore::PackedRow> rows;
        for (int r = 0; r < newRows; ++r)
            rows.push_back(CellStore::packRow({"n", QByteArray::number(r)}));
        store.replaceRows(std::move(rows), 2);
        QCOMPARE(store.rowCount(), std::max(1, newRows));
        QCOMPARE(store.colCount(), 2);
        for (int r = 0; r < newRows; ++r)
            QCOMPARE(store.cell(1, r), QByteArray::number(r));
        QVERIFY(store.cell(6, 1).isEmpty()); // old rows are replaced whole
        if (newRows == 0)
            QVERIFY(store.isRowEmpty(0, 0, 1));
        store.setRowCount(9);
        QCOMPARE(store.cell(1, 8), belowKept ? QByteArray("below") : QByteArray());
        // Rows still move as whole rows after a load.
        store.insertRows(0, 1);
        QVERIFY(store.isRowEmpty(0, 0, 1));
        if (newRows > 0)
            QCOMPARE(store.cell(1, 1), QByteArray("0"));
    }
};

QTEST_GUILESS_MAIN(TestCellStore)
#include "tst_cellstore.moc"
