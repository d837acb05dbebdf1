// Sorting, searching and the grid file through TmStrGrid: the grid hands the
// right cells, header counts and arguments to the core and keeps its view in
// step. The orders themselves are tested with the core.

#include "grid/gridfile.h"
#include "grid/gridsort.h"
#include "grid/tmstrgrid.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;

namespace {

// A small word list as the main window shows it: row numbers in column 0, a
// header row on top.
void fillWordTable(TmStrGrid &grid) {
    const char16_t *const table[5][4] = {
        {u"No", u"読み", u"語句", u"品詞"}, {u"1", u"さくら", u"桜", u"名詞"},
        {u"2", u"あめ", u"雨", u"名詞"},    {u"3", u"かぜ", u"風", u"動詞"},
        {u"4", u"いぬ", u"犬", u"名詞"},
    };
    grid.SetColCount(4);
    grid.SetRowCount(5);
    const auto bulk = grid.bulkChange();
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 4; ++col)
            grid.cells().setCell(col, row, sj(table[row][col]));
}

QList<QByteArray> allCells(const CellStore &cells) {
    QList<QByteArray> out;
    for (int row = 0; row < cells.rowCount(); ++row)
        for (int col = 0; col < cells.colCount(); ++col)
            out << cells.cell(col, row);
    return out;
}

// What the view shows: the model's items and headers, row by row.
QStringList shown(const TmStrGrid &grid) {
    const QAbstractItemModel *model = grid.model();
    QStringList out;
    for (int col = 0; col < model->columnCount(); ++col)
        out << model->headerData(col, Qt::Horizontal).toString();
    for (int row = 0; row < model->rowCount(); ++row) {
        out << model->headerData(row, Qt::Vertical).toString();
        for (int col = 0; col < model->columnCount(); ++col)
            out << model->data(model->index(row, col)).toString();
    }
    return out;
}

// The view's items agree with the cells and the counts.
void verifyModelMatchesCells(const TmStrGrid &grid) {
    const QAbstractItemModel *model = grid.model();
    QCOMPARE(model->rowCount(), grid.RowCount() - grid.FixedRows());
    QCOMPARE(model->columnCount(), grid.ColCount() - grid.FixedCols());
    for (int row = 0; row < model->rowCount(); ++row)
        for (int col = 0; col < model->columnCount(); ++col)
            QCOMPARE(model->data(model->index(row, col)).toString(),
                     sjis::decode(grid.Cells(col + grid.FixedCols(), row + grid.FixedRows())));
}

QStringList words(std::initializer_list<const char16_t *> texts) {
    QStringList out;
    for (const char16_t *text : texts)
        out << QString::fromUtf16(text);
    return out;
}

void pressHeaderOfColumn(TmStrGrid &grid, int col) {
    QHeaderView *header = grid.horizontalHeader();
    const int section = col - grid.FixedCols();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, at);
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

enum Op { CompleteRows, CompleteColumns, Col, Row, AllRows, AllCols };
enum Failure { DateKeyWithoutAmPm, MissingFile, SearchKeyNotADate };

} // namespace

class TestTmStrGridSort : public QObject {
    Q_OBJECT
private slots:
    void sortCompleteRowsKeepsHeadersAndResetsView() {
        TmStrGrid grid;
        fillWordTable(grid);
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
        const QStringList before = shown(grid);

        grid.SortCompleteRows(1);
        QCOMPARE(resets.size(), 1);
        // Header row in place; row numbers stay with their positions (hfNot).
        QCOMPARE(shown(grid), words({u"読み", u"語句", u"品詞", u"1", u"あめ", u"雨", u"名詞", u"2",
                                     u"いぬ", u"犬", u"名詞", u"3", u"かぜ", u"風", u"動詞", u"4",
                                     u"さくら", u"桜", u"名詞"}));
        QCOMPARE(grid.Cells(0, 0), QByteArray("No"));

        grid.UndoSort();
        QCOMPARE(shown(grid), before);
        grid.UndoSort();
        QCOMPARE(grid.Cells(1, 1), sj(u"あめ"));
        QCOMPARE(resets.size(), 3);
    }

    // Each sort gets its argument, the grid's key settings and the header
    // counts: the same operation on a copy of the cells gives the same table.
    void sortsMatchTheCoreUnderModelTester_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("useFixed");
        QTest::addColumn<bool>("descending");
        QTest::newRow("complete rows") << int(CompleteRows) << 2 << int(hfNot) << false;
        QTest::newRow("complete columns, smart")
            << int(CompleteColumns) << 3 << int(hfSmart) << true;
        QTest::newRow("one column") << int(Col) << 4 << int(hfNot) << false;
        QTest::newRow("one row, all cells") << int(Row) << 1 << int(hfYes) << false;
        QTest::newRow("all rows, smart") << int(AllRows) << 0 << int(hfSmart) << false;
        QTest::newRow("all columns, descending") << int(AllCols) << 0 << int(hfNot) << true;
    }

    void sortsMatchTheCoreUnderModelTester() {
        QFETCH(int, op);
        QFETCH(int, line);
        QFETCH(int, useFixed);
        QFETCH(bool, descending);
        TmStrGrid grid;
        grid.SetColCount(5);
        grid.SetRowCount(6);
        {
            const auto bulk = grid.bulkChange();
            for (int row = 0; row < 6; ++row)
                for (int col = 0; col < 5; ++col)
                    grid.cells().setCell(col, row,
                                         QByteArray(1, char('a' + (col * 7 + row * 11) % 26)) +
                                             QByteArray::number(col * 10 + row));
        }
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.SetUseFixed(HandleFixed(useFixed));
        grid.SetSortDescending(descending);
        const QList<QByteArray> original = allCells(grid.cells());

        CellStore expected = grid.cells();
        GridSorter core;
        core.setUseFixed(HandleFixed(useFixed));
        core.setSortDescending(descending);
        const GridShape shape{1, 1};
        switch (Op(op)) {
        case CompleteRows:
            core.SortCompleteRows(expected, shape, line);
            grid.SortCompleteRows(line);
            break;
        case CompleteColumns:
            core.SortCompleteColumns(expected, shape, line);
            grid.SortCompleteColumns(line);
            break;
        case Col:
            core.SortCol(expected, shape, line);
            grid.SortCol(line);
            break;
        case Row:
            core.SortRow(expected, shape, line);
            grid.SortRow(line);
            break;
        case AllRows:
            core.SortAllRows(expected, shape);
            grid.SortAllRows();
            break;
        case AllCols:
            core.SortAllCols(expected, shape);
            grid.SortAllCols();
            break;
        }
        QVERIFY(allCells(expected) != original);
        QCOMPARE(allCells(grid.cells()), allCells(expected));
        verifyModelMatchesCells(grid);

        grid.UndoSort();
        QCOMPARE(allCells(grid.cells()), original);
        verifyModelMatchesCells(grid);
    }

    // A click handler sorts by the clicked header's column while the press has
    // set FixedRows/FixedCols to 0; the header row must not join the order.
    void sortFromHeaderPress() {
        TmStrGrid grid;
        fillWordTable(grid);
        grid.SetClickFixed(true);
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
        int sorts = 0;
        grid.OnClick = [&](TmStrGrid &g) {
            if (g.Row() < g.SavedFixedRows() && g.Col() >= g.SavedFixedCols()) {
                QCOMPARE(g.FixedRows(), 0);
                g.SortCompleteRows(g.Col());
                ++sorts;
            }
        };

        pressHeaderOfColumn(grid, 1);
        QCOMPARE(sorts, 1);
        QVERIFY(resets.size() >= 1);
        QCOMPARE(grid.FixedRows(), 1);
        QCOMPARE(grid.FixedCols(), 1);
        QCOMPARE(grid.Cells(1, 0), sj(u"読み"));
        const QAbstractItemModel *model = grid.model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("読み"));
        QStringList readings;
        for (int row = 0; row < model->rowCount(); ++row)
            readings << model->data(model->index(row, 0)).toString();
        QCOMPARE(readings, words({u"あめ", u"いぬ", u"かぜ", u"さくら"}));
        verifyModelMatchesCells(grid);
        QCOMPARE(grid.currentIndex(), model->index(0, 0));
    }

    // A load from a press handler shrinks the grid under the header counts the
    // press is about to put back: they are lowered like the grid's own.
    void loadFromHeaderPressFitsTheHeaders() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("one.txt"));
        writeFile(path, "a\tb\tc\r\n");
        TmStrGrid grid;
        fillWordTable(grid);
        grid.SetClickFixed(true);
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.OnClick = [&](TmStrGrid &g) { g.LoadFromFile(path, "\t"); };

        pressHeaderOfColumn(grid, 2);
        QCOMPARE(grid.RowCount(), 1);
        QCOMPARE(grid.ColCount(), 3);
        QCOMPARE(grid.FixedRows(), 0);
        QCOMPARE(grid.FixedCols(), 1);
        QCOMPARE(grid.SavedFixedCols(), 1);
        verifyModelMatchesCells(grid);
    }

    void findThroughGrid() {
        TmStrGrid grid;
        fillWordTable(grid);
        QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
        QSignalSpy changes(&grid, &TmStrGrid::cellsChanged);
        int col = 0;
        int row = 0;

        QVERIFY(!grid.SearchExists());
        QVERIFY(grid.FindFirst(sj(u"名詞"), true, col, row));
        QCOMPARE(QPoint(col, row), QPoint(3, 1));
        QVERIFY(grid.SearchExists());
        QCOMPARE(grid.SearchKey(), sj(u"名詞"));
        QVERIFY(grid.FindNext(col, row));
        QCOMPARE(QPoint(col, row), QPoint(3, 2));
        // Turned around, the search goes back from the last match.
        grid.SetReverseSearch(true);
        QVERIFY(grid.ReverseSearch());
        QVERIFY(grid.FindNext(col, row));
        QCOMPARE(QPoint(col, row), QPoint(3, 1));
        QVERIFY(!grid.FindNext(col, row));
        QCOMPARE(QPoint(col, row), QPoint(-1, -1));
        grid.SetReverseSearch(false);

        QVERIFY(grid.FindFirstInRow(sj(u"名詞"), 4, col, row));
        QCOMPARE(QPoint(col, row), QPoint(3, 4));
        QVERIFY(grid.FindFirstInCol(sj(u"かぜ"), 1, col, row));
        QCOMPARE(QPoint(col, row), QPoint(1, 3));
        // The header row stays out with hfNot, joins with hfYes.
        QVERIFY(!grid.FindFirst(sj(u"読み"), true, col, row));
        QCOMPARE(QPoint(col, row), QPoint(-1, -1));
        grid.SetUseFixed(hfYes);
        QVERIFY(grid.FindFirst(sj(u"読み"), false, col, row));
        QCOMPARE(QPoint(col, row), QPoint(1, 0));

        QCOMPARE(resets.size(), 0);
        QCOMPARE(changes.size(), 0);
    }

    void saveAndLoadThroughGrid() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("words.txt"));
        TmStrGrid source;
        fillWordTable(source);
        source.SaveToFile(path, "\t");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readLine().startsWith("No\t" + sj(u"読み\t語句\t品詞") + "\r\n"));
        file.close();

        TmStrGrid grid; // 5 x 5
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changes(&grid, &TmStrGrid::cellsChanged);
        grid.LoadFromFile(path, "\t");
        QCOMPARE(changes.size(), 1);
        QCOMPARE(grid.RowCount(), 5);
        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(allCells(grid.cells()), allCells(source.cells()));
        QCOMPARE(shown(grid), shown(source));

        // One line: the header row has to go, the header column fits.
        const QString single = dir.filePath(QStringLiteral("single.txt"));
        writeFile(single, "\r\nx,y\r\n\r\n");
        grid.LoadFromFile(single, ",");
        QCOMPARE(grid.RowCount(), 1);
        QCOMPARE(grid.ColCount(), 2);
        QCOMPARE(grid.FixedRows(), 0);
        QCOMPARE(grid.FixedCols(), 1);
        QCOMPARE(grid.Row(), 0);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.model()->data(grid.model()->index(0, 0)).toString(), QStringLiteral("y"));
        verifyModelMatchesCells(grid);
    }

    // A failing operation raises the core's error and leaves cells, counts and
    // view as they were, with the grid taking changes again.
    void failureLeavesGridConsistent_data() {
        QTest::addColumn<int>("failure");
        QTest::newRow("date key without AM/PM") << int(DateKeyWithoutAmPm);
        QTest::newRow("missing file") << int(MissingFile);
        QTest::newRow("search key not a date") << int(SearchKeyNotADate);
    }

    void failureLeavesGridConsistent() {
        QFETCH(int, failure);
        TmStrGrid grid;
        fillWordTable(grid);
        {
            const auto bulk = grid.bulkChange();
            const char *const times[] = {"1:00 PM", "2:00", "3:00 AM", "4:00 PM"};
            for (int row = 1; row < 5; ++row)
                grid.cells().setCell(2, row, times[row - 1]);
        }
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.SetRow(3);
        grid.SetCol(2);
        const QList<QByteArray> before = allCells(grid.cells());
        const QStringList shownBefore = shown(grid);
        QTemporaryDir dir;

        switch (Failure(failure)) {
        case DateKeyWithoutAmPm:
            grid.SetKeyType(soDate);
            grid.SetDateTimeFormat("H:MM AMPM");
            QVERIFY_THROWS_EXCEPTION(E_Format_Invalid, grid.SortCompleteRows(2));
            break;
        case MissingFile:
            QVERIFY_THROWS_EXCEPTION(
                MFileError, grid.LoadFromFile(dir.filePath(QStringLiteral("absent.txt")), "\t"));
            break;
        case SearchKeyNotADate: {
            grid.SetKeyType(soDate);
            int col = 0;
            int row = 0;
            QVERIFY_THROWS_EXCEPTION(AppError, grid.FindFirst("abc", true, col, row));
            break;
        }
        }
        QCOMPARE(allCells(grid.cells()), before);
        QCOMPARE(shown(grid), shownBefore);
        QCOMPARE(grid.RowCount(), 5);
        QCOMPARE(grid.FixedRows(), 1);
        QCOMPARE(grid.Row(), 3);
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(grid.currentIndex(), grid.model()->index(2, 1));

        // The bulk change is closed: a cell write reaches the view at once.
        QSignalSpy dataChanges(grid.model(), &QAbstractItemModel::dataChanged);
        grid.SetCells(1, 1, "z");
        QCOMPARE(dataChanges.size(), 1);
        QCOMPARE(grid.model()->data(grid.model()->index(0, 0)).toString(), QStringLiteral("z"));
    }
};

QTEST_MAIN(TestTmStrGridSort)
#include "tst_tmstrgrid_sort.moc"
