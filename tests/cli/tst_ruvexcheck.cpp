// Runs the built ruvex-check program as a user or a script would.

#include "platform/sjis.h"
#include "tests/support/testdataroot.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace kelvari;
using namespace kelvari::test;

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// `input`, when given, is written to the program's standard input; `stdoutFile`
// replaces its standard output.
Run ruvexCheck(const QStringList &args, const QByteArray *input = nullptr,
               const QString &stdoutFile = {}) {
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(QStringLiteral(RUVEX_CHECK_PATH), args);
    if (input) {
        process.write(*input);
        process.closeWriteChannel();
    }
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray jmf(const QStringList &lines) {
    QByteArray out = "!!DICUT10\r\n";
    for (const QString &line : lines)
        out += sj(line) + "\r\n";
    return out;
}

QString utf8(const QByteArray &bytes) {
    return QString::fromUtf8(bytes);
}

} // namespace

class TestRuvexCheck : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void cleanFile() {
        const QString path =
            file(QStringLiteral("clean.jmf"), jmf({QStringLiteral("よみ,読み,名詞")}));
        const Run run = ruvexCheck({path});
        QCOMPARE(run.status, 0);
        QCOMPARE(utf8(run.out), QStringLiteral("文法エラーはありませんでした。\n"));
        QVERIFY(run.err.isEmpty());
    }

    void reportWithRows() {
        const QString path =
            file(QStringLiteral("errors.jmf"),
                 jmf({QStringLiteral("よみ,読み,名詞"), QStringLiteral(",単語,名詞"),
                      QStringLiteral("漢字,a,動詞")}));
        const Run run = ruvexCheck({QStringLiteral("--rows"), path});
        QCOMPARE(run.status, 1);
        QCOMPARE(utf8(run.out),
                 QStringLiteral("1\tよみ\t読み\t名詞\n"
                                "2\t\t単語\t名詞\n"
                                "3\t漢字\ta\t動詞\n"
                                "<読みエラー>\n"
                                "3行目：読みに漢字・括弧・特殊記号(①,☆など)は使えません。\n"
                                "\n"
                                "<単語エラー>\n"
                                "\n"
                                "<品詞エラー>\n"
                                "3行目：品詞が間違っています。\n"
                                "\n"
                                "<空欄エラー>\n"
                                "2行目：読みがありません。\n"));
    }

    void sjisOutput() {
        const QString path =
            file(QStringLiteral("sjis.jmf"), jmf({QStringLiteral("よみ,表,名詞")}));
        const Run run = ruvexCheck({QStringLiteral("--sjis"), QStringLiteral("--rows"), path});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, sj(u"1\tよみ\t表\t名詞\n文法エラーはありませんでした。\n"));
    }

    void refusedAndUnreadableFiles() {
        const QString refused = file(QStringLiteral("refused.jmf"), "!!DICUT10 \r\n");
        Run run = ruvexCheck({refused});
        QCOMPARE(run.status, 2);
        QVERIFY(utf8(run.err).contains(QStringLiteral("有効な辞書作成ファイルではありません。")));
        QVERIFY(run.out.isEmpty());

        run = ruvexCheck({m_dir.filePath(QStringLiteral("missing.jmf"))});
        QCOMPARE(run.status, 2);
        QVERIFY(utf8(run.err).contains(QStringLiteral("ﾌｧｲﾙが見つかりません")));

        // A refused file among others still lets the others be checked.
        const QString clean =
            file(QStringLiteral("ok.jmf"), jmf({QStringLiteral("よみ,読み,名詞")}));
        run = ruvexCheck({clean, refused});
        QCOMPARE(run.status, 2);
        QVERIFY(utf8(run.out).contains(QStringLiteral("文法エラーはありませんでした。")));
    }

    // A list on disk is read again for every section instead of being held;
    // through a pipe it is held whole as the editor holds it. Both give the same
    // rows and report, also where a line end or a line crosses the end of the
    // reader's first piece (256 KiB).
    void streamedFileReadsAsTheEditorReads_data() {
        QTest::addColumn<int>("crOffset"); // where a CR stands, from the piece's end
        QTest::newRow("CR LF end the piece") << -2;
        QTest::newRow("CR ends the piece, LF begins the next") << -1;
        QTest::newRow("CR begins the next piece") << 0;
    }
    void streamedFileReadsAsTheEditorReads() {
        QFETCH(int, crOffset);
        constexpr qsizetype kPiece = 256 * 1024;
        const QList<QByteArray> block{sj(u"よみ,単語,名詞"),   QByteArray("x"),
                                      sj(u"ー漢!,語,動詞$"),   QByteArray(),
                                      QByteArray("!!skipped"), sj(u"よみ、\"A、B\"、名詞*"),
                                      QByteArray("a\nb,c"),    QByteArray("ab,,"),
                                      sj(u"!!コメント：途中"), sj(u"かな\r")};
        const auto addBlocks = [&block](QByteArray &bytes, qsizetype until) {
            while (bytes.size() < until) {
                for (const QByteArray &line : block)
                    bytes += line + "\r\n";
            }
        };
        QByteArray bytes = "!!dicut10\r\n";
        addBlocks(bytes, kPiece - 200);
        bytes += QByteArray(kPiece + crOffset - bytes.size(), 'f') + "\r\n";
        bytes += QByteArray(kPiece + 1000, 'L') + "\r\n"; // longer than a piece
        addBlocks(bytes, 3 * kPiece);
        bytes += "last,line,without end\x1a" + sj(u"後,ろ,名詞\r\n");
        const QString path = file(QStringLiteral("streamed.jmf"), bytes);

        const Run streamed = ruvexCheck({QStringLiteral("--rows"), path});
        const Run held =
            ruvexCheck({QStringLiteral("--rows"), QStringLiteral("/dev/stdin")}, &bytes);
        QCOMPARE(streamed.status, 1);
        QCOMPARE(held.status, 1);
        QVERIFY(utf8(streamed.out).endsWith(QStringLiteral("行目：単語がありません。\n")));
        QCOMPARE(streamed.out.size(), held.out.size());
        QVERIFY(streamed.out == held.out);
        QVERIFY(streamed.err.isEmpty());
    }

    // Output that nobody received is a failure, whether the writes fail while the
    // report streams out or only the last flush does.
    void failedStandardOutput_data() {
        QTest::addColumn<int>("rows");
        QTest::newRow("short output") << 1;
        QTest::newRow("long output") << 5000;
    }
    void failedStandardOutput() {
        QFETCH(int, rows);
        QStringList lines;
        for (int i = 0; i < rows; ++i)
            lines << QStringLiteral("x");
        const QString path = file(QStringLiteral("full.jmf"), jmf(lines));
        const Run run =
            ruvexCheck({QStringLiteral("--rows"), path}, nullptr, QStringLiteral("/dev/full"));
        QCOMPARE(run.status, 2);
        QCOMPARE(utf8(run.err),
                 QStringLiteral("ruvex-check: standard output: ﾃﾞｨｽｸがいっぱいです\n"));

        const Run clean =
            ruvexCheck({QStringLiteral(KELVARI_SAMPLE_JMF)}, nullptr, QStringLiteral("/dev/full"));
        QCOMPARE(clean.status, 2);
        QVERIFY(!clean.err.isEmpty());
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--bogus"), QStringLiteral("a.jmf")};
        QTest::newRow("rewrite without files")
            << QStringList{QStringLiteral("--rewrite"), QStringLiteral("out.jmf")};
        QTest::newRow("rewrite with two files")
            << QStringList{QStringLiteral("--rewrite"), QStringLiteral("o"), QStringLiteral("a"),
                           QStringLiteral("b")};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        const Run run = ruvexCheck(args);
        QCOMPARE(run.status, 64);
        QVERIFY(run.err.contains("usage: ruvex-check"));
    }

    void rewrite() {
        const QString in =
            file(QStringLiteral("in.txt"),
                 jmf({QStringLiteral("!!コメント：メモ"), QStringLiteral("よみ、\"A、B\"、名詞$"),
                      QString(), QStringLiteral("かず,“1,000”,名詞")}));
        const QString out = m_dir.filePath(QStringLiteral("out.jmf"));
        const Run run = ruvexCheck({QStringLiteral("--rewrite"), out, in});
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = readFileBytes(out).split('\n');
        QCOMPARE(lines.size(),
                 11); // eight header lines, two data lines, nothing after the last CR LF
        QCOMPARE(lines[0], QByteArray("!!DICUT10\r"));
        QCOMPARE(lines[4], sj(u"!!ファイル名：out.jmf\r"));
        QVERIFY(lines[5].startsWith(sj(u"!!出力日時：")));
        QCOMPARE(lines[6], sj(u"!!コメント：メモ\r"));
        QCOMPARE(lines[7], QByteArray("\r"));
        QCOMPARE(lines[8], sj(u"よみ,\"A、B\",名詞\r"));
        QCOMPARE(lines[9], sj(u"かず,\"1,000\",名詞\r"));
    }

    // The commands for other input methods answer through the same program.
    void interopCommands() {
        const QString in = file(
            QStringLiteral("dup.jmf"),
            jmf({QStringLiteral("たなか,田中,固有人姓"), QStringLiteral("たなか,田中,固有人姓")}));
        const Run duplicates = ruvexCheck({QStringLiteral("--duplicates"), in});
        QCOMPARE(duplicates.status, 1);
        QVERIFY2(utf8(duplicates.out).contains(u"1,2"), duplicates.out.constData());

        const QString out = m_dir.filePath(QStringLiteral("dup.txt"));
        const Run exported =
            ruvexCheck({QStringLiteral("--export"), QStringLiteral("mozc"), out, in});
        QCOMPARE(exported.status, 0);
        QCOMPARE(utf8(readFileBytes(out)).split(u'\n').first(),
                 QStringLiteral("たなか\t田中\t姓\t"));
        QVERIFY(utf8(ruvexCheck({QStringLiteral("--help")}).out).contains(u"--export"));
    }

    void rewriteRefusedByTheGate() {
        const QString in = file(QStringLiteral("bad.jmf"), jmf({QStringLiteral("漢字,単語,名詞")}));
        const QString out = m_dir.filePath(QStringLiteral("never.jmf"));
        const Run run = ruvexCheck({QStringLiteral("--rewrite"), out, in});
        QCOMPARE(run.status, 1);
        QCOMPARE(utf8(run.err),
                 QStringLiteral("文法エラーがあるので保存出来ません。\n文法を直して下さい。\n"));
        QVERIFY(!QFile::exists(out));

        // A comment beginning with "*" lets the list through unchecked.
        const QString starred =
            file(QStringLiteral("starred.jmf"),
                 jmf({QStringLiteral("!!コメント：*下書き"), QStringLiteral("漢字,単語,名詞")}));
        QCOMPARE(ruvexCheck({QStringLiteral("--rewrite"), out, starred}).status, 0);
        QVERIFY(readFileBytes(out).endsWith(sj(u"漢字,単語,名詞\r\n")));
    }

    void rewriteToUnwritablePlace() {
        const QString in =
            file(QStringLiteral("fine.jmf"), jmf({QStringLiteral("よみ,読み,名詞")}));
        const Run run =
            ruvexCheck({QStringLiteral("--rewrite"), in + QStringLiteral("/x.jmf"), in});
        QCOMPARE(run.status, 2);
        QVERIFY(utf8(run.err).contains(QStringLiteral("ﾌｧｲﾙが見つかりません")));
        QCOMPARE(readFileBytes(in), jmf({QStringLiteral("よみ,読み,名詞")}));
    }

    void shippedSampleIsCleanAndRewritesUnchanged() {
        const QString sample = QStringLiteral(KELVARI_SAMPLE_JMF);
        const Run check = ruvexCheck({QStringLiteral("--rows"), sample});
        QCOMPARE(check.status, 0);
        QCOMPARE(check.out.count('\n'), 22); // 21 rows and the clean message
        QVERIFY(utf8(check.out).contains(QStringLiteral("\tよろしく、お願いします\t独立語\n")));

        const QString out = m_dir.filePath(QStringLiteral("sample.jmf"));
        QCOMPARE(ruvexCheck({QStringLiteral("--rewrite"), out, sample}).status, 0);
        QList<QByteArray> original = readFileBytes(sample).split('\n');
        QList<QByteArray> rewritten = readFileBytes(out).split('\n');
        QCOMPARE(rewritten.size(), original.size());
        original.removeAt(5); // the date line
        rewritten.removeAt(5);
        QCOMPARE(rewritten, original);
    }

    void rewriteThatRunsOutOfRoomKeepsOut() {
#ifdef Q_OS_UNIX
        const QByteArray old = jmf({QStringLiteral("ふるい,古い,名詞")});
        const QString out = file(QStringLiteral("kept.jmf"), old);
        QProcess process;
        process.setChildProcessModifier([] {
            // Writes past 512 bytes fail with EFBIG, as on a full disk; the
            // rewritten sample is larger than that.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 512;
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        process.start(QStringLiteral(RUVEX_CHECK_PATH),
                      {QStringLiteral("--rewrite"), out, QStringLiteral(KELVARI_SAMPLE_JMF)});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(
            utf8(process.readAllStandardError()).contains(QStringLiteral("ﾃﾞｨｽｸがいっぱいです")));
        QCOMPARE(readFileBytes(out), old);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("kept.jmf*")}, QDir::Files),
                 QStringList{QStringLiteral("kept.jmf")});
#else
        QSKIP("needs a file size limit");
#endif
    }

private:
    QString file(const QString &name, const QByteArray &bytes) {
        const QString path = m_dir.filePath(name);
        writeFileBytes(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestRuvexCheck)
#include "tst_ruvexcheck.moc"
