// The open document's model: the file history's rules, the names of new
// documents, the comment's bytes and the modified test. No widgets.

#include "document/documentmodel.h"
#include "platform/errors.h"
#include "platform/sjis.h"
#include "tests/document/wordlisttestutil.h"

#include <QSignalSpy>
#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

QStringList numberedPaths(int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(QStringLiteral("/d/f%1.jmf").arg(i));
    return paths;
}

} // namespace

class TestDocumentModel : public QObject {
    Q_OBJECT
private slots:
    void historyMatchIgnoresAsciiCase_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("checked");
        const QString a = QStringLiteral("c:\\dir\\a.jmf");
        const QString b = QStringLiteral("c:\\[b].jmf");
        QTest::newRow("other case") << QStringLiteral("C:\\DIR\\A.JMF") << QStringList{a, b} << 0;
        QTest::newRow("same") << b << QStringList{a, b} << 1;
        // Only a to z fold: full-width letters and the brackets are other characters.
        QTest::newRow("full-width letter")
            << QStringLiteral("c:\\ｄir\\a.jmf")
            << QStringList{QStringLiteral("c:\\ｄir\\a.jmf"), a, b} << 0;
        QTest::newRow("brackets are no letters")
            << QStringLiteral("c:\\{b}.jmf") << QStringList{QStringLiteral("c:\\{b}.jmf"), a, b}
            << 0;
    }
    void historyMatchIgnoresAsciiCase() {
        QFETCH(QString, path);
        QFETCH(QStringList, entries);
        QFETCH(int, checked);
        RecentFiles history;
        history.append({QStringLiteral("c:\\dir\\a.jmf"), QStringLiteral("c:\\[b].jmf")});
        QCOMPARE(history.checkedIndex(), -1);
        history.add(path);
        QCOMPARE(history.paths(), entries);
        QCOMPARE(history.checkedIndex(), checked);
    }

    void historyKeepsTenNewestFirst() {
        RecentFiles history;
        const QStringList paths = numberedPaths(11);
        for (const QString &path : paths)
            QVERIFY(history.add(path));
        QStringList expected;
        for (int i = 10; i >= 1; --i)
            expected.append(paths.at(i));
        QCOMPARE(history.paths(), expected);
        QCOMPARE(history.checkedIndex(), 0);

        // Settings may bring more than ten; nothing is compared or limited then,
        // and the next new entry leaves ten.
        RecentFiles read;
        read.append(numberedPaths(12));
        read.append({QStringLiteral("/d/f0.jmf")});
        QCOMPARE(read.count(), 13);
        QCOMPARE(read.checkedIndex(), -1);
        read.add(QStringLiteral("/d/new.jmf"));
        QCOMPARE(read.count(), 10);
        QCOMPARE(read.paths().first(), QStringLiteral("/d/new.jmf"));
        QCOMPARE(read.paths().last(), QStringLiteral("/d/f8.jmf"));
    }

    void checkMarkFollowsItsEntry() {
        RecentFiles history;
        history.append(numberedPaths(4));
        history.check(2);
        history.remove(0); // above the mark
        QCOMPARE(history.checkedIndex(), 1);
        QCOMPARE(history.path(1), QStringLiteral("/d/f2.jmf"));
        history.remove(2); // below it
        QCOMPARE(history.checkedIndex(), 1);
        history.append({QStringLiteral("/d/x.jmf")}); // appended entries leave it
        QCOMPARE(history.checkedIndex(), 1);
        history.remove(1); // the marked entry itself
        QCOMPARE(history.checkedIndex(), -1);
        history.check(7); // no such entry
        QCOMPARE(history.checkedIndex(), -1);
        history.check(0);
        history.uncheck();
        QCOMPARE(history.checkedIndex(), -1);
    }

    void addingEndsTheOpeningFromHistoryOnlyForANewEntry() {
        DocumentModel model;
        QSignalSpy changes(&model, &DocumentModel::historyChanged);
        model.FillHistoryMenu({QStringLiteral("/d/a.jmf")});
        model.setOpenedFromHistory(true);
        model.AddToHistory(QStringLiteral("/D/A.JMF"));
        QVERIFY(model.OpenedFromHistory());
        model.AddToHistory(QStringLiteral("/d/b.jmf"));
        QVERIFY(!model.OpenedFromHistory());
        QCOMPARE(model.history().paths(),
                 (QStringList{QStringLiteral("/d/b.jmf"), QStringLiteral("/d/a.jmf")}));
        model.UncheckHistory();
        model.checkHistoryEntry(1);
        model.removeHistoryEntry(0);
        QCOMPARE(changes.size(), 6);
        QCOMPARE(model.history().checkedIndex(), 0);
    }

    void newDocumentsAreNumbered() {
        DocumentModel model;
        QSignalSpy titles(&model, &DocumentModel::titleChanged);
        model.NameNewDocument();
        model.NameNewDocument();
        QCOMPARE(model.NewFileCounter(), 2);
        QCOMPARE(model.CurrentFileName(), QStringLiteral("新規辞書2.jmf"));
        QCOMPARE(titles.size(), 2);
        QCOMPARE(titles.last().at(0).toString(), QStringLiteral("新規辞書2.jmf"));
        QVERIFY(DocumentModel::isNeverSaved(model.CurrentFileName()));
        QVERIFY(!DocumentModel::isNeverSaved(QStringLiteral("/d/新規辞書2.jmf")));
        // Setting the same caption path again still asks the window to redraw it.
        model.setTitlePath(model.titlePath());
        QCOMPARE(titles.size(), 3);
    }

    void commentKeepsItsBytes() {
        DocumentModel model;
        // Bytes that do not decode cleanly go back unchanged while the text stays.
        const QByteArray odd("\x81\x20memo", 6);
        const QString shown = model.setLoadedComment(odd);
        QCOMPARE(model.commentBytes(shown), odd);
        QCOMPARE(model.commentBytes(QStringLiteral("メモ")), sj(u"メモ"));
        QVERIFY_THROWS_EXCEPTION(AppError, model.commentBytes(QStringLiteral("€")));
    }

    void modifiedTest() {
        DocumentModel model;
        CellStore cells = wordGrid({QStringLiteral("a|b|c")}, 10);
        QVERIFY(model.IsDocumentModified(cells, QString()));
        model.RecordSnapshot(cells, QStringLiteral("memo"));
        QVERIFY(!model.IsDocumentModified(cells, QStringLiteral("memo")));
        QVERIFY(model.IsDocumentModified(cells, QStringLiteral("memo2")));
        // A comment that cannot be saved is always a change still to deal with.
        model.RecordSnapshot(cells, QStringLiteral("€"));
        QVERIFY(model.IsDocumentModified(cells, QStringLiteral("€")));
        model.ClearSnapshot();
        QVERIFY(!model.IsDocumentModified(wordGrid({}, 101), QString()));
    }
};

QTEST_GUILESS_MAIN(TestDocumentModel)
#include "tst_documentmodel.moc"
