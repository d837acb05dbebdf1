// The File menu's document commands, run against a real word grid and comment
// box with scripted dialogs. They change the document model; the menus that
// follow the model are the main window's and are tested there.

#include "document/documentcommands.h"
#include "grid/tmstrgrid.h"
#include "platform/sjis.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"
#include "widgets/beepdialog.h"

#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace kelvari;
using kelvari::test::readFileBytes;
using kelvari::test::ScriptedDialogs;
using kelvari::test::TestDataRoot;
using kelvari::test::writeFileBytes;

namespace {

const QString kGateRefusal = QStringLiteral("grammar gate refuses");

QByteArray jmf(const QString &body) {
    return sj(u"!!DICUT10\r\n") + sj(body);
}

// What the document commands work on, as the main window sets them up.
struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    QWidget owner;
    TmStrGrid grid{&owner};
    QLineEdit comment{&owner};
    TBeepDialog beep{dialogs};
    TBeepDialog beep2{dialogs};
    TBeepDialog beep7{dialogs};
    MainWindowState state;
    DocumentModel model;
    QSignalSpy titles{&model, &DocumentModel::titleChanged};
    // The gate's answer, and the actions it was asked about.
    bool gateOpen = true;
    QStringList gateActions;
    int partOfSpeechFollowUps = 0;
    std::unique_ptr<DocumentCommands> doc;

    // A start without a file names the fresh document 新規辞書1.jmf; a start
    // with one uses no number.
    explicit Fixture(bool startedWithoutFile = true) {
        state.MaxRow = 100;
        state.SaveDir = root.path();
        if (startedWithoutFile)
            model.NameNewDocument();
        grid.SetColCount(4);
        grid.SetRowCount(state.MaxRow + 1);
        for (int row = 1; row <= state.MaxRow; ++row)
            grid.SetCells(0, row, QByteArray::number(row));

        beep.setDlgType(TBeepDialog::mtError);
        beep2.setDlgType(TBeepDialog::mtConfirmation);
        beep2.setDlgButton(MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
        beep7.setDlgType(TBeepDialog::mtError);
        DocumentCommands::Parts parts{
            .model = model,
            .state = state,
            .sgJisho = grid,
            .edtComment = comment,
            .dialogs = dialogs,
            .owner = &owner,
            .showBeepDlg =
                [this](const QString &message) {
                    beep.setDlgMessage(message);
                    beep.ShowAndWait();
                },
            .showBeepDlg2 =
                [this](const QString &message) {
                    beep2.setDlgMessage(message);
                    return beep2.ShowForResult();
                },
            .showBeepDlg7 =
                [this](const QString &message) {
                    beep7.setDlgMessage(message);
                    beep7.ShowAndWait();
                },
            .saveGate =
                [this] {
                    gateActions.append(QStringLiteral("保存"));
                    if (!gateOpen)
                        dialogs.error(&owner, kGateRefusal);
                    return gateOpen;
                },
            .sgJishoClick = [this] { ++partOfSpeechFollowUps; },
        };
        doc = std::make_unique<DocumentCommands>(parts);
        titles.clear();
    }

    QString path(const QString &name) const { return root.filePath(name); }
    QString write(const QString &name, const QString &body) const {
        writeFileBytes(path(name), jmf(body));
        return path(name);
    }
    void open(const QString &file) {
        dialogs.expectOpenFile(file);
        doc->mmOpenClick();
    }
    void setRow(int row, const QString &reading, const QString &word, const QString &hinsi) {
        grid.SetCells(1, row, sj(reading));
        grid.SetCells(2, row, sj(word));
        grid.SetCells(3, row, sj(hinsi));
    }
    QString cell(int col, int row) const { return sjis::decode(grid.Cells(col, row)); }
    QStringList history() const { return model.history().paths(); }
    qsizetype checkedEntry() const { return model.history().checkedIndex(); }
    // The path the caption was last set to.
    QString title() const { return titles.isEmpty() ? QString() : titles.last().at(0).toString(); }
};

} // namespace

class TestDocumentCommands : public QObject {
    Q_OBJECT
private slots:
    void newDocumentTakesTheNextName_data();
    void newDocumentTakesTheNextName();
    void askToSaveNamesTheFile_data();
    void askToSaveNamesTheFile();
    void newStopsUnlessTheSaveHappened_data();
    void newStopsUnlessTheSaveHappened();
    void saveAsThenSaveWithoutDialog();
    void refusedSaveTouchesNothing();
    void cancelledSaveAs();
    void failedSaveReportsAndKeepsTheName();
    void modifiedState_data();
    void modifiedState();
    void conversionFollowsTheExtension_data();
    void conversionFollowsTheExtension();
    void historyKeepsTenNewestFirst();
    void historyClick();
    void addOpen();
    void droppingThreeFilesOpensTheFirst();
    void failedLoadChangesNothing_data();
    void failedLoadChangesNothing();
};

void TestDocumentCommands::newDocumentTakesTheNextName_data() {
    QTest::addColumn<int>("counterAtStart");
    QTest::addColumn<QString>("name");
    // A start without a file is already 新規辞書1.jmf; a start with one has used no number.
    QTest::newRow("started without a file") << 1 << QStringLiteral("新規辞書2.jmf");
    QTest::newRow("started with a file") << 0 << QStringLiteral("新規辞書1.jmf");
}

void TestDocumentCommands::newDocumentTakesTheNextName() {
    QFETCH(int, counterAtStart);
    QFETCH(QString, name);
    Fixture f(counterAtStart == 1);
    QCOMPARE(f.model.NewFileCounter(), counterAtStart);
    const QString file =
        f.write(QStringLiteral("c.jmf"), QStringLiteral("!!コメント：メモ\r\nよみ,読み,名詞\r\n"));
    f.open(file);
    QCOMPARE(f.comment.text(), QStringLiteral("メモ"));

    f.doc->mmNewClick();
    QCOMPARE(f.model.CurrentFileName(), name);
    QCOMPARE(f.title(), name);
    QCOMPARE(f.model.NewFileCounter(), counterAtStart + 1);
    QCOMPARE(f.grid.RowCount(), 101);
    QCOMPARE(f.cell(1, 1), QString());
    QCOMPARE(f.cell(0, 100), QStringLiteral("100"));
    QCOMPARE(f.comment.text(), QString());
    // Closing right after New has nothing to ask, although the old document had a comment.
    QVERIFY(!f.doc->IsDocumentModified());
    // The history and its check mark stay as they were.
    QCOMPARE(f.history(), QStringList{file});
    QCOMPARE(f.checkedEntry(), 0);
}

void TestDocumentCommands::askToSaveNamesTheFile_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("shownName");
    QTest::newRow("never saved") << QStringLiteral("新規辞書1.jmf")
                                 << QStringLiteral("新規辞書1.jmf");
    QTest::newRow("saved") << QStringLiteral("/data/辞書/a.jmf") << QStringLiteral("a.jmf");
}

void TestDocumentCommands::askToSaveNamesTheFile() {
    QFETCH(QString, fileName);
    QFETCH(QString, shownName);
    Fixture f;
    f.model.setCurrentFileName(fileName);
    f.setRow(1, QStringLiteral("よみ"), QString(), QString());
    const QString expected = QStringLiteral("\" ") + shownName +
                             QStringLiteral(" \" は変更されています。\r\n保存しますか?");
    f.dialogs.expectMessage(expected, ResultNo);
    f.doc->mmNewClick();
    QCOMPARE(f.dialogs.shown().last().text, expected);
    QCOMPARE(f.dialogs.shown().last().messageKind, MessageKind::Confirmation);
    // No: the changes are dropped.
    QCOMPARE(f.cell(1, 1), QString());
    QCOMPARE(f.model.CurrentFileName(), QStringLiteral("新規辞書2.jmf"));
}

void TestDocumentCommands::newStopsUnlessTheSaveHappened_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs"); // empty: the dialog is cancelled
    QTest::newRow("cancel") << int(ResultCancel) << QString();
    QTest::newRow("yes, save as cancelled") << int(ResultYes) << QString();
    QTest::newRow("yes, gate refuses") << int(ResultYes) << QStringLiteral("x.jmf");
}

void TestDocumentCommands::newStopsUnlessTheSaveHappened() {
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    Fixture f;
    f.setRow(1, QStringLiteral("漢字"), QStringLiteral("語"), QStringLiteral("名詞"));
    f.dialogs.expectMessage(QStringLiteral("は変更されています。"), answer);
    if (answer == ResultYes) {
        f.dialogs.expectSaveFile(saveAs.isEmpty() ? QString() : f.path(saveAs));
        if (!saveAs.isEmpty())
            f.dialogs.expectMessage(kGateRefusal);
    }
    f.gateOpen = false;
    f.doc->mmNewClick();
    QCOMPARE(f.cell(1, 1), QStringLiteral("漢字"));
    QCOMPARE(f.model.CurrentFileName(), QStringLiteral("新規辞書1.jmf"));
    QCOMPARE(f.model.NewFileCounter(), 1);
    QVERIFY(f.doc->IsDocumentModified());
    QVERIFY(!f.model.SaveSucceeded());
    if (!saveAs.isEmpty())
        QVERIFY(!QFile::exists(f.path(saveAs)));
}

void TestDocumentCommands::saveAsThenSaveWithoutDialog() {
    Fixture f;
    f.setRow(2, QStringLiteral("よみ"), QStringLiteral("A,B"), QStringLiteral("名詞"));
    f.comment.setText(QStringLiteral("メモ"));
    const QString file = f.path(QStringLiteral("a.jmf"));
    f.dialogs.expectSaveFile(file);
    f.doc->mmSaveClick();
    const test::ShownDialog &dialog = f.dialogs.shown().last();
    QCOMPARE(dialog.fileName, QStringLiteral("新規辞書1.jmf"));
    QCOMPARE(dialog.directory, f.root.path());
    QCOMPARE(dialog.filter, QStringLiteral("辞書作成ファイル (*.jmf)"));

    QVERIFY(f.model.SaveSucceeded());
    QCOMPARE(f.gateActions, QStringList{QStringLiteral("保存")});
    QCOMPARE(f.model.CurrentFileName(), file);
    QCOMPARE(f.title(), file);
    QCOMPARE(f.history(), QStringList{file});
    QCOMPARE(f.checkedEntry(), 0);
    QVERIFY(!f.doc->IsDocumentModified());
    QByteArray bytes = readFileBytes(file);
    QVERIFY(bytes.startsWith("!!DICUT10\r\n"));
    QVERIFY(bytes.contains(sj(u"!!コメント：メモ\r\n")));
    QVERIFY(bytes.endsWith(sj(u"\r\n\r\nよみ,\"A,B\",名詞\r\n")));

    f.setRow(2, QStringLiteral("よみ"), QStringLiteral("語"), QStringLiteral("名詞"));
    f.doc->mmSaveClick(); // no dialog this time
    QVERIFY(readFileBytes(file).endsWith(sj(u"\r\n\r\nよみ,語,名詞\r\n")));
    QCOMPARE(f.history(), QStringList{file});
}

void TestDocumentCommands::refusedSaveTouchesNothing() {
    Fixture f;
    const QString file = f.write(QStringLiteral("a.jmf"), QStringLiteral("よみ,読み,名詞\r\n"));
    const QByteArray before = readFileBytes(file);
    f.open(file);
    f.setRow(1, QStringLiteral("漢字"), QStringLiteral("読み"), QStringLiteral("名詞"));
    f.model.setSaveSucceeded(true);
    f.gateOpen = false;
    const int titlesBefore = int(f.titles.size());

    f.dialogs.expectMessage(kGateRefusal);
    f.doc->mmSaveClick();
    QVERIFY(!f.model.SaveSucceeded());
    QCOMPARE(readFileBytes(file), before);
    QVERIFY(f.doc->IsDocumentModified());
    QCOMPARE(f.titles.size(), titlesBefore);

    // Save As: the old name stays, the chosen path still enters the history.
    const QString other = f.path(QStringLiteral("b.jmf"));
    f.dialogs.expectSaveFile(other).expectMessage(kGateRefusal);
    f.doc->mmSaveAsClick();
    QVERIFY(!f.model.SaveSucceeded());
    QVERIFY(!QFile::exists(other));
    QCOMPARE(f.model.CurrentFileName(), file);
    QCOMPARE(f.history(), (QStringList{other, file}));
    QCOMPARE(f.checkedEntry(), 0);
    QCOMPARE(f.titles.size(), titlesBefore);
}

void TestDocumentCommands::cancelledSaveAs() {
    Fixture f;
    const QString file = f.write(QStringLiteral("a.txt"), QStringLiteral("よみ,読み,名詞\r\n"));
    f.open(file);
    f.model.setSaveSucceeded(true);
    f.dialogs.expectSaveFile(QString());
    f.doc->mmSaveAsClick();
    QCOMPARE(f.dialogs.shown().last().fileName, f.path(QStringLiteral("a.jmf")));
    QVERIFY(!f.model.SaveSucceeded());
    QCOMPARE(f.model.CurrentFileName(), file);
    QCOMPARE(f.history(), QStringList{file});
}

void TestDocumentCommands::failedSaveReportsAndKeepsTheName() {
    Fixture f;
    f.setRow(1, QStringLiteral("よみ"), QStringLiteral("読み"), QStringLiteral("名詞"));
    f.model.setSaveSucceeded(true);
    f.dialogs.expectSaveFile(f.path(QStringLiteral("no-such-folder/a.jmf")));
    f.dialogs.expectMessage(QString());
    f.doc->mmSaveClick();
    QCOMPARE(f.dialogs.shown().last().messageKind, MessageKind::Error);
    // A failed write is never reported as a save: closing must not go ahead on it.
    QVERIFY(!f.model.SaveSucceeded());
    QCOMPARE(f.model.CurrentFileName(), QStringLiteral("新規辞書1.jmf"));
    QVERIFY(f.doc->IsDocumentModified());
}

namespace {
enum Edit { RetypeSame, SwapRows, MoveAcrossCellBorder, InsertBlankRow, ChangeComment };
}

void TestDocumentCommands::modifiedState_data() {
    QTest::addColumn<int>("edit");
    QTest::addColumn<bool>("modified");
    QTest::newRow("retype the same text") << int(RetypeSame) << false;
    QTest::newRow("swap two rows") << int(SwapRows) << true;
    QTest::newRow("move text across a cell border") << int(MoveAcrossCellBorder) << true;
    QTest::newRow("insert a blank row") << int(InsertBlankRow) << false;
    QTest::newRow("change the comment") << int(ChangeComment) << true;
}

void TestDocumentCommands::modifiedState() {
    QFETCH(int, edit);
    QFETCH(bool, modified);
    Fixture f;
    f.open(f.write(
        QStringLiteral("a.jmf"),
        QStringLiteral("!!コメント：c\r\nよみ,読み,名詞\r\nかな,仮名,名詞\r\nab,,名詞\r\n")));
    QVERIFY(!f.doc->IsDocumentModified());
    switch (edit) {
    case RetypeSame:
        f.grid.SetCells(2, 1, sj(u"別"));
        f.grid.SetCells(2, 1, sj(u"読み"));
        break;
    case SwapRows:
        f.setRow(1, QStringLiteral("かな"), QStringLiteral("仮名"), QStringLiteral("名詞"));
        f.setRow(2, QStringLiteral("よみ"), QStringLiteral("読み"), QStringLiteral("名詞"));
        break;
    case MoveAcrossCellBorder:
        f.grid.SetCells(1, 3, "a");
        f.grid.SetCells(2, 3, "b");
        break;
    case InsertBlankRow:
        f.grid.cells().insertRows(2, 1);
        break;
    case ChangeComment:
        f.comment.setText(QStringLiteral("d"));
        break;
    }
    QCOMPARE(f.doc->IsDocumentModified(), modified);
}

void TestDocumentCommands::conversionFollowsTheExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("X.jmf") << QStringLiteral("X.jmf") << true;
    QTest::newRow("X.JMF") << QStringLiteral("X.JMF") << false;
    QTest::newRow("X.txt") << QStringLiteral("X.txt") << false;
}

void TestDocumentCommands::conversionFollowsTheExtension() {
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    Fixture f;
    f.model.setConversionEnabled(!enabled);
    QSignalSpy changes(&f.model, &DocumentModel::conversionEnabledChanged);
    f.open(f.write(name, QStringLiteral("よみ,読み,名詞\r\n")));
    QCOMPARE(f.model.conversionEnabled(), enabled);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.first().at(0).toBool(), enabled);
    QCOMPARE(f.model.CurrentFileName(), f.path(name));
}

void TestDocumentCommands::historyKeepsTenNewestFirst() {
    Fixture f;
    QStringList files;
    for (int i = 0; i < 11; ++i) {
        files.append(
            f.write(QStringLiteral("f%1.jmf").arg(i), QStringLiteral("よみ,読み,名詞\r\n")));
        f.open(files.last());
    }
    QStringList expected;
    for (int i = 10; i >= 1; --i)
        expected.append(files.at(i));
    QCOMPARE(f.history(), expected);
    QCOMPARE(f.checkedEntry(), 0);

    // Reopening the third entry checks it and keeps the order.
    f.open(expected.at(2));
    QCOMPARE(f.history(), expected);
    QCOMPARE(f.checkedEntry(), 2);
}

void TestDocumentCommands::historyClick() {
    Fixture f;
    const QString kept =
        f.write(QStringLiteral("kept & co.jmf"), QStringLiteral("よみ,読み,名詞\r\n"));
    const QString gone = f.path(QStringLiteral("gone.jmf"));
    const QString other =
        f.write(QStringLiteral("other.jmf"), QStringLiteral("かな,仮名,名詞\r\n"));
    f.model.FillHistoryMenu({gone, kept, other});
    f.model.checkHistoryEntry(1);

    // A deleted file's entry goes, with a message; the document stays.
    f.dialogs.expectMessage(QStringLiteral("ファイルが見つかりませんでした。"));
    f.doc->mmHistoryClick(0);
    QCOMPARE(f.dialogs.shown().last().text, QStringLiteral("ファイルが見つかりませんでした。"));
    QCOMPARE(f.dialogs.shown().last().messageKind, MessageKind::Error);
    QCOMPARE(f.history(), (QStringList{kept, other}));
    QCOMPARE(f.checkedEntry(), 0); // the mark stays on its entry
    QCOMPARE(f.model.CurrentFileName(), QStringLiteral("新規辞書1.jmf"));
    QVERIFY(f.titles.isEmpty());

    // An existing file opens from its entry without moving it.
    f.doc->mmHistoryClick(1);
    QCOMPARE(f.model.CurrentFileName(), other);
    QCOMPARE(f.title(), other);
    QCOMPARE(f.cell(1, 1), QStringLiteral("かな"));
    QCOMPARE(f.history(), (QStringList{kept, other}));
    QCOMPARE(f.checkedEntry(), 1);
    QVERIFY(!f.model.OpenedFromHistory());
    QCOMPARE(f.partOfSpeechFollowUps, 1);

    // A refused file opened from its entry keeps the mark there; the next load
    // counts for the history again.
    writeFileBytes(kept, "not a word list\r\n");
    f.dialogs.expectMessage(QStringLiteral("有効な辞書作成ファイルではありません。"));
    f.doc->mmHistoryClick(0);
    QCOMPARE(f.model.CurrentFileName(), other);
    QCOMPARE(f.checkedEntry(), 0);
    QVERIFY(!f.model.OpenedFromHistory());
    const QString third = f.write(QStringLiteral("third.jmf"), QStringLiteral("あ,亜,名詞\r\n"));
    f.open(third);
    QCOMPARE(f.history(), (QStringList{third, kept, other}));
}

void TestDocumentCommands::addOpen() {
    Fixture f;
    for (int row = 1; row <= 12; ++row)
        f.setRow(row, QStringLiteral("よみ%1").arg(row), QStringLiteral("語"),
                 QStringLiteral("名詞"));
    f.grid.SetRow(10);

    f.dialogs.expectMessage(QStringLiteral("カーソルの位置は現在の行でよろしいですか?"), ResultNo);
    f.doc->mmAddOpenClick(); // No: no open dialog follows
    const test::ShownDialog &question = f.dialogs.shown().last();
    QCOMPARE(question.caption, QStringLiteral("注意"));
    QCOMPARE(question.messageKind, MessageKind::Warning);
    QCOMPARE(question.buttons, MessageButton::Yes | MessageButton::No);
    QCOMPARE(question.text, DocumentCommands::addOpenMessage());
    QCOMPARE(f.dialogs.shown().size(), 1);

    QString body = QStringLiteral("!!コメント：追加\r\n");
    for (int i = 1; i <= 5; ++i)
        body += QStringLiteral("か%1,加,名詞\r\n").arg(i);
    const QString file = f.write(QStringLiteral("add.jmf"), body);
    f.dialogs.expectMessage(QString(), ResultYes).expectOpenFile(file);
    f.doc->mmAddOpenClick();
    QCOMPARE(f.cell(1, 10), QStringLiteral("よみ10"));
    QCOMPARE(f.cell(1, 11), QStringLiteral("か1"));
    QCOMPARE(f.cell(1, 15), QStringLiteral("か5"));
    QCOMPARE(f.comment.text(), QStringLiteral("追加"));
    QCOMPARE(f.model.CurrentFileName(), QStringLiteral("新規辞書1.jmf"));
    QCOMPARE(f.title(), file);
    QVERIFY(f.history().isEmpty());
    QVERIFY(!f.doc->IsDocumentModified());
}

void TestDocumentCommands::droppingThreeFilesOpensTheFirst() {
    Fixture f;
    const QString a = f.write(QStringLiteral("a.jmf"), QStringLiteral("あ,亜,名詞\r\n"));
    const QString b = f.write(QStringLiteral("b.jmf"), QStringLiteral("い,伊,名詞\r\n"));
    const QString c = f.write(QStringLiteral("c.jmf"), QStringLiteral("う,宇,名詞\r\n"));
    f.grid.DroppedFiles() = QStringList{a, b, c};
    f.doc->sgJishoDropFiles();
    QCOMPARE(f.model.CurrentFileName(), a);
    QCOMPARE(f.cell(1, 1), QStringLiteral("あ"));
    QCOMPARE(f.history(), QStringList{a});
    QVERIFY(f.grid.DroppedFiles().isEmpty());
}

void TestDocumentCommands::failedLoadChangesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QStringLiteral("missing.jmf") << QByteArray()
                                  << QStringLiteral("ﾌｧｲﾙが見つかりません");
    QTest::newRow("not a word list")
        << QStringLiteral("other.jmf") << QByteArray("!!DICUT10 \r\nx,y,z\r\n")
        << QStringLiteral("有効な辞書作成ファイルではありません。");
}

void TestDocumentCommands::failedLoadChangesNothing() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    Fixture f;
    const QString file =
        f.write(QStringLiteral("a.txt"), QStringLiteral("!!コメント：c\r\nよみ,読み,名詞\r\n"));
    f.open(file);
    f.grid.SetCells(2, 1, sj(u"変更"));
    if (!bytes.isEmpty())
        writeFileBytes(f.path(name), bytes);

    QSignalSpy conversion(&f.model, &DocumentModel::conversionEnabledChanged);
    QSignalSpy history(&f.model, &DocumentModel::historyChanged);
    f.titles.clear();
    f.dialogs.expectOpenFile(f.path(name)).expectMessage(message);
    f.doc->mmOpenClick();
    QCOMPARE(f.dialogs.shown().last().text, message);
    QCOMPARE(f.cell(2, 1), QStringLiteral("変更"));
    QCOMPARE(f.comment.text(), QStringLiteral("c"));
    QCOMPARE(f.model.CurrentFileName(), file);
    QVERIFY(f.titles.isEmpty());
    QVERIFY(f.doc->IsDocumentModified());
    QCOMPARE(f.history(), QStringList{file});
    QVERIFY(history.isEmpty());
    QVERIFY(conversion.isEmpty());
    QVERIFY(!f.model.conversionEnabled()); // as the .txt file left it
    QCOMPARE(f.grid.RowCount(), 51);
}

QTEST_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
