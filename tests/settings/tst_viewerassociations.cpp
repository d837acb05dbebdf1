// The Ichitaro viewer associations: the table of the six document kinds, and
// what applying one row does to HKEY_CLASSES_ROOT, step by step.

#include "platform/errors.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/viewerassociations.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;

namespace {

// Records every operation as one line; refuses writes to one key.
class RecordingKeys : public ViewerKeyStore {
public:
    QSet<QByteArray> existing;
    QByteArray refused;
    mutable QList<QByteArray> log;

    bool keyExists(const QByteArray &path) const override {
        log.append("open " + path);
        return existing.contains(path);
    }
    void deleteKey(const QByteArray &path) override { log.append("delete " + path); }
    void writeString(const QByteArray &path, const QByteArray &name,
                     const QByteArray &text) override {
        if (path == refused)
            throw AppError(QStringLiteral("refused"));
        log.append("write " + path + " " + (name.isEmpty() ? "@" : name) + "=" + text);
    }
};

const QByteArray jfwViewer = "\\QuickView\\.JFW\\{1c280980-209e-11cf-9718-0020afd806f4}";
const QByteArray jbwViewer = "\\QuickView\\.JBW\\{1c280980-209e-11cf-9718-0020afd806f4}";
const QByteArray jbwScc = "\\QuickView\\.JBW\\{F0F08735-0C36-101B-B086-0020AF07D0F4}";

} // namespace

class TestViewerAssociations : public QObject {
    Q_OBJECT
private slots:
    void rowsDescribeTheKeys_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QByteArray>("viewerKey");
        QTest::addColumn<QByteArray>("typeName");
        QTest::addColumn<QByteArray>("sccDll");
        const QByteArray id = "\\{1c280980-209e-11cf-9718-0020afd806f4}";
        QTest::newRow("jfw") << 1 << "\\QuickView\\.JFW" + id << QByteArray() << QByteArray();
        QTest::newRow("jvw") << 2 << "\\QuickView\\.JVW" + id << QByteArray() << QByteArray();
        QTest::newRow("jbw") << 3 << "\\QuickView\\.JBW" + id << QByteArray()
                             << QByteArray("vsjbw.dll");
        QTest::newRow("juw") << 4 << "\\QuickView\\.JUW" + id << sj(u"一太郎Ver.6 定型文書")
                             << QByteArray();
        QTest::newRow("jaw") << 5 << "\\QuickView\\.JAW" + id << QByteArray()
                             << QByteArray("vsjaw.dll");
        QTest::newRow("jtw") << 6 << "\\QuickView\\.JTW" + id << sj(u"一太郎Ver.5 定型文書")
                             << QByteArray();
    }
    void rowsDescribeTheKeys() {
        QFETCH(int, tag);
        QFETCH(QByteArray, viewerKey);
        QFETCH(QByteArray, typeName);
        QFETCH(QByteArray, sccDll);
        const ViewerAssociation &row = viewerAssociations().at(tag - 1);
        QCOMPARE(row.tag, tag);
        QCOMPARE(row.viewerKey(), viewerKey);
        // The extension is characters 12 to 15 of the viewer key, its key the first 15.
        QCOMPARE(row.extension, viewerKey.mid(11, 4));
        QCOMPARE(row.extensionKey(), viewerKey.left(15));
        QCOMPARE(row.sccViewerKey(),
                 viewerKey.left(15) + "\\{F0F08735-0C36-101B-B086-0020AF07D0F4}");
        QCOMPARE(row.sccAddOnKey(), row.sccViewerKey() + "\\QuickViewAddOn");
        QCOMPARE(sj(row.typeName), typeName);
        QCOMPARE(row.sccDll, sccDll);
    }

    void applyingARow_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QList<QByteArray>>("steps");
        const QByteArray viewer = "=" + sj(u"Justsystem 一太郎7ﾋﾞｭｰｱ");
        QTest::newRow("jfw ticked")
            << 1 << true
            << QList<QByteArray>{"delete \\QuickView\\.JFW\\{F0F08735-0C36-101B-B086-0020AF07D0F4}",
                                 "write " + jfwViewer + " @" + viewer};
        QTest::newRow("jfw unticked") << 1 << false << QList<QByteArray>{"delete " + jfwViewer};
        QTest::newRow("jbw ticked")
            << 3 << true
            << QList<QByteArray>{"delete " + jbwScc, "write " + jbwViewer + " @" + viewer};
        QTest::newRow("jbw unticked")
            << 3 << false
            << QList<QByteArray>{"delete " + jbwViewer, "write " + jbwScc + " @=SCC Quick Viewer",
                                 "write " + jbwScc + "\\QuickViewAddOn DllName=vsjbw.dll"};
        QTest::newRow("juw ticked")
            << 4 << true
            << QList<QByteArray>{
                   "delete \\QuickView\\.JUW\\{F0F08735-0C36-101B-B086-0020AF07D0F4}",
                   "write \\QuickView\\.JUW\\{1c280980-209e-11cf-9718-0020afd806f4} @" + viewer,
                   "write \\QuickView\\.JUW @=" + sj(u"一太郎Ver.6 定型文書")};
        QTest::newRow("jaw unticked")
            << 5 << false
            << QList<QByteArray>{
                   "delete \\QuickView\\.JAW\\{1c280980-209e-11cf-9718-0020afd806f4}",
                   "write \\QuickView\\.JAW\\{F0F08735-0C36-101B-B086-0020AF07D0F4} @=SCC Quick "
                   "Viewer",
                   "write \\QuickView\\.JAW\\{F0F08735-0C36-101B-B086-0020AF07D0F4}"
                   "\\QuickViewAddOn DllName=vsjaw.dll"};
        QTest::newRow("jtw ticked")
            << 6 << true
            << QList<QByteArray>{
                   "delete \\QuickView\\.JTW\\{F0F08735-0C36-101B-B086-0020AF07D0F4}",
                   "write \\QuickView\\.JTW\\{1c280980-209e-11cf-9718-0020afd806f4} @" + viewer,
                   "write \\QuickView\\.JTW @=" + sj(u"一太郎Ver.5 定型文書")};
        QTest::newRow("jtw unticked")
            << 6 << false
            << QList<QByteArray>{
                   "delete \\QuickView\\.JTW\\{1c280980-209e-11cf-9718-0020afd806f4}"};
    }
    void applyingARow() {
        QFETCH(int, tag);
        QFETCH(bool, ticked);
        QFETCH(QList<QByteArray>, steps);
        RecordingKeys keys;
        applyViewerAssociation(keys, viewerAssociations().at(tag - 1), ticked);
        QCOMPARE(keys.log, steps);
    }

    void aRefusedWriteStopsTheRow() {
        RecordingKeys keys;
        keys.refused = jbwScc;
        QVERIFY_THROWS_EXCEPTION(AppError,
                                 applyViewerAssociation(keys, viewerAssociations().at(2), false));
        QCOMPARE(keys.log, QList<QByteArray>{"delete " + jbwViewer}); // no DllName after it
    }

    void readingOpensEachViewerKey() {
        RecordingKeys keys;
        keys.existing = {jfwViewer, jbwViewer};
        QCOMPARE(readViewerAssociations(keys),
                 (std::array<bool, 6>{true, false, true, false, false, false}));
        QCOMPARE(keys.log.size(), 6);
        QVERIFY(keys.log.at(5).endsWith(".JTW\\{1c280980-209e-11cf-9718-0020afd806f4}"));
    }

    // Over the registry itself: keys found in any ASCII case, deletes of absent
    // keys passed over, refusals raised with the key's name.
    void registryStore() {
        QTemporaryDir dir;
        Registry registry(dir.path());
        RegistryViewerKeys keys(registry);
        registry.createKey(RegRoot::ClassesRoot,
                           "QuickView\\.jbw\\{1C280980-209E-11CF-9718-0020AFD806F4}");
        QCOMPARE(readViewerAssociations(keys),
                 (std::array<bool, 6>{false, false, true, false, false, false}));
        applyViewerAssociation(keys, viewerAssociations().at(2), false);
        QVERIFY(!registry.keyExists(RegRoot::ClassesRoot, jbwViewer));
        QCOMPARE(
            registry.readValue(RegRoot::ClassesRoot, jbwScc + "\\QuickViewAddOn", "DllName")->data,
            QByteArray("vsjbw.dll"));
        keys.deleteKey("\\QuickView\\.NONE");

        const QString folder = dir.filePath(QStringLiteral("blocked"));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        Registry refusing(folder);
        RegistryViewerKeys refusingKeys(refusing);
        QVERIFY(!refusingKeys.keyExists(jbwViewer));
        try {
            applyViewerAssociation(refusingKeys, viewerAssociations().at(0), true);
            QFAIL("no error");
        } catch (const AppError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("QuickView\\.JFW")),
                     qPrintable(error.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestViewerAssociations)
#include "tst_viewerassociations.moc"
