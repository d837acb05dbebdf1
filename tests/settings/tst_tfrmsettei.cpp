// The settings dialog on a temporary data root: its form, how it fills both pages,
// what OK and Cancel store, the save folder, the help topics and the Ichitaro
// viewer page.

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/helpkey.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/editorsettings.h"
#include "settings/settingscommand.h"
#include "settings/tfrmsettei.h"
#include "settings/tfrmsettei_form.h"
#include "settings/tspinedit.h"
#include "settings/viewerassociations.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"
#include "widgets/browsedialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QByteArray kGeneral = "Software\\Vesk\\Pomwick\\General";
const QByteArray kViewer = "{1c280980-209e-11cf-9718-0020afd806f4}";
const QByteArray kScc = "{F0F08735-0C36-101B-B086-0020AF07D0F4}";

QByteArray viewerKey(const char *extension) {
    return "QuickView\\" + QByteArray(extension) + '\\' + kViewer;
}

// Refuses every write to one key, as a registry that denies it would.
class RefusingKeys : public ViewerKeyStore {
public:
    RefusingKeys(Registry &registry, QByteArray refused)
        : m_keys(registry), m_refused(std::move(refused)) {}
    bool keyExists(const QByteArray &path) const override { return m_keys.keyExists(path); }
    void deleteKey(const QByteArray &path) override { m_keys.deleteKey(path); }
    void writeString(const QByteArray &path, const QByteArray &name,
                     const QByteArray &text) override {
        if (path == m_refused)
            throw RegistryError(QStringLiteral("%1 に書き込めません。").arg(sjis::decode(path)));
        m_keys.writeString(path, name, text);
    }

private:
    RegistryViewerKeys m_keys;
    QByteArray m_refused;
};

// A data root with the program in its folder "program", and the dialog on it.
struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    Registry registry{root.filePath(QStringLiteral("registry"))};
    RegistryViewerKeys registryKeys{registry};
    std::unique_ptr<EditorSettings> settings;
    QList<int> helpShown;
    std::unique_ptr<TfrmSettei> dialog;

    Fixture() {
        QDir().mkpath(programFolder());
        Folders::setProgramPathOverride(programFolder() + QStringLiteral("/Ruvex"));
    }
    ~Fixture() {
        dialog.reset();
        Folders::setProgramPathOverride({});
    }
    QString programFolder() const { return root.filePath(QStringLiteral("program")); }

    TfrmSettei &open(ViewerKeyStore *keys = nullptr) {
        settings = std::make_unique<EditorSettings>(registry);
        dialog = std::make_unique<TfrmSettei>(dialogs, *settings, keys ? *keys : registryKeys);
        dialog->setShowHelp([this](int context) { helpShown.append(context); });
        return *dialog;
    }
    ::Ui::TfrmSettei &form() { return dialog->form(); }

    void setGeneral(const QByteArray &name, const QByteArray &text) {
        registry.writeString(RegRoot::CurrentUser, kGeneral, name, text);
    }
    QByteArray general(const QByteArray &name) const {
        const std::optional<RegValue> value =
            registry.readValue(RegRoot::CurrentUser, kGeneral, name);
        return value ? value->data : QByteArray("<absent>");
    }
    QByteArray userFile() const { return readFileBytes(registry.fileFor(RegRoot::CurrentUser)); }
    QByteArray classesFile() const { return readFileBytes(registry.fileFor(RegRoot::ClassesRoot)); }
    void createClassesKey(const QByteArray &path) {
        registry.writeString(RegRoot::ClassesRoot, path, {}, "before");
    }

    // Every key under HKEY_CLASSES_ROOT\QuickView as "path: name=data" lines.
    QStringList quickView() const {
        QStringList lines;
        dump("QuickView", lines);
        return lines;
    }
    void dump(const QByteArray &path, QStringList &lines) const {
        const QString shown = sjis::decode(path.mid(10)); // without "QuickView\"
        const QList<QByteArray> names = registry.valueNames(RegRoot::ClassesRoot, path);
        if (names.isEmpty() && path != "QuickView")
            lines.append(shown);
        for (const QByteArray &name : names) {
            const QByteArray data = registry.readValue(RegRoot::ClassesRoot, path, name)->data;
            lines.append(shown + QStringLiteral(": ") +
                         (name.isEmpty() ? QStringLiteral("@") : sjis::decode(name)) +
                         QLatin1Char('=') + sjis::decode(data));
        }
        for (const QByteArray &child : registry.subkeyNames(RegRoot::ClassesRoot, path))
            dump(path + '\\' + child, lines);
    }
};

QString captionOf(const QObject *control) {
    if (auto *group = qobject_cast<const QGroupBox *>(control))
        return group->title();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    return {};
}

} // namespace

class TestTfrmSettei : public QObject {
    Q_OBJECT
private slots:
    void formHasItsControls();
    void controls_data();
    void controls();
    void seRowKeepsItsRange_data();
    void seRowKeepsItsRange();
    void fillsFromTheStore_data();
    void fillsFromTheStore();
    void cancelAfterEditsChangesNothing();
    void okWithoutChangesRewritesTheFiveValues_data();
    void okWithoutChangesRewritesTheFiveValues();
    void saveFolder_data();
    void saveFolder();
    void saveFolderThatCannotBeStoredIsRefused();
    void browsingForTheSaveFolder_data();
    void browsingForTheSaveFolder();
    void helpButtonFollowsThePage();
    void viewerPageShowsTheRegistry();
    void viewerAssociations_data();
    void viewerAssociations();
    void untickingVer7AsksFirst();
    void refusedWriteStopsTheLaterRows();
    void commandAdoptsOnlyWhatWasStored_data();
    void commandAdoptsOnlyWhatWasStored();
};

void TestTfrmSettei::formHasItsControls() {
    Fixture f;
    TfrmSettei &d = f.open();
    QCOMPARE(d.windowTitle(), QStringLiteral("設定"));
    QVERIFY(d.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(d.minimumSize(), d.maximumSize()); // fixed size
    QCOMPARE(f.form().pcSetting->count(), 2);
    QCOMPARE(f.form().pcSetting->widget(0), f.form().tsTool);
    QCOMPARE(f.form().pcSetting->widget(1), f.form().tsFile);
    QCOMPARE(f.form().pcSetting->tabText(0), QStringLiteral("一般"));
    QCOMPARE(f.form().pcSetting->tabText(1), QStringLiteral("一太郎ファイル"));
    QCOMPARE(f.form().pcSetting->currentWidget(), f.form().tsTool);
    QCOMPARE(f.form().seRow->minimum(), 1);
    QCOMPARE(f.form().seRow->maximum(), 999);
    QVERIFY(!f.form().ImgWarning->pixmap().isNull());

    TBrowseDialog *browser = d.findChild<TBrowseDialog *>(QStringLiteral("BrowseDlg"));
    QCOMPARE(browser, d.BrowseDlg);
    QCOMPARE(browser->Caption(), QStringLiteral("ファイルの保存先を指定して下さい。"));
    QCOMPARE(browser->Options(), TBrowseDialog::biReturnOnlyFSDirs | TBrowseDialog::biStatusText);
    QString status;
    int okButton = 0;
    browser->OnSelectionChanged(*browser, 0, QStringLiteral("/data/words"), status, okButton);
    QCOMPARE(status, QStringLiteral("/data/words"));
    QCOMPARE(okButton, 0);
}

// Caption, help topic (picked with the caption's help button) and, for the
// viewer boxes, the Tag of every named control.
void TestTfrmSettei::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("helpContext");
    QTest::addColumn<int>("tag");
    auto row = [](const char *name, const QString &caption, int context, int tag = 0) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << context << tag;
    };
    row("bbOK", QStringLiteral("&OK"), 0);
    row("GroupBox2", QStringLiteral("表の設定"), 0);
    row("lblRow", QStringLiteral("最大行数："), 0);
    row("seRow", {}, 10049);
    row("cbPath", QStringLiteral("タイトルにパスを表示する"), 10050);
    row("cbUtil", QStringLiteral("変換後「ATOK10辞書ﾕｰﾃｨﾘﾃｨ」を起動"), 10051);
    row("cbHelp", QStringLiteral("変換後ヘルプを表示"), 10052);
    row("lblSaveDir", QStringLiteral("新規作成ファイルの保存場所："), 0);
    row("edtSaveDir", {}, 10053);
    row("btnReffer", QStringLiteral("参照(&R)..."), 10054);
    row("GroupBox1", QStringLiteral("「一太郎ﾋﾞｭｰｱ」 を使うファイル"), 10047);
    row("cbVer7", QStringLiteral("Ver.7文書 (*.jfw)"), 10047, 1);
    row("cbVer7t", QStringLiteral("Ver.7定型文書(*.jvw)"), 10047, 2);
    row("cbVer6", QStringLiteral("Ver.6文書 (*.jbw)"), 10047, 3);
    row("cbVer6t", QStringLiteral("Ver.6定型文書(*.juw)"), 10047, 4);
    row("cbVer5", QStringLiteral("Ver.5文書 (*.jaw)"), 10047, 5);
    row("cbVer5t", QStringLiteral("Ver.5定型文書(*.jtw)"), 10047, 6);
    row("lblWarning1", QStringLiteral("一太郎８をインストールした場合は"), 0);
    row("lblWarning2", QStringLiteral("使わないで下さい。"), 0);
}

void TestTfrmSettei::controls() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, helpContext);
    QFETCH(int, tag);
    Fixture f;
    TfrmSettei &d = f.open();
    QWidget *control = d.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(captionOf(control), caption);
    if (tag != 0) {
        QCOMPARE(control->property("Tag").toInt(), tag);
        QCOMPARE(d.viewerBox(tag), control);
        QVERIFY(!d.viewerBox(tag)->isChecked()); // nothing registered yet
    }
    // What the help button of the caption does on the control (and on a part of it).
    QWidget *target = control;
    if (qobject_cast<QAbstractSpinBox *>(control))
        target = control->findChild<QLineEdit *>();
    QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(1, 1), target->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(target, &whatsThis);
    QCOMPARE(f.helpShown, helpContext ? QList<int>{helpContext} : QList<int>{});
    // F1 in the control opens the same topic.
    if (helpContext != 0)
        QCOMPARE(contextForHelpKey(target), helpContext);
}

void TestTfrmSettei::seRowKeepsItsRange_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("in range") << QStringLiteral("50") << 50;
    QTest::newRow("lowest") << QStringLiteral("1") << 1;
    QTest::newRow("zero") << QStringLiteral("0") << 1;
    QTest::newRow("negative") << QStringLiteral("-5") << 1;
    QTest::newRow("above") << QStringLiteral("1000") << 999;
    QTest::newRow("far above") << QStringLiteral("99999999999999") << 999;
    QTest::newRow("not a number") << QStringLiteral("abc") << 1;
    QTest::newRow("empty") << QString() << 1;
}

void TestTfrmSettei::seRowKeepsItsRange() {
    QFETCH(QString, typed);
    QFETCH(int, value);
    Fixture f;
    TfrmSettei &d = f.open();
    TSpinEdit *seRow = f.form().seRow;
    QLineEdit *edit = seRow->findChild<QLineEdit *>();
    edit->setText(typed);
    QCOMPARE(d.values().MaxRow, value); // what OK would take
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(seRow, &focusOut);
    QCOMPARE(seRow->value(), value);
    QCOMPARE(edit->text(), QString::number(value));

    seRow->setValue(typed.toInt() ? typed.toInt() : 5000); // setting clamps as well
    QCOMPARE(seRow->value(), typed.toInt() ? value : 999);
}

void TestTfrmSettei::fillsFromTheStore_data() {
    QTest::addColumn<QList<QByteArrayList>>("stored");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<bool>>("boxes"); // cbPath, cbUtil, cbHelp
    QTest::addColumn<QString>("saveDir");   // "*" stands for the program's folder
    QTest::newRow("nothing stored")
        << QList<QByteArrayList>{} << 100 << QList<bool>{true, true, true} << QStringLiteral("*");
    QTest::newRow("stored values")
        << QList<QByteArrayList>{{"MaxRow", "0x20"},
                                 {"FullPath", "0"},
                                 {"ShowAtokUtility", "2"},
                                 {"ShowAtokHelp", "0"},
                                 {"SaveDir", sj(u"D:\\辞書")}}
        << 32 << QList<bool>{false, true, false} << QStringLiteral("D:\\辞書");
    QTest::newRow("MaxRow above the range") << QList<QByteArrayList>{{"MaxRow", "5000"}} << 999
                                            << QList<bool>{true, true, true} << QStringLiteral("*");
    QTest::newRow("MaxRow below the range") << QList<QByteArrayList>{{"MaxRow", "0"}} << 1
                                            << QList<bool>{true, true, true} << QStringLiteral("*");
    QTest::newRow("MaxRow not a number") << QList<QByteArrayList>{{"MaxRow", "abc"}} << 100
                                         << QList<bool>{true, true, true} << QStringLiteral("*");
    QTest::newRow("empty SaveDir") << QList<QByteArrayList>{{"SaveDir", ""}} << 100
                                   << QList<bool>{true, true, true} << QString();
}

void TestTfrmSettei::fillsFromTheStore() {
    QFETCH(QList<QByteArrayList>, stored);
    QFETCH(int, rows);
    QFETCH(QList<bool>, boxes);
    QFETCH(QString, saveDir);
    Fixture f;
    for (const QByteArrayList &value : stored)
        f.setGeneral(value[0], value[1]);
    f.open();
    QCOMPARE(f.form().seRow->value(), rows);
    QCOMPARE((QList<bool>{f.form().cbPath->isChecked(), f.form().cbUtil->isChecked(),
                          f.form().cbHelp->isChecked()}),
             boxes);
    QCOMPARE(f.form().edtSaveDir->text(), saveDir == QStringLiteral("*")
                                              ? QDir::toNativeSeparators(f.programFolder())
                                              : saveDir);
}

void TestTfrmSettei::cancelAfterEditsChangesNothing() {
    Fixture f;
    f.setGeneral("MaxRow", "70");
    f.createClassesKey(viewerKey(".JBW"));
    f.createClassesKey(viewerKey(".JFW"));
    TfrmSettei &d = f.open();
    const QByteArray user = f.userFile();
    const QByteArray classes = f.classesFile();
    const QString folder = f.root.filePath(QStringLiteral("new"));

    f.form().seRow->setValue(50);
    f.form().cbPath->setChecked(false);
    f.form().cbHelp->setChecked(false);
    f.form().edtSaveDir->setText(folder);
    f.dialogs.expectMessage(QStringLiteral("チェックをはずすと"), ResultYes);
    d.viewerBox(1)->click();
    d.viewerBox(3)->click();
    d.viewerBox(6)->click();
    QVERIFY(d.changedFlag(1) && d.changedFlag(3) && d.changedFlag(6));
    f.form().bbCancel->click();

    QCOMPARE(d.result(), int(QDialog::Rejected));
    QVERIFY(!d.stored());
    QCOMPARE(f.userFile(), user);
    QCOMPARE(f.classesFile(), classes);
    QVERIFY(!QFileInfo::exists(folder));
    for (int tag = 1; tag <= 6; ++tag)
        QVERIFY(!d.changedFlag(tag)); // cleared at every close
}

void TestTfrmSettei::okWithoutChangesRewritesTheFiveValues_data() {
    QTest::addColumn<QList<QByteArrayList>>("before");
    QTest::addColumn<QByteArrayList>("after"); // MaxRow ... SaveDir; "*" the program's folder
    QTest::newRow("defaults") << QList<QByteArrayList>{}
                              << QByteArrayList{"100", "1", "1", "1", "*"};
    QTest::newRow("stored values, in their own spelling")
        << QList<QByteArrayList>{{"SaveDir", "D:\\Words"},
                                 {"ShowAtokHelp", "0"},
                                 {"FullPath", "2"},
                                 {"MaxRow", "0x20"}}
        << QByteArrayList{"32", "1", "1", "0", "D:\\Words"};
}

void TestTfrmSettei::okWithoutChangesRewritesTheFiveValues() {
    QFETCH(QList<QByteArrayList>, before);
    QFETCH(QByteArrayList, after);
    Fixture f;
    for (const QByteArrayList &value : before)
        f.setGeneral(value[0], value[1]);
    f.createClassesKey(viewerKey(".JAW"));
    TfrmSettei &d = f.open();
    const QByteArray classes = f.classesFile();
    f.form().bbOK->click();

    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(d.stored());
    const QByteArrayList names{"MaxRow", "FullPath", "ShowAtokUtility", "ShowAtokHelp", "SaveDir"};
    if (before.isEmpty()) // written in this order
        QCOMPARE(f.registry.valueNames(RegRoot::CurrentUser, kGeneral), names);
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray expected =
            after[i] == "*" ? QDir::toNativeSeparators(f.programFolder()).toUtf8() : after[i];
        QCOMPARE(f.general(names[i]), expected);
    }
    // No box was clicked: the associations are not touched, whatever the boxes show.
    QCOMPARE(f.classesFile(), classes);
}

void TestTfrmSettei::saveFolder_data() {
    QTest::addColumn<QString>("atOpening"); // stored before; relative to the data root
    QTest::addColumn<QString>("typed");     // "=" leaves the field as it is
    QTest::addColumn<QString>("stored");    // "*" the program's folder
    QTest::addColumn<QString>("adopted");   // what the main window takes for the run
    QTest::addColumn<bool>("created");
    QTest::newRow("emptied") << QStringLiteral("words") << QString() << QStringLiteral("*")
                             << QString() << false;
    QTest::newRow("new folder, parent exists")
        << QString() << QStringLiteral("words") << QStringLiteral("words")
        << QStringLiteral("words") << true;
    QTest::newRow("new folder two levels deep")
        << QString() << QStringLiteral("a/b") << QStringLiteral("a/b") << QStringLiteral("a/b")
        << false;
    QTest::newRow("unchanged text is not created")
        << QStringLiteral("gone") << QStringLiteral("=") << QStringLiteral("gone")
        << QStringLiteral("gone") << false;
}

void TestTfrmSettei::saveFolder() {
    QFETCH(QString, atOpening);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, adopted);
    QFETCH(bool, created);
    Fixture f;
    auto inRoot = [&](const QString &relative) {
        return relative.isEmpty() ? QString() : f.root.filePath(relative);
    };
    if (!atOpening.isEmpty())
        f.setGeneral("SaveDir", inRoot(atOpening).toUtf8());
    TfrmSettei &d = f.open();
    if (typed != QStringLiteral("="))
        f.form().edtSaveDir->setText(inRoot(typed));
    f.form().bbOK->click();

    const QString expected = stored == QStringLiteral("*")
                                 ? QDir::toNativeSeparators(f.programFolder())
                                 : inRoot(stored);
    QCOMPARE(f.general("SaveDir"), expected.toUtf8());
    QCOMPARE(d.values().SaveDir, inRoot(adopted));
    const QString folder = inRoot(typed == QStringLiteral("=") ? atOpening : typed);
    if (!folder.isEmpty())
        QCOMPARE(QFileInfo(folder).isDir(), created);
}

void TestTfrmSettei::saveFolderThatCannotBeStoredIsRefused() {
    Fixture f;
    TfrmSettei &d = f.open();
    f.form().pcSetting->setCurrentWidget(f.form().tsFile);
    d.viewerBox(6)->click();
    const QByteArray classes = f.classesFile();
    const QByteArray user = f.userFile();
    f.form().edtSaveDir->setText(QStringLiteral("D:\\€"));
    f.dialogs.expectMessage(QStringLiteral("保存場所に保存できない文字 (€)"));
    f.form().bbOK->click();
    // The dialog stays open on the field; nothing is written.
    QCOMPARE(d.result(), 0);
    QCOMPARE(f.form().pcSetting->currentWidget(), f.form().tsTool);
    QCOMPARE(f.classesFile(), classes);
    QCOMPARE(f.userFile(), user);

    f.form().edtSaveDir->setText(QStringLiteral("D:\\Words"));
    f.form().bbOK->click();
    QVERIFY(d.stored());
    QCOMPARE(f.general("SaveDir"), QByteArray("D:\\Words"));
    QVERIFY(f.registry.keyExists(RegRoot::ClassesRoot, viewerKey(".JTW")));
}

void TestTfrmSettei::browsingForTheSaveFolder_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("startsAt"); // "*" the program's folder with its separator
    QTest::addColumn<std::optional<QString>>("chosen");
    QTest::addColumn<QString>("after");
    using Chosen = std::optional<QString>;
    QTest::newRow("empty field, folder chosen")
        << QString() << QStringLiteral("*") << Chosen(QStringLiteral("/data/words"))
        << QStringLiteral("/data/words");
    QTest::newRow("field, folder chosen")
        << QStringLiteral("/data") << QStringLiteral("/data") << Chosen(QStringLiteral("/data/new"))
        << QStringLiteral("/data/new");
    QTest::newRow("cancelled") << QStringLiteral("/data") << QStringLiteral("/data") << Chosen()
                               << QStringLiteral("/data");
}

void TestTfrmSettei::browsingForTheSaveFolder() {
    QFETCH(QString, field);
    QFETCH(QString, startsAt);
    QFETCH(std::optional<QString>, chosen);
    QFETCH(QString, after);
    Fixture f;
    f.open();
    f.form().edtSaveDir->setText(field);
    f.dialogs.expectFolder(chosen ? std::optional(FolderBrowseAnswer{*chosen, QStringLiteral("x")})
                                  : std::nullopt);
    f.form().btnReffer->click();
    const ShownDialog &shown = f.dialogs.shown().last();
    QCOMPARE(shown.caption, QStringLiteral("ファイルの保存先を指定して下さい。"));
    QCOMPARE(shown.directory, startsAt == QStringLiteral("*")
                                  ? QDir::toNativeSeparators(f.programFolder()) + QDir::separator()
                                  : startsAt);
    QCOMPARE(f.form().edtSaveDir->text(), after);
}

void TestTfrmSettei::helpButtonFollowsThePage() {
    Fixture f;
    f.open();
    f.form().bbHelp->click();
    f.form().pcSetting->setCurrentWidget(f.form().tsFile);
    f.form().bbHelp->click();
    f.form().pcSetting->setCurrentWidget(f.form().tsTool);
    f.form().bbHelp->click();
    QCOMPARE(f.helpShown, (QList<int>{10005, 10017, 10005}));
}

void TestTfrmSettei::viewerPageShowsTheRegistry() {
    Fixture f;
    f.createClassesKey(viewerKey(".JFW"));
    f.createClassesKey(viewerKey(".JUW"));
    f.createClassesKey("QuickView\\.JBW\\" + kScc); // the old viewer only: unticked
    TfrmSettei &d = f.open();
    QList<bool> ticked;
    for (int tag = 1; tag <= 6; ++tag) {
        ticked.append(d.viewerBox(tag)->isChecked());
        QVERIFY(!d.changedFlag(tag)); // loading is no click
    }
    QCOMPARE(ticked, (QList<bool>{true, false, false, true, false, false}));
}

// Clicks on the page, the answers to the question, and what OK leaves under
// HKEY_CLASSES_ROOT\QuickView.
void TestTfrmSettei::viewerAssociations_data() {
    QTest::addColumn<QByteArrayList>("keys"); // present at opening, value "before"
    QTest::addColumn<QList<int>>("clicks");   // Tags, in order
    QTest::addColumn<QList<int>>("answers");  // to the question, in order
    QTest::addColumn<QStringList>("after");
    const QString viewer = QString::fromLatin1(kViewer);
    const QString scc = QString::fromLatin1(kScc);
    const QString ichitaro = QStringLiteral("=Justsystem 一太郎7ﾋﾞｭｰｱ");
    QTest::newRow("jbw unticked")
        << QByteArrayList{viewerKey(".JBW")} << QList<int>{3} << QList<int>{}
        << QStringList{QStringLiteral(".JBW"),
                       QStringLiteral(".JBW\\%1: @=SCC Quick Viewer").arg(scc),
                       QStringLiteral(".JBW\\%1\\QuickViewAddOn: DllName=vsjbw.dll").arg(scc)};
    QTest::newRow("jfw unticked, answered No")
        << QByteArrayList{viewerKey(".JFW"), "QuickView\\.JFW\\" + kScc} << QList<int>{1}
        << QList<int>{ResultNo}
        << QStringList{QStringLiteral(".JFW"),
                       QStringLiteral(".JFW\\%1: @").arg(viewer) + ichitaro};
    QTest::newRow("jvw unticked, answered Yes")
        << QByteArrayList{viewerKey(".JVW")} << QList<int>{2} << QList<int>{ResultYes}
        << QStringList{QStringLiteral(".JVW")};
    QTest::newRow("jtw ticked") << QByteArrayList{} << QList<int>{6} << QList<int>{}
                                << QStringList{QStringLiteral(".JTW: @=一太郎Ver.5 定型文書"),
                                               QStringLiteral(".JTW\\%1: @").arg(viewer) +
                                                   ichitaro};
    QTest::newRow("jaw ticked, then unticked")
        << QByteArrayList{} << QList<int>{5, 5} << QList<int>{}
        << QStringList{QStringLiteral(".JAW"),
                       QStringLiteral(".JAW\\%1: @=SCC Quick Viewer").arg(scc),
                       QStringLiteral(".JAW\\%1\\QuickViewAddOn: DllName=vsjaw.dll").arg(scc)};
    QTest::newRow("jfw ticked, unticked, answered Yes")
        << QByteArrayList{} << QList<int>{1, 1} << QList<int>{ResultYes} << QStringList{};
}

void TestTfrmSettei::viewerAssociations() {
    QFETCH(QByteArrayList, keys);
    QFETCH(QList<int>, clicks);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, after);
    Fixture f;
    for (const QByteArray &key : keys)
        f.createClassesKey(key);
    TfrmSettei &d = f.open();
    f.form().pcSetting->setCurrentWidget(f.form().tsFile);
    for (int answer : answers)
        f.dialogs.expectMessage(QStringLiteral("チェックをはずすと"), answer);
    for (int tag : clicks)
        d.viewerBox(tag)->click();
    f.form().bbOK->click();
    QVERIFY(d.stored());
    QCOMPARE(f.quickView(), after);
}

void TestTfrmSettei::untickingVer7AsksFirst() {
    Fixture f;
    f.createClassesKey(viewerKey(".JFW"));
    f.createClassesKey(viewerKey(".JVW"));
    TfrmSettei &d = f.open();
    f.dialogs.expectMessage({}, ResultNo).expectMessage({}, ResultYes);
    d.viewerBox(2)->click();
    QVERIFY(d.viewerBox(2)->isChecked()); // No: ticked again, and marked changed
    QVERIFY(d.changedFlag(2));
    d.viewerBox(1)->click();
    QVERIFY(!d.viewerBox(1)->isChecked());
    QVERIFY(d.changedFlag(1));
    QCOMPARE(f.dialogs.shown().size(), 2);
    const ShownDialog &question = f.dialogs.shown().first();
    QCOMPARE(question.caption, QStringLiteral("注意"));
    QCOMPARE(question.text,
             QStringLiteral("チェックをはずすと一太郎7文書でビューアが使えなくなります。"
                            "\r\n使わないでいいですか?"));
    QCOMPARE(question.messageKind, MessageKind::Warning);
    QCOMPARE(question.buttons, MessageButton::Yes | MessageButton::No);
    // Ticking asks nothing, and neither do the other four boxes.
    d.viewerBox(1)->click();
    d.viewerBox(3)->click();
    QCOMPARE(f.dialogs.shown().size(), 2);
}

void TestTfrmSettei::refusedWriteStopsTheLaterRows() {
    Fixture f;
    f.createClassesKey(viewerKey(".JFW"));
    f.createClassesKey(viewerKey(".JBW"));
    RefusingKeys keys(f.registry, "\\QuickView\\.JBW\\" + kScc);
    TfrmSettei &d = f.open(&keys);
    f.dialogs.expectMessage(QStringLiteral("チェックをはずすと"), ResultYes);
    d.viewerBox(6)->click(); // tick .JTW
    d.viewerBox(3)->click(); // untick .JBW: its old viewer cannot be written
    d.viewerBox(1)->click(); // untick .JFW
    f.form().seRow->setValue(50);
    f.dialogs.expectMessage(QStringLiteral("QuickView\\.JBW\\") + QString::fromLatin1(kScc));
    f.form().bbOK->click();

    QVERIFY(!d.stored());
    // Row 1 came first and is applied; row 3 stopped after deleting its viewer key;
    // rows 6 and the general values never came.
    QCOMPARE(f.quickView(), (QStringList{QStringLiteral(".JFW"), QStringLiteral(".JBW")}));
    QCOMPARE(f.general("MaxRow"), QByteArray("<absent>"));
}

void TestTfrmSettei::commandAdoptsOnlyWhatWasStored_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("refused"); // HKEY_CLASSES_ROOT cannot be written
    QTest::addColumn<bool>("adopted");
    QTest::newRow("OK") << true << false << true;
    QTest::newRow("Cancel") << false << false << false;
    QTest::newRow("OK, store refused") << true << true << false;
}

void TestTfrmSettei::commandAdoptsOnlyWhatWasStored() {
    QFETCH(bool, ok);
    QFETCH(bool, refused);
    QFETCH(bool, adopted);
    Fixture f;
    if (refused) // a folder where the file of HKEY_CLASSES_ROOT belongs
        QVERIFY(QDir().mkpath(f.registry.fileFor(RegRoot::ClassesRoot)));
    QList<int> help;
    f.dialogs.expectModal([&](QDialog &dialog) {
        auto &d = static_cast<TfrmSettei &>(dialog);
        d.form().seRow->setValue(50);
        d.form().edtSaveDir->clear();
        d.form().cbUtil->setChecked(false);
        d.viewerBox(4)->click();
        d.form().bbHelp->click();
        (ok ? d.form().bbOK : d.form().bbCancel)->click();
        return d.result();
    });
    if (refused)
        f.dialogs.expectMessage(QStringLiteral("HKEY_CLASSES_ROOT"));
    QWidget owner;
    const std::optional<GeneralSettings> result = runSettingsDialog(
        f.dialogs, f.registry, &owner, [&](int context) { help.append(context); });

    QCOMPARE(help, QList<int>{10005});
    QCOMPARE(f.dialogs.shown().first().caption, QStringLiteral("設定"));
    QCOMPARE(f.dialogs.shown().first().owner, &owner);
    QCOMPARE(result.has_value(), adopted);
    if (adopted) // an emptied field is adopted empty for the run
        QCOMPARE(*result, (GeneralSettings{50, true, false, true, QString()}));
    QCOMPARE(f.general("MaxRow"), ok && !refused ? QByteArray("50") : QByteArray("<absent>"));
}

QTEST_MAIN(TestTfrmSettei)
#include "tst_tfrmsettei.moc"
