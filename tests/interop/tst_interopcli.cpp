// The export, import and duplicates commands as the checker runs them.

#include "interop/interopcli.h"
#include "platform/sjis.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;

namespace {

QByteArray jmf(const QStringList &lines) {
    QByteArray out = "!!DICUT10\r\n";
    for (const QString &line : lines)
        out += sj(line) + "\r\n";
    return out;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};

template <typename Fn> Run run(Fn fn, const QStringList &args) {
    Run r{0, {}, {}};
    // --sjis: the lines are compared as the program's own bytes.
    r.status = fn(
        QStringList{QStringLiteral("--sjis")} + args, [&r](QByteArrayView b) { r.out += b; },
        [&r](QByteArrayView b) { r.err += b; });
    return r;
}

} // namespace

class TestInteropCli : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void exportWritesOrRefuses();
    void exportJoinsSeveralLists();
    void importWritesAWordList();
    void duplicatesExitStatus();
    void usageErrors();

private:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

void TestInteropCli::exportWritesOrRefuses() {
    writeFile(path("good.jmf"), jmf({QString::fromUtf16(u"ほん,本,名詞")}));
    Run r = run(runExport, {QStringLiteral("mozc"), path("out.txt"), path("good.jmf")});
    QCOMPARE(r.status, InteropExit::Done);
    QCOMPARE(readFile(path("out.txt")), QString::fromUtf16(u"ほん\t本\t名詞\t\n").toUtf8());

    // Grammar errors: nothing written without --force, the old file stays.
    writeFile(path("bad.jmf"), jmf({QString::fromUtf16(u"ほん,本,謎")}));
    r = run(runExport, {QStringLiteral("mozc"), path("out.txt"), path("bad.jmf")});
    QCOMPARE(r.status, InteropExit::Findings);
    QVERIFY(r.out.contains(sj(u"<品詞エラー>")));
    QCOMPARE(readFile(path("out.txt")), QString::fromUtf16(u"ほん\t本\t名詞\t\n").toUtf8());

    r = run(runExport,
            {QStringLiteral("--force"), QStringLiteral("skk"), path("out.skk"), path("bad.jmf")});
    QCOMPARE(r.status, InteropExit::Done);
    QVERIFY(readFile(path("out.skk")).endsWith(QString::fromUtf16(u"ほん /本/\n").toUtf8()));

    r = run(runExport, {QStringLiteral("mozc"), path("out.txt"), path("missing.jmf")});
    QCOMPARE(r.status, InteropExit::FileFailed);
}

void TestInteropCli::exportJoinsSeveralLists() {
    writeFile(path("a.jmf"), jmf({QString::fromUtf16(u"ほん,本,名詞")}));
    writeFile(path("b.jmf"),
              jmf({QString::fromUtf16(u"ほん,翻,名詞"), QString::fromUtf16(u"あ,亜,名詞")}));
    const Run r =
        run(runExport, {QStringLiteral("skk"), path("o.skk"), path("a.jmf"), path("b.jmf")});
    QCOMPARE(r.status, InteropExit::Done);
    QVERIFY(
        readFile(path("o.skk")).endsWith(QString::fromUtf16(u"あ /亜/\nほん /本/翻/\n").toUtf8()));
}

void TestInteropCli::importWritesAWordList() {
    writeFile(
        path("in.txt"),
        QString::fromUtf16(u"ほん\t本\t名詞\t\nよし\t𠮷\t名詞\t\nあい\t愛\t名詞形動\t\n").toUtf8());
    const Run r = run(runImport, {QStringLiteral("mozc"), path("out.jmf"), path("in.txt")});
    QCOMPARE(r.status, InteropExit::Findings); // one line left out, and said so
    QVERIFY(r.err.contains("2"));
    const QByteArray written = readFile(path("out.jmf"));
    QVERIFY(written.startsWith("!!DICUT10\r\n"));
    QVERIFY(written.endsWith("\r\n\r\n" + sj(u"ほん,本,名詞") + "\r\n" + sj(u"あい,愛,名詞形動") +
                             "\r\n"));
}

void TestInteropCli::duplicatesExitStatus() {
    writeFile(path("d.jmf"),
              jmf({QString::fromUtf16(u"ほん,本,名詞"), QString::fromUtf16(u"き,木,名詞"),
                   QString::fromUtf16(u"ほん,本,名詞")}));
    writeFile(path("u.jmf"), jmf({QString::fromUtf16(u"ほん,本,名詞")}));
    Run r = run(runDuplicates, {path("d.jmf")});
    QCOMPARE(r.status, InteropExit::Findings);
    QCOMPARE(r.out, sj(u"読み・単語\t1,3\tほん\t本\n読み・単語・品詞\t1,3\tほん\t本\t名詞\n"));
    r = run(runDuplicates, {path("u.jmf")});
    QCOMPARE(r.status, InteropExit::Done);
    QVERIFY(r.out.isEmpty());
}

void TestInteropCli::usageErrors() {
    QCOMPARE(run(runExport, {QStringLiteral("ime"), path("o"), path("a.jmf")}).status,
             InteropExit::Usage);
    QCOMPARE(run(runExport, {QStringLiteral("mozc"), path("o")}).status, InteropExit::Usage);
    QCOMPARE(
        run(runImport, {QStringLiteral("--force"), QStringLiteral("mozc"), path("o"), path("i")})
            .status,
        InteropExit::Usage);
    QCOMPARE(run(runDuplicates, {}).status, InteropExit::Usage);
}

QTEST_GUILESS_MAIN(TestInteropCli)
#include "tst_interopcli.moc"
