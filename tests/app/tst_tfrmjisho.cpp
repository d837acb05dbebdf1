#include "app/tfrmjisho.h"

#include "app/tfrmjisho_form.h"
#include "document/documentcommands.h"
#include "document/documentmodel.h"
#include "document/historymenu.h"
#include "grid/tmstrgrid.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testdataroot.h"
#include "widgets/explorerbutton.h"

#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QByteArray kProduct = SettingsStore::kProductKey;

// The history entries go in above the export and import items, which stay last.
bool exportAndImportLast(TfrmJisho &w) {
    const QList<QAction *> actions = w.form().mmFile->actions();
    return actions.mid(actions.size() - 3) ==
           QList<QAction *>{w.form().N12, w.form().mmExport, w.form().mmImport};
}

// A data root, the scripted dialogs and, on demand, the window on top of them.
struct Fixture {
    TestDataRoot root;
    ScriptedDialogs dialogs;
    Registry registry = Registry::forDataRoot();
    std::unique_ptr<TfrmJisho> window;

    void setting(const QByteArray &section, const QByteArray &name, const QByteArray &text) {
        registry.writeString(RegRoot::CurrentUser, kProduct + '\\' + section, name, text);
    }
    QByteArray stored(const QByteArray &section, const QByteArray &name) const {
        const std::optional<RegValue> value =
            registry.readValue(RegRoot::CurrentUser, kProduct + '\\' + section, name);
        return value ? value->data : QByteArray("<absent>");
    }
    TfrmJisho &open() {
        window = std::make_unique<TfrmJisho>(dialogs);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("window not exposed");
        return *window;
    }
    TmStrGrid &grid() { return window->grid(); }
    // The settings file becomes a folder: every later write of a setting fails.
    bool makeSettingsUnwritable() {
        const QString file = registry.fileFor(RegRoot::CurrentUser);
        QFile::remove(file);
        return QDir().mkpath(file);
    }
    QWidget &hinsi() { return *window->findChild<QGroupBox *>(QStringLiteral("rgHinsi")); }
    QWidget &comment() { return *window->findChild<QLineEdit *>(QStringLiteral("edtComment")); }
    QList<int> columnWidths() {
        return {grid().ColWidths(0), grid().ColWidths(1), grid().ColWidths(2), grid().ColWidths(3)};
    }
};

} // namespace

class TestTfrmJisho : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesDesignWindow() {
        Fixture f;
        TfrmJisho &w = f.open();
        QCOMPARE(w.pos(), QPoint(0, 0));
        QCOMPARE(w.size(), QSize(602, 425));
        QCOMPARE(f.columnWidths(), (QList<int>{30, 120, 104, 68}));
        QCOMPARE(f.grid().RowCount(), 101);
        QCOMPARE(f.grid().Cells(0, 1), QByteArray("1"));
        QCOMPARE(f.grid().Cells(0, 100), QByteArray("100"));
        QCOMPARE(f.grid().Cells(1, 0), sj(u"読み"));
        QCOMPARE(f.grid().Cells(2, 0), sj(u"単語"));
        QCOMPARE(f.grid().Cells(3, 0), sj(u"品詞"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Kelvari 2.0b - 新規辞書1.jmf"));
        QCOMPARE(w.document().CurrentFileName(), QStringLiteral("新規辞書1.jmf"));
        QCOMPARE(w.document().NewFileCounter(), 1);
        QCOMPARE(w.state().MaxRow, 100);
        QVERIFY(w.state().ShowFullPath);
        QVERIFY(w.state().ShowAtokUtility);
        QVERIFY(w.state().ShowAtokHelp);
        QCOMPARE(w.state().SaveDir, QDir::toNativeSeparators(Folders::programFolder()).chopped(1));
        QVERIFY(w.state().AtokFolder.isEmpty());
        QCOMPARE(w.helpFile(), Folders::programFolder() + QStringLiteral("Ruvex.hlp"));
        QVERIFY(w.testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        // Reading the settings leaves the product key and an empty history section.
        QVERIFY(f.registry.keyExists(RegRoot::CurrentUser, kProduct + "\\History"));
        QVERIFY(f.registry.valueNames(RegRoot::CurrentUser, kProduct + "\\History").isEmpty());
        QVERIFY(w.document().history().isEmpty());
        QCOMPARE(w.form().mmFile->actions().size(), 13);
        QVERIFY(!w.form().mmBar->isVisible());
        QTRY_VERIFY(w.state().WindowActivated);
    }

    void storedValuesShapeTheWindow() {
        Fixture f;
        f.setting("Window", "Left", "12");
        f.setting("Window", "Top", "34");
        f.setting("Window", "Height", "525");
        f.setting("Window", "Width", "700");
        f.setting("Grid", "Yomi", "90");
        f.setting("Grid", "Tango", "80");
        f.setting("Grid", "Hinsi", "70");
        f.setting("General", "MaxRow", "0x20");
        f.setting("General", "FullPath", "0");
        f.setting("Atok", "Path", sj(u"C:\\ATOK10\\"));
        TfrmJisho &w = f.open();
        QCOMPARE(w.pos(), QPoint(12, 34));
        QCOMPARE(w.size(), QSize(700, 525));
        QCOMPARE(f.hinsi().height(), 362 + 100);
        QCOMPARE(f.comment().width(), 178);
        QCOMPARE(f.columnWidths(), (QList<int>{30, 90, 80, 70}));
        QCOMPARE(f.grid().RowCount(), 33);
        QCOMPARE(f.grid().Cells(0, 32), QByteArray("32"));
        QVERIFY(!w.state().ShowFullPath);
        QCOMPARE(w.state().AtokFolder, QStringLiteral("C:\\ATOK10\\"));
        QCOMPARE(w.state().LastColWidths, (std::array<int, 3>{90, 80, 70}));
    }

    // Rows of a new list outside what the settings dialog offers (1 to 999) fall
    // back to the default instead of emptying the grid or allocating millions of rows.
    void maxRowOutsideItsRangeGivesDefault_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("zero") << QByteArray("0");
        QTest::newRow("negative") << QByteArray("-5");
        QTest::newRow("huge") << QByteArray("100000000");
    }
    void maxRowOutsideItsRangeGivesDefault() {
        QFETCH(QByteArray, stored);
        Fixture f;
        f.setting("General", "MaxRow", stored);
        TfrmJisho &w = f.open();
        QCOMPARE(w.state().MaxRow, 100);
        QCOMPARE(f.grid().RowCount(), 101);
    }

    void firstResizeOnlyRecords() {
        Fixture f;
        f.setting("Window", "Width", "700");
        TfrmJisho &w = f.open();
        // The size came from the store before the window was shown: the resize
        // event of the showing records it and moves nothing.
        QCOMPARE(f.comment().width(), 178);
        QCOMPARE(f.columnWidths(), (QList<int>{30, 120, 104, 68}));
        QVERIFY(!w.state().FirstResizePending);
        QCOMPARE(w.state().LastFormWidth, 700);
        QCOMPARE(w.state().LastFormHeight, 425);
    }

    void resizeFollowsWindow_data() {
        QTest::addColumn<int>("dW");
        QTest::addColumn<int>("dH");
        QTest::addColumn<int>("column");
        QTest::newRow("wider by 41") << 41 << 0 << 20;
        QTest::newRow("narrower by 41") << -41 << 0 << -20;
        QTest::newRow("narrower by 3 halves toward zero") << -3 << 0 << -1;
        QTest::newRow("taller and wider") << 10 << 60 << 5;
        QTest::newRow("shorter") << 0 << -50 << 0;
    }
    void resizeFollowsWindow() {
        QFETCH(int, dW);
        QFETCH(int, dH);
        QFETCH(int, column);
        Fixture f;
        TfrmJisho &w = f.open();
        w.resize(602 + dW, 425 + dH);
        QCOMPARE(w.size(), QSize(602 + dW, 425 + dH));
        QCOMPARE(f.comment().width(), 178 + dW);
        QCOMPARE(f.hinsi().height(), 362 + dH);
        QCOMPARE(f.columnWidths(), (QList<int>{30, 120 + column, 104 + column, 68}));
        QCOMPARE(w.state().LastColWidths, (std::array<int, 3>{120 + column, 104 + column, 68}));
        QCOMPARE(w.state().LastFormWidth, 602 + dW);
        QCOMPARE(w.state().LastFormHeight, 425 + dH);
    }

    void pendingColumnFollowSkipsOneResize() {
        Fixture f;
        TfrmJisho &w = f.open();
        w.state().ColumnFollowPending = true;
        w.resize(650, 425);
        QCOMPARE(f.comment().width(), 178);
        QCOMPARE(f.grid().ColWidths(1), 120);
        QVERIFY(!w.state().ColumnFollowPending);
        QCOMPARE(w.state().LastFormWidth, 650);
    }

    void initializeRestoresDesign() {
        Fixture f;
        f.setting("Window", "Left", "40");
        TfrmJisho &w = f.open();
        w.resize(800, 600);
        f.grid().SetColWidths(0, 50);
        f.grid().SetColWidths(1, 300);
        f.grid().SetColWidths(3, 10);
        f.grid().SetDefaultRowHeight(40);
        w.form().mmInitialize->trigger();
        QCOMPARE(w.size(), QSize(602, 425));
        QCOMPARE(w.pos().x(), 40);
        QCOMPARE(f.columnWidths(), (QList<int>{30, 120, 104, 68}));
        QCOMPARE(f.grid().DefaultRowHeight(), 24);
        QCOMPARE(f.grid().font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(f.grid().font().pointSize(), 11);
        QCOMPARE(f.hinsi().size(), QSize(179, 362));
        QCOMPARE(f.comment().width(), 178);
        QCOMPARE(w.state().LastColWidths, (std::array<int, 3>{120, 104, 68}));
        // Later resize events start from the restored sizes.
        w.resize(643, 425);
        QCOMPARE(f.comment().width(), 219);
        QCOMPARE(f.grid().ColWidths(1), 140);
    }

    void closeWritesSettings() {
        Fixture f;
        f.setting("History", "File1", sj(u"C:\\a.jmf"));
        f.setting("History", "File2", "C:\\b.jmf");
        f.setting("History", "File3", "C:\\c&d.jmf");
        f.setting("History", "File4", "C:\\gone.jmf");
        TfrmJisho &w = f.open();
        QCOMPARE(w.document().history().paths(),
                 (QStringList{QStringLiteral("C:\\a.jmf"), QStringLiteral("C:\\b.jmf"),
                              QStringLiteral("C:\\c&d.jmf"), QStringLiteral("C:\\gone.jmf")}));
        const QList<QAction *> entries = w.historyMenu().entries();
        QCOMPARE(w.form().mmFile->actions().mid(10, entries.size()), entries);
        QVERIFY(exportAndImportLast(w));
        QCOMPARE(entries.at(2)->text(), QStringLiteral("C:\\c&&d.jmf"));
        QVERIFY(w.form().mmBar->isVisible());
        for (const QAction *entry : entries)
            QVERIFY(!entry->isChecked());
        // The last entry's file is gone: clicking it removes the entry before the close.
        f.dialogs.expectMessage(QStringLiteral("ファイルが見つかりませんでした。"));
        entries.last()->trigger();
        QCOMPARE(w.form().mmFile->actions().size(), 16);
        QVERIFY(exportAndImportLast(w));
        w.move(15, 25);
        w.resize(643, 445);
        w.state().AtokFolder = QStringLiteral("D:\\ATOK\\");
        QVERIFY(w.close());
        QCOMPARE(f.stored("Window", "Left"), QByteArray("15"));
        QCOMPARE(f.stored("Window", "Top"), QByteArray("25"));
        QCOMPARE(f.stored("Window", "Width"), QByteArray("643"));
        QCOMPARE(f.stored("Window", "Height"), QByteArray("445"));
        QCOMPARE(f.stored("Grid", "Yomi"), QByteArray("140"));
        QCOMPARE(f.stored("Grid", "Tango"), QByteArray("124"));
        QCOMPARE(f.stored("Grid", "Hinsi"), QByteArray("68"));
        QCOMPARE(f.stored("Atok", "Path"), QByteArray("D:\\ATOK\\"));
        QCOMPARE(f.stored("History", "File1"), sj(u"C:\\a.jmf"));
        QCOMPARE(f.stored("History", "File2"), QByteArray("C:\\b.jmf"));
        QCOMPARE(f.stored("History", "File3"), QByteArray("C:\\c&d.jmf"));
        // A removed entry does not come back at the next start.
        QCOMPARE(f.stored("History", "File4"), QByteArray("<absent>"));
        // General settings belong to the settings dialog.
        QVERIFY(!f.registry.keyExists(RegRoot::CurrentUser, kProduct + "\\General"));
    }

    // The File menu's history entries, the caption and the conversion commands
    // follow the document that the File menu's commands change.
    void windowFollowsTheDocument() {
        Fixture f;
        TfrmJisho &w = f.open();
        QMenu &file = *w.form().mmFile;
        const auto write = [&](const QString &name) {
            const QString path = f.root.filePath(name);
            writeFileBytes(path, sj(u"!!DICUT10\r\nよみ,読み,名詞\r\n"));
            return path;
        };
        const auto checkedPositions = [&] {
            QList<qsizetype> positions;
            for (qsizetype i = 0; i < file.actions().size(); ++i) {
                if (file.actions().at(i)->isChecked())
                    positions.append(i);
            }
            return positions;
        };
        QStringList opened; // newest first
        for (int i = 0; i < 11; ++i) {
            opened.prepend(write(QStringLiteral("f%1 & co.jmf").arg(i)));
            f.dialogs.expectOpenFile(opened.first());
            w.form().mmOpen->trigger();
        }
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(file.actions().size(), 23);
        QVERIFY(exportAndImportLast(w));
        QVERIFY(w.form().mmBar->isVisible());
        for (int i = 0; i < 10; ++i)
            QCOMPARE(file.actions().at(10 + i)->text(),
                     QString(opened.at(i)).replace(u'&', QStringLiteral("&&")));
        QCOMPARE(checkedPositions(), QList<qsizetype>{10});
        QCOMPARE(w.windowTitle(), QStringLiteral("Kelvari 2.0b - ") + opened.first());

        // An entry opens its file and takes the check mark; the entries stay in
        // place, also when the checked entry is clicked again.
        for (int click = 0; click < 2; ++click) {
            file.actions().at(12)->trigger();
            QCOMPARE(w.document().CurrentFileName(), opened.at(2));
            QCOMPARE(checkedPositions(), QList<qsizetype>{12});
            QCOMPARE(file.actions().at(12)->text(),
                     QString(opened.at(2)).replace(u'&', QStringLiteral("&&")));
        }
        QCOMPARE(w.windowTitle(), QStringLiteral("Kelvari 2.0b - ") + opened.at(2));

        // A new document keeps the mark where it was.
        w.form().mmNew->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("Kelvari 2.0b - 新規辞書2.jmf"));
        QCOMPARE(checkedPositions(), QList<qsizetype>{12});

        // The conversion commands follow the extension of the loaded file.
        QWidget *ebConvert = w.findChild<TExplorerButton *>(QStringLiteral("ebConvert"));
        for (const QString &name : {QStringLiteral("x.JMF"), QStringLiteral("x.jmf")}) {
            f.dialogs.expectOpenFile(write(name));
            w.form().mmOpen->trigger();
            const bool enabled = name.endsWith(QStringLiteral(".jmf"));
            QCOMPARE(w.form().mmConvert->isEnabled(), enabled);
            QCOMPARE(w.form().mmOthers->isEnabled(), enabled);
            QCOMPARE(ebConvert->isEnabled(), enabled);
        }
    }

    // The window's own prompt asks about changes, and its grammar check guards the save.
    void saveGoesThroughTheWindowsPromptAndGate() {
        Fixture f;
        TfrmJisho &w = f.open();
        f.grid().SetCells(1, 1, sj(u"漢字")); // not a reading: a grammar error
        f.grid().SetCells(2, 1, sj(u"語"));
        f.grid().SetCells(3, 1, sj(u"名詞"));
        const QString path = f.root.filePath(QStringLiteral("x.jmf"));
        f.dialogs
            .expectMessage(
                QStringLiteral("\" 新規辞書1.jmf \" は変更されています。\r\n保存しますか?"),
                ResultYes)
            .expectSaveFile(path)
            .expectMessage(QStringLiteral("文法エラーがあるので保存出来ません。"));
        w.form().mmNew->trigger();
        QVERIFY(f.dialogs.allAnswered());
        const ShownDialog &prompt = f.dialogs.shown().first();
        QCOMPARE(prompt.messageKind, MessageKind::Confirmation);
        QCOMPARE(prompt.buttons, MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
        QCOMPARE(prompt.owner, &w);
        QCOMPARE(f.dialogs.shown().last().messageKind, MessageKind::Error);
        // Refused: nothing written, the document stays, the chosen path enters the history.
        QVERIFY(!QFile::exists(path));
        QVERIFY(!w.document().SaveSucceeded());
        QCOMPARE(f.grid().Cells(1, 1), sj(u"漢字"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Kelvari 2.0b - 新規辞書1.jmf"));
        QCOMPARE(w.form().mmFile->actions().mid(10, 1), w.historyMenu().entries());
        QCOMPARE(w.historyMenu().entries().size(), 1);
        QCOMPARE(w.historyMenu().entries().first()->text(), path);
        QVERIFY(w.historyMenu().entries().first()->isChecked());
        QVERIFY(w.form().mmBar->isVisible());
    }

    void associationRewrittenAtEveryStart() {
        Fixture f;
        f.registry.writeString(RegRoot::ClassesRoot, ".jmf", {}, "Other");
        f.registry.writeString(RegRoot::ClassesRoot, "JishoMakeFile\\DefaultIcon", {},
                               "/old/place,1");
        const QByteArray program = QDir::toNativeSeparators(Folders::programPath()).toUtf8();
        f.open();
        auto defaultValue = [&](const QByteArray &key) {
            const std::optional<RegValue> value =
                f.registry.readValue(RegRoot::ClassesRoot, key, {});
            return value ? value->data : QByteArray("<absent>");
        };
        QCOMPARE(defaultValue(".jmf"), QByteArray("JishoMakeFile"));
        QCOMPARE(defaultValue("JishoMakeFile"), sj(u"辞書作成ファイル"));
        QCOMPARE(defaultValue("JishoMakeFile\\DefaultIcon"), program + ",1");
        QCOMPARE(defaultValue("JishoMakeFile\\shell\\open\\command"), '"' + program + "\" %1");
    }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        auto row = [](const char *name, const QString &caption, const char *shortcut,
                      bool visible = true, bool enabled = true) {
            QTest::newRow(name) << QString::fromLatin1(name) << caption
                                << QString::fromLatin1(shortcut) << visible << enabled;
        };
        row("mmNew", QStringLiteral("新規作成(&N)"), "Ctrl+N");
        row("mmOpen", QStringLiteral("開く(&O)..."), "Ctrl+O");
        row("mmAddOpen", QStringLiteral("追加して開く(&T)..."), "Ctrl+T");
        row("mmSave", QStringLiteral("上書き保存(&S)"), "Ctrl+S");
        row("mmSaveAs", QStringLiteral("名前を付けて保存(&A)..."), "Ctrl+A");
        row("mmClose", QStringLiteral("閉じる(&X)"), "");
        row("mmHistory", QStringLiteral("ダミー"), "", false);
        row("mmUndo", QStringLiteral("元に戻す(&U)"), "Ctrl+Z", true, false);
        row("mmCut", QStringLiteral("切り取り(&T)"), "Ctrl+X");
        row("mmCopy", QStringLiteral("コピー(&C)"), "Ctrl+C");
        row("mmPaste", QStringLiteral("貼り付け(&P)"), "Ctrl+V");
        row("mmAdd", QStringLiteral("行を挿入(&I)"), "Ctrl+Ins");
        row("mmDelete", QStringLiteral("行を削除(&D)"), "Ctrl+Del");
        row("mmTop", QStringLiteral("昇順に並べ替え(&T)"), "F7", false);
        row("mmBottom", QStringLiteral("降順に並べ替え(&B)"), "F8", false);
        row("mmConvert", QStringLiteral("現在のファイルを変換(&C)"), "F9");
        row("mmOthers", QStringLiteral("別のファイルを変換(&O)..."), "F10");
        row("mmUtil", QStringLiteral("ATOK10辞書ﾕｰﾃｨﾘﾃｨを起動"), "");
        row("mmSettei", QStringLiteral("設定(&S)..."), "");
        row("mmFont", QStringLiteral("フォント(&F)..."), "", false);
        row("mmBunpo", QStringLiteral("文法チェック(&C)..."), "");
        row("mmView", QStringLiteral("ソース表示(&V)..."), "", false);
        row("mmContents", QStringLiteral("目次(&C)..."), "F1");
        row("mmTopic", QStringLiteral("トピックの検索(&H)..."), "");
        row("mmAtokHelp", QStringLiteral("ATOK10 ヘルプ(&J)..."), "");
        row("mmAbout", QStringLiteral("アバウト(&A)..."), "");
        row("pmHinsi", QStringLiteral("品詞ヘルプ"), "");
        row("mmInitialize", QStringLiteral("ウィンドウサイズ初期化"), "");
        row("mmFindNext", QStringLiteral("次を検索(&N)"), "F3", true, false);
    }
    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        ScriptedDialogs dialogs;
        TestDataRoot root;
        TfrmJisho w(dialogs);
        const QAction *item = w.findChild<QAction *>(name);
        QVERIFY(item);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut(), QKeySequence(shortcut));
        QCOMPARE(item->isVisible(), visible);
        // Qt disables what it hides; the enabled state matters for shown items.
        if (visible)
            QCOMPARE(item->isEnabled(), enabled);
    }

    void menuStructure() {
        ScriptedDialogs dialogs;
        TestDataRoot root;
        TfrmJisho w(dialogs);
        auto names = [](const QMenu *menu) {
            QStringList list;
            for (const QAction *action : menu->actions())
                list.append(action->objectName());
            return list;
        };
        QCOMPARE(names(w.form().mmFile),
                 (QStringList{
                     QStringLiteral("mmNew"), QStringLiteral("N4"), QStringLiteral("mmOpen"),
                     QStringLiteral("mmAddOpen"), QStringLiteral("mmSave"),
                     QStringLiteral("mmSaveAs"), QStringLiteral("N1"), QStringLiteral("mmClose"),
                     QStringLiteral("mmBar"), QStringLiteral("mmHistory"), QStringLiteral("N12"),
                     QStringLiteral("mmExport"), QStringLiteral("mmImport")}));
        QVERIFY(w.form().N12->isSeparator());
        QCOMPARE(names(w.form().mmEdit).mid(names(w.form().mmEdit).size() - 2),
                 (QStringList{QStringLiteral("N13"), QStringLiteral("mmDuplicates")}));
        QVERIFY(w.form().mmBar->isSeparator());
        QCOMPARE(w.form().mmFile->title(), QStringLiteral("ファイル(&F)"));
        QCOMPARE(w.form().mmEdit->title(), QStringLiteral("編集(&E)"));
        QCOMPARE(w.form().mmHenkan->title(), QStringLiteral("変換(&C)"));
        QCOMPARE(w.form().mmOption->title(), QStringLiteral("オプション(&O)"));
        QCOMPARE(w.form().mmHelp->title(), QStringLiteral("ヘルプ(&H)"));
        QVERIFY(!w.form().mmSearch->menuAction()->isVisible());
        QVERIFY(!w.form().N6->isVisible());
        QVERIFY(!w.form().N8->isVisible());
        QCOMPARE(names(w.PopupMenu), (QStringList{QStringLiteral("pmHinsi"), QStringLiteral("N10"),
                                                  QStringLiteral("mmInitialize")}));
    }

    void controls() {
        ScriptedDialogs dialogs;
        TestDataRoot root;
        TfrmJisho w(dialogs);
        const QStringList hinsi = {
            QStringLiteral("名詞"),     QStringLiteral("固有人姓"), QStringLiteral("固有人名"),
            QStringLiteral("固有人他"), QStringLiteral("固有地名"), QStringLiteral("固有組織"),
            QStringLiteral("固有商品"), QStringLiteral("固有一般"), QStringLiteral("名詞サ変"),
            QStringLiteral("名詞ザ変"), QStringLiteral("名詞形動"), QStringLiteral("名サ形動"),
            QStringLiteral("数詞"),     QStringLiteral("副詞"),     QStringLiteral("連体詞"),
            QStringLiteral("接続詞"),   QStringLiteral("感動詞"),   QStringLiteral("独立語"),
            QStringLiteral("接頭語"),   QStringLiteral("冠数詞"),   QStringLiteral("接尾語"),
            QStringLiteral("助数詞"),   QStringLiteral("カ行五段"), QStringLiteral("ガ行五段"),
            QStringLiteral("サ行五段"), QStringLiteral("タ行五段"), QStringLiteral("ナ行五段"),
            QStringLiteral("バ行五段"), QStringLiteral("マ行五段"), QStringLiteral("ラ行五段"),
            QStringLiteral("ワ行五段"), QStringLiteral("ハ行四段"), QStringLiteral("一段動詞"),
            QStringLiteral("カ変動詞"), QStringLiteral("サ変動詞"), QStringLiteral("ザ変動詞"),
            QStringLiteral("形容詞"),   QStringLiteral("形容詞ウ"), QStringLiteral("形容動詞"),
            QStringLiteral("形動タリ"), QStringLiteral("単漢字")};
        const QButtonGroup *group = w.form().rgHinsiButtons;
        QCOMPARE(group->buttons().size(), 41);
        for (int i = 0; i < hinsi.size(); ++i)
            QCOMPARE(group->button(i)->text(), hinsi[i]);
        QCOMPARE(w.form().rgHinsi->title(), QStringLiteral("品詞一覧"));
        QCOMPARE(w.form().rgHinsi->geometry(), QRect(9, 8, 179, 362));
        QCOMPARE(w.form().lblComment->text(), QStringLiteral("コメント："));
        QCOMPARE(w.form().sbAdd->toolTip(), QStringLiteral("行を挿入"));
        QCOMPARE(w.form().sbDelete->toolTip(), QStringLiteral("行を削除"));
        QVERIFY(!w.form().sbUndo->isEnabled());
        QCOMPARE(w.form().edtComment->font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(w.form().edtComment->font().pixelSize(), 12);
        QCOMPARE(w.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));

        const QStringList buttons = {QStringLiteral("新規"), QStringLiteral("開く"),
                                     QStringLiteral("保存"), QStringLiteral("変換"),
                                     QStringLiteral("設定"), QStringLiteral("ヘルプ"),
                                     QStringLiteral("ATOK")};
        const char *names[] = {"ebNew",     "ebOpen", "ebSave", "ebConvert",
                               "ebSetting", "ebHelp", "ebAtok"};
        for (int i = 0; i < 7; ++i) {
            const auto *button = w.findChild<TExplorerButton *>(QString::fromLatin1(names[i]));
            QVERIFY2(button, names[i]);
            QCOMPARE(button->Caption(), buttons[i]);
            QCOMPARE(button->geometry(), QRect(3, 6 + 49 * i, 45, 45));
        }
    }

    void viewSourceWithoutViewer() {
        Fixture f;
        TfrmJisho &w = f.open();
        const QString file = f.root.filePath(QStringLiteral("a.jmf"));
        QVERIFY(writeFileBytes(file, "!!DICUT10\r\n"));
        w.document().setCurrentFileName(file);
        {
            ScopedEnv viewer("KELVARI_TEXT_VIEWER", "/no/such/viewer");
            f.dialogs.expectMessage(
                QStringLiteral("テキストファイルに関連づけられたソフトがありません。"));
            w.form().mmView->trigger();
        }
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(f.dialogs.shown().size(), 1);
        QCOMPARE(f.dialogs.shown().first().messageKind, MessageKind::Error);
        QCOMPARE(f.dialogs.shown().first().caption, QString());
        QCOMPARE(f.dialogs.shown().first().owner, &w);
        // A viewer that starts says nothing.
        ScopedEnv viewer("KELVARI_TEXT_VIEWER", "true");
        w.form().mmView->trigger();
        QCOMPARE(f.dialogs.shown().size(), 1);
    }

    void closeMenuClosesWindow() {
        Fixture f;
        TfrmJisho &w = f.open();
        w.form().mmClose->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(f.stored("Window", "Width"), QByteArray("602"));
    }

    // Settings are not the user's data: a store that cannot be written is
    // reported once and the window closes all the same.
    void closeGoesAheadWhenSettingsCannotBeWritten_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("close box") << false;
        QTest::newRow("File menu") << true;
    }

    void closeGoesAheadWhenSettingsCannotBeWritten() {
        QFETCH(bool, byMenu);
        Fixture f;
        TfrmJisho &w = f.open();
        QVERIFY(f.makeSettingsUnwritable());
        f.dialogs.expectMessage(QStringLiteral("設定を保存できませんでした。"));
        if (byMenu)
            w.form().mmClose->trigger();
        else
            w.close();
        QVERIFY(!w.isVisible());
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(f.dialogs.shown().size(), 1);
        const ShownDialog &shown = f.dialogs.shown().first();
        QCOMPARE(shown.messageKind, MessageKind::Error);
        QCOMPARE(shown.owner, &w);
        // The reason names the file that could not be written.
        QVERIFY2(
            shown.text.contains(QDir::toNativeSeparators(f.registry.fileFor(RegRoot::CurrentUser))),
            qPrintable(shown.text));
    }

    void modifiedDocumentIsOfferedForSavingBeforeSettingsFail() {
        Fixture f;
        TfrmJisho &w = f.open();
        QVERIFY(f.makeSettingsUnwritable());
        f.grid().SetCells(1, 1, "a");
        QVERIFY(w.documentCommands().IsDocumentModified());
        const QString question = QStringLiteral("は変更されています。");

        f.dialogs.expectMessage(question, ResultCancel);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(f.dialogs.shown().size(), 1);

        f.dialogs.expectMessage(question, ResultNo)
            .expectMessage(QStringLiteral("設定を保存できませんでした。"));
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(f.dialogs.shown().size(), 3);
    }
};

QTEST_MAIN(TestTfrmJisho)
#include "tst_tfrmjisho.moc"
