// The main window's export, import and duplicate search, driven through the
// menu items on the real window with scripted dialogs.

#include "app/tfrmjisho.h"
#include "app/tfrmjisho_form.h"
#include "document/documentcommands.h"
#include "grid/tmstrgrid.h"
#include "platform/sjis.h"
#include "tests/support/recordinghelpengine.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    RecordingHelpEngine help;
    std::unique_ptr<TfrmJisho> window =
        std::make_unique<TfrmJisho>(dialogs, QString(), nullptr, &help);

    TmStrGrid &grid() { return window->grid(); }
    void setRow(int row, const char16_t *reading, const char16_t *word, const char16_t *hinsi) {
        grid().SetCells(1, row, sjis::sj(reading));
        grid().SetCells(2, row, sjis::sj(word));
        grid().SetCells(3, row, sjis::sj(hinsi));
    }
    QString rowText(int row) {
        return sjis::decode(grid().Cells(1, row)) + u'|' + sjis::decode(grid().Cells(2, row)) +
               u'|' + sjis::decode(grid().Cells(3, row));
    }
    void trigger(const char *name) {
        window->findChild<QAction *>(QString::fromLatin1(name))->trigger();
    }
};

QByteArray utf8(const char16_t *text) {
    return QString::fromUtf16(text).toUtf8();
}

} // namespace

class TestTfrmJishoInterop : public QObject {
    Q_OBJECT
private slots:
    void exportWritesTheChosenFormat() {
        Fixture f;
        f.setRow(1, u"ほん", u"本", u"名詞");
        f.setRow(2, u"き", u"木", u"名詞");
        const QString path = f.root.filePath(QStringLiteral("out.txt"));
        f.dialogs.expectSaveFile(path, 0);
        f.trigger("mmExport");
        QVERIFY(f.dialogs.allAnswered());
        const QString filter = f.dialogs.shown().first().filter;
        for (const char *name : {"mozc", "msime", "skk"})
            QVERIFY2(filter.contains(QLatin1String(name)), name);
        QCOMPARE(readFileBytes(path), utf8(u"ほん\t本\t名詞\t\nき\t木\t名詞\t\n"));
    }

    // A part of speech the grammar check refuses: the user is asked, and No writes nothing.
    void exportWithErrorsAsksFirst() {
        Fixture f;
        f.setRow(1, u"ほん", u"本", u"名詞");
        f.setRow(2, u"いく", u"行く", u"動詞");
        const QString path = f.root.filePath(QStringLiteral("out.txt"));
        f.dialogs.expectSaveFile(path, 0).expectMessage(QStringLiteral("エクスポートしますか"),
                                                        ResultNo);
        f.trigger("mmExport");
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(f.dialogs.shown().last().buttons, MessageButton::Yes | MessageButton::No);
        QVERIFY(!QFile::exists(path));

        // Yes exports the rows the format can hold and names the one it could not.
        f.dialogs.expectSaveFile(path, 0)
            .expectMessage(QStringLiteral("エクスポートしますか"), ResultYes)
            .expectMessage(QStringLiteral("2行目"));
        f.trigger("mmExport");
        QVERIFY(f.dialogs.allAnswered());
        QVERIFY(readFileBytes(path).startsWith(utf8(u"ほん\t本\t名詞\t\n")));
    }

    void importAppendsAfterTheLastRow_data() {
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("mozc") << 0 << utf8(u"ほん\t本\t名詞\t\nひとつ\nき\t木\t名詞\t\n");
        QTest::newRow("text") << 3 << sjis::sj(u"ほん,本,名詞\r\nひとつ\r\nき\t木\t名詞\r\n");
    }
    void importAppendsAfterTheLastRow() {
        QFETCH(int, filterIndex);
        QFETCH(QByteArray, file);
        Fixture f;
        f.setRow(1, u"あ", u"亜", u"名詞");
        f.setRow(3, u"い", u"伊", u"名詞");
        f.window->documentCommands().RecordSnapshot();
        const QString path = f.root.filePath(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(path, file));
        f.dialogs.expectOpenFile(path, filterIndex).expectMessage(QStringLiteral("2行目"));
        f.trigger("mmImport");
        QVERIFY(f.dialogs.allAnswered());
        QVERIFY(f.dialogs.shown().last().text.contains(QStringLiteral("ひとつ")));
        QCOMPARE(f.rowText(4), QStringLiteral("ほん|本|名詞"));
        QCOMPARE(f.rowText(5), QStringLiteral("き|木|名詞"));
        QCOMPARE(f.rowText(3), QStringLiteral("い|伊|名詞"));
        QCOMPARE(f.grid().Cells(0, 5), QByteArray("5"));
        QCOMPARE(f.grid().Row(), 4);
        QVERIFY(f.window->documentCommands().IsDocumentModified());
    }

    void duplicatesAreListedAndShown() {
        Fixture f;
        f.setRow(1, u"ほん", u"本", u"名詞");
        f.setRow(2, u"き", u"木", u"名詞");
        f.setRow(3, u"ほん", u"本", u"名詞");
        f.grid().SetRow(2);
        QStringList texts;
        int rowAfterPick = 0;
        f.dialogs.expectModal([&](QDialog &dialog) {
            auto *list = dialog.findChild<QListWidget *>();
            for (int i = 0; i < list->count(); ++i) {
                texts << list->item(i)->text();
                if (list->item(i)->data(Qt::UserRole).toInt() == 3)
                    list->setCurrentRow(i);
            }
            rowAfterPick = f.grid().Row();
            return int(QDialog::Rejected);
        });
        f.trigger("mmDuplicates");
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(rowAfterPick, 3);
        const QString all = texts.join(u'\n');
        QVERIFY2(all.contains(QStringLiteral("1行目")) && all.contains(QStringLiteral("3行目")),
                 qPrintable(all));
        QVERIFY(!all.contains(QStringLiteral("2行目")));
    }

    void noDuplicatesSaysSo() {
        Fixture f;
        f.setRow(1, u"ほん", u"本", u"名詞");
        f.setRow(2, u"ほん", u"品", u"名詞");
        f.dialogs.expectMessage(QStringLiteral("重複はありません"));
        f.trigger("mmDuplicates");
        QVERIFY(f.dialogs.allAnswered());
    }
};

QTEST_MAIN(TestTfrmJishoInterop)
#include "tst_tfrmjisho_interop.moc"
