#include "platform/folderbrowser.h"
#include "platform/qtdialogs.h"
#include "tests/support/scripteddialogs.h"
#include "widgets/browsedialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

using namespace kelvari;

namespace {

class RecordingDialogs : public test::ScriptedDialogs {
public:
    QList<FolderBrowseRequest> requests;
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &request) override {
        requests.append(request);
        return ScriptedDialogs::browseFolder(request);
    }
};

// Plays the user of the folder browser once it is open: `drive` acts on it, and
// whatever happens there the browser is closed afterwards (Cancel unless
// `drive` accepted it), so a failing check cannot leave the test hanging.
void whenBrowserOpens(std::function<void(FolderBrowserDialog &)> drive) {
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, drive] {
        auto *browser = qobject_cast<FolderBrowserDialog *>(QApplication::activeModalWidget());
        if (!browser)
            return;
        timer->stop();
        timer->deleteLater();
        drive(*browser);
        if (browser->isVisible())
            browser->reject();
    });
    timer->start();
}

} // namespace

class TestBrowseDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("データ/sub")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("other")));
    }

    void startPath_data() {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing separator dropped")
            << QStringLiteral("/home/データ/") << QStringLiteral("/home/データ");
        QTest::newRow("only one dropped") << QStringLiteral("/home//") << QStringLiteral("/home/");
        QTest::newRow("short folder") << QStringLiteral("/a/") << QStringLiteral("/a");
        QTest::newRow("root stays") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("no separator") << QStringLiteral("/home") << QStringLiteral("/home");
        QTest::newRow("empty") << QString() << QString();
    }
    void startPath() {
        QFETCH(QString, directory);
        QFETCH(QString, expected);
        QCOMPARE(browseStartPath(directory), expected);
    }

    void defaults() {
        RecordingDialogs dialogs;
        QWidget owner;
        const TBrowseDialog dialog(dialogs, &owner);
        QCOMPARE(dialog.Directory(), QString());
        QCOMPARE(dialog.Caption(), QString());
        QCOMPARE(dialog.Root(), QString());
        QCOMPARE(dialog.Options(),
                 TBrowseDialog::TBrowseOptions(TBrowseDialog::biReturnOnlyFSDirs));
        QCOMPARE(int(TBrowseDialog::biBrowseForComputer), 0x1000);
        QCOMPARE(int(TBrowseDialog::biBrowseForPrinter), 0x2000);
        QCOMPARE(int(TBrowseDialog::biDontGoBelowDomain), 0x2);
        QCOMPARE(int(TBrowseDialog::biReturnFSAncestors), 0x8);
        QCOMPARE(int(TBrowseDialog::biStatusText), 0x4);
    }

    // What the component asks for, and what it keeps of each answer.
    void answers() {
        RecordingDialogs dialogs;
        QWidget owner;
        TBrowseDialog dialog(dialogs, &owner);
        dialog.setDirectory(QStringLiteral("/home/データ/"));
        dialog.setCaption(QStringLiteral("保存先を選んでください"));
        dialog.setRoot(QStringLiteral("MYCOMPUTER"));
        dialog.setOptions(TBrowseDialog::biReturnOnlyFSDirs | TBrowseDialog::biStatusText);

        dialogs.expectFolder(std::nullopt);
        QVERIFY(!dialog.ChooseFolder());
        QCOMPARE(dialog.Directory(), QStringLiteral("/home/データ/"));
        const FolderBrowseRequest &request = dialogs.requests.constFirst();
        QCOMPARE(request.owner, &owner);
        QCOMPARE(request.caption, QStringLiteral("保存先を選んでください"));
        QCOMPARE(request.root, QString());
        QCOMPARE(request.directory, QStringLiteral("/home/データ/"));
        QVERIFY(request.showStatusText);

        dialogs.expectFolder(
            FolderBrowseAnswer{QStringLiteral("/srv/辞書"), QStringLiteral("辞書")});
        QVERIFY(dialog.ChooseFolder());
        QCOMPARE(dialog.Directory(), QStringLiteral("/srv/辞書"));
        QCOMPARE(dialog.DisplayName(), QStringLiteral("辞書"));

        // An item without a file-system path is a choice all the same.
        dialogs.expectFolder(FolderBrowseAnswer{QString(), QStringLiteral("ネットワーク")});
        QVERIFY(dialog.ChooseFolder());
        QCOMPARE(dialog.Directory(), QString());
        QCOMPARE(dialog.DisplayName(), QStringLiteral("ネットワーク"));

        dialog.setOptions(TBrowseDialog::biReturnOnlyFSDirs);
        dialog.setRoot(QStringLiteral("/srv"));
        dialogs.expectFolder(std::nullopt);
        QVERIFY(!dialog.ChooseFolder());
        QCOMPARE(dialogs.requests.last().root, QStringLiteral("/srv"));
        QVERIFY(!dialogs.requests.last().showStatusText);
    }

    // The real browser, driven as a user would: the events see each selected
    // folder, and what they leave in ShowText and OKButtonState is applied.
    void browserRunsEvents() {
        QtDialogs dialogs;
        QWidget owner;
        TBrowseDialog dialog(dialogs, &owner);
        const QString data = QDir(m_dir.path()).filePath(QStringLiteral("データ"));
        const QString other = QDir(m_dir.path()).filePath(QStringLiteral("other"));
        dialog.setDirectory(data + QLatin1Char('/'));
        dialog.setCaption(QStringLiteral("フォルダを選択"));
        dialog.setOptions(TBrowseDialog::biReturnOnlyFSDirs | TBrowseDialog::biStatusText);

        QStringList initialized;
        QStringList changed;
        dialog.OnInitilized = [&](TBrowseDialog &sender, int, const QString &path,
                                  QString &showText, int &okButtonState) {
            QCOMPARE(&sender, &dialog);
            QVERIFY(showText.isEmpty());
            QCOMPARE(okButtonState, 0);
            initialized << path;
            showText = QStringLiteral("初期:") + path;
        };
        dialog.OnSelectionChanged = [&](TBrowseDialog &, int, const QString &path,
                                        QString &showText, int &okButtonState) {
            changed << path;
            showText = path;
            // "other" may not be chosen.
            okButtonState = path == other ? 2 : 1;
        };

        whenBrowserOpens([&](FolderBrowserDialog &browser) {
            QCOMPARE(browser.captionLabel()->text(), QStringLiteral("フォルダを選択"));
            QVERIFY(browser.statusLabel()->isVisible());
            QCOMPARE(browser.selectedPath(), data);
            QCOMPARE(initialized, QStringList{data});
            QCOMPARE(browser.statusLabel()->text(), QStringLiteral("初期:") + data);

            QVERIFY(browser.selectFolder(other));
            QCOMPARE(changed.last(), other);
            QCOMPARE(browser.statusLabel()->text(), other);
            QVERIFY(!browser.okButton()->isEnabled());

            QVERIFY(browser.selectFolder(data));
            QCOMPARE(browser.statusLabel()->text(), data);
            QVERIFY(browser.okButton()->isEnabled());
            browser.okButton()->click();
        });
        QVERIFY(dialog.ChooseFolder());
        QCOMPARE(dialog.Directory(), data);
        QCOMPARE(dialog.DisplayName(), QStringLiteral("データ"));
        QCOMPARE(initialized.size(), 1);
    }

    // Without a start folder the root is selected and the event sees no path;
    // without biStatusText the status line stays hidden. Cancel keeps Directory.
    void browserWithRootAndCancel() {
        QtDialogs dialogs;
        QWidget owner;
        TBrowseDialog dialog(dialogs, &owner);
        dialog.setRoot(m_dir.path());
        QStringList initialized;
        dialog.OnInitilized = [&](TBrowseDialog &, int, const QString &path, QString &, int &) {
            initialized << path;
        };
        whenBrowserOpens([&](FolderBrowserDialog &browser) {
            QVERIFY(!browser.statusLabel()->isVisible());
            QCOMPARE(browser.selectedPath(), QDir::toNativeSeparators(m_dir.path()));
            // Only the root is at the top of the tree.
            QTreeView *tree = browser.treeView();
            QCOMPARE(tree->model()->rowCount(tree->rootIndex()), 1);
            tree->expand(tree->currentIndex());
            QTRY_COMPARE(tree->model()->rowCount(tree->currentIndex()), 2);
        });
        QVERIFY(!dialog.ChooseFolder());
        QCOMPARE(initialized, QStringList{QString()});
        QCOMPARE(dialog.Directory(), QString());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestBrowseDialog)
#include "tst_browsedialog.moc"
