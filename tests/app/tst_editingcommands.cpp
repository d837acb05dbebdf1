// The Edit menu's row commands, the part-of-speech list, the column follow and
// the grid font, on the real main window driven by keys and the mouse.

#include "app/editingcommands.h"
#include "app/tfrmjisho.h"
#include "app/tfrmjisho_form.h"
#include "document/documentcommands.h"
#include "grid/tmstrgrid.h"
#include "platform/sjis.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

struct Row {
    QByteArray reading, word, partOfSpeech;
    friend bool operator==(const Row &, const Row &) = default;
};

char *toString(const Row &row) {
    return qstrdup((sjis::decode(row.reading) + u'|' + sjis::decode(row.word) + u'|' +
                    sjis::decode(row.partOfSpeech))
                       .toUtf8()
                       .constData());
}

Row row(const char16_t *reading, const char16_t *word, const char16_t *partOfSpeech) {
    return {sj(reading), sj(word), sj(partOfSpeech)};
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// The window shown and active, so that its shortcuts work as for a user.
struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmJisho> window;

    Fixture() {
        QGuiApplication::clipboard()->clear();
        window = std::make_unique<TfrmJisho>(dialogs);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("window not active");
    }
    TfrmJisho &w() { return *window; }
    TmStrGrid &grid() { return window->grid(); }
    EditingCommands &editing() { return window->editingCommands(); }
    Row at(int r) { return {grid().Cells(1, r), grid().Cells(2, r), grid().Cells(3, r)}; }
    void put(int r, const Row &texts) {
        grid().SetCells(1, r, texts.reading);
        grid().SetCells(2, r, texts.word);
        grid().SetCells(3, r, texts.partOfSpeech);
    }
    // The rows 1 .. n hold "r<i>", "w<i>", "p<i>".
    void fill(int n) {
        for (int r = 1; r <= n; ++r)
            put(r, numbered(r));
    }
    static Row numbered(int i) {
        const QByteArray n = QByteArray::number(i);
        return {"r" + n, "w" + n, "p" + n};
    }
    QRect cellRect(int col, int r) {
        const QModelIndex index = grid().model()->index(r - 1, col - 1);
        grid().scrollTo(index);
        return grid().visualRect(index);
    }
    // A click on the cell, as the user makes it current.
    void clickCell(int col, int r) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cellRect(col, r).center());
        QCOMPARE(grid().Row(), r);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &grid();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }
    bool undoEnabled() {
        const bool menu = w().form().mmUndo->isEnabled();
        if (menu != w().form().sbUndo->isEnabled())
            qWarning("mmUndo and sbUndo disagree");
        return menu && w().form().sbUndo->isEnabled();
    }
    int checkedHinsi() { return w().form().rgHinsiButtons->checkedId(); }
    QRadioButton *hinsiButton(const QString &name) {
        for (QAbstractButton *button : w().form().rgHinsiButtons->buttons())
            if (button->text() == name)
                return static_cast<QRadioButton *>(button);
        return nullptr;
    }
    QLineEdit *openEditor() {
        grid().setFocus();
        QTest::keyClick(&grid(), Qt::Key_F2);
        return qobject_cast<QLineEdit *>(QApplication::focusWidget());
    }
};

} // namespace

Q_DECLARE_METATYPE(Row)

class TestEditingCommands : public QObject {
    Q_OBJECT
private slots:
    void copyPutsTheRowTextOnTheClipboard() {
        Fixture f;
        f.put(2, row(u"たなか", u"田中", u"固有人姓"));
        f.clickCell(2, 2);
        f.key(Qt::Key_C);
        QCOMPARE(clipboardText(), QStringLiteral("たなか,田中,固有人姓"));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(TmStrGrid::cp932MimeType()),
                 sj(u"たなか,田中,固有人姓"));
    }

    // The word is quoted exactly when it holds a comma of either kind; what is
    // copied pastes back as the same three cells, also through plain text only.
    void copyAndPasteRoundTrip_data() {
        QTest::addColumn<Row>("texts");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii comma")
            << row(u"えー", u"A,B", u"名詞") << QStringLiteral("えー,\"A,B\",名詞");
        QTest::newRow("ideographic comma")
            << row(u"えー", u"A、B", u"名詞") << QStringLiteral("えー,\"A、B\",名詞");
        QTest::newRow("comma in reading and part of speech stay unquoted")
            << row(u"", u"語", u"") << QStringLiteral(",語,");
        QTest::newRow("quote without comma")
            << row(u"いんよう", u"\"引用\"", u"名詞") << QStringLiteral("いんよう,\"引用\",名詞");
        QTest::newRow("trail byte 0x5C")
            << row(u"ひょうそ", u"表ソ\\", u"名詞") << QStringLiteral("ひょうそ,表ソ\\,名詞");
    }
    void copyAndPasteRoundTrip() {
        QFETCH(Row, texts);
        QFETCH(QString, text);
        Fixture f;
        f.put(1, texts);
        f.clickCell(1, 1);
        f.key(Qt::Key_C);
        QCOMPARE(clipboardText(), text);
        f.clickCell(1, 4);
        f.key(Qt::Key_V);
        QCOMPARE(f.at(4), texts);
        // What another program would hand over: the plain text alone.
        QGuiApplication::clipboard()->setText(text);
        f.clickCell(1, 5);
        f.key(Qt::Key_V);
        QCOMPARE(f.at(5), texts);
    }

    void copyOfAnEmptyRowLeavesTheClipboard() {
        Fixture f;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        f.clickCell(1, 3);
        f.key(Qt::Key_C);
        QCOMPARE(clipboardText(), QStringLiteral("before"));
    }

    void cutThenUndoRestoresTheRow() {
        Fixture f;
        f.fill(5);
        f.clickCell(2, 3);
        f.key(Qt::Key_X);
        QCOMPARE(f.at(3), Row{});
        QCOMPARE(f.grid().Cells(0, 3), QByteArray("3"));
        QCOMPARE(clipboardText(), QStringLiteral("r3,w3,p3"));
        QVERIFY(f.undoEnabled());
        // Typing in between does not matter.
        f.grid().SetCells(1, 3, "typed");
        f.key(Qt::Key_Z);
        QCOMPARE(f.at(3), Fixture::numbered(3));
        QVERIFY(!f.undoEnabled());
    }

    void cutThenPasteIntoAnotherRowThenUndo() {
        Fixture f;
        f.fill(6);
        f.clickCell(1, 2);
        f.key(Qt::Key_X);
        f.clickCell(1, 6);
        f.key(Qt::Key_V);
        QCOMPARE(f.at(6), Fixture::numbered(2));
        QCOMPARE(f.at(2), Row{});
        // Only the latest snapshot counts: row 6 gets its old texts back, row 2 stays empty.
        f.key(Qt::Key_Z);
        QCOMPARE(f.at(6), Fixture::numbered(6));
        QCOMPARE(f.at(2), Row{});
    }

    void deleteThenUndoPutsTheRowBack() {
        Fixture f;
        f.fill(10);
        f.clickCell(1, 4);
        f.key(Qt::Key_Delete);
        QCOMPARE(f.grid().RowCount(), 100);
        QCOMPARE(f.at(4), Fixture::numbered(5));
        QCOMPARE(f.grid().Cells(0, 99), QByteArray("99"));
        QCOMPARE(f.grid().Cells(0, 4), QByteArray("4"));
        QVERIFY(f.editing().undo().UndoRowDeleted());
        f.key(Qt::Key_Z);
        QCOMPARE(f.grid().RowCount(), 101);
        for (int r = 1; r <= 10; ++r)
            QCOMPARE(f.at(r), Fixture::numbered(r));
        for (int r = 1; r <= 100; ++r)
            QCOMPARE(f.grid().Cells(0, r), QByteArray::number(r));
        QVERIFY(!f.editing().undo().UndoRowDeleted());
        QVERIFY(!f.undoEnabled());
    }

    void insertOnRow5Of100() {
        Fixture f;
        f.fill(100);
        f.clickCell(1, 5);
        f.key(Qt::Key_Insert);
        QCOMPARE(f.grid().RowCount(), 102);
        QCOMPARE(f.at(5), Row{});
        QCOMPARE(f.grid().Cells(0, 5), QByteArray("5"));
        for (int r = 1; r <= 4; ++r)
            QCOMPARE(f.at(r), Fixture::numbered(r));
        for (int r = 6; r <= 101; ++r)
            QCOMPARE(f.at(r), Fixture::numbered(r - 1));
        for (int r = 1; r <= 101; ++r)
            QCOMPARE(f.grid().Cells(0, r), QByteArray::number(r));
        QVERIFY(f.undoEnabled());
        // The sequence numbering survives the buttons too.
        QTest::mouseClick(f.w().form().sbDelete, Qt::LeftButton);
        QCOMPARE(f.grid().RowCount(), 101);
        QCOMPARE(f.at(5), Fixture::numbered(5));
    }

    void undoIsDisabledAtStartAndAfterUndo() {
        Fixture f;
        f.fill(3);
        QVERIFY(!f.undoEnabled());
        f.clickCell(1, 2);
        f.key(Qt::Key_Z);
        QCOMPARE(f.at(2), Fixture::numbered(2));
        f.key(Qt::Key_X);
        f.key(Qt::Key_Z);
        QVERIFY(!f.undoEnabled());
        f.grid().SetCells(1, 2, "after");
        f.key(Qt::Key_Z);
        QCOMPARE(f.grid().Cells(1, 2), QByteArray("after"));
        // In an open cell editor the key does nothing either.
        QLineEdit *editor = f.openEditor();
        QVERIFY(editor);
        editor->setText(QStringLiteral("typing"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("typing"));
    }

    // The shortcuts reach the row commands while a cell's editor is open.
    void shortcutsWinInTheCellEditor() {
        Fixture f;
        f.fill(4);
        f.clickCell(2, 2);
        QLineEdit *editor = f.openEditor();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("w2"));
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("r2,w2,p2"));
        // What was typed counts; the editor stays open for more.
        QTest::keyClicks(editor, QStringLiteral("typed"));
        QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("r2,typed,p2"));
        QCOMPARE(QApplication::focusWidget(), editor);
        QTest::keyClicks(editor, QStringLiteral("2"));
        // A cut empties the row for good: the editor's text does not come back.
        QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(clipboardText(), QStringLiteral("r2,typed2,p2"));
        f.clickCell(2, 1);
        QCOMPARE(f.at(2), Row{});
        f.key(Qt::Key_Z);
        QCOMPARE(f.at(2), (Row{"r2", "typed2", "p2"}));

        f.clickCell(2, 3);
        editor = f.openEditor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.at(3), (Row{"r2", "typed2", "p2"}));

        f.clickCell(2, 4);
        editor = f.openEditor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(f.grid().RowCount(), 102);
        QCOMPARE(f.at(4), Row{});
        editor = f.openEditor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.grid().RowCount(), 101);
        QCOMPARE(f.at(4), Fixture::numbered(4));
    }

    void pasteItemFollowsTheClipboardWhenTheMenuOpens() {
        Fixture f;
        QMenu *edit = f.w().form().mmEdit;
        QAction *paste = f.w().form().mmPaste;
        QGuiApplication::clipboard()->clear();
        emit edit->aboutToShow();
        QVERIFY(!paste->isEnabled());
        f.fill(2);
        f.clickCell(1, 1);
        f.key(Qt::Key_V); // follows the item's last state: nothing happens
        QCOMPARE(f.at(1), Fixture::numbered(1));
        QGuiApplication::clipboard()->setText(QStringLiteral("a,b,c"));
        QVERIFY(!paste->isEnabled());
        emit edit->aboutToShow();
        QVERIFY(paste->isEnabled());
        f.key(Qt::Key_V);
        QCOMPARE(f.at(1), (Row{"a", "b", "c"}));
    }

    // Text of other programs holds line breaks; a cell never takes one.
    void pasteTakesOneLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Row>("expected");
        QTest::newRow("line end") << QStringLiteral("a,b,c\r\n") << Row{"a", "b", "c"};
        QTest::newRow("lines") << QStringLiteral("a,b,c\nd,e,f\n") << Row{"a", "b", "c"};
        QTest::newRow("leading breaks") << QStringLiteral("\r\n\r\nx,y,z") << Row{"x", "y", "z"};
        QTest::newRow("break inside the word") << QStringLiteral("a,b\rc,d") << Row{"a", "", "b"};
        QTest::newRow("only breaks") << QStringLiteral("\r\n") << Row{};
    }
    void pasteTakesOneLine() {
        QFETCH(QString, text);
        QFETCH(Row, expected);
        Fixture f;
        f.fill(1);
        QGuiApplication::clipboard()->setText(text);
        f.clickCell(1, 1);
        f.key(Qt::Key_V);
        QCOMPARE(f.at(1), expected);
        for (int col = 1; col <= 3; ++col) {
            QVERIFY(!f.grid().Cells(col, 1).contains('\r'));
            QVERIFY(!f.grid().Cells(col, 1).contains('\n'));
        }
    }

    void pasteRefusesCharactersShiftJisCannotHold() {
        Fixture f;
        f.fill(1);
        QGuiApplication::clipboard()->setText(QStringLiteral("a,\U0001F600,c"));
        f.clickCell(1, 1);
        f.dialogs.expectMessage(QStringLiteral("Shift-JISで表せない文字"));
        f.key(Qt::Key_V);
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(f.at(1), Fixture::numbered(1));
        QVERIFY(!f.undoEnabled());
    }

    // Undo writes only into the recorded row, wherever it now stands, and never
    // into the title row.
    void undoFollowsItsRow_data() {
        QTest::addColumn<QString>("sequence");
        QTest::newRow("a: insert above the cut row") << QStringLiteral("a-insert");
        QTest::newRow("a: row dragged") << QStringLiteral("a-drag");
        QTest::newRow("b: delete, then copy") << QStringLiteral("b");
        QTest::newRow("d: insert with nothing recorded") << QStringLiteral("d");
    }
    void undoFollowsItsRow() {
        QFETCH(QString, sequence);
        Fixture f;
        f.fill(8);
        if (sequence == QStringLiteral("a-insert")) {
            f.clickCell(1, 5);
            f.key(Qt::Key_X);
            f.clickCell(1, 2);
            f.key(Qt::Key_Insert); // row 5 is now row 6
            f.key(Qt::Key_Z);
            QCOMPARE(f.at(6), Fixture::numbered(5));
            QCOMPARE(f.at(5), Fixture::numbered(4));
            QCOMPARE(f.at(2), Row{});
        } else if (sequence == QStringLiteral("a-drag")) {
            f.clickCell(1, 3);
            f.key(Qt::Key_X);
            // Row 3 dragged below row 6 by its header.
            QHeaderView *rows = f.grid().verticalHeader();
            rows->moveSection(2, 5);
            QCOMPARE(f.at(6), Row{});
            QCOMPARE(f.at(3), Fixture::numbered(4));
            f.key(Qt::Key_Z);
            QCOMPARE(f.at(6), Fixture::numbered(3));
            QCOMPARE(f.at(3), Fixture::numbered(4));
        } else if (sequence == QStringLiteral("b")) {
            f.clickCell(1, 3);
            f.key(Qt::Key_Delete);
            f.clickCell(1, 5);
            f.key(Qt::Key_C); // clears the deleted mark
            QVERIFY(!f.editing().undo().UndoRowDeleted());
            f.key(Qt::Key_Z);
            // The deleted row comes back; the row that had moved up is not overwritten.
            QCOMPARE(f.grid().RowCount(), 101);
            for (int r = 1; r <= 8; ++r)
                QCOMPARE(f.at(r), Fixture::numbered(r));
        } else if (sequence == QStringLiteral("d")) {
            f.clickCell(1, 1);
            f.key(Qt::Key_Insert);
            QVERIFY(f.undoEnabled());
            f.key(Qt::Key_Z);
            QVERIFY(!f.undoEnabled());
            QCOMPARE(f.grid().Cells(1, 0), sj(u"読み"));
            QCOMPARE(f.grid().Cells(2, 0), sj(u"単語"));
            QCOMPARE(f.grid().Cells(3, 0), sj(u"品詞"));
            QCOMPARE(f.at(1), Row{});
            QCOMPARE(f.at(2), Fixture::numbered(1));
        }
    }

    // c: a new or opened document; the snapshot belonged to the rows that are gone.
    void anotherDocumentClearsUndo() {
        Fixture f;
        f.fill(3);
        f.clickCell(1, 2);
        f.key(Qt::Key_X);
        QVERIFY(f.undoEnabled());
        const QString file = f.root.filePath(QStringLiteral("b.jmf"));
        QVERIFY(writeFileBytes(file, "!!DICUT10\r\nx,y,z\r\nu,v,w\r\n"));
        QVERIFY(f.w().documentCommands().LoadWordList(file, LoadMode::Open));
        QVERIFY(!f.undoEnabled());
        f.key(Qt::Key_Z);
        QCOMPARE(f.at(1), (Row{"x", "y", "z"}));
        QCOMPARE(f.at(2), (Row{"u", "v", "w"}));
        QCOMPARE(f.at(3), Row{});
        // A new document as well.
        f.clickCell(1, 1);
        f.key(Qt::Key_X);
        QVERIFY(f.undoEnabled());
        f.dialogs.expectMessage(QStringLiteral("は変更されています。"), ResultNo);
        f.w().form().mmNew->trigger();
        QVERIFY(f.dialogs.allAnswered());
        QVERIFY(!f.undoEnabled());
        QCOMPARE(f.at(2), Row{});
    }

    void deletingTheLastDataRowKeepsTheTitleRow() {
        Fixture f;
        f.fill(1);
        f.grid().SetRowCount(2);
        f.clickCell(1, 1);
        f.key(Qt::Key_Delete);
        QCOMPARE(f.grid().RowCount(), 2);
        QCOMPARE(f.grid().FixedRows(), 1);
        QCOMPARE(f.grid().Cells(2, 0), sj(u"単語"));
        QCOMPARE(f.at(1), Row{});
        QCOMPARE(f.grid().Cells(0, 1), QByteArray("1"));
        QCOMPARE(f.grid().Row(), 1);
        // Again: the empty row gives way to another empty one.
        f.key(Qt::Key_Delete);
        QCOMPARE(f.grid().RowCount(), 2);
        QCOMPARE(f.grid().FixedRows(), 1);
        f.key(Qt::Key_Z);
        f.grid().SetCells(1, 1, "typed");
        QCOMPARE(f.grid().Cells(1, 1), QByteArray("typed"));
        QCOMPARE(f.grid().Cells(1, 0), sj(u"読み"));
    }

    void hinsiListFollowsTheCurrentRow() {
        Fixture f;
        f.put(1, row(u"a", u"b", u"副詞"));
        f.put(2, row(u"c", u"d", u""));
        f.put(4, row(u"e", u"f", u"未知"));
        f.clickCell(1, 3);
        f.clickCell(1, 1);
        QCOMPARE(f.checkedHinsi(), 13);
        f.clickCell(1, 2);
        QCOMPARE(f.checkedHinsi(), -1);
        f.clickCell(1, 1);
        f.clickCell(1, 4);
        QCOMPARE(f.checkedHinsi(), -1);
        // Following is no pick: the cells stay as they were.
        QCOMPARE(f.grid().Cells(3, 4), sj(u"未知"));

        f.clickCell(2, 3);
        QTest::mouseClick(f.hinsiButton(QStringLiteral("名詞")), Qt::LeftButton);
        QCOMPARE(f.grid().Cells(3, 3), sj(u"名詞"));
        QCOMPARE(f.grid().Cells(2, 3), QByteArray());
        QVERIFY(f.grid().hasFocus());
        QVERIFY(!f.undoEnabled());
    }

    // A load shows the list for the current row and writes no cell.
    void loadLeavesCellsAsTheFileHasThem() {
        Fixture f;
        f.clickCell(1, 1);
        QTest::mouseClick(f.hinsiButton(QStringLiteral("単漢字")), Qt::LeftButton);
        const QString file = f.root.filePath(QStringLiteral("a.jmf"));
        QVERIFY(writeFileBytes(file, sj(u"!!DICUT10\r\nあ,亜,副詞\r\nい,伊,\r\nう,宇,名詞\r\n")));
        QVERIFY(f.w().documentCommands().LoadWordList(file, LoadMode::Open));
        QCOMPARE(f.at(1), row(u"あ", u"亜", u"副詞"));
        QCOMPARE(f.at(2), row(u"い", u"伊", u""));
        QCOMPARE(f.at(3), row(u"う", u"宇", u"名詞"));
        QCOMPARE(f.checkedHinsi(), 13);
        // An add-open at row 2 (empty part of speech) leaves it empty as well.
        const QString more = f.root.filePath(QStringLiteral("b.jmf"));
        QVERIFY(writeFileBytes(more, sj(u"!!DICUT10\r\nえ,江,名詞\r\n")));
        f.clickCell(1, 2);
        QVERIFY(f.w().documentCommands().LoadWordList(more, LoadMode::Add));
        QCOMPARE(f.at(2), row(u"い", u"伊", u""));
        QCOMPARE(f.at(3), row(u"え", u"江", u"名詞"));
        QVERIFY(!f.w().documentCommands().IsDocumentModified());
    }

    void windowFollowsADraggedColumn() {
        Fixture f;
        const int width = f.w().width();
        const int comment = f.w().form().edtComment->width();
        QHeaderView *columns = f.grid().horizontalHeader();
        // The border between columns 2 and 3.
        const int x = columns->sectionViewportPosition(1) + columns->sectionSize(1) - 1;
        const QPoint from(x, columns->height() / 2);
        QWidget *header = columns->viewport();
        QTest::mousePress(header, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(20, 0)),
                         header->mapToGlobal(QPointF(from + QPoint(20, 0))), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(header, &move);
        QTest::mouseRelease(header, Qt::LeftButton, {}, from + QPoint(20, 0));
        QCOMPARE(f.grid().ColWidths(2), 124);
        QCOMPARE(f.w().width(), width);
        f.clickCell(1, 1);
        QVERIFY(f.openEditor());
        QCOMPARE(f.w().width(), width + 20);
        QCOMPARE(f.w().form().edtComment->width(), comment + 20);
        QCOMPARE(f.grid().ColWidths(1), 120);
        QCOMPARE(f.grid().ColWidths(2), 124);
        QCOMPARE(f.w().state().LastColWidths, (std::array<int, 3>{120, 124, 68}));
        QVERIFY(!f.w().state().ColumnFollowPending);
        // Nothing dragged since: the next cell changes nothing, and a resize by
        // the user is followed as ever.
        f.clickCell(1, 2);
        QVERIFY(f.openEditor());
        QCOMPARE(f.w().width(), width + 20);
        f.w().resize(width + 60, f.w().height());
        QCOMPARE(f.grid().ColWidths(1), 140);
    }

    void gridFont() {
        Fixture f;
        QFont chosen(QStringLiteral("Noto Sans CJK JP"));
        chosen.setPixelSize(22);
        f.dialogs.expectFont(chosen);
        f.w().mmFontClick();
        QCOMPARE(f.dialogs.shown().first().owner, &f.w());
        QCOMPARE(f.grid().font().pixelSize(), 22);
        const QFontMetrics metrics(f.grid().font(), &f.grid());
        const int h = metrics.height();
        const int m = metrics.maxWidth();
        QVERIFY(h > 0 && m > 0);
        QCOMPARE(f.grid().DefaultRowHeight(), h + h / 2);
        QCOMPARE(f.grid().ColWidths(0), 3 * m + m / 2);
        // Cancelled: nothing changes.
        f.dialogs.expectFont(std::nullopt);
        f.w().mmFontClick();
        QCOMPARE(f.grid().DefaultRowHeight(), h + h / 2);
    }

    // Column 0 keeps its width of 30 until the numbers need more; what the reset
    // sets stays the least it has.
    void numberColumnWidensForLongNumbers() {
        Fixture f;
        QCOMPARE(f.grid().ColWidths(0), 30);
        QVERIFY(f.editing().numberColumnWidthFor(999) <= 30);
        f.grid().SetRowCount(1000001);
        f.editing().RenumberRows(100);
        QCOMPARE(f.grid().Cells(0, 1000000), QByteArray("1000000"));
        const int needed = f.editing().numberColumnWidthFor(1000000);
        QVERIFY(needed > 30);
        QCOMPARE(f.grid().ColWidths(0), needed);
        QCOMPARE(f.grid().verticalHeader()->width(), needed);
        f.w().form().mmInitialize->trigger();
        QCOMPARE(f.grid().ColWidths(0), needed);
        f.grid().SetRowCount(101);
        QCOMPARE(f.grid().ColWidths(0), 30);
        QCOMPARE(f.w().width(), 602);
        QCOMPARE(f.grid().ColWidths(1), 120);
    }

    // Labels and captions show their whole text in the installed fonts.
    void labelsShowTheirWholeText() {
        Fixture f;
        const auto widgets = f.w().findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            if (!qobject_cast<QLabel *>(widget) && !qobject_cast<QAbstractButton *>(widget))
                continue;
            if (!widget->isVisible() || widget->inherits("QToolButton"))
                continue;
            QVERIFY2(widget->width() >= widget->sizeHint().width(),
                     qPrintable(widget->objectName()));
        }
        const QLabel *label = f.w().form().lblComment;
        QVERIFY(label->geometry().right() < f.w().form().edtComment->x());
    }
};

QTEST_MAIN(TestEditingCommands)
#include "tst_editingcommands.moc"
