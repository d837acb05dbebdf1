// An exported SKK dictionary as the SKK dictionary tools read it: merged into an
// empty dictionary it keeps every word, and its candidate count is the number
// of distinct reading/word pairs. Skipped when the tools are not installed.

#include "interop/exporter.h"
#include "interop/importer.h"
#include "platform/sjis.h"
#include "tests/document/wordlisttestutil.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;

namespace {

QByteArray runTool(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return {};
    }
    return p.readAllStandardOutput();
}

QSet<QString> pairsOf(const ImportResult &r) {
    QSet<QString> pairs;
    for (const PackedRow &row : r.rows) {
        const std::string_view reading = CellStore::cellOf(row.view(), 1);
        const std::string_view word = CellStore::cellOf(row.view(), 2);
        pairs.insert(sjis::decode(QByteArrayView(reading.data(), qsizetype(reading.size()))) +
                     u'|' + sjis::decode(QByteArrayView(word.data(), qsizetype(word.size()))));
    }
    return pairs;
}

} // namespace

class TestSkkTools : public QObject {
    Q_OBJECT

private slots:
    void toolsReadTheExport();
};

void TestSkkTools::toolsReadTheExport() {
    const QString expr = QStandardPaths::findExecutable(QStringLiteral("skkdic-expr2"));
    const QString count = QStandardPaths::findExecutable(QStringLiteral("skkdic-count"));
    if (expr.isEmpty() || count.isEmpty())
        QSKIP("skkdic-expr2 or skkdic-count not installed (Debian package skktools)");

    // Shared readings, repeated pairs (also with another part of speech), and
    // words that need the concat form.
    QStringList rows;
    const QString kana = QString::fromUtf16(u"あいうえおかきくけこさしすせそ");
    const QString kanji = QString::fromUtf16(u"日本語辞書単山川田中村木林森花");
    for (int i = 0; i < 3000; ++i) {
        const QString reading = QString(kana[i % 15]) + kana[(i / 15) % 15];
        const QString word = QString(kanji[i % 13]) + kanji[(i / 7) % 15];
        rows << reading + u'|' + word + QString::fromUtf16(i % 2 ? u"|名詞" : u"|副詞");
    }
    rows << QString::fromUtf16(u"すらっしゅ|a/b|名詞") << QString::fromUtf16(u"せみ|x;y|名詞")
         << QString::fromUtf16(u"かっこ|(笑)|名詞") << QString::fromUtf16(u"ｶﾅ|半角ｶﾅ|名詞");
    for (int i = 0; i < 100; ++i)
        rows << rows[i * 7].section(u'|', 0, 1) + QString::fromUtf16(u"|形容詞");
    const CellStore cells = test::wordGrid(rows);
    const ExportResult exported = exportWordList(InteropFormat::Skk, cells, ExportOptions{});
    QVERIFY(exported.accepted);

    QSet<QString> expected;
    for (const QString &row : rows)
        expected.insert(row.section(u'|', 0, 1));
    QVERIFY(expected.size() < rows.size()); // the list does hold repeats

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString dict = dir.filePath(QStringLiteral("export.skk"));
    const QString empty = dir.filePath(QStringLiteral("empty.skk"));
    QFile f(dict);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(exported.bytes);
    f.close();
    QFile e(empty);
    QVERIFY(e.open(QIODevice::WriteOnly));
    e.close();

    const QByteArray merged = runTool(expr, {empty, QStringLiteral("+"), dict});
    QVERIFY(!merged.isEmpty());
    const ImportResult back = importWordList(InteropFormat::Skk, merged);
    QVERIFY(back.problems.isEmpty());
    QCOMPARE(pairsOf(back), expected);

    const QString counted = QString::fromUtf8(runTool(count, {dict}));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("(\\d+) candidates")).match(counted);
    QVERIFY2(m.hasMatch(), qPrintable(counted));
    QCOMPARE(m.captured(1).toInt(), int(expected.size()));
    QCOMPARE(exported.entries, int(expected.size()));
}

QTEST_GUILESS_MAIN(TestSkkTools)
#include "tst_skktools.moc"
