#include "check/checkchars.h"
#include "check/grammarcheck.h"
#include "check/partsofspeech.h"
#include "check/reportexcerpt.h"
#include "platform/sjis.h"
#include "tests/document/wordlisttestutil.h"

#include <QTest>

using namespace kelvari;
using namespace kelvari::test;

namespace {

QStringList decoded(const QList<QByteArray> &lines) {
    QStringList out;
    for (const QByteArray &line : lines)
        out << sjis::decode(line);
    return out;
}

// The lines of one section of a report, heading excluded.
QStringList section(const GrammarReport &report, const QString &heading) {
    const QStringList lines = decoded(report.lines);
    QStringList out;
    qsizetype i = lines.indexOf(heading);
    for (++i; i < lines.size() && !lines[i].isEmpty(); ++i)
        out << lines[i];
    return out;
}

const QString kReadingHeading = QStringLiteral("<読みエラー>");
const QString kWordHeading = QStringLiteral("<単語エラー>");

// A list with errors in every section, some rows with several.
CellStore severalErrors() {
    return wordGrid(
        {
            QStringLiteral("よみ|単語|名詞"), // 1 clean
            QStringLiteral("||名詞"),         // 2 reading and word missing
            QString(),                        // 3 blank row: nothing
            QStringLiteral("漢字|") + QString(65, QChar(u'語')) + QStringLiteral("|動詞"), // 4
            QStringLiteral("ーa b|w|"),                                                    // 5
            QStringLiteral(" | | "), // 6 blanks are not empty
        },
        12);
}

QStringList severalErrorsReport() {
    return {
        QStringLiteral("<読みエラー>"),
        QStringLiteral("4行目：読みに漢字・括弧・特殊記号(①,☆など)は使えません。"),
        QStringLiteral("5行目：先頭に ー ゛ ゜ を使うことは出来ません。"),
        QStringLiteral("5行目：読みに使えない記号が含まれています。"),
        QStringLiteral("6行目：読みに使えない記号が含まれています。"),
        QString(),
        QStringLiteral("<単語エラー>"),
        QStringLiteral("4行目：単語が64文字を越えています。"),
        QString(),
        QStringLiteral("<品詞エラー>"),
        QStringLiteral("4行目：品詞が間違っています。"),
        QStringLiteral("6行目：品詞が間違っています。"),
        QString(),
        QStringLiteral("<空欄エラー>"),
        QStringLiteral("2行目：読みがありません。"),
        QStringLiteral("2行目：単語がありません。"),
        QStringLiteral("5行目：品詞がありません。"),
    };
}

} // namespace

class TestGrammarCheck : public QObject {
    Q_OBJECT
private slots:
    void normalizeForCheck_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty gives one NUL") << QByteArray() << QByteArray(1, '\0');
        QTest::newRow("small letters capitalised") << QByteArray("ab-z") << QByteArray("AB-Z");
        QTest::newRow("full-width letters and digits") << sj(u"Ａｚ０９") << QByteArray("AZ09");
        QTest::newRow("full-width symbols")
            << sj(u"　、，。．：；？！＾／～｜‘’′“”″（）［］｛｝＋－＝〓＜＞￥＄％＃＆＊＠")
            << QByteArray(" ,,..:;?!^/~|'''\"\"\"()[]{}+-==<>\\$%#&*@");
        QTest::newRow("half-width katakana") << sj(u"｡｢｣､･ｦｧｯｰｱﾝ") << sj(u"。「」、・ヲァッーアン");
        QTest::newRow("voiced pairs") << sj(u"ｶﾞｳﾞﾄﾞﾊﾞﾎﾞ") << sj(u"ガヴドバボ");
        QTest::newRow("semi-voiced pairs") << sj(u"ﾊﾟﾎﾟ") << sj(u"パポ");
        QTest::newRow("mark after a letter without voiced form is dropped")
            << sj(u"ｱﾞﾅﾟｶﾟ") << sj(u"アナカ");
        QTest::newRow("lone marks copied") << sj(u"ﾞaﾟ") << sj(u"ﾞAﾟ");
        QTest::newRow("kana and kanji unchanged") << sj(u"あア漢ー") << sj(u"あア漢ー");
        QTest::newRow("lead byte at the end") << QByteArray("a\x88", 2) << QByteArray("A\x88", 2);
    }
    void normalizeForCheck() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(NormalizeForCheck(text), expected);
    }

    void countChars_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("mixed") << sj(u"aあｱ") << 3;
        QTest::newRow("lead byte last counts one") << QByteArray("ab\x81", 3) << 3;
        QTest::newRow("normalised empty") << NormalizeForCheck({}) << 1;
        QTest::newRow("ｶﾞ normalised") << NormalizeForCheck(sj(u"ｶﾞ")) << 1;
    }
    void countChars() {
        QFETCH(QByteArray, text);
        QFETCH(int, count);
        QCOMPARE(CountChars(text), qsizetype(count));
    }

    void readingRules_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QStringList>("errors");
        const QString start = QStringLiteral("1行目：先頭に ー ゛ ゜ を使うことは出来ません。");
        const QString kanji =
            QStringLiteral("1行目：読みに漢字・括弧・特殊記号(①,☆など)は使えません。");
        const QString symbol = QStringLiteral("1行目：読みに使えない記号が含まれています。");
        const QString tooLong = QStringLiteral("1行目：読みが32文字を越えています。");
        QTest::newRow("ーあ") << QStringLiteral("ーあ") << QStringList{start};
        QTest::newRow("ーー") << QStringLiteral("ーー") << QStringList{start};
        QTest::newRow("ー漢") << QStringLiteral("ー漢") << QStringList{start, kanji};
        QTest::newRow("゛ at start") << QStringLiteral("゛あ") << QStringList{start};
        QTest::newRow("half-width ｰ at start") << QStringLiteral("ｰｱ") << QStringList{start};
        QTest::newRow("あ1") << QStringLiteral("あ1") << QStringList();
        QTest::newRow("ABC") << QStringLiteral("ABC") << QStringList();
        QTest::newRow("a-b") << QStringLiteral("a-b") << QStringList();
        QTest::newRow("ｱｲｳ") << QStringLiteral("ｱｲｳ") << QStringList();
        QTest::newRow("ｶﾞ") << QStringLiteral("ｶﾞ") << QStringList();
        QTest::newRow("Ａ") << QStringLiteral("Ａ") << QStringList();
        QTest::newRow("marks inside") << QStringLiteral("あ・ー゛゜") << QStringList();
        QTest::newRow("all accepted symbols")
            << QStringLiteral("#$%&*+-/:;<=>@\\_^~`'") << QStringList();
        QTest::newRow("blank between kana") << QStringLiteral("あ い") << QStringList{symbol};
        QTest::newRow("ideographic blank") << QStringLiteral("あ　い") << QStringList{symbol};
        QTest::newRow("exclamation") << QStringLiteral("あ！") << QStringList{symbol};
        QTest::newRow("full-width parentheses") << QStringLiteral("（あ）") << QStringList{symbol};
        QTest::newRow("corner brackets") << QStringLiteral("「あ」") << QStringList{kanji};
        QTest::newRow("several kanji, one line")
            << QStringLiteral("漢字漢字") << QStringList{kanji};
        QTest::newRow("kanji and symbol") << QStringLiteral("漢.") << QStringList{kanji, symbol};
        QTest::newRow("lone voiced mark") << QStringLiteral("ﾞ") << QStringList{symbol};
        QTest::newRow("special symbol") << QStringLiteral("①") << QStringList{kanji};
        QTest::newRow("32 characters") << QString(32, QChar(u'あ')) << QStringList();
        QTest::newRow("33 characters") << QString(33, QChar(u'あ')) << QStringList{tooLong};
        QTest::newRow("32 voiced half-width pairs")
            << QStringLiteral("ｶﾞ").repeated(32) << QStringList();
        QTest::newRow("33 voiced half-width pairs")
            << QStringLiteral("ｶﾞ").repeated(33) << QStringList{tooLong};
        QTest::newRow("too long and bad start")
            << QStringLiteral("ー") + QString(32, QChar(u'あ')) << QStringList{tooLong, start};
    }
    void readingRules() {
        QFETCH(QString, reading);
        QFETCH(QStringList, errors);
        const GrammarReport report =
            runGrammarCheck(wordGrid({reading + QStringLiteral("|単語|名詞")}));
        QCOMPARE(section(report, kReadingHeading), errors);
        QCOMPARE(report.errorsFound, !errors.isEmpty());

        // CheckReading alone gives the character rules' lines, not the length's.
        QList<QByteArray> alone;
        CheckReading(NormalizeForCheck(sj(reading)), 1,
                     [&](const ReportLine &line) { alone << line.text.toByteArray(); });
        QStringList characterErrors = errors;
        characterErrors.removeAll(QStringLiteral("1行目：読みが32文字を越えています。"));
        QCOMPARE(decoded(alone), characterErrors);
    }

    void wordLength_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("tooLong");
        QTest::newRow("64") << QString(64, QChar(u'語')) << false;
        QTest::newRow("65") << QString(65, QChar(u'語')) << true;
        QTest::newRow("65 half-width letters in 65 bytes") << QString(65, QChar(u'a')) << true;
        QTest::newRow("64 voiced pairs in 128 bytes") << QStringLiteral("ｶﾞ").repeated(64) << false;
    }
    void wordLength() {
        QFETCH(QString, word);
        QFETCH(bool, tooLong);
        const GrammarReport report =
            runGrammarCheck(wordGrid({QStringLiteral("よみ|") + word + QStringLiteral("|名詞")}));
        QCOMPARE(section(report, kWordHeading),
                 tooLong ? QStringList{QStringLiteral("1行目：単語が64文字を越えています。")}
                         : QStringList());
    }

    void partOfSpeech_data() {
        QTest::addColumn<QString>("pos");
        QTest::addColumn<bool>("wrong");
        for (const QString &name : partOfSpeechDisplayNames())
            QTest::newRow(qPrintable(name)) << name << false;
        QTest::newRow("trailing blank") << QStringLiteral("名詞 ") << true;
        QTest::newRow("unknown") << QStringLiteral("動詞") << true;
        QTest::newRow("not normalised") << QStringLiteral("ﾒｲｼ") << true;
    }
    void partOfSpeech() {
        QFETCH(QString, pos);
        QFETCH(bool, wrong);
        const GrammarReport report =
            runGrammarCheck(wordGrid({QStringLiteral("よみ|単語|") + pos}));
        QCOMPARE(section(report, QStringLiteral("<品詞エラー>")),
                 wrong ? QStringList{QStringLiteral("1行目：品詞が間違っています。")}
                       : QStringList());
    }

    void partOfSpeechList() {
        const QList<QByteArray> &names = partOfSpeechNames();
        QCOMPARE(names.size(), kPartOfSpeechCount);
        QCOMPARE(names.front(), sj(u"名詞"));
        QCOMPARE(names[22], sj(u"カ行五段"));
        QCOMPARE(names.back(), sj(u"単漢字"));
        QCOMPARE(partOfSpeechDisplayNames().at(31), QStringLiteral("ハ行四段"));
        QCOMPARE(partOfSpeechIndex(sj(u"形動タリ")), 39);
        QCOMPARE(partOfSpeechIndex(sj(u"名詞 ")), -1);
    }

    void emptyTableIsClean() {
        const GrammarReport report = runGrammarCheck(wordGrid({}, 101));
        QVERIFY(!report.errorsFound);
        QCOMPARE(decoded(report.lines), (QStringList{kReadingHeading, QString(), kWordHeading,
                                                     QString(), QStringLiteral("<品詞エラー>"),
                                                     QString(), QStringLiteral("<空欄エラー>")}));
        QCOMPARE(
            sjis::decode(report.text()),
            QStringLiteral(
                "<読みエラー>\r\n\r\n<単語エラー>\r\n\r\n<品詞エラー>\r\n\r\n<空欄エラー>\r\n"));
    }

    void reportOfSeveralErrors() {
        const GrammarReport report = runGrammarCheck(severalErrors());
        QVERIFY(report.errorsFound);
        QCOMPARE(decoded(report.lines), severalErrorsReport());
    }

    // The report handed over line by line has the list's text and order, with
    // exactly the lines between the headings marked as errors; the same from a
    // list that is not a grid.
    void streamedReport() {
        const CellStore cells = severalErrors();
        QList<ReportLine> streamed;
        QList<QByteArray> texts;
        const auto sink = [&](const ReportLine &line) {
            texts << line.text.toByteArray();
            streamed << ReportLine{QByteArrayView(), line.isError};
        };
        QVERIFY(runGrammarCheck(cells, sink));
        QCOMPARE(decoded(texts), severalErrorsReport());
        QList<QByteArray> structure;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (!streamed[i].isError)
                structure << texts[i];
        }
        QCOMPARE(decoded(structure), (QStringList{kReadingHeading, QString(), kWordHeading,
                                                  QString(), QStringLiteral("<品詞エラー>"),
                                                  QString(), QStringLiteral("<空欄エラー>")}));

        QList<QByteArray> fromRows;
        const RowSource rows = [&cells](const RowVisitor &visit) {
            for (int row = 1; row < cells.rowCount(); ++row)
                visit({row, cells.cell(1, row), cells.cell(2, row), cells.cell(3, row)});
        };
        QVERIFY(runGrammarCheck(
            rows, [&](const ReportLine &line) { fromRows << line.text.toByteArray(); }));
        QCOMPARE(fromRows, texts);

        int cleanLines = 0;
        QVERIFY(!runGrammarCheck(wordGrid({QStringLiteral("よみ|単語|名詞")}),
                                 [&](const ReportLine &line) { cleanLines += !line.isError; }));
        QCOMPARE(cleanLines, 7);
    }

    // The report window's share of a long report: the first errors, then a line
    // with the count of the others; no headings after an error left out.
    void reportExcerpt_data() {
        QTest::addColumn<int>("maxErrors");
        QTest::addColumn<int>("keptLines"); // of the full report
        QTest::addColumn<QString>("moreLine");
        QTest::newRow("all fit") << 10 << 17 << QString();
        QTest::newRow("one left out") << 9 << 16 << QStringLiteral("ほかに1件のエラーがあります。");
        QTest::newRow("cut at a section's end")
            << 4 << 7 << QStringLiteral("ほかに6件のエラーがあります。");
        QTest::newRow("no errors shown")
            << 0 << 1 << QStringLiteral("ほかに10件のエラーがあります。");
    }
    void reportExcerpt() {
        QFETCH(int, maxErrors);
        QFETCH(int, keptLines);
        QFETCH(QString, moreLine);
        ReportExcerpt excerpt(maxErrors);
        QVERIFY(runGrammarCheck(severalErrors(), excerpt.sink()));
        QStringList expected = severalErrorsReport().first(keptLines);
        if (!moreLine.isEmpty())
            expected << moreLine;
        QCOMPARE(decoded(excerpt.lines()), expected);
        QCOMPARE(excerpt.omittedErrorLines(), moreLine.isEmpty() ? 0 : 10 - maxErrors);
    }

    void gate() {
        QVERIFY(grammarGateBypassed("*"));
        QVERIFY(grammarGateBypassed("*memo"));
        QVERIFY(!grammarGateBypassed(" *"));
        QVERIFY(!grammarGateBypassed(""));
        QVERIFY(!grammarGateBypassed(sj(u"＊")));
        QCOMPARE(decoded(gateRefusalLines(gateActionText(GateAction::Save))),
                 (QStringList{QStringLiteral("文法エラーがあるので保存出来ません。"),
                              QStringLiteral("文法を直して下さい。")}));
        QCOMPARE(sjis::decode(gateRefusalMessage(gateActionText(GateAction::Convert))),
                 QStringLiteral("文法エラーがあるので変換出来ません。\r\n文法を直して下さい。"));
        QCOMPARE(sjis::decode(noGrammarErrorsMessage()),
                 QStringLiteral("文法エラーはありませんでした。"));
    }
};

QTEST_GUILESS_MAIN(TestGrammarCheck)
#include "tst_grammarcheck.moc"
