#include "grid/tmstrgrid.h"
#include "platform/errors.h"
#include "platform/sjis.h"
#include "tests/support/scripteddialogs.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace kelvari;

namespace {

QByteArray tag(int col, int row) {
    return QByteArray::number(col) + ':' + QByteArray::number(row);
}

// The main window's grid: 4 columns, 101 rows, one header row and column,
// every cell naming its own position.
void shapeLikeMainWindow(TmStrGrid &grid, int rows = 101) {
    grid.SetColCount(4);
    grid.SetRowCount(rows);
    const auto bulk = grid.bulkChange();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 4; ++c)
            grid.cells().setCell(c, r, tag(c, r));
}

// The open in-place editor (closed ones wait hidden for their deletion).
QLineEdit *openEditor(TmStrGrid &grid) {
    const QList<QLineEdit *> editors = grid.viewport()->findChildren<QLineEdit *>();
    for (QLineEdit *editor : editors)
        if (editor->isVisible())
            return editor;
    return nullptr;
}

// Centre of the cell (col, row) in viewport coordinates.
QPoint cellCentre(TmStrGrid &grid, int col, int row) {
    const QModelIndex index = grid.model()->index(row - grid.FixedRows(), col - grid.FixedCols());
    return grid.visualRect(index).center();
}

void setClipboardText(const QString &text) {
    QGuiApplication::clipboard()->setText(text);
}

QMimeData *fileDrop(const QStringList &paths) {
    auto *mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    mime->setUrls(urls);
    return mime;
}

} // namespace

class TestTmStrGrid : public QObject {
    Q_OBJECT
private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void stateAfterConstruction() {
        TmStrGrid grid;
        QCOMPARE(grid.ColCount(), 5);
        QCOMPARE(grid.RowCount(), 5);
        QCOMPARE(grid.FixedRows(), 1);
        QCOMPARE(grid.FixedCols(), 1);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.DefaultRowHeight(), 24);
        QCOMPARE(grid.ColWidths(2), 64);
        QVERIFY(grid.KeepFiles());
        QVERIFY(!grid.EnableClipboardShortcuts());
        QVERIFY(!grid.PasteToCursor());
        QVERIFY(!grid.ClickFixed());
        QVERIFY(grid.DroppedFiles().isEmpty());
        QVERIFY(!grid.EditorMode());
        grid.SetSavedFixedRows(7);
        QCOMPARE(grid.SavedFixedRows(), 1); // outside a header press: the real count
        QCOMPARE(grid.model()->rowCount(), 4);
        QCOMPARE(grid.model()->columnCount(), 4);
    }

    // Row and column operations keep the model consistent for the view.
    void rowOperationsUnderModelTester() {
        TmStrGrid grid;
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        shapeLikeMainWindow(grid);
        QSignalSpy changed(&grid, &TmStrGrid::cellsChanged);

        grid.InsertRows(5, 1);
        QCOMPARE(grid.RowCount(), 102);
        QCOMPARE(grid.model()->rowCount(), 101);
        for (int c = 0; c < 4; ++c) {
            QVERIFY(grid.Cells(c, 5).isEmpty());
            QCOMPARE(grid.Cells(c, 6), tag(c, 5));
            QCOMPARE(grid.Cells(c, 101), tag(c, 100));
        }
        QCOMPARE(grid.model()->headerData(5, Qt::Vertical).toString(), QStringLiteral("0:5"));
        grid.DeleteRows(5, 1);
        grid.InsertRows(grid.RowCount(), 2);
        QCOMPARE(grid.RowCount(), 103);
        QVERIFY(grid.Cells(1, 102).isEmpty());
        grid.DeleteRows(99, 10);
        QCOMPARE(grid.RowCount(), 99);
        QCOMPARE(grid.Cells(3, 98), tag(3, 98));
        // Inside the header row: the titles move down into the data.
        grid.InsertRows(0, 1);
        QCOMPARE(grid.Cells(2, 1), tag(2, 0));
        QCOMPARE(grid.model()->data(grid.model()->index(0, 1)).toString(), QStringLiteral("2:0"));
        grid.DeleteRows(0, 1);
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("2:0"));
        grid.InsertCols(1, 2);
        QCOMPARE(grid.Cells(3, 4), tag(1, 4));
        grid.DeleteCols(1, 2);
        QCOMPARE(grid.Cells(1, 4), tag(1, 4));
        QVERIFY(changed.count() >= 8);

        // Dragging a row header moves the data; the header keeps its order.
        grid.verticalHeader()->moveSection(1, 4); // grid row 2 to row 5
        QCOMPARE(grid.verticalHeader()->visualIndex(1), 1);
        QCOMPARE(grid.Cells(1, 5), tag(1, 2));
        QCOMPARE(grid.Cells(1, 2), tag(1, 3));
        grid.horizontalHeader()->moveSection(2, 0); // grid column 3 to column 1
        QCOMPARE(grid.horizontalHeader()->visualIndex(2), 2);
        QCOMPARE(grid.Cells(1, 7), tag(3, 7));
        QCOMPARE(grid.Cells(2, 7), tag(1, 7));
        QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("3:0"));
    }

    void currentCellStaysOnInsert() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid);
        grid.SetRow(5);
        grid.SetCol(2);
        grid.InsertRows(5, 1);
        QCOMPARE(grid.Row(), 5);
        QCOMPARE(grid.currentIndex(), grid.model()->index(4, 1));
        grid.SetRow(100);
        grid.DeleteRows(99, 5);
        QCOMPARE(grid.Row(), 98); // the last row that is left
        QCOMPARE(grid.currentIndex().row(), 97);
    }

    void deletingTheOnlyDataRowLowersTheHeader() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 2);
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.DeleteRows(1, 1);
        QCOMPARE(grid.RowCount(), 1);
        QCOMPARE(grid.FixedRows(), 0);
        QCOMPARE(grid.Row(), 0);
        QCOMPARE(grid.Cells(2, 0), tag(2, 0)); // the title row stays
        QVERIFY(grid.horizontalHeader()->isHidden());
        QCOMPARE(grid.model()->rowCount(), 1);
    }

    void fixedCountRules_data() {
        QTest::addColumn<bool>("rows");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("rows -1") << true << -1 << false;
        QTest::newRow("rows = RowCount") << true << 10 << false;
        QTest::newRow("rows RowCount - 1") << true << 9 << true;
        QTest::newRow("rows 0") << true << 0 << true;
        QTest::newRow("cols -1") << false << -1 << false;
        QTest::newRow("cols = ColCount") << false << 4 << false;
        QTest::newRow("cols 2") << false << 2 << true;
        QTest::newRow("cols 0") << false << 0 << true;
    }
    void fixedCountRules() {
        QFETCH(bool, rows);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.SetSelection(2, 3, 3, 6);
        const auto set = [&] {
            if (rows)
                grid.SetFixedRows(value);
            else
                grid.SetFixedCols(value);
        };
        if (!accepted) {
            try {
                set();
                QFAIL("no range error");
            } catch (const AppError &error) {
                QCOMPARE(error.message(), QStringLiteral("Grid index out of range"));
            }
            QCOMPARE(grid.FixedRows(), 1);
            QCOMPARE(grid.FixedCols(), 1);
            QCOMPARE(grid.Selection(), QRect(QPoint(2, 3), QPoint(3, 6)));
            return;
        }
        set();
        QCOMPARE(grid.Col(), grid.FixedCols());
        QCOMPARE(grid.Row(), grid.FixedRows());
        QCOMPARE(grid.Selection(), QRect(grid.Col(), grid.Row(), 1, 1));
        QCOMPARE(grid.model()->rowCount(), 10 - grid.FixedRows());
        QCOMPARE(grid.model()->columnCount(), 4 - grid.FixedCols());
        QCOMPARE(grid.currentIndex(), grid.model()->index(0, 0));
    }

    void loweringCountsLowersHeaders() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.SetFixedRows(3);
        grid.SetRowCount(3);
        QCOMPARE(grid.FixedRows(), 2);
        grid.SetColCount(1);
        QCOMPARE(grid.FixedCols(), 0);
        QCOMPARE(grid.Col(), 0);
        QCOMPARE(grid.Row(), 2);
        QVERIFY_THROWS_EXCEPTION(AppError, grid.SetRow(1));
        QVERIFY_THROWS_EXCEPTION(AppError, grid.SetCol(1));
    }

    void modifyRow_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("separator");
        QTest::addColumn<int>("result");
        QTest::addColumn<QList<QByteArray>>("cells"); // columns 0 to 5 of row 3 afterwards
        QTest::newRow("three pieces") << QByteArray("a,b,c") << QByteArray(",") << 3
                                      << QList<QByteArray>{"a", "b", "c", "3:3", "", ""};
        QTest::newRow("empty pieces") << QByteArray("a,,") << QByteArray(",") << 3
                                      << QList<QByteArray>{"a", "", "", "3:3", "", ""};
        QTest::newRow("empty separator") << QByteArray("a,b") << QByteArray() << 1
                                         << QList<QByteArray>{"a,b", "1:3", "2:3", "3:3", "", ""};
        QTest::newRow("two-byte separator") << QByteArray("x::y") << QByteArray("::") << 2
                                            << QList<QByteArray>{"x", "y", "2:3", "3:3", "", ""};
        QTest::newRow("beyond the last column") << QByteArray("1;2;3;4;5;6") << QByteArray(";") << 6
                                                << QList<QByteArray>{"1", "2", "3", "4", "5", "6"};
        QTest::newRow("empty text") << QByteArray() << QByteArray(",") << 1
                                    << QList<QByteArray>{"", "1:3", "2:3", "3:3", "", ""};
    }
    void modifyRow() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, separator);
        QFETCH(int, result);
        QFETCH(QList<QByteArray>, cells);
        TmStrGrid grid;
        shapeLikeMainWindow(grid);
        QCOMPARE(grid.ModifyRow(3, text, separator), result);
        for (int c = 0; c < cells.size(); ++c)
            QCOMPARE(grid.Cells(c, 3), cells[c]);
        QCOMPARE(grid.ColCount(), 4);
    }

    void modifyColAndAddLines() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 3);
        QCOMPARE(grid.ModifyCol(2, "p|q|r|s", "|"), 4);
        QCOMPARE(grid.Cells(2, 0), QByteArray("p"));
        QCOMPARE(grid.Cells(2, 3), QByteArray("s")); // below the last row, not shown
        QCOMPARE(grid.RowCount(), 3);

        shapeLikeMainWindow(grid);
        grid.AddRow("x;y", ';');
        QCOMPARE(grid.RowCount(), 102);
        QCOMPARE(grid.Cells(0, 101), QByteArray("x"));
        QCOMPARE(grid.Cells(1, 101), QByteArray("y"));
        QCOMPARE(grid.model()->headerData(100, Qt::Vertical).toString(), QStringLiteral("x"));
        grid.AddCol(sj(u"見出し") + "\t1", '\t');
        QCOMPARE(grid.ColCount(), 5);
        QCOMPARE(grid.Cells(4, 0), sj(u"見出し"));
        QCOMPARE(grid.Cells(4, 1), QByteArray("1"));
    }

    void copyGivesTabSeparatedLines() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.SetCells(1, 2, "a");
        grid.SetCells(2, 2, "b");
        grid.SetCells(1, 3, "c");
        grid.SetCells(2, 3, "d");
        grid.SetSelection(1, 2, 2, 3);
        grid.CopyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\r\nc\td"));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(TmStrGrid::cp932MimeType()),
                 QByteArray("a\tb\r\nc\td"));

        grid.SetPasteToCursor(true);
        grid.SetCol(1);
        grid.SetRow(5);
        grid.PasteFromClipboard();
        QCOMPARE(grid.Cells(1, 5), QByteArray("a"));
        QCOMPARE(grid.Cells(2, 5), QByteArray("b"));
        QCOMPARE(grid.Cells(1, 6), QByteArray("c"));
        QCOMPARE(grid.Cells(2, 6), QByteArray("d"));
        QCOMPARE(grid.Cells(3, 5), tag(3, 5));
        QCOMPARE(grid.Cells(1, 7), tag(1, 7));
    }

    // Our own copy and paste keep the bytes, also those that are not valid Shift-JIS.
    void copyPasteIsByteExact() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        const QByteArray odd("\x81\xff", 2);
        grid.SetCells(1, 1, sj(u"表ソ"));
        grid.SetCells(2, 1, odd);
        grid.SetCells(3, 1, QByteArray(300, 'x'));
        grid.SetSelection(1, 1, 3, 1);
        grid.CutToClipboard();
        QVERIFY(grid.Cells(1, 1).isEmpty());
        QVERIFY(grid.Cells(3, 1).isEmpty());
        grid.SetSelection(1, 4, 1, 4);
        grid.PasteFromClipboard();
        QCOMPARE(grid.Cells(1, 4), sj(u"表ソ"));
        QCOMPARE(grid.Cells(2, 4), odd);
        QCOMPARE(grid.Cells(3, 4), QByteArray(300, 'x')); // not cut to 255 bytes
    }

    void pasteGrowth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::newRow("one cell into the last column")
            << QStringLiteral("z") << QPoint(3, 2) << 5 << 10;
        QTest::newRow("one line into the last row")
            << QStringLiteral("z") << QPoint(1, 9) << 4 << 11;
        QTest::newRow("block over both edges")
            << QStringLiteral("1\t2\t3\r\n4") << QPoint(2, 9) << 6 << 12;
        QTest::newRow("inside") << QStringLiteral("1\t2\r\n3\t4") << QPoint(1, 1) << 4 << 10;
        QTest::newRow("final line break of another program ignored")
            << QStringLiteral("z\r\n") << QPoint(1, 8) << 4 << 10;
        QTest::newRow("LF line ends") << QStringLiteral("1\n2\n3") << QPoint(1, 7) << 4 << 11;
    }
    void pasteGrowth() {
        QFETCH(QString, text);
        QFETCH(QPoint, start);
        QFETCH(int, cols);
        QFETCH(int, rows);
        TmStrGrid grid;
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        shapeLikeMainWindow(grid, 10);
        grid.SetSelection(start.x(), start.y(), start.x(), start.y());
        setClipboardText(text);
        grid.PasteFromClipboard();
        QCOMPARE(grid.ColCount(), cols);
        QCOMPARE(grid.RowCount(), rows);
        QCOMPARE(grid.Cells(start.x(), start.y()), text.left(1).toLatin1());
        QCOMPARE(grid.model()->rowCount(), rows - 1);
    }

    void pasteToCursorFalseUsesSelectionTopLeft() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        // Drag from the lower right to the upper left: the current cell stays where
        // the press was, the selection reaches up to the release point.
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 3, 6));
        QMouseEvent move(QEvent::MouseMove, cellCentre(grid, 1, 2),
                         grid.viewport()->mapToGlobal(cellCentre(grid, 1, 2)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &move);
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, 2));
        QCOMPARE(grid.Col(), 3);
        QCOMPARE(grid.Row(), 6);
        QCOMPARE(grid.Selection(), QRect(QPoint(1, 2), QPoint(3, 6)));
        QVERIFY(grid.selectionModel()->isSelected(grid.model()->index(1, 0)));

        setClipboardText(QStringLiteral("P"));
        grid.PasteFromClipboard();
        QCOMPARE(grid.Cells(1, 2), QByteArray("P"));
        QCOMPARE(grid.Cells(3, 6), tag(3, 6));
        grid.SetPasteToCursor(true);
        grid.PasteFromClipboard();
        QCOMPARE(grid.Cells(3, 6), QByteArray("P"));
    }

    void pasteRefusesUnmappableText() {
        test::ScriptedDialogs dialogs;
        dialogs.expectMessage(
            QStringLiteral("「€」はShift-JISで表せない文字のため貼り付けできません。"));
        TmStrGrid grid;
        grid.setDialogs(&dialogs);
        shapeLikeMainWindow(grid, 10);
        QSignalSpy changed(&grid, &TmStrGrid::cellsChanged);
        setClipboardText(QStringLiteral("ok\t5€\r\nmore"));
        grid.PasteFromClipboard();
        QVERIFY(dialogs.allAnswered());
        QCOMPARE(grid.Cells(1, 1), tag(1, 1));
        QCOMPARE(grid.RowCount(), 10);
        QCOMPARE(changed.count(), 0);
        // A second refusal is reported as well (the converter is not worn out by the first).
        dialogs.expectMessage(QStringLiteral("「한」はShift-JISで表せない文字"));
        setClipboardText(QStringLiteral("한"));
        grid.PasteFromClipboard();
        QVERIFY(dialogs.allAnswered());
        QCOMPARE(grid.Cells(1, 1), tag(1, 1));
        // Nothing on the clipboard: nothing happens.
        QGuiApplication::clipboard()->clear();
        grid.PasteFromClipboard();
        QCOMPARE(changed.count(), 0);
    }

    void clipboardShortcuts_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("acts");
        QTest::newRow("off") << false << false << false;
        QTest::newRow("on") << true << false << true;
        QTest::newRow("on, in editor mode") << true << true << false;
    }
    void clipboardShortcuts() {
        QFETCH(bool, enabled);
        QFETCH(bool, editing);
        QFETCH(bool, acts);
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.SetEnableClipboardShortcuts(enabled);
        QList<int> keys;
        grid.OnKeyPress = [&](TmStrGrid &, QChar &key) { keys << key.unicode(); };
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetSelection(3, 4, 3, 4);
        grid.CopyToClipboard();
        grid.SetSelection(2, 2, 2, 2);
        QWidget *target = &grid;
        if (editing) {
            grid.edit(grid.currentIndex());
            QVERIFY(grid.EditorMode());
            target = openEditor(grid);
            QVERIFY(target);
        }
        // In editor mode the keys are the line editor's own.
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid.Cells(2, 2) == tag(3, 4), acts);
        setClipboardText(QStringLiteral("before"));
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->hasFormat(TmStrGrid::cp932MimeType()),
                 acts);
        QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(grid.Cells(2, 2).isEmpty(), acts);
        QCOMPARE(keys, (QList<int>{22, 3, 24}));
    }

    void keyPressCanSwallowOrReplace() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.OnKeyPress = [](TmStrGrid &, QChar &key) {
            if (key == QLatin1Char('q'))
                key = QChar();
            else if (key == QLatin1Char('a'))
                key = QLatin1Char('b');
        };
        QTest::keyClick(&grid, Qt::Key_Q);
        QVERIFY(!grid.EditorMode());
        QTest::keyClick(&grid, Qt::Key_A);
        QVERIFY(grid.EditorMode());
        auto *editor = openEditor(grid);
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_A);
        QTest::keyClick(editor, Qt::Key_Q);
        QCOMPARE(editor->text(), QStringLiteral("bb"));
    }

    void dropFiles_data() {
        QTest::addColumn<bool>("keepFiles");
        QTest::addColumn<bool>("handler");
        QTest::addColumn<bool>("namesAfter");
        QTest::newRow("keep off, handler") << false << true << false;
        QTest::newRow("keep on, handler") << true << true << true;
        QTest::newRow("keep on, no handler") << true << false << true;
        QTest::newRow("keep off, no handler") << false << false << false;
    }
    void dropFiles() {
        QFETCH(bool, keepFiles);
        QFETCH(bool, handler);
        QFETCH(bool, namesAfter);
        TmStrGrid grid;
        grid.SetKeepFiles(keepFiles);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QString longName = QStringLiteral("/tmp/") + QString(300, QLatin1Char('n'));
        const QStringList paths{QStringLiteral("/tmp/b.jmf"), QStringLiteral("/tmp/単語.jmf"),
                                longName};
        QStringList seen;
        QPoint point;
        bool inClient = false;
        int raised = 0;
        if (handler) {
            grid.OnDropFiles = [&](TmStrGrid &sender, int x, int y, bool client) {
                seen = sender.DroppedFiles();
                point = QPoint(x, y);
                inClient = client;
                ++raised;
            };
        }
        grid.DroppedFiles() << QStringLiteral("stale");
        std::unique_ptr<QMimeData> mime(fileDrop(paths));
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime.get(), Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &drop);
        if (handler) {
            QCOMPARE(raised, 1);
            QCOMPARE(seen, paths); // in order, full length
            QCOMPARE(point, grid.viewport()->geometry().topLeft() - grid.contentsRect().topLeft() +
                                QPoint(10, 10));
            QVERIFY(inClient);
        }
        QCOMPARE(grid.DroppedFiles(), namesAfter ? paths : QStringList());

        // The header row is part of the client area too. (A drop goes to the widget
        // that accepted the drag's entry.)
        QDragEnterEvent enterHeader(QPoint(5, 3), Qt::CopyAction, mime.get(), Qt::LeftButton,
                                    Qt::NoModifier);
        QCoreApplication::sendEvent(grid.horizontalHeader()->viewport(), &enterHeader);
        QVERIFY(enterHeader.isAccepted());
        QDropEvent onHeader(QPointF(5, 3), Qt::CopyAction, mime.get(), Qt::LeftButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(grid.horizontalHeader()->viewport(), &onHeader);
        QVERIFY(onHeader.isAccepted());
        QCOMPARE(grid.DroppedFiles(), namesAfter ? paths : QStringList());
        if (handler) {
            QCOMPARE(raised, 2);
            QCOMPARE(point, grid.horizontalHeader()->geometry().topLeft() -
                                grid.contentsRect().topLeft() + QPoint(5, 3));
            QVERIFY(inClient);
        }
    }

    void dropIgnoresDragsWithoutFiles() {
        TmStrGrid grid;
        QMimeData mime;
        mime.setText(QStringLiteral("text"));
        for (QWidget *target : {grid.viewport(), grid.horizontalHeader()->viewport()}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton,
                                  Qt::NoModifier);
            QCoreApplication::sendEvent(target, &enter);
            QVERIFY(!enter.isAccepted());
        }
    }

    void clickOnHeaderCell() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.SetClickFixed(true);
        grid.resize(500, 400);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.SetRow(4);
        grid.SetCol(2);
        struct Seen {
            int col, row, fixedRows, fixedCols, savedRows, savedCols;
        };
        QList<Seen> inSelect;
        QList<Seen> inClick;
        const auto snapshot = [](TmStrGrid &g) {
            return Seen{
                g.Col(),           g.Row(), g.FixedRows(), g.FixedCols(), g.SavedFixedRows(),
                g.SavedFixedCols()};
        };
        grid.OnSelectCell = [&](TmStrGrid &g, int, int, bool &) { inSelect << snapshot(g); };
        grid.OnClick = [&](TmStrGrid &g) { inClick << snapshot(g); };
        int mouseDowns = 0;
        grid.OnMouseDown = [&](TmStrGrid &, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            ++mouseDowns;
        };

        QHeaderView *header = grid.horizontalHeader();
        const QPoint onColumn3(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                               header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, onColumn3);
        QCOMPARE(inClick.size(), 1);
        const Seen click = inClick.first();
        QCOMPARE(click.col, 3);
        QCOMPARE(click.row, 0);
        QCOMPARE(click.fixedRows, 0);
        QCOMPARE(click.fixedCols, 0);
        QCOMPARE(click.savedRows, 1);
        QCOMPARE(click.savedCols, 1);
        QVERIFY(!inSelect.isEmpty());
        QCOMPARE(mouseDowns, 0);
        QCOMPARE(grid.FixedRows(), 1);
        QCOMPARE(grid.FixedCols(), 1);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.currentIndex(), grid.model()->index(0, 0));
        grid.SetSavedFixedRows(7);
        QCOMPARE(grid.SavedFixedRows(), 7); // the press is still going on
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, onColumn3);
        QCOMPARE(grid.SavedFixedRows(), 1);

        // Without ClickFixed a header press only reaches the base handling.
        grid.SetClickFixed(false);
        inClick.clear();
        grid.SetRow(4);
        inClick.clear();
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, onColumn3);
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, onColumn3);
        QVERIFY(inClick.isEmpty());
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(mouseDowns, 1);
    }

    void rightButtonAndDoubleClick() {
        QWidget window;
        auto *other = new QLineEdit(&window);
        auto *grid = new TmStrGrid(&window);
        grid->move(0, 30);
        grid->resize(400, 300);
        shapeLikeMainWindow(*grid, 10);
        window.resize(400, 330);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        int mouseDowns = 0;
        int mouseUps = 0;
        int doubleClicks = 0;
        grid->OnMouseDown = [&](TmStrGrid &, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            ++mouseDowns;
        };
        grid->OnMouseUp = [&](TmStrGrid &, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            ++mouseUps;
        };
        grid->OnDblClick = [&](TmStrGrid &) { ++doubleClicks; };

        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, cellCentre(*grid, 3, 5));
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, cellCentre(*grid, 3, 5));
        QVERIFY(grid->hasFocus());
        QCOMPARE(grid->Col(), 1);
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(mouseDowns, 0);
        QCOMPARE(mouseUps, 1);

        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 2, 3));
        QCOMPARE(mouseDowns, 1);
        QCOMPARE(grid->Col(), 2);
        QCOMPARE(grid->Row(), 3);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, cellCentre(*grid, 2, 3),
                        grid->viewport()->mapToGlobal(cellCentre(*grid, 2, 3)), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(grid->viewport(), &dbl);
        QCOMPARE(doubleClicks, 1);
        QCOMPARE(mouseDowns, 1);
        QVERIFY(grid->EditorMode()); // a double click edits the cell
    }

    void selectCellCanRefuse() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        int clicks = 0;
        grid.OnClick = [&](TmStrGrid &) { ++clicks; };
        grid.OnSelectCell = [](TmStrGrid &, int, int row, bool &canSelect) {
            canSelect = row != 5;
        };
        grid.SetRow(5);
        QCOMPARE(grid.Row(), 1);
        grid.SetRow(6);
        QCOMPARE(grid.Row(), 6);
        QCOMPARE(clicks, 1);
        QVERIFY_THROWS_EXCEPTION(AppError, grid.SetRow(10));
        QVERIFY_THROWS_EXCEPTION(AppError, grid.SetCol(-1));
        // Keyboard moves ask as well.
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(grid.Row(), 6);
        grid.OnSelectCell = nullptr;
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(grid.Row(), 5);
        QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid.Row(), 5);
        QCOMPARE(grid.Selection(), QRect(QPoint(1, 5), QPoint(2, 6)));
    }

    void editingKeepsBytesAndRefusesUnmappable() {
        test::ScriptedDialogs dialogs;
        TmStrGrid grid;
        grid.setDialogs(&dialogs);
        shapeLikeMainWindow(grid, 10);
        const QByteArray odd("\x81\xff"
                             "a",
                             3);
        grid.SetCells(2, 3, odd);
        QList<QByteArray> fetched;
        QList<QByteArray> written;
        grid.OnGetEditText = [&](TmStrGrid &, int, int, QByteArray &text) { fetched << text; };
        grid.OnSetEditText = [&](TmStrGrid &, int, int, const QByteArray &text) {
            written << text;
        };
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetRow(3);
        grid.SetCol(2);
        const auto editor = [&] { return openEditor(grid); };

        // Opened and closed untouched: the odd bytes stay as they are.
        QTest::keyClick(&grid, Qt::Key_F2);
        QVERIFY(grid.EditorMode());
        QCOMPARE(fetched, QList<QByteArray>{odd});
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_VERIFY(!grid.EditorMode()); // Return commits through the event queue
        QCOMPARE(grid.Cells(2, 3), odd);
        QVERIFY(written.isEmpty());

        dialogs.expectMessage(
            QStringLiteral("「€」はShift-JISで表せない文字のため入力できません。"));
        QTest::keyClick(&grid, Qt::Key_F2);
        editor()->setText(QStringLiteral("5€"));
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_VERIFY(!grid.EditorMode());
        QVERIFY(dialogs.allAnswered());
        QCOMPARE(grid.Cells(2, 3), odd);
        QVERIFY(written.isEmpty());

        QSignalSpy changed(&grid, &TmStrGrid::cellsChanged);
        QTest::keyClick(&grid, Qt::Key_F2);
        editor()->setText(QStringLiteral("単語"));
        QTest::keyClick(editor(), Qt::Key_Tab); // Tab commits and moves on
        QCOMPARE(grid.Cells(2, 3), sj(u"単語"));
        QCOMPARE(written, QList<QByteArray>{sj(u"単語")});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(grid.Col(), 3);
        QCOMPARE(grid.Row(), 3);
    }

    void typingEditsTheCurrentCell() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetRow(2);
        QTest::keyClick(&grid, Qt::Key_X);
        QVERIFY(grid.EditorMode());
        QTest::keyClick(openEditor(grid), Qt::Key_Y);
        QTest::keyClick(openEditor(grid), Qt::Key_Return);
        QTRY_COMPARE(grid.Cells(1, 2), QByteArray("xy"));
    }

    void bulkChangeKeepsWhatWasTyped() {
        // A sort or a load while a cell is being edited: the typed text goes
        // into its cell before the view is reset, not into thin air.
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetRow(2);
        QTest::keyClick(&grid, Qt::Key_F2);
        QVERIFY(grid.EditorMode());
        openEditor(grid)->setText(QStringLiteral("入力中"));
        {
            const auto bulk = grid.bulkChange();
            QCOMPARE(grid.Cells(1, 2), sj(u"入力中"));
            grid.cells().setCell(1, 3, "bulk");
        }
        QVERIFY(!grid.EditorMode());
        QCOMPARE(grid.Cells(1, 2), sj(u"入力中"));
        QCOMPARE(grid.Cells(1, 3), QByteArray("bulk"));
    }

    void geometryFollowsTheGrid() {
        TmStrGrid grid;
        shapeLikeMainWindow(grid, 10);
        grid.SetColWidths(0, 30);
        grid.SetColWidths(1, 120);
        grid.SetColWidths(3, 68);
        grid.SetDefaultRowHeight(20);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.verticalHeader()->width(), 30);
        QCOMPARE(grid.horizontalHeader()->sectionSize(0), 120);
        QCOMPARE(grid.horizontalHeader()->height(), 20);
        QCOMPARE(grid.verticalHeader()->sectionSize(5), 20);
        // Widths stay with their positions when columns are inserted.
        grid.InsertCols(1, 1);
        QCOMPARE(grid.ColWidths(1), 120);
        QCOMPARE(grid.ColWidths(4), 64);
        QCOMPARE(grid.horizontalHeader()->sectionSize(0), 120);
        // A user's drag of a border is the column's new width.
        grid.horizontalHeader()->resizeSection(1, 77);
        QCOMPARE(grid.ColWidths(2), 77);
        grid.SetFixedCols(0);
        QVERIFY(grid.verticalHeader()->isHidden());
        QCOMPARE(grid.horizontalHeader()->sectionSize(0), 30);
        QVERIFY_THROWS_EXCEPTION(AppError, grid.SetColWidths(5, 10));
    }

    void bulkChangeResetsOnce() {
        TmStrGrid grid;
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changed(&grid, &TmStrGrid::cellsChanged);
        QSignalSpy reset(grid.model(), &QAbstractItemModel::modelReset);
        {
            const auto bulk = grid.bulkChange();
            grid.cells().setRowCount(1000);
            grid.cells().setColCount(4);
            grid.SetCells(2, 999, "last");
            {
                const auto inner = grid.bulkChange();
                grid.InsertRows(1, 1);
            }
            QCOMPARE(changed.count(), 0); // the inner end shows nothing yet
            // The hand-paired form nests with the guard.
            grid.beginBulkChange();
            grid.SetCells(3, 999, "hand");
            grid.endBulkChange();
            QCOMPARE(reset.count(), 0);
        }
        QCOMPARE(changed.count(), 1);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(grid.RowCount(), 1001);
        QCOMPARE(grid.model()->rowCount(), 1000);
        QCOMPARE(grid.Cells(2, 1000), QByteArray("last"));
        QCOMPARE(grid.model()->data(grid.model()->index(999, 1)).toString(),
                 QStringLiteral("last"));
        QCOMPARE(grid.Cells(3, 999), QByteArray("hand"));
    }

    void bulkChangeEndsWhenAnExceptionLeavesIt() {
        TmStrGrid grid;
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy reset(grid.model(), &QAbstractItemModel::modelReset);
        QVERIFY_THROWS_EXCEPTION(AppError, [&] {
            const auto bulk = grid.bulkChange();
            grid.cells().setRowCount(8);
            grid.SetCells(-1, 0, "x"); // range error
        }());
        QCOMPARE(reset.count(), 1);
        QCOMPARE(grid.model()->rowCount(), 7);
        // The grid takes changes again: a cell write reaches the view at once.
        QSignalSpy dataChanges(grid.model(), &QAbstractItemModel::dataChanged);
        grid.SetCells(1, 7, "z");
        QCOMPARE(dataChanges.size(), 1);
    }
};

QTEST_MAIN(TestTmStrGrid)
#include "tst_tmstrgrid.moc"
