// The main window's conversion and help: the commands reach the conversion and
// the help engine, and what the conversion finds survives a restart.

#include "app/tfrmjisho.h"
#include "document/documentmodel.h"

#include "app/tfrmjisho_form.h"
#include "check/grammarcommand.h"
#include "check/tfrmerror.h"
#include "grid/tmstrgrid.h"
#include "platform/folders.h"
#include "platform/helpkey.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"
#include "tests/check/fakeatok.h"
#include "tests/support/recordinghelpengine.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"
#include "widgets/explorerbutton.h"
#include "widgets/helpviewer.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

// A data root holding the input method's folders, the scripted dialogs, a
// recording help engine and, on demand, the window over them (never shown).
struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    RecordingHelpEngine help;
    std::unique_ptr<TfrmJisho> window;

    TfrmJisho &open() {
        window = std::make_unique<TfrmJisho>(dialogs, QString(), nullptr, &help);
        return *window;
    }
    QString folder(const QString &name) const {
        QDir().mkpath(root.filePath(name));
        return root.filePath(name) + u'/';
    }
    QString file(const QString &name) const { return root.filePath(name); }
    QByteArray rootBytes() const { return sjis::encode(root.path()).bytes + '/'; }
    void trigger(const char *name) {
        window->findChild<QAction *>(QString::fromLatin1(name))->trigger();
    }
    void click(const char *name) {
        emit window->findChild<TExplorerButton *>(QString::fromLatin1(name))->clicked();
    }
    void setRow(int row, const char16_t *reading, const char16_t *word, const char16_t *hinsi) {
        window->grid().SetCells(1, row, sj(reading));
        window->grid().SetCells(2, row, sj(word));
        window->grid().SetCells(3, row, sj(hinsi));
    }
    // A fresh document with one good row, saved as docs/<name> through Save As.
    QString saveNewDocument(const QString &name) {
        setRow(1, u"かんじ", u"漢字", u"名詞");
        const QString path = folder(QStringLiteral("docs")) + name;
        dialogs.expectSaveFile(path);
        trigger("mmSaveAs");
        return path;
    }
};

} // namespace

class TestTfrmJishoConversion : public QObject {
    Q_OBJECT
private slots:
    // The fresh document is saved under a name first; later edits stay out of
    // the copy, and every conversion replaces the copy.
    void newDocumentIsSavedThenConverted() {
        Fixture f;
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        QVERIFY(writeAtokSettings(f.rootBytes() + "atok/sys.dic"));
        TfrmJisho &w = f.open();
        QCOMPARE(w.document().CurrentFileName(), QStringLiteral("新規辞書1.jmf"));
        f.setRow(1, u"かんじ", u"漢字", u"名詞");
        const QString saved = f.folder(QStringLiteral("docs")) + QStringLiteral("単語帳.jmf");
        f.dialogs.expectSaveFile(saved);

        f.trigger("mmConvert");
        QCOMPARE(w.document().CurrentFileName(), saved);
        const QByteArray bytes = readFileBytes(saved);
        QVERIFY(bytes.startsWith("!!DICUT10"));
        QCOMPARE(readFileBytes(atok + QStringLiteral("単語帳.txt")), bytes);
        QCOMPARE(f.help.requests, QStringList{QStringLiteral("context 10003")});
        QCOMPARE(utilityStarts(atok, 1), bareStarts(1));

        f.setRow(2, u"かな", u"仮名", u"名詞");
        QVERIFY(writeFileBytes(atok + QStringLiteral("単語帳.txt"), "older copy"));
        f.click("ebConvert");
        QCOMPARE(readFileBytes(saved), bytes);
        QCOMPARE(readFileBytes(atok + QStringLiteral("単語帳.txt")), bytes);
        QCOMPARE(f.dialogs.shown().size(), 1);
    }

    // The gate speaks of converting, and the report it opens has its help.
    void grammarErrorsStopTheConversion() {
        Fixture f;
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        TfrmJisho &w = f.open();
        w.state().AtokFolder = atok;
        f.saveNewDocument(QStringLiteral("a.jmf"));
        f.setRow(2, u"かな", u"仮名", u"品詞ではない");
        f.dialogs.expectMessage(QStringLiteral("文法エラーがあるので変換出来ません。"));

        f.trigger("mmConvert");
        QVERIFY(!QFileInfo::exists(atok + QStringLiteral("a.txt")));
        QVERIFY(f.help.requests.isEmpty());
        TfrmError *report = w.grammarCommand().reportWindow();
        QVERIFY(report);
        report->bbHelp()->click();
        QCOMPARE(f.help.requests, QStringList{QStringLiteral("context 10006")});
        report->close();
    }

    // The settings file names a folder without the utility; the folder the user
    // picks instead is stored at close and used, without asking, after a restart.
    void pickedFolderOutlivesARestart() {
        Fixture f;
        f.folder(QStringLiteral("ini"));
        const QString other = f.folder(QStringLiteral("other 表"));
        QVERIFY(installUtility(other));
        QVERIFY(writeAtokSettings(f.rootBytes() + "ini/sys.dic"));
        f.open();
        f.window->state().ShowAtokHelp = false;
        const QString saved = f.saveNewDocument(QStringLiteral("a.jmf"));
        f.dialogs.expectOpenFile(other + QStringLiteral("Atok10ut.exe"));
        f.trigger("mmConvert");
        QCOMPARE(readFileBytes(other + QStringLiteral("a.txt")), readFileBytes(saved));
        bool canClose = false;
        f.window->FormCloseQuery(canClose);
        QVERIFY(canClose);
        f.window.reset();
        const std::optional<RegValue> stored = Registry::forDataRoot().readValue(
            RegRoot::CurrentUser, QByteArray(SettingsStore::kProductKey) + "\\Atok", "Path");
        QVERIFY(stored);
        QCOMPARE(sjis::decode(stored->data), other);

        QVERIFY(QFile::remove(other + QStringLiteral("a.txt")));
        TfrmJisho &again = f.open();
        QCOMPARE(again.state().AtokFolder, other);
        f.dialogs.expectOpenFile(saved);
        f.trigger("mmOthers");
        QCOMPARE(readFileBytes(other + QStringLiteral("a.txt")), readFileBytes(saved));
        QCOMPARE(utilityStarts(other, 2), bareStarts(2));
    }

    // Every help command and key goes to the window's help engine, which quits
    // with the window.
    void helpCommandsReachTheHelpEngine() {
        Fixture f;
        const QString atok = f.folder(QStringLiteral("atok"));
        QVERIFY(installUtility(atok));
        QVERIFY(writeFileBytes(atok + QStringLiteral("Atok10ut.hlp"), "help"));
        const QString opener = f.file(QStringLiteral("opener"));
        QVERIFY(writeFileBytes(opener, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$0.log\"\n"));
        QVERIFY(QFile::setPermissions(opener, QFile::permissions(opener) | QFile::ExeOwner));
        const ScopedEnv handler("KELVARI_OPEN_COMMAND", QFile::encodeName(opener));
        TfrmJisho &w = f.open();
        w.state().AtokFolder = atok;
        QCOMPARE(f.help.helpFile(), Folders::programFolder() + QStringLiteral("Ruvex.hlp"));

        f.trigger("mmContents");
        f.trigger("mmTopic");
        f.trigger("pmHinsi");
        f.click("ebHelp");
        QLineEdit *comment = w.findChild<QLineEdit *>(QStringLiteral("edtComment"));
        setHelpContext(comment, 10049);
        QTest::keyClick(comment, Qt::Key_F1);
        QCOMPARE(f.help.requests,
                 (QStringList{QStringLiteral("contents"), QStringLiteral("keywords"),
                              QStringLiteral("context 10007"), QStringLiteral("context 10004"),
                              QStringLiteral("context 10049")}));

        // The utility's own help is a document of the desktop's, from the menu and the toolbar.
        f.trigger("mmAtokHelp");
        f.click("ebAtok");
        const QString page = atok + QStringLiteral("Atok10ut.hlp\n");
        QCOMPARE(QString::fromUtf8(readFileBytes(opener + QStringLiteral(".log"))), page + page);
        f.trigger("mmUtil");
        QCOMPARE(utilityStarts(atok, 1), bareStarts(1));

        f.window.reset();
        QCOMPARE(f.help.requests.last(), QStringLiteral("quit"));
        QVERIFY(f.dialogs.shown().isEmpty());
    }

    // Without an engine of its own the window opens the compiled help beside it.
    void windowHasItsOwnHelpByDefault() {
        TestDataRoot root;
        ScriptedDialogs dialogs;
        TfrmJisho w(dialogs);
        auto *viewer = dynamic_cast<HelpViewer *>(&w.helpEngine());
        QVERIFY(viewer);
        QCOMPARE(viewer->helpFile(), Folders::programFolder() + QStringLiteral("Ruvex.hlp"));
        QVERIFY(!viewer->window());
    }
};

QTEST_MAIN(TestTfrmJishoConversion)
#include "tst_tfrmjisho_conversion.moc"
