// The grammar report window and the window side of the check: the menu check,
// the gate, and the one report window with its remembered size and font.

#include "check/grammarcommand.h"
#include "check/tfrmerror.h"
#include "grid/tmstrgrid.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"
#include "widgets/beepdialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace kelvari;

Q_DECLARE_METATYPE(kelvari::GateAction)
using kelvari::test::ScriptedDialogs;
using kelvari::test::TestDataRoot;

namespace {

// A main window's worth of parts for the grammar command.
struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    QWidget owner;
    TmStrGrid grid{&owner};
    QLineEdit comment{&owner};
    TBeepDialog beep5{dialogs};
    TBeepDialog beep6{dialogs};
    std::unique_ptr<GrammarCommand> command;

    Fixture() {
        owner.setObjectName(QStringLiteral("frmJisho"));
        grid.SetRowCount(11);
        command = std::make_unique<GrammarCommand>(
            GrammarCommand::Parts{dialogs, grid, comment, beep5, beep6, &owner});
    }

    void setRow(int row, const QString &reading, const QString &word, const QString &hinsi) {
        grid.SetCells(1, row, sj(reading));
        grid.SetCells(2, row, sj(word));
        grid.SetCells(3, row, sj(hinsi));
    }
    QStringList reportLines() const {
        return command->reportWindow()->Memo()->toPlainText().split(QLatin1Char('\n'));
    }
    int reportWindows() const { return owner.findChildren<TfrmError *>().size(); }
};

} // namespace

class TestTfrmError : public QObject {
    Q_OBJECT
private slots:
    void cleanCheckSpeaksOnlyFromTheMenu_data();
    void cleanCheckSpeaksOnlyFromTheMenu();
    void gateWithErrorsRefusesAndShowsTheReport_data();
    void gateWithErrorsRefusesAndShowsTheReport();
    void longReportShowsItsFirstErrors();
    void starCommentBypassesTheGate();
    void secondCheckReusesTheWindow();
    void cleanCheckLeavesTheOldReportOpen();
    void windowRemembersSizeAndFont();
    void helpButtonAsksForItsTopic();
};

void TestTfrmError::cleanCheckSpeaksOnlyFromTheMenu_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<bool>("message");
    QTest::newRow("menu item") << true << true;
    QTest::newRow("the gate's check") << false << false;
}

void TestTfrmError::cleanCheckSpeaksOnlyFromTheMenu() {
    QFETCH(bool, fromMenu);
    QFETCH(bool, message);
    Fixture f;
    f.setRow(2, QStringLiteral("よみ"), QStringLiteral("読み"), QStringLiteral("名詞"));
    if (message)
        f.dialogs.expectMessage(QStringLiteral("文法エラーはありませんでした。"));
    f.command->mmBunpoClick(fromMenu);
    QVERIFY(!f.command->GrammarErrorsFound());
    QCOMPARE(f.command->reportWindow(), nullptr);
    if (message)
        QCOMPARE(f.dialogs.shown().last().text, QStringLiteral("文法エラーはありませんでした。"));
}

void TestTfrmError::gateWithErrorsRefusesAndShowsTheReport_data() {
    QTest::addColumn<GateAction>("action");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("save") << GateAction::Save
                          << QStringLiteral("文法エラーがあるので保存出来ません。");
    QTest::newRow("convert") << GateAction::Convert
                             << QStringLiteral("文法エラーがあるので変換出来ません。");
}

void TestTfrmError::gateWithErrorsRefusesAndShowsTheReport() {
    QFETCH(GateAction, action);
    QFETCH(QString, firstLine);
    Fixture f;
    f.setRow(1, QStringLiteral("漢字"), QStringLiteral("漢字"), QStringLiteral("名詞"));
    f.setRow(3, QString(), QString(), QStringLiteral("名詞"));
    f.dialogs.expectMessage(firstLine);
    QVERIFY(!f.command->GrammarGate(action));
    QCOMPARE(f.dialogs.shown().last().text, firstLine + QStringLiteral("\r\n文法を直して下さい。"));
    QVERIFY(f.command->GrammarErrorsFound());

    TfrmError *window = f.command->reportWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("文法エラー結果"));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->Memo()->isReadOnly());
    const QStringList expected{
        QStringLiteral("<読みエラー>"),
        QStringLiteral("1行目：読みに漢字・括弧・特殊記号(①,☆など)は使えません。"),
        QString(),
        QStringLiteral("<単語エラー>"),
        QString(),
        QStringLiteral("<品詞エラー>"),
        QString(),
        QStringLiteral("<空欄エラー>"),
        QStringLiteral("3行目：読みがありません。"),
        QStringLiteral("3行目：単語がありません。"),
    };
    QCOMPARE(f.reportLines(), expected);
}

void TestTfrmError::longReportShowsItsFirstErrors() {
    Fixture f;
    // Two blank-cell errors per row, a few hundred more than the window shows.
    const int rows = TfrmError::MaxErrorLines / 2 + 300;
    f.grid.SetRowCount(rows + 1);
    for (int row = 1; row <= rows; ++row)
        f.grid.SetCells(3, row, sj(u"名詞"));
    f.dialogs.expectMessage(QStringLiteral("文法エラーがあるので保存出来ません。"));
    QVERIFY(!f.command->GrammarGate(GateAction::Save));
    QVERIFY(f.command->GrammarErrorsFound());

    const QStringList lines = f.reportLines();
    const qsizetype headingLines = 7;
    QCOMPARE(lines.size(), headingLines + TfrmError::MaxErrorLines + 1);
    QCOMPARE(lines[headingLines - 1], QStringLiteral("<空欄エラー>"));
    QCOMPARE(lines[headingLines], QStringLiteral("1行目：読みがありません。"));
    QCOMPARE(lines[lines.size() - 2],
             QStringLiteral("%1行目：単語がありません。").arg(TfrmError::MaxErrorLines / 2));
    QCOMPARE(lines.last(), QStringLiteral("ほかに600件のエラーがあります。"));
}

void TestTfrmError::starCommentBypassesTheGate() {
    Fixture f;
    f.setRow(1, QStringLiteral("漢字"), QString(), QStringLiteral("間違い"));
    f.comment.setText(QStringLiteral("*まだ途中"));
    QVERIFY(f.command->GrammarGate(GateAction::Save));
    QCOMPARE(f.command->reportWindow(), nullptr);
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestTfrmError::secondCheckReusesTheWindow() {
    Fixture f;
    f.setRow(1, QStringLiteral("かな"), QStringLiteral("語"), QStringLiteral("動詞"));
    f.command->mmBunpoClick(true);
    TfrmError *first = f.command->reportWindow();
    QVERIFY(first);
    QVERIFY(f.reportLines().contains(QStringLiteral("1行目：品詞が間違っています。")));

    f.setRow(1, QStringLiteral("かな"), QStringLiteral("語"), QStringLiteral("名詞"));
    f.setRow(2, QStringLiteral("あ!"), QStringLiteral("語"), QStringLiteral("名詞"));
    f.command->mmBunpoClick(true);
    QCOMPARE(f.command->reportWindow(), first);
    QCOMPARE(f.reportWindows(), 1);
    const QStringList lines = f.reportLines();
    QVERIFY(!lines.contains(QStringLiteral("1行目：品詞が間違っています。")));
    QVERIFY(lines.contains(QStringLiteral("2行目：読みに使えない記号が含まれています。")));
}

void TestTfrmError::cleanCheckLeavesTheOldReportOpen() {
    Fixture f;
    f.setRow(1, QStringLiteral("かな"), QString(), QStringLiteral("名詞"));
    f.command->mmBunpoClick(false);
    const QString report = f.command->reportWindow()->Memo()->toPlainText();

    f.setRow(1, QStringLiteral("かな"), QStringLiteral("語"), QStringLiteral("名詞"));
    f.command->mmBunpoClick(false);
    QVERIFY(!f.command->GrammarErrorsFound());
    QVERIFY(f.command->reportWindow());
    QCOMPARE(f.command->reportWindow()->Memo()->toPlainText(), report);
}

void TestTfrmError::windowRemembersSizeAndFont() {
    Fixture f;
    f.setRow(1, QString(), QString(), QStringLiteral("名詞"));
    f.command->mmBunpoClick(false);
    QPointer<TfrmError> window = f.command->reportWindow();
    QVERIFY(window);
    // A fresh settings store gives the defaults.
    QCOMPARE(window->size(), QSize(480, 300));
    QCOMPARE(window->Memo()->font().family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(window->Memo()->font().pointSize(), 10);

    QFont chosen(QStringLiteral("Courier"));
    chosen.setPointSize(14);
    f.dialogs.expectFont(chosen);
    window->bbFont()->click();
    QCOMPARE(window->Memo()->font().pointSize(), 14);
    window->resize(620, 410);
    window->bbClose()->click();
    QTRY_VERIFY(window.isNull());
    QCOMPARE(f.command->reportWindow(), nullptr);

    Registry registry = Registry::forDataRoot();
    SettingsStore store(registry);
    QCOMPARE(store.ReadIntegerSetting("ErrorDialog", "Width", 0), 620);
    QCOMPARE(store.ReadIntegerSetting("ErrorDialog", "FontSize", 0), 14);

    f.command->mmBunpoClick(false);
    TfrmError *reopened = f.command->reportWindow();
    QVERIFY(reopened);
    QCOMPARE(reopened->size(), QSize(620, 410));
    QCOMPARE(reopened->Memo()->font().family(), QStringLiteral("Courier"));
    QCOMPARE(reopened->Memo()->font().pointSize(), 14);
}

void TestTfrmError::helpButtonAsksForItsTopic() {
    Fixture f;
    int asked = 0;
    f.command->setShowHelp([&asked](int context) { asked = context; });
    f.setRow(1, QString(), QString(), QStringLiteral("名詞"));
    f.command->mmBunpoClick(false);
    f.command->reportWindow()->bbHelp()->click();
    QCOMPARE(asked, 10006);
}

QTEST_MAIN(TestTfrmError)
#include "tst_tfrmerror.moc"
