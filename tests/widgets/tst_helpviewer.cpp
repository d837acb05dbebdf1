#include "check/partsofspeech.h"
#include "platform/helpkey.h"
#include "widgets/helpviewer.h"
#include "widgets/helpwindow.h"

#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngineCore>
#include <QHelpIndexModel>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

using namespace kelvari;

namespace {

// The help as built beside the program.
const QString kBuiltCollection = QStringLiteral(KELVARI_COMPILED_HELP);

// A program folder of our own holding a copy of the built help, so nothing
// here can touch the build tree.
struct ProgramFolder {
    QTemporaryDir dir;
    QString helpFile; // what the program names: <folder>/Ruvex.hlp

    ProgramFolder() {
        const QString builtFolder = QFileInfo(kBuiltCollection).absolutePath();
        for (const char *name : {"Ruvex.qhc", "Ruvex.qch"})
            QFile::copy(builtFolder + QLatin1Char('/') + QLatin1String(name),
                        dir.filePath(QLatin1String(name)));
        helpFile = dir.filePath(QStringLiteral("Ruvex.hlp"));
    }
};

QByteArray fileHash(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString pageTitle(HelpViewer &viewer) {
    return viewer.window() ? viewer.window()->pageView()->documentTitle() : QString();
}

bool waitForIndex(HelpWindow *window) {
    auto *model = qobject_cast<QHelpIndexModel *>(window->indexList()->model());
    return model &&
           QTest::qWaitFor([model] { return !model->isCreatingIndex() && model->rowCount() > 0; });
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo::exists(kBuiltCollection), qPrintable(kBuiltCollection));
    }

    void helpFileMapsToTheCollectionBesideIt_data() {
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<QString>("collection");
        QTest::newRow("program folder")
            << QStringLiteral("/opt/kelvari/Ruvex.hlp") << QStringLiteral("/opt/kelvari/Ruvex.qhc");
        QTest::newRow("stored form")
            << QStringLiteral("C:\\Tools\\Ruvex.hlp") << QStringLiteral("C:\\Tools\\Ruvex.qhc");
        QTest::newRow("dot in the folder")
            << QStringLiteral("/a.b/Ruvex") << QStringLiteral("/a.b/Ruvex.qhc");
    }
    void helpFileMapsToTheCollectionBesideIt() {
        QFETCH(QString, helpFile);
        QFETCH(QString, collection);
        QCOMPARE(compiledHelpCollection(helpFile), collection);
    }

    // Every context number the program asks for opens its own page.
    void everyContextOpensItsPage_data() {
        const QHash<int, QString> titles = {
            {HelpContext::AfterConversion, QStringLiteral("変換したあとの作業")},
            {HelpContext::Toolbar, QStringLiteral("ツールバーのボタン")},
            {HelpContext::SettingsGeneral, QStringLiteral("設定 ―「一般」ページ")},
            {HelpContext::GrammarReport, QStringLiteral("文法エラー結果ウィンドウ")},
            {HelpContext::PartOfSpeech, QStringLiteral("品詞一覧")},
            {HelpContext::SettingsViewer, QStringLiteral("設定 ―「一太郎ファイル」ページ")},
            {HelpContext::ViewerFiles, QStringLiteral("「一太郎ﾋﾞｭｰｱ」を使うファイル")},
            {HelpContext::MaxRow, QStringLiteral("最大行数")},
            {HelpContext::PathInTitle, QStringLiteral("タイトルにパスを表示する")},
            {HelpContext::StartUtility, QStringLiteral("変換後「ATOK10辞書ﾕｰﾃｨﾘﾃｨ」を起動")},
            {HelpContext::HelpAfterConvert, QStringLiteral("変換後ヘルプを表示")},
            {HelpContext::SaveFolder, QStringLiteral("新規作成ファイルの保存場所")},
            {HelpContext::BrowseSaveFolder, QStringLiteral("参照（新規作成ファイルの保存場所）")},
        };
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("title");
        for (const int context : kHelpContexts)
            QTest::addRow("%d", context) << context << titles.value(context);
    }
    void everyContextOpensItsPage() {
        QFETCH(int, context);
        QFETCH(QString, title);
        ProgramFolder folder;
        HelpViewer viewer(folder.helpFile);
        const QUrl page = viewer.pageForContext(context);
        QVERIFY2(page.isValid(), "no page for this context");

        viewer.showContext(context);
        QVERIFY(viewer.window() && viewer.window()->isVisible());
        QCOMPARE(viewer.window()->pageView()->source(), page);
        QCOMPARE(pageTitle(viewer), title);
        QVERIFY(viewer.window()->pageView()->toPlainText().contains(title));
    }

    void unknownContextSaysSo() {
        ProgramFolder folder;
        HelpViewer viewer(folder.helpFile);
        QVERIFY(viewer.pageForContext(10008).isEmpty());
        viewer.showContext(10008);
        QVERIFY(viewer.window()->pageView()->toPlainText().contains(QStringLiteral("10008")));
    }

    void contentsAndIndexAreFilled() {
        ProgramFolder folder;
        HelpViewer viewer(folder.helpFile);
        viewer.showContents();
        HelpWindow *window = viewer.window();
        QCOMPARE(pageTitle(viewer), QStringLiteral("目次"));
        QCOMPARE(window->tabs()->currentIndex(), 0);

        auto *contents = qobject_cast<QHelpContentModel *>(window->contentsTree()->model());
        QVERIFY(contents);
        QTRY_VERIFY(!contents->isCreatingContents() && contents->rowCount() > 0);
        QVERIFY(contents->rowCount(contents->index(0, 0)) > 0);
        // Picking a page in the tree shows it.
        const QModelIndex report =
            window->contentsTree()->indexOf(viewer.pageForContext(HelpContext::GrammarReport));
        QVERIFY(report.isValid());
        emit window->contentsTree()->activated(report);
        QCOMPARE(pageTitle(viewer), QStringLiteral("文法エラー結果ウィンドウ"));
        QCOMPARE(window->contentsTree()->currentIndex(), report);

        QVERIFY(waitForIndex(window));
        const QStringList terms =
            qobject_cast<QHelpIndexModel *>(window->indexList()->model())->stringList();
        for (const char *term : {"読み", "単語", "品詞", "文法チェック", "変換", "設定",
                                 "ショートカット", "履歴", "アンインストール"})
            QVERIFY2(terms.contains(QString::fromUtf8(term)), term);
    }

    // The search field narrows the index; Enter opens the chosen term's page.
    void keywordSearchOpensThePage() {
        ProgramFolder folder;
        HelpViewer viewer(folder.helpFile);
        viewer.showKeywordSearch();
        HelpWindow *window = viewer.window();
        QCOMPARE(window->tabs()->currentIndex(), 1);
        QVERIFY(waitForIndex(window));

        window->indexFilter()->setText(QStringLiteral("文法チェック"));
        QCOMPARE(window->indexList()->currentIndex().data().toString(),
                 QStringLiteral("文法チェック"));
        QTest::keyClick(window->indexFilter(), Qt::Key_Return);
        QCOMPARE(pageTitle(viewer), QStringLiteral("文法チェックとエラーの直し方"));
    }

    // Content checks on the built help: every index term leads to a page that
    // holds the named anchor, and the part-of-speech page names every part of
    // speech the check accepts.
    void everyIndexTermLeadsToAPage() {
        ProgramFolder folder;
        QHelpEngineCore engine(compiledHelpCollection(folder.helpFile));
        engine.setReadOnly(true);
        QVERIFY(engine.setupData());
        HelpViewer viewer(folder.helpFile);
        viewer.showKeywordSearch();
        QVERIFY(waitForIndex(viewer.window()));
        const QStringList terms =
            qobject_cast<QHelpIndexModel *>(viewer.window()->indexList()->model())->stringList();
        QVERIFY(terms.size() > 40);
        for (const QString &term : terms) {
            const QList<QHelpLink> links = engine.documentsForKeyword(term);
            QVERIFY2(links.size() == 1, qPrintable(term));
            const QUrl url = links.first().url;
            const QString html = QString::fromUtf8(engine.fileData(url));
            QVERIFY2(!html.isEmpty(), qPrintable(url.toString()));
            if (url.hasFragment())
                QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(url.fragment())),
                         qPrintable(url.toString()));
        }

        const QString partsPage =
            QString::fromUtf8(engine.fileData(viewer.pageForContext(HelpContext::PartOfSpeech)));
        for (const QString &name : partOfSpeechDisplayNames())
            QVERIFY2(partsPage.contains(QStringLiteral("<td>") + name + QStringLiteral("</td>")),
                     qPrintable(name));
    }

    // F1 on a control with a context, through the real engine.
    void helpKeyOpensTheControlsPage() {
        ProgramFolder folder;
        HelpViewer viewer(folder.helpFile);
        const HelpKey key(viewer);
        QWidget dialog;
        auto *field = new QLineEdit(&dialog);
        setHelpContext(field, HelpContext::SaveFolder);
        QTest::keyClick(field, Qt::Key_F1);
        QCOMPARE(pageTitle(viewer), QStringLiteral("新規作成ファイルの保存場所"));
    }

    void oneWindowAndQuitClosesIt() {
        ProgramFolder folder;
        const QByteArray before = fileHash(compiledHelpCollection(folder.helpFile));
        HelpViewer viewer(folder.helpFile);
        viewer.showContext(HelpContext::Toolbar);
        QPointer<HelpWindow> window = viewer.window();
        viewer.showContents();
        viewer.showKeywordSearch();
        viewer.showContext(HelpContext::MaxRow);
        QCOMPARE(viewer.window(), window.data());
        QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));

        viewer.quit();
        QVERIFY(window.isNull());
        QCOMPARE(viewer.window(), nullptr);
        // Asked again later, it opens again.
        viewer.showContext(HelpContext::MaxRow);
        QCOMPARE(pageTitle(viewer), QStringLiteral("最大行数"));
        viewer.quit();
        QCOMPARE(fileHash(compiledHelpCollection(folder.helpFile)), before);
    }

    // Help asked for from a modal dialog can be used while the dialog is open.
    void usableUnderAModalDialog() {
        ProgramFolder folder;
        HelpViewer viewer(folder.helpFile);
        QDialog dialog;
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        viewer.showContext(HelpContext::SettingsGeneral);
        HelpWindow *window = viewer.window();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        // A real click, through the window system, on the index tab.
        QTabBar *tabBar = window->tabs()->tabBar();
        const QPoint at = tabBar->mapTo(window, tabBar->tabRect(1).center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(window->tabs()->currentIndex(), 1);
    }

    void missingHelpIsToldInTheWindow() {
        QTemporaryDir empty;
        const QString helpFile = empty.filePath(QStringLiteral("Ruvex.hlp"));
        HelpViewer viewer(helpFile);
        QVERIFY(viewer.pageForContext(HelpContext::GrammarReport).isEmpty());
        viewer.showContext(HelpContext::GrammarReport);
        QVERIFY(viewer.window()->isVisible());
        const QString text = viewer.window()->pageView()->toPlainText();
        QVERIFY(text.contains(QStringLiteral("ヘルプファイルが見つかりません")));
        QVERIFY(text.contains(compiledHelpCollection(helpFile)));
        viewer.showContents();
        viewer.quit();
        QCOMPARE(QDir(empty.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }

    void anotherHelpFileReplacesTheOpenOne() {
        ProgramFolder folder;
        QTemporaryDir empty;
        HelpViewer viewer(empty.filePath(QStringLiteral("Ruvex.hlp")));
        viewer.showContext(HelpContext::Toolbar);
        QVERIFY(pageTitle(viewer).isEmpty());
        viewer.setHelpFile(folder.helpFile);
        QCOMPARE(viewer.helpFile(), folder.helpFile);
        QCOMPARE(viewer.window(), nullptr);
        viewer.showContext(HelpContext::Toolbar);
        QCOMPARE(pageTitle(viewer), QStringLiteral("ツールバーのボタン"));
    }
};

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
