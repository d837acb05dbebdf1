// The row commands' core: where the undo record's row goes as rows move, the
// line a paste takes, and the renumbering of column 0.

#include "app/rowtext.h"
#include "app/undostate.h"
#include "document/snapshot.h"
#include "document/wordlist.h"
#include "grid/cellstore.h"
#include "platform/sjis.h"

#include <QTest>

using namespace kelvari;

namespace {

const RowTexts kTexts{"r", "w", "p"};

// Applies a script of row changes: "i3" inserts one row at 3, "d3" deletes row 3,
// "m3>6" moves row 3 to 6, "c" clears.
void apply(UndoState &undo, const QString &script) {
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        const QChar kind = step.front();
        if (kind == u'c') {
            undo.clear();
        } else if (kind == u'm') {
            const QStringList ends = step.mid(1).split(u'>');
            undo.rowMoved(ends[0].toInt(), ends[1].toInt());
        } else if (kind == u'i') {
            undo.rowsInserted(step.mid(1).toInt(), 1);
        } else if (kind == u'd') {
            undo.rowsRemoved(step.mid(1).toInt(), 1);
        }
    }
}

} // namespace

class TestUndoState : public QObject {
    Q_OBJECT
private slots:
    void startsEmptyAndDisabled() {
        UndoState undo;
        QCOMPARE(undo.UndoSnapshot().row, 0);
        QVERIFY(undo.UndoSnapshot().texts.isEmpty());
        QVERIFY(!undo.UndoRowDeleted());
        QVERIFY(!undo.enabled());
        QCOMPARE(undo.takeStep().kind, UndoState::Step::Kind::Nothing);
    }

    // The snapshot recorded from row 5, then rows change.
    void recordedRowFollowsTheRows_data() {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("kind"); // 0 nothing, 1 rewrite, 2 reinsert
        QTest::addColumn<int>("row");
        QTest::newRow("no change") << QString() << 1 << 5;
        QTest::newRow("insert below") << QStringLiteral("i6") << 1 << 5;
        QTest::newRow("insert at the row") << QStringLiteral("i5") << 1 << 6;
        QTest::newRow("insert above twice") << QStringLiteral("i1 i2") << 1 << 7;
        QTest::newRow("delete above") << QStringLiteral("d2") << 1 << 4;
        QTest::newRow("delete below") << QStringLiteral("d9") << 1 << 5;
        QTest::newRow("the row deleted") << QStringLiteral("d5") << 2 << 5;
        QTest::newRow("deleted, then a row above deleted") << QStringLiteral("d5 d1") << 2 << 4;
        QTest::newRow("deleted, then the next deleted") << QStringLiteral("d5 d5") << 2 << 5;
        QTest::newRow("deleted, then inserted above") << QStringLiteral("d5 i2") << 2 << 6;
        QTest::newRow("deleted, then inserted at its place") << QStringLiteral("d5 i5") << 2 << 5;
        QTest::newRow("moved itself") << QStringLiteral("m5>9") << 1 << 9;
        QTest::newRow("a row above moved below") << QStringLiteral("m2>8") << 1 << 4;
        QTest::newRow("a row below moved above") << QStringLiteral("m8>1") << 1 << 6;
        QTest::newRow("a row moved past its place") << QStringLiteral("d5 m7>2") << 2 << 6;
        QTest::newRow("another document") << QStringLiteral("c") << 0 << 0;
        QTest::newRow("the title row deleted under it")
            << QStringLiteral("d0 d0 d0 d0 d0 d0") << 0 << 0;
    }
    void recordedRowFollowsTheRows() {
        QFETCH(QString, changes);
        QFETCH(int, kind);
        QFETCH(int, row);
        UndoState undo;
        undo.save(5, kTexts);
        QVERIFY(undo.enabled());
        apply(undo, changes);
        const UndoState::Step step = undo.takeStep();
        QCOMPARE(static_cast<int>(step.kind), kind);
        if (kind != 0) {
            QCOMPARE(step.row, row);
            QCOMPARE(step.texts, kTexts);
        }
        // Used up: a second undo does nothing.
        QVERIFY(!undo.enabled());
        QVERIFY(!undo.UndoRowDeleted());
        undo.setEnabled(true);
        QCOMPARE(undo.takeStep().kind, UndoState::Step::Kind::Nothing);
    }

    void deletedMarkIsTheCommandsOwn() {
        UndoState undo;
        undo.save(3, kTexts);
        undo.setRowDeleted(true);
        // SaveUndo leaves the mark alone.
        undo.save(4, kTexts);
        QVERIFY(undo.UndoRowDeleted());
        QCOMPARE(undo.UndoSnapshot().row, 4);
        QCOMPARE(undo.takeStep().kind, UndoState::Step::Kind::Rewrite);
        QVERIFY(!undo.UndoRowDeleted());
    }

    void clipboardRowText_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("partOfSpeech");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QStringLiteral("たなか") << QStringLiteral("田中")
                               << QStringLiteral("固有人姓")
                               << QStringLiteral("たなか,田中,固有人姓");
        QTest::newRow("comma") << QStringLiteral("a") << QStringLiteral("A,B")
                               << QStringLiteral("p") << QStringLiteral("a,\"A,B\",p");
        QTest::newRow("ideographic comma kept")
            << QStringLiteral("a") << QStringLiteral("A、B") << QStringLiteral("p")
            << QStringLiteral("a,\"A、B\",p");
        QTest::newRow("commas elsewhere unquoted")
            << QStringLiteral("a,b") << QStringLiteral("w") << QStringLiteral("、")
            << QStringLiteral("a,b,w,、");
        // メA is 83 81 41: the bytes of "、" (81 41) inside, but no "、".
        QTest::newRow("0x81 0x41 only as a character")
            << QStringLiteral("") << QStringLiteral("メA") << QStringLiteral("")
            << QStringLiteral(",メA,");
    }
    void clipboardRowText() {
        QFETCH(QString, reading);
        QFETCH(QString, word);
        QFETCH(QString, partOfSpeech);
        QFETCH(QString, text);
        QCOMPARE(kelvari::clipboardRowText({sj(reading), sj(word), sj(partOfSpeech)}), sj(text));
    }

    void pastedLine_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("one line") << QByteArray("a,b,c") << QByteArray("a,b,c");
        QTest::newRow("CR LF at the end") << QByteArray("a,b,c\r\n") << QByteArray("a,b,c");
        QTest::newRow("LF at the end") << QByteArray("a,b,c\n") << QByteArray("a,b,c");
        QTest::newRow("two lines") << QByteArray("a,b,c\r\nd,e,f") << QByteArray("a,b,c");
        QTest::newRow("lone CR") << QByteArray("a,b\rc") << QByteArray("a,b");
        QTest::newRow("breaks first") << QByteArray("\n\r\na,b,c\r\n") << QByteArray("a,b,c");
        QTest::newRow("only breaks") << QByteArray("\r\n\r\n") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("Shift-JIS 0x5C trail byte") << sj(u"表,ソ,名詞") << sj(u"表,ソ,名詞");
    }
    void pastedLine() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, line);
        QCOMPARE(kelvari::pastedLine(text).toByteArray(), line);
    }

    void renumberRows() {
        CellStore cells(4, 12);
        for (int row = 1; row < 12; ++row) {
            cells.setCell(0, row, QByteArray::number(row));
            cells.setCell(1, row, "r" + QByteArray::number(row));
            cells.setCell(3, row, "p");
        }
        QCOMPARE(kelvari::numberRows(cells, 1), 0);
        cells.insertRows(4, 1);
        QCOMPARE(kelvari::numberRows(cells, 4), 12);
        for (int row = 1; row < 13; ++row)
            QCOMPARE(cells.cell(0, row), QByteArray::number(row));
        // The other cells moved with their rows and kept their texts, through the
        // in-place rewrite of a number of the same length ("9" -> "10" is longer).
        QCOMPARE(cells.cell(1, 5), QByteArray("r4"));
        QCOMPARE(cells.cell(3, 5), QByteArray("p"));
        QCOMPARE(cells.cell(1, 12), QByteArray("r11"));
        QCOMPARE(cells.cell(3, 12), QByteArray("p"));
        QCOMPARE(cells.cell(1, 4), QByteArray());
        cells.deleteRows(2, 1);
        QCOMPARE(kelvari::numberRows(cells, 2), 11);
        QCOMPARE(cells.cell(0, 11), QByteArray("11"));
        QCOMPARE(cells.cell(0, 0), QByteArray());
    }

    // The snapshot shares the rows whose numbers are rewritten: it still sees the
    // same words, and still sees a changed one.
    void renumberingKeepsTheSnapshotExact() {
        CellStore cells(4, 12);
        for (int row = 1; row < 12; ++row) {
            cells.setCell(0, row, QByteArray::number(row));
            cells.setCell(1, row, "r" + QByteArray::number(row));
        }
        const DocumentSnapshot snapshot = DocumentSnapshot::record(cells, "c");
        cells.insertRows(1, 1);
        kelvari::numberRows(cells, 1);
        QVERIFY(!snapshot.isModified(cells, "c"));
        cells.setCell(1, 5, "changed");
        QVERIFY(snapshot.isModified(cells, "c"));
    }
};

QTEST_GUILESS_MAIN(TestUndoState)
#include "tst_undostate.moc"
