// The about box on the real form (offscreen), the window side of the about
// component, and the main window's calls into it.

#include "app/tfrmjisho.h"
#include "app/tfrmjisho_form.h"
#include "install/aboutbox.h"
#include "install/aboutdlg.h"
#include "install/appicon.h"
#include "install/tfrmabout.h"
#include "install/tfrmabout_form.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"
#include "tests/install/installfixture.h"
#include "tests/support/scripteddialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QByteArray kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pomwick2.0b";

// Plays the user: looks at the shown box, then presses OK.
struct AboutBoxSeen {
    QString caption;
    QSize fixedMin, fixedMax;
    QRect panel;
    bool whitePanel = false;
    bool sunkenPanel = false;
    bool hasIcon = false;
    QString product, version, date, number;
    QPoint productPos, versionPos, datePos, numberPos;
    QFont productFont, numberFont;
    int result = -1;
};

int lookAndPressOk(QDialog &dialog, AboutBoxSeen &seen) {
    auto &box = static_cast<TfrmAbout &>(dialog);
    box.show();
    if (!QTest::qWaitForWindowExposed(&box))
        return QDialog::Rejected;
    Ui::TfrmAbout &form = box.form();
    seen.caption = box.windowTitle();
    seen.fixedMin = box.minimumSize();
    seen.fixedMax = box.maximumSize();
    seen.panel = form.pnlBack->geometry();
    seen.whitePanel = form.pnlBack->autoFillBackground() &&
                      form.pnlBack->palette().color(QPalette::Window) == Qt::white;
    seen.sunkenPanel = form.pnlBack->frameShadow() == QFrame::Sunken;
    seen.hasIcon = !form.imgIcon->pixmap().isNull() && form.imgIcon->size() == QSize(32, 32);
    seen.product = form.lblProductName->text();
    seen.productPos = form.lblProductName->pos();
    seen.productFont = form.lblProductName->font();
    seen.version = form.lblVersion->text();
    seen.versionPos = form.lblVersion->pos();
    seen.date = form.lblDate->text();
    seen.datePos = form.lblDate->pos();
    seen.number = form.lblNumber->text();
    seen.numberPos = form.lblNumber->mapTo(&box, QPoint());
    seen.numberFont = form.lblNumber->font();
    QTest::mouseClick(form.bbOK, Qt::LeftButton);
    seen.result = box.result();
    return box.result();
}

} // namespace

class TestTfrmAbout : public QObject {
    Q_OBJECT
private slots:
    // The window and task bar pick the size they need; every drawn size is there.
    void applicationIconHasEverySize() {
        const QList<QSize> sizes = applicationIcon().availableSizes();
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    }

    void showsTheEditorsIdentity() {
        InstallFixture f;
        ScriptedDialogs dialogs;
        TAboutDlg about;
        applyEditorValues(about);
        AboutBoxSeen seen;
        dialogs.expectModal([&seen](QDialog &d) { return lookAndPressOk(d, seen); });

        aboutbox::ShowAbout(about, dialogs, nullptr);

        QVERIFY(dialogs.allAnswered());
        QCOMPARE(seen.caption, QStringLiteral("バージョン情報"));
        QCOMPARE(seen.fixedMin, QSize(238, 187));
        QCOMPARE(seen.fixedMax, QSize(238, 187));
        QCOMPARE(seen.panel, QRect(2, 2, 233, 143));
        QVERIFY(seen.whitePanel);
        QVERIFY(seen.sunkenPanel);
        QVERIFY(seen.hasIcon);
        QCOMPARE(seen.product, QStringLiteral("Kelvari"));
        QCOMPARE(seen.productPos, QPoint(58, 16));
        QCOMPARE(seen.productFont.family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(seen.productFont.pointSize(), 12);
        QCOMPARE(seen.version, QStringLiteral("Version 2.0b"));
        QCOMPARE(seen.versionPos, QPoint(137, 40));
        const QDate made = QFileInfo(Folders::programPath()).lastModified().date();
        QCOMPARE(seen.date, QStringLiteral("製作日：") +
                                QLocale::system().toString(made, QLocale::ShortFormat));
        QCOMPARE(seen.datePos, QPoint(62, 93));
        QCOMPARE(seen.number, QStringLiteral("#14.2"));
        QCOMPARE(seen.numberPos, QPoint(198, 165));
        QCOMPARE(seen.numberFont.family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(seen.numberFont.pixelSize(), 13);
        QCOMPARE(seen.result, int(QDialog::Accepted));
    }

    void finishMessageOnlyWhenAsked_data() {
        QTest::addColumn<bool>("instFinishDlg");
        QTest::newRow("editor: off") << false;
        QTest::newRow("on") << true;
    }
    void finishMessageOnlyWhenAsked() {
        QFETCH(bool, instFinishDlg);
        InstallFixture f;
        ScriptedDialogs dialogs;
        TAboutDlg about;
        applyEditorValues(about);
        about.setInstFinishDlg(instFinishDlg);
        if (instFinishDlg)
            dialogs.expectMessage(QStringLiteral("インストールは無事終了しました。"));
        aboutbox::CheckInstallation(about, dialogs);
        QVERIFY(dialogs.allAnswered());
        if (instFinishDlg) {
            QCOMPARE(dialogs.shown().first().caption, QStringLiteral("Kelvari 2.0b"));
            QCOMPARE(dialogs.shown().first().messageKind, MessageKind::Information);
        }
        // Installed now: the next start shows nothing.
        aboutbox::CheckInstallation(about, dialogs);
        QCOMPARE(dialogs.shown().size(), instFinishDlg ? 1 : 0);
    }

    // The main window runs the check first of all, shows the box from its menu
    // and registers the uninstaller when it closes.
    void mainWindowUsesTheComponent() {
        InstallFixture f;
        QVERIFY(f.writeDated(f.programUninstaller(), "program", InstallFixture::older()));
        ScriptedDialogs dialogs;
        auto window = std::make_unique<TfrmJisho>(dialogs);
        QVERIFY(window->AboutDlg);
        QCOMPARE(window->helpFile(), f.programFolder() + QStringLiteral("Ruvex.hlp"));
        QCOMPARE(readFileBytes(f.windowsUninstaller()), QByteArray("program"));
        QVERIFY(!QFileInfo::exists(f.programUninstaller()));
        const Registry registry = Registry::forDataRoot();
        QCOMPARE(
            registry.readValue(RegRoot::CurrentUser, SettingsStore::kProductKey, "Version")->data,
            QByteArray("2.0b"));
        QVERIFY(!registry.keyExists(RegRoot::LocalMachine, kUninstallKey));

        AboutBoxSeen seen;
        dialogs.expectModal([&seen](QDialog &d) { return lookAndPressOk(d, seen); });
        window->form().mmAbout->trigger();
        QCOMPARE(seen.version, QStringLiteral("Version 2.0b"));
        QCOMPARE(seen.number, QStringLiteral("#14.2"));

        window->show();
        QVERIFY(window->close());
        const std::optional<RegValue> command =
            registry.readValue(RegRoot::LocalMachine, kUninstallKey, "UninstallString");
        QVERIFY(command);
        QCOMPARE(sjis::decode(command->data), f.windowsUninstaller() + QStringLiteral(" /u ") +
                                                  f.programFolder() +
                                                  QStringLiteral("UnRuvex.inf"));
        QVERIFY(dialogs.allAnswered());
    }
};

QTEST_MAIN(TestTfrmAbout)
#include "tst_tfrmabout.moc"
