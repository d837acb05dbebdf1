// The main window's settings command: the dialog opened from the menu and the
// toolbar, what the window adopts after OK and Cancel, and a new MaxRow carried
// to the next list and over a restart.

#include "app/tfrmjisho.h"
#include "document/documentmodel.h"

#include "app/tfrmjisho_form.h"
#include "grid/tmstrgrid.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "settings/tfrmsettei.h"
#include "settings/tfrmsettei_form.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"
#include "widgets/explorerbutton.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QByteArray kGeneral = "Software\\Vesk\\Pomwick\\General";

struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    Registry registry = Registry::forDataRoot();
    std::unique_ptr<TfrmJisho> window;

    TfrmJisho &open() {
        window = std::make_unique<TfrmJisho>(dialogs);
        return *window;
    }
    QByteArray general(const QByteArray &name) const {
        const std::optional<RegValue> value =
            registry.readValue(RegRoot::CurrentUser, kGeneral, name);
        return value ? value->data : QByteArray("<absent>");
    }
    // The next dialog: `play` acts as the user, then the button closes it.
    void expectSettings(std::function<void(TfrmSettei &)> play, bool ok) {
        dialogs.expectModal([play, ok](QDialog &dialog) {
            auto &settings = static_cast<TfrmSettei &>(dialog);
            play(settings);
            (ok ? settings.form().bbOK : settings.form().bbCancel)->click();
            return settings.result();
        });
    }
};

} // namespace

class TestTfrmJishoSettei : public QObject {
    Q_OBJECT
private slots:
    void cancelKeepsTheWindowAsItWas() {
        Fixture f;
        TfrmJisho &w = f.open();
        const MainWindowState before = w.state();
        const QString title = w.windowTitle();
        f.expectSettings(
            [](TfrmSettei &d) {
                d.form().seRow->setValue(50);
                d.form().cbPath->setChecked(false);
                d.form().cbUtil->setChecked(false);
                d.form().edtSaveDir->clear();
            },
            false);
        w.form().mmSettei->trigger();
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(w.state().MaxRow, before.MaxRow);
        QCOMPARE(w.state().ShowFullPath, before.ShowFullPath);
        QCOMPARE(w.state().ShowAtokUtility, before.ShowAtokUtility);
        QCOMPARE(w.state().SaveDir, before.SaveDir);
        QCOMPARE(w.windowTitle(), title);
        QVERIFY(!f.registry.keyExists(RegRoot::CurrentUser, kGeneral));
    }

    void okAdoptsTheValues_data() {
        QTest::addColumn<bool>("fullPath");
        QTest::addColumn<QString>("title");
        QTest::newRow("path unticked") << false << QStringLiteral("Kelvari 2.0b - a.jmf");
        QTest::newRow("path ticked") << true << QStringLiteral("Kelvari 2.0b - C:\\辞書\\a.jmf");
    }
    void okAdoptsTheValues() {
        QFETCH(bool, fullPath);
        QFETCH(QString, title);
        Fixture f;
        TfrmJisho &w = f.open();
        w.document().setCurrentFileName(QStringLiteral("C:\\辞書\\a.jmf"));
        f.expectSettings(
            [fullPath](TfrmSettei &d) {
                d.form().cbPath->setChecked(fullPath);
                d.form().cbHelp->setChecked(false);
                d.form().edtSaveDir->clear();
            },
            true);
        w.form().mmSettei->trigger();
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(w.state().ShowFullPath, fullPath);
        QVERIFY(w.state().ShowAtokUtility);
        QVERIFY(!w.state().ShowAtokHelp);
        // An emptied folder: empty for this run, the program's folder when stored.
        QVERIFY(w.state().SaveDir.isEmpty());
        QCOMPARE(f.general("SaveDir"),
                 QDir::toNativeSeparators(Folders::programFolder()).chopped(1).toUtf8());
    }

    // Set through the toolbar button, a new MaxRow leaves the open list alone,
    // shapes the next new list, and is what the next start reads.
    void newMaxRowReachesTheNextListAndTheNextStart() {
        Fixture f;
        TfrmJisho &w = f.open();
        QCOMPARE(w.grid().RowCount(), 101);
        f.expectSettings([](TfrmSettei &d) { d.form().seRow->setValue(50); }, true);
        emit w.findChild<TExplorerButton *>(QStringLiteral("ebSetting"))->clicked();
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(w.state().MaxRow, 50);
        QCOMPARE(w.grid().RowCount(), 101);
        w.mmNewClick();
        QCOMPARE(w.grid().RowCount(), 51);
        QCOMPARE(w.grid().Cells(0, 50), QByteArray("50"));
        QVERIFY(w.close());
        f.window.reset();

        TfrmJisho &again = f.open();
        QCOMPARE(again.state().MaxRow, 50);
        QCOMPARE(again.grid().RowCount(), 51);
        int shown = 0;
        f.expectSettings([&shown](TfrmSettei &d) { shown = d.form().seRow->value(); }, false);
        again.form().mmSettei->trigger();
        QCOMPARE(shown, 50);
    }
};

QTEST_MAIN(TestTfrmJishoSettei)
#include "tst_tfrmjisho_settei.moc"
