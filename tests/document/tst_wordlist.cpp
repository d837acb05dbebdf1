#include "document/dataline.h"
#include "document/jmfreader.h"
#include "document/jmfwriter.h"
#include "document/snapshot.h"
#include "document/stringutils.h"
#include "document/wordlist.h"
#include "platform/errors.h"
#include "platform/sjis.h"
#include "tests/document/wordlisttestutil.h"
#include "tests/support/testdataroot.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace kelvari;
using namespace kelvari::test;

namespace {

QByteArray crlf(const QStringList &lines) {
    QByteArray out;
    for (const QString &line : lines)
        out += sj(line) + "\r\n";
    return out;
}

QStringList parsedRows(const JmfContent &content) {
    QStringList rows;
    for (qsizetype i = 0; i < content.rowCount(); ++i) {
        const DataLineFields f = content.row(i);
        rows << sjis::decode(f.reading) + u'|' + sjis::decode(f.word) + u'|' +
                    sjis::decode(f.partOfSpeech);
    }
    return rows;
}

// The data lines of a written file (everything after the eight header lines).
QList<QByteArray> dataLines(const QByteArray &file) {
    QList<QByteArray> lines = file.split('\n');
    QList<QByteArray> out;
    for (qsizetype i = 8; i < lines.size(); ++i) {
        if (!lines[i].isEmpty())
            out << lines[i].chopped(1); // the CR
    }
    return out;
}

JmfHeader fixedHeader(const QByteArray &comment = {}) {
    return {QByteArray("x.jmf"), comment, QByteArray("2026/12/09 13:05:07")};
}

#ifdef Q_OS_UNIX
// Caps the size of files this process may write, to make a save fail halfway.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
#endif

} // namespace

class TestWordList : public QObject {
    Q_OBJECT
private slots:
    // --- string utilities -------------------------------------------------
    void normalizeCommas_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ideographic comma") << QStringLiteral("A、B、") << QStringLiteral("A,B,");
        QTest::newRow("ascii comma kept") << QStringLiteral("A,B") << QStringLiteral("A,B");
        QTest::newRow("other double-byte kept")
            << QStringLiteral("表、ソ") << QStringLiteral("表,ソ");
        QTest::newRow("empty") << QString() << QString();
    }
    void normalizeCommas() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(NormalizeCommas(sj(text)), sj(expected));
        QCOMPARE(containsComma(sj(text)), sj(expected).contains(','));
    }

    void commaInsideDoubleByteCharacterIsNotAComma() {
        // "X、" where X's trail byte is 0x81 and the next bytes are 0x41 'A': no 、 there.
        const QByteArray text("\x88\x81\x41", 3);
        QCOMPARE(NormalizeCommas(text), text);
        QVERIFY(!containsComma(text));
        // A lone lead byte at the end is copied as it is.
        QCOMPARE(NormalizeCommas(QByteArray("a\x81", 2)), QByteArray("a\x81", 2));
    }

    void isTrailByteAt_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<bool>("trail");
        const QByteArray mixed = sj(u"aンア表"); // 61 83 93 83 41 95 5C
        QTest::newRow("position 1") << mixed << 1 << false;
        QTest::newRow("lead of ン") << mixed << 2 << false;
        QTest::newRow("trail of ン in lead range") << mixed << 3 << true;
        QTest::newRow("lead of ア after lead-valued trail") << mixed << 4 << false;
        QTest::newRow("trail of ア") << mixed << 5 << true;
        QTest::newRow("trail 0x5C of 表") << mixed << 7 << true;
        QTest::newRow("ascii after ascii") << QByteArray("ab") << 2 << false;
    }
    void isTrailByteAt() {
        QFETCH(QByteArray, text);
        QFETCH(int, pos);
        QFETCH(bool, trail);
        QCOMPARE(IsTrailByteAt(text, pos), trail);
    }

    void isTrailByteAtRejectsPositionsOutside_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("pos");
        QTest::newRow("zero") << QByteArray("abc") << 0;
        QTest::newRow("beyond") << QByteArray("abc") << 4;
        QTest::newRow("empty text") << QByteArray() << 1;
    }
    void isTrailByteAtRejectsPositionsOutside() {
        QFETCH(QByteArray, text);
        QFETCH(int, pos);
        try {
            IsTrailByteAt(text, pos);
            QFAIL("no error raised");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), QStringLiteral("Illegal Index"));
        }
    }

    void lastCharPos() {
        QCOMPARE(LastCharPos(',', "a,b,c"), qsizetype(4));
        QCOMPARE(LastCharPos(',', "abc"), qsizetype(0));
        QCOMPARE(LastCharPos(',', ""), qsizetype(0));
        QCOMPARE(LastCharPos('\\', sj(u"表")), qsizetype(2)); // bytes, not characters
    }

    // --- data lines ------------------------------------------------------
    void parseDataLine_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii commas") << sj(u"よみ,単語,名詞") << QStringLiteral("よみ|単語|名詞");
        QTest::newRow("ideographic commas")
            << sj(u"よみ、単語、名詞") << QStringLiteral("よみ|単語|名詞");
        QTest::newRow("marker *") << sj(u"よみ,単語,名詞*") << QStringLiteral("よみ|単語|名詞");
        QTest::newRow("marker $") << sj(u"よみ,単語,名詞$") << QStringLiteral("よみ|単語|名詞");
        QTest::newRow("no separator") << sj(u"名詞") << QStringLiteral("||名詞");
        QTest::newRow("one separator") << sj(u"よみ,名詞") << QStringLiteral("よみ||名詞");
        QTest::newRow("quoted A,B") << sj(u"よみ,\"A,B\",名詞") << QStringLiteral("よみ|A,B|名詞");
        QTest::newRow("quoted A、B")
            << sj(u"よみ,\"A、B\",名詞") << QStringLiteral("よみ|A、B|名詞");
        QTest::newRow("double-byte quotes")
            << sj(u"よみ,“A,B”,名詞") << QStringLiteral("よみ|A,B|名詞");
        QTest::newRow("single quotes") << sj(u"よみ,'A,B',名詞") << QStringLiteral("よみ|A,B|名詞");
        QTest::newRow("quote without comma")
            << sj(u"よみ,A\"B,名詞") << QStringLiteral("よみ|A\"B|名詞");
        QTest::newRow("empty fields") << QByteArray(",,") << QStringLiteral("||");
        QTest::newRow("trail byte 0x5C")
            << sj(u"ひょう,表,名詞") << QStringLiteral("ひょう|表|名詞");
        QTest::newRow("a lone comma as word") << QByteArray("a,,,b") << QStringLiteral("a||b");
    }
    void parseDataLine() {
        QFETCH(QByteArray, line);
        QFETCH(QString, expected);
        const DataLineFields f = ParseDataLine(line);
        QCOMPARE(sjis::decode(f.reading) + u'|' + sjis::decode(f.word) + u'|' +
                     sjis::decode(f.partOfSpeech),
                 expected);
    }

    void formatDataLine_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << QStringLiteral("単語") << QStringLiteral("よみ,単語,名詞");
        QTest::newRow("ascii comma quoted")
            << QStringLiteral("A,B") << QStringLiteral("よみ,\"A,B\",名詞");
        QTest::newRow("ideographic comma quoted")
            << QStringLiteral("A、B") << QStringLiteral("よみ,\"A、B\",名詞");
        QTest::newRow("double quote not escaped")
            << QStringLiteral("A\"B") << QStringLiteral("よみ,A\"B,名詞");
    }
    void formatDataLine() {
        QFETCH(QString, word);
        QFETCH(QString, written);
        const QByteArray line = kelvari::formatDataLine(sj(u"よみ"), sj(word), sj(u"名詞"));
        QCOMPARE(sjis::decode(line), written);
        // ... and it reads back as it was.
        QCOMPARE(sjis::decode(ParseDataLine(line).word), word);
    }

    // --- reader ----------------------------------------------------------
    void readerLineRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("rows");
        const QStringList one{QStringLiteral("a|b|c")};
        QTest::newRow("marker in small letters")
            << QByteArray("!!dicut10\r\na,b,c\r\n") << true << one;
        QTest::newRow("marker with trailing blank")
            << QByteArray("!!DICUT10 \r\na,b,c\r\n") << false << QStringList();
        QTest::newRow("empty file") << QByteArray() << false << QStringList();
        QTest::newRow("marker only, no line end")
            << QByteArray("!!DICUT10") << true << QStringList();
        QTest::newRow("CR alone ends a line")
            << QByteArray("!!DICUT10\ra,b,c\rd,e,f") << true
            << QStringList{QStringLiteral("a|b|c"), QStringLiteral("d|e|f")};
        QTest::newRow("bare LF does not end a line")
            << QByteArray("!!DICUT10\na,b,c\n") << false << QStringList();
        QTest::newRow("bare LF stays in the line") << QByteArray("!!DICUT10\r\na,b,c\n\r\n") << true
                                                   << QStringList{QStringLiteral("a|b|c\n")};
        QTest::newRow("CR LF LF: the second LF starts a line")
            << QByteArray("!!DICUT10\r\n\nx\r\n") << true << QStringList{QStringLiteral("||\nx")};
        QTest::newRow("Ctrl-Z ends the file") << QByteArray("!!DICUT10\r\na,b,c\r\n\x1a"
                                                            "d,e,f\r\n")
                                              << true << one;
        QTest::newRow("Ctrl-Z inside the marker line") << QByteArray("!!DICUT\x1a"
                                                                     "10\r\n")
                                                       << false << QStringList();
        QTest::newRow("header and empty lines skipped")
            << QByteArray("!!DICUT10\r\n!!anything\r\n\r\na,b,c\r\n!!\r\n") << true << one;
        QTest::newRow("a single ! is data") << QByteArray("!!DICUT10\r\n!a,b,c\r\n") << true
                                            << QStringList{QStringLiteral("!a|b|c")};
    }
    void readerLineRules() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        QFETCH(QStringList, rows);
        const JmfContent content = parseJmf(bytes);
        QCOMPARE(content.accepted(), accepted);
        QCOMPARE(parsedRows(content), rows);
    }

    void readerComment_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hasComment");
        QTest::addColumn<QString>("comment");
        QTest::newRow("none") << crlf({QStringLiteral("!!DICUT10"), QStringLiteral("a,b,c")})
                              << false << QString();
        QTest::newRow("last wins")
            << crlf({QStringLiteral("!!DICUT10"), QStringLiteral("!!コメント：一つ目"),
                     QStringLiteral("a,b,c"), QStringLiteral("!!コメント：二つ目")})
            << true << QStringLiteral("二つ目");
        QTest::newRow("empty comment line empties it")
            << crlf({QStringLiteral("!!DICUT10"), QStringLiteral("!!コメント：前"),
                     QStringLiteral("!!コメント：")})
            << true << QString();
    }
    void readerComment() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hasComment);
        QFETCH(QString, comment);
        const JmfContent content = parseJmf(bytes);
        QVERIFY(content.accepted());
        QCOMPARE(content.comment().has_value(), hasComment);
        if (hasComment)
            QCOMPARE(sjis::decode(*content.comment()), comment);
    }

    // A file is read in pieces of 1 MB: whatever falls on a piece's border (a
    // CR LF, a double-byte character, the comment line, Ctrl-Z) reads as it does
    // from one piece.
    void readerPieceBordersChangeNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.jmf"));
        const qsizetype piece = 1 << 20;
        const QByteArray tail =
            sj(u"よみ,読み,名詞\r\n!!コメント：メモ\r\nか,\"A,B\",名詞$\r\r\nx,y,z\r\n");
        for (const bool ctrlZ : {false, true}) {
            // Ctrl-Z stands just after the border: a few places of the tail do.
            for (qsizetype shift = 0; shift <= tail.size(); shift += ctrlZ ? 9 : 1) {
                QByteArray bytes = "!!DICUT10\r\n";
                // One long header line up to `shift` bytes before the border, then the tail.
                bytes += "!!" + QByteArray(piece - shift - bytes.size() - 4, 'p') + "\r\n";
                QCOMPARE(bytes.size(), piece - shift);
                bytes += tail;
                if (ctrlZ)
                    bytes.insert(std::min(piece + 1, bytes.size() - 3), '\x1a');
                QVERIFY(writeFileBytes(path, bytes));
                const JmfContent whole = parseJmf(bytes);
                const JmfContent pieces = readJmfFile(path);
                const QString where = QStringLiteral("shift %1, Ctrl-Z %2").arg(shift).arg(ctrlZ);
                QVERIFY2(pieces.accepted(), qPrintable(where));
                QVERIFY2(parsedRows(pieces) == parsedRows(whole), qPrintable(where));
                QVERIFY2(pieces.comment() == whole.comment(), qPrintable(where));
                if (!ctrlZ)
                    QCOMPARE(parsedRows(pieces).size(), 3);
            }
        }
        // A first line longer than the marker is refused without reading on.
        QVERIFY(writeFileBytes(path, QByteArray(2 * piece, '!')));
        QVERIFY(!readJmfFile(path).accepted());
    }

    void readerIoErrors() {
        QTemporaryDir dir;
        try {
            readJmfFile(dir.filePath(QStringLiteral("missing.jmf")));
            QFAIL("no error raised");
        } catch (const IoError &e) {
            QCOMPARE(e.message(), QStringLiteral("ﾌｧｲﾙが見つかりません"));
        }
        try {
            readJmfFile(dir.path());
            QFAIL("no error raised");
        } catch (const IoError &e) {
            QCOMPARE(e.message(), QStringLiteral("不正なﾌｧｲﾙ名です"));
        }
    }

    // --- applying a load to the grid --------------------------------------
    void openFillsRowsAndSpareRows() {
        QByteArray bytes = "!!DICUT10\r\n";
        for (int i = 1; i <= 130; ++i)
            bytes += "r" + QByteArray::number(i) + ",w,p\r\n";
        CellStore cells = wordGrid({QStringLiteral("old|old|old")}, 300);
        cells.setCell(1, 250, "stale");
        const LoadResult result = applyWordList(cells, parseJmf(bytes), LoadMode::Open, 5, 100);
        QCOMPARE(result.lastRow, 130);
        QCOMPARE(result.rowCount, 180); // 130 filled rows and 49 blank ones
        QCOMPARE(cells.rowCount(), 180);
        QCOMPARE(result.comment, std::optional<QByteArray>(QByteArray()));
        QCOMPARE(rowText(cells, 1), QStringLiteral("r1|w|p"));
        QCOMPARE(rowText(cells, 130), QStringLiteral("r130|w|p"));
        for (int row = 131; row < 180; ++row)
            QVERIFY(isBlankWordRow(cells, row));
        for (int row = 1; row < 180; ++row)
            QCOMPARE(cells.cell(0, row), QByteArray::number(row));
    }

    void addOpenBelowCursorRow() {
        QStringList existing;
        for (int i = 1; i <= 20; ++i)
            existing << QStringLiteral("old%1|w|p").arg(i);
        CellStore cells = wordGrid(existing, 101);
        QByteArray bytes = "!!DICUT10\r\n";
        for (int i = 1; i <= 5; ++i)
            bytes += "new" + QByteArray::number(i) + ",w,p\r\n";
        const LoadResult result = applyWordList(cells, parseJmf(bytes), LoadMode::Add, 10, 100);
        QCOMPARE(result.lastRow, 15);
        QCOMPARE(result.rowCount, 65);
        QVERIFY(
            !result.comment.has_value()); // the file has no comment line: the box keeps its text
        for (int row = 1; row <= 10; ++row)
            QCOMPARE(rowText(cells, row), QStringLiteral("old%1|w|p").arg(row));
        for (int row = 11; row <= 15; ++row)
            QCOMPARE(rowText(cells, row), QStringLiteral("new%1|w|p").arg(row - 10));
        for (int row = 16; row <= 20; ++row) // below the added rows: kept
            QCOMPARE(rowText(cells, row), QStringLiteral("old%1|w|p").arg(row));
        QCOMPARE(cells.cell(0, 64), QByteArray("64"));

        const LoadResult withComment = applyWordList(
            cells,
            parseJmf(crlf({QStringLiteral("!!DICUT10"), QStringLiteral("!!コメント：追加")})),
            LoadMode::Add, 1, 100);
        QCOMPARE(withComment.comment, std::optional<QByteArray>(sj(u"追加")));
    }

    void addOpenShrinksTheList() {
        // Rows from the new row count on are no longer part of the list.
        CellStore cells = wordGrid({QStringLiteral("a|b|c")}, 101);
        const LoadResult result =
            applyWordList(cells, parseJmf("!!DICUT10\r\nx,y,z\r\n"), LoadMode::Add, 2, 4);
        QCOMPARE(result.rowCount, 5);
        QCOMPARE(cells.rowCount(), 5);
        QCOMPARE(rowText(cells, 1), QStringLiteral("a|b|c"));
        QCOMPARE(rowText(cells, 3), QStringLiteral("x|y|z"));
    }

    void rowCountKeepsLoadedRows_data() {
        QTest::addColumn<int>("maxRow");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("rowCount");
        QTest::newRow("MaxRow 1, three lines") << 1 << 3 << 4;
        QTest::newRow("MaxRow 1, no lines") << 1 << 0 << 2;
        QTest::newRow("MaxRow 0") << 0 << 2 << 3;
        QTest::newRow("MaxRow 2, no lines") << 2 << 0 << 2;
        QTest::newRow("MaxRow 3 rounds down") << 3 << 2 << 3;
        QTest::newRow("default") << 100 << 10 << 60;
    }
    void rowCountKeepsLoadedRows() {
        QFETCH(int, maxRow);
        QFETCH(int, lines);
        QFETCH(int, rowCount);
        QByteArray bytes = "!!DICUT10\r\n";
        for (int i = 1; i <= lines; ++i)
            bytes += "r" + QByteArray::number(i) + ",w,p\r\n";
        CellStore cells = wordGrid({}, 101);
        const LoadResult result = applyWordList(cells, parseJmf(bytes), LoadMode::Open, 1, maxRow);
        QCOMPARE(result.rowCount, rowCount);
        QCOMPARE(cells.rowCount(), rowCount);
        if (lines > 0)
            QCOMPARE(rowText(cells, lines), QStringLiteral("r%1|w|p").arg(lines));
    }

    // --- writer ----------------------------------------------------------
    void headerLines() {
        CellStore cells = wordGrid({QStringLiteral("よみ|単語|名詞")});
        const QDateTime when(QDate(2026, 12, 9), QTime(13, 5, 7));
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        const QByteArray file = buildWordListFile(
            makeJmfHeader(QStringLiteral("/tmp/dir/辞書.jmf"), sj(u"メモ"), when, japanese), cells);
        QCOMPARE(sjis::decode(file),
                 QStringLiteral("!!DICUT10\r\n"
                                "!![Kelvari 2.0b] にて作成\r\n"
                                "!!注：ファイル内容を改変しないで下さい。\r\n"
                                "!!注：改変すると読み込めなくなるおそれがあります。\r\n"
                                "!!ファイル名：辞書.jmf\r\n"
                                "!!出力日時：2026/12/09 13時05分07秒\r\n"
                                "!!コメント：メモ\r\n"
                                "\r\n"
                                "よみ,単語,名詞\r\n"));
    }

    void writtenAt_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("expected");
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        QTest::newRow("japanese") << japanese << QTime(9, 5, 7)
                                  << QStringLiteral("2026/12/09 9時05分07秒");
        QTest::newRow("midnight: date only")
            << japanese << QTime(0, 0) << QStringLiteral("2026/12/09");
        QTest::newRow("one second past midnight")
            << japanese << QTime(0, 0, 1) << QStringLiteral("2026/12/09 0時00分01秒");
        QTest::newRow("C locale") << QLocale::c() << QTime(13, 5, 7)
                                  << QStringLiteral("9 Dec 2026 13:05:07");
        QTest::newRow("US") << QLocale(QLocale::English, QLocale::UnitedStates) << QTime(13, 5, 7)
                            << QStringLiteral("12/9/26 1:05:07 PM");
    }
    void writtenAt() {
        QFETCH(QLocale, locale);
        QFETCH(QTime, time);
        QFETCH(QString, expected);
        QCOMPARE(sjis::decode(formatWrittenAt(QDateTime(QDate(2026, 12, 9), time), locale)),
                 expected);
    }

    void emptyCommentStillWritten() {
        const QByteArray file = buildWordListFile(fixedHeader(), wordGrid({}));
        QVERIFY(file.contains(sj(u"\r\n!!コメント：\r\n\r\n")));
        QVERIFY(file.endsWith(sj(u"!!コメント：\r\n\r\n")));
    }

    void blankRowsSkippedAndClosedUpOnLoad() {
        const CellStore cells =
            wordGrid({QStringLiteral("a|b|名詞"), QString(), QStringLiteral("c||")}, 10);
        const QByteArray file = buildWordListFile(fixedHeader(), cells);
        QCOMPARE(dataLines(file), (QList<QByteArray>{sj(u"a,b,名詞"), QByteArray("c,,")}));
        CellStore loaded = wordGrid({}, 101);
        applyWordList(loaded, parseJmf(file), LoadMode::Open, 1, 100);
        QCOMPARE(rowText(loaded, 1), QStringLiteral("a|b|名詞"));
        QCOMPARE(rowText(loaded, 2), QStringLiteral("c||"));
        QVERIFY(isBlankWordRow(loaded, 3));
    }

    void loadSaveNormalisesLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("saved");
        QTest::newRow("ideographic commas become ASCII")
            << QStringLiteral("よみ、単語、名詞") << QStringLiteral("よみ,単語,名詞");
        QTest::newRow("marker dropped")
            << QStringLiteral("よみ,単語,名詞$") << QStringLiteral("よみ,単語,名詞");
        QTest::newRow("double-byte quotes become ASCII quotes")
            << QStringLiteral("よみ,“A,B”,名詞") << QStringLiteral("よみ,\"A,B\",名詞");
        QTest::newRow("A、B stays quoted")
            << QStringLiteral("よみ,\"A、B\",名詞") << QStringLiteral("よみ,\"A、B\",名詞");
    }
    void loadSaveNormalisesLine() {
        QFETCH(QString, line);
        QFETCH(QString, saved);
        CellStore cells = wordGrid({}, 101);
        applyWordList(cells, parseJmf(crlf({QStringLiteral("!!DICUT10"), line})), LoadMode::Open, 1,
                      100);
        QCOMPARE(dataLines(buildWordListFile(fixedHeader(), cells)), QList<QByteArray>{sj(saved)});
    }

    // None of the 41 names ends in "*" or "$", so such a part of speech reaches a
    // file only past the grammar gate (a comment beginning with "*"). The reader
    // takes one such last byte for the line's marker at every load.
    void markerBytesOfPartOfSpeechGoOneByOneLoad_data() {
        QTest::addColumn<QString>("partOfSpeech");
        QTest::addColumn<QStringList>("afterLoads");
        QTest::newRow("two stars") << QStringLiteral("名詞**")
                                   << QStringList{QStringLiteral("名詞*"), QStringLiteral("名詞")};
        QTest::newRow("mixed markers")
            << QStringLiteral("x*$")
            << QStringList{QStringLiteral("x*"), QStringLiteral("x"), QStringLiteral("x")};
        QTest::newRow("marker only") << QStringLiteral("$") << QStringList{QString(), QString()};
        QTest::newRow("full-width star is no marker")
            << QStringLiteral("名詞＊") << QStringList{QStringLiteral("名詞＊")};
    }
    void markerBytesOfPartOfSpeechGoOneByOneLoad() {
        QFETCH(QString, partOfSpeech);
        QFETCH(QStringList, afterLoads);
        CellStore cells = wordGrid({QStringLiteral("よみ|単語|") + partOfSpeech});
        for (const QString &expected : std::as_const(afterLoads)) {
            const QByteArray file = buildWordListFile(fixedHeader("*"), cells);
            cells = wordGrid({}, 101);
            applyWordList(cells, parseJmf(file), LoadMode::Open, 1, 100);
            QCOMPARE(rowText(cells, 1), QStringLiteral("よみ|単語|") + expected);
        }
    }

    void invalidShiftJisRoundTripsByteForByte() {
        // Bytes that are no Shift-JIS at all, a lead byte before a comma byte, 0xFF, NUL,
        // a lead byte at the end of the line, a word that needs quotes.
        const auto bytesOf = [](const char *text, qsizetype size) {
            return QByteArray(text, size);
        };
        const QList<QByteArray> lines{bytesOf("\x80\xa0\xfd,\xff\xfe,p", 8),
                                      bytesOf("a\x81,,w\x00x,\xfc", 9),
                                      bytesOf("\xef\xbb\xbf,\"q\x81,\",c", 11)};
        QByteArray bytes = "!!DICUT10\r\n";
        for (const QByteArray &line : lines)
            bytes += line + "\r\n";
        CellStore cells = wordGrid({}, 101);
        applyWordList(cells, parseJmf(bytes), LoadMode::Open, 1, 100);
        QCOMPARE(dataLines(buildWordListFile(fixedHeader(), cells)), lines);
    }

    void writeFileAndReadBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.jmf"));
        const CellStore cells = wordGrid({QStringLiteral("よみ|A,B|名詞")});
        writeWordListFile(path, fixedHeader(sj(u"コメント")), cells);
        const QByteArray written = readFileBytes(path);
        QCOMPARE(written, buildWordListFile(fixedHeader(sj(u"コメント")), cells));
        const JmfContent content = readJmfFile(path);
        QCOMPARE(parsedRows(content), QStringList{QStringLiteral("よみ|A,B|名詞")});
        QCOMPARE(content.comment(), std::optional<QByteArray>(sj(u"コメント")));
    }

    void failedSaveKeepsOldFile_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("message");
        QTest::newRow("parent is a regular file")
            << QStringLiteral("old.jmf/new.jmf") << QStringLiteral("ﾌｧｲﾙが見つかりません");
        QTest::newRow("vanished folder")
            << QStringLiteral("gone/new.jmf") << QStringLiteral("ﾌｧｲﾙが見つかりません");
        QTest::newRow("a folder") << QStringLiteral("sub") << QStringLiteral("不正なﾌｧｲﾙ名です");
    }
    void failedSaveKeepsOldFile() {
        QFETCH(QString, relative);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.jmf"));
        QVERIFY(writeFileBytes(old, "!!DICUT10\r\nold,old,old\r\n"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        try {
            writeWordListFile(dir.filePath(relative), fixedHeader(),
                              wordGrid({QStringLiteral("a|b|c")}));
            QFAIL("no error raised");
        } catch (const IoError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(readFileBytes(old), QByteArray("!!DICUT10\r\nold,old,old\r\n"));
    }

#ifdef Q_OS_UNIX
    void saveFailingHalfwayKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.jmf"));
        const QByteArray old = "!!DICUT10\r\nold,old,old\r\n";
        QVERIFY(writeFileBytes(path, old));
        QStringList rows;
        for (int i = 0; i < 2000; ++i)
            rows << QStringLiteral("よみ|単語|名詞");
        const CellStore cells = wordGrid(rows);
        {
            FileSizeLimit limit(4096); // the write runs out of room as on a full disk
            try {
                writeWordListFile(path, fixedHeader(), cells);
                QFAIL("no error raised");
            } catch (const IoError &e) {
                QCOMPARE(e.failure(), IoFailure::DiskFull);
                QCOMPARE(e.message(), QStringLiteral("ﾃﾞｨｽｸがいっぱいです"));
            }
        }
        QCOMPARE(readFileBytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.jmf")});
    }
#endif

    void headerRefusesUnstorableFileName() {
        try {
            fileNameForHeader(QStringLiteral("/tmp/list€.jmf"));
            QFAIL("no error raised");
        } catch (const AppError &e) {
            QVERIFY(e.message().contains(QStringLiteral("€")));
        }
        QCOMPARE(fileNameForHeader(QStringLiteral("C:\\辞書\\a.jmf")), QByteArray("a.jmf"));
    }

    // --- snapshot --------------------------------------------------------
    void snapshot() {
        CellStore cells = wordGrid({QStringLiteral("a|b|c"), QStringLiteral("d|e|f")}, 10);
        const DocumentSnapshot snap = DocumentSnapshot::record(cells, "memo");
        QVERIFY(!snap.isModified(cells, "memo"));
        QVERIFY(snap.isModified(cells, "memo2"));

        cells.setCell(2, 1, "x"); // typed ...
        QVERIFY(snap.isModified(cells, "memo"));
        cells.setCell(2, 1, "b"); // ... and typed back
        QVERIFY(!snap.isModified(cells, "memo"));

        cells.insertRows(2, 3); // blank rows change nothing a save would write
        QVERIFY(!snap.isModified(cells, "memo"));
        cells.deleteRows(2, 3);
        cells.setCell(0, 1, "99"); // row numbers never count
        QVERIFY(!snap.isModified(cells, "memo"));

        cells.moveRow(2, 1); // a swap of two different rows
        QVERIFY(snap.isModified(cells, "memo"));
        cells.moveRow(2, 1);
        QVERIFY(!snap.isModified(cells, "memo"));

        // Text moved across a cell border is a change: the file would differ.
        cells.setCell(1, 1, "ab");
        cells.setCell(2, 1, "");
        QVERIFY(snap.isModified(cells, "memo"));
    }

    // The snapshot shares the rows it recorded with the grid; rows of the grid
    // that are not those rows are compared by their text, blank rows skipped on
    // both sides.
    void snapshotComparesRowsItDoesNotShare_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("modified");
        QTest::newRow("same words, other blank rows")
            << QStringList{QString(), QStringLiteral("a|b|c"), QString(),
                           QString(), QStringLiteral("d|e|f"), QStringLiteral("g|h|i"),
                           QString()}
            << false;
        QTest::newRow("one word changed")
            << QStringList{QStringLiteral("a|b|c"), QStringLiteral("d|x|f"),
                           QStringLiteral("g|h|i")}
            << true;
        QTest::newRow("last row missing")
            << QStringList{QStringLiteral("a|b|c"), QStringLiteral("d|e|f")} << true;
        QTest::newRow("one row more")
            << QStringList{QStringLiteral("a|b|c"), QStringLiteral("d|e|f"),
                           QStringLiteral("g|h|i"), QStringLiteral("||j")}
            << true;
    }
    void snapshotComparesRowsItDoesNotShare() {
        QFETCH(QStringList, rows);
        QFETCH(bool, modified);
        const CellStore recorded = wordGrid(
            {QStringLiteral("a|b|c"), QString(), QStringLiteral("d|e|f"), QStringLiteral("g|h|i")},
            10);
        const DocumentSnapshot snap = DocumentSnapshot::record(recorded, "");
        QCOMPARE(snap.isModified(wordGrid(rows, 12), ""), modified);

        // The same with rows shared: the recorded grid with one row replaced.
        CellStore cells = recorded;
        cells.setCell(2, 3, "x");
        QVERIFY(snap.isModified(cells, ""));
        cells.setCell(2, 3, "e");
        cells.setCell(4, 1, "wide"); // never saved, so never a change
        QVERIFY(!snap.isModified(cells, ""));
    }

    void emptySnapshotMatchesEmptyGrid() {
        const DocumentSnapshot empty;
        QVERIFY(!empty.isModified(wordGrid({}, 101), ""));
        QVERIFY(empty.isModified(wordGrid({QStringLiteral("||名詞")}, 101), ""));
    }
};

QTEST_GUILESS_MAIN(TestWordList)
#include "tst_wordlist.moc"
