// Parts of speech between the editor and other input methods, export, import,
// encoding detection and duplicates.

#include "check/partsofspeech.h"
#include "interop/duplicates.h"
#include "interop/exporter.h"
#include "interop/importer.h"
#include "interop/posmapping.h"
#include "interop/textencoding.h"
#include "platform/sjis.h"
#include "tests/document/wordlisttestutil.h"

#include <QSet>
#include <QStringEncoder>
#include <QTest>

using namespace kelvari;
using kelvari::test::rowText;
using kelvari::test::wordGrid;

Q_DECLARE_METATYPE(kelvari::InteropFormat)
Q_DECLARE_METATYPE(kelvari::TextEncoding)

namespace {

// The user-dictionary part-of-speech names of the Linux desktops' input method.
const QStringList &mozcNames() {
    static const QStringList names =
        QString::fromUtf16(
            u"名詞 固有名詞 人名 姓 名 組織 地名 名詞サ変 名詞形動 数 副詞 連体詞 接続詞 感動詞 "
            u"接頭語 助数詞 接尾一般 接尾人名 接尾地名 動詞ワ行五段 動詞カ行五段 動詞サ行五段 "
            u"動詞タ行五段 動詞ナ行五段 動詞マ行五段 動詞ラ行五段 動詞ガ行五段 動詞バ行五段 "
            u"動詞ハ行四段 動詞一段 動詞カ変 動詞サ変 動詞ザ変 形容詞 独立語 顔文字 記号")
            .split(u' ');
    return names;
}

QString dec(const QByteArray &cp932) {
    return sjis::decode(cp932);
}

QString importedText(const ImportResult &r, size_t i) {
    const std::string_view row = r.rows[i].view();
    QString out;
    for (int col = 1; col <= 3; ++col) {
        const std::string_view cell = CellStore::cellOf(row, col);
        if (col > 1)
            out += u'|';
        out += sjis::decode(QByteArrayView(cell.data(), qsizetype(cell.size())));
    }
    return out;
}

// A list that holds every part of speech once, plus words the formats must carry
// through their own quoting.
QStringList fixtureRows() {
    QStringList rows;
    const QStringList names = partOfSpeechDisplayNames();
    for (int i = 0; i < names.size(); ++i)
        rows.append(QStringLiteral("よみ%1|語%1|").arg(i) + names[i]);
    rows << QString::fromUtf16(u"かんま|A,B、C|名詞")
         << QString::fromUtf16(u"すらっしゅ|a/b;c|名詞") << QString::fromUtf16(u"かっこ|(笑)|名詞")
         << QString::fromUtf16(u"よみ0|別語|名詞") << QString() // a blank row in the middle
         << QString::fromUtf16(u"ｶﾅ|半角ｶﾅ|名詞");
    return rows;
}

QByteArray utf16le(const QString &text) {
    QStringEncoder enc(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(enc.encode(text));
}

} // namespace

class TestInterop : public QObject {
    Q_OBJECT

private slots:
    void everyNameMapsToAKnownTarget();
    void mappingBothWays_data();
    void mappingBothWays();
    void roundTrip_data();
    void roundTrip();
    void exportBytes_data();
    void exportBytes();
    void exportRefusesFaultyRowsUnlessForced();
    void faultsFarIntoLongListsAreNamed();
    void encodingDetection_data();
    void encodingDetection();
    void importListsWhatItCannotTake();
    void importPlainText();
    void importAppendsAfterLastFilledRow();
    void duplicates();
    void duplicatesInAMillionRows();
};

void TestInterop::everyNameMapsToAKnownTarget() {
    QCOMPARE(posMappings().size(), kPartOfSpeechCount);
    QCOMPARE(targetPosNames(InteropFormat::Mozc).size(), mozcNames().size());
    for (const QByteArray &name : partOfSpeechNames()) {
        for (InteropFormat f : {InteropFormat::Mozc, InteropFormat::MsIme}) {
            const QByteArray target = posToTarget(f, name);
            QVERIFY2(targetPosNames(f).contains(target), qPrintable(dec(name)));
            if (f == InteropFormat::Mozc)
                QVERIFY2(mozcNames().contains(dec(target)), qPrintable(dec(target)));
            // Import gives one of the 41, which exports to the same target again.
            const QByteArray back = posFromTarget(f, target);
            QVERIFY2(partOfSpeechIndex(back) >= 0, qPrintable(dec(target)));
            QCOMPARE(posToTarget(f, back), target);
        }
    }
    // Every target name can be imported.
    for (InteropFormat f : {InteropFormat::Mozc, InteropFormat::MsIme}) {
        for (const QByteArray &target : targetPosNames(f))
            QVERIFY2(partOfSpeechIndex(posFromTarget(f, target)) >= 0, qPrintable(dec(target)));
    }
    QVERIFY(posToTarget(InteropFormat::Mozc, sj(u"動詞")).isEmpty());
}

void TestInterop::mappingBothWays_data() {
    QTest::addColumn<InteropFormat>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("back");
    const auto row = [](const char *tag, InteropFormat f, const char16_t *n, const char16_t *t,
                        const char16_t *b) {
        QTest::newRow(tag) << f << QString::fromUtf16(n) << QString::fromUtf16(t)
                           << QString::fromUtf16(b);
    };
    using F = InteropFormat;
    row("mozc surname", F::Mozc, u"固有人姓", u"姓", u"固有人姓");
    row("mozc other person", F::Mozc, u"固有人他", u"人名", u"固有人他");
    row("mozc product folds", F::Mozc, u"固有商品", u"固有名詞", u"固有一般");
    row("mozc za-hen noun", F::Mozc, u"名詞ザ変", u"名詞サ変", u"名詞サ変");
    row("mozc tari", F::Mozc, u"形動タリ", u"名詞形動", u"名詞形動");
    row("mozc adjective u", F::Mozc, u"形容詞ウ", u"形容詞", u"形容詞");
    row("mozc godan", F::Mozc, u"ガ行五段", u"動詞ガ行五段", u"ガ行五段");
    row("mozc yodan", F::Mozc, u"ハ行四段", u"動詞ハ行四段", u"ハ行四段");
    row("mozc ichidan", F::Mozc, u"一段動詞", u"動詞一段", u"一段動詞");
    row("mozc number", F::Mozc, u"数詞", u"数", u"数詞");
    row("mozc number prefix", F::Mozc, u"冠数詞", u"接頭語", u"接頭語");
    row("mozc suffix", F::Mozc, u"接尾語", u"接尾一般", u"接尾語");
    row("mozc single kanji", F::Mozc, u"単漢字", u"名詞", u"名詞");
    row("msime sa-hen noun", F::MsIme, u"名詞サ変", u"さ変名詞", u"名詞サ変");
    row("msime place", F::MsIme, u"固有地名", u"地名その他", u"固有地名");
    row("msime yodan", F::MsIme, u"ハ行四段", u"動詞ワ行五段", u"ワ行五段");
    row("msime single kanji", F::MsIme, u"単漢字", u"単漢字", u"単漢字");
}

void TestInterop::mappingBothWays() {
    QFETCH(InteropFormat, format);
    QFETCH(QString, name);
    QFETCH(QString, target);
    QFETCH(QString, back);
    QCOMPARE(dec(posToTarget(format, sj(name))), target);
    QCOMPARE(dec(posFromTarget(format, sj(target))), back);
}

void TestInterop::roundTrip_data() {
    QTest::addColumn<InteropFormat>("format");
    QTest::newRow("mozc") << InteropFormat::Mozc;
    QTest::newRow("msime") << InteropFormat::MsIme;
    QTest::newRow("skk") << InteropFormat::Skk;
}

void TestInterop::roundTrip() {
    QFETCH(InteropFormat, format);
    const QStringList rows = fixtureRows();
    const CellStore cells = wordGrid(rows, 60);
    ExportOptions options;
    options.fileName = QStringLiteral("out.txt");
    options.writtenAt = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    const ExportResult exported = exportWordList(format, cells, options);
    QVERIFY(exported.accepted);
    QVERIFY(exported.grammarErrors.isEmpty());
    QVERIFY(exported.problems.isEmpty());

    const ImportResult imported = importWordList(format, exported.bytes);
    QVERIFY2(imported.problems.isEmpty(),
             qPrintable(formatImportProblem(imported.problems.value(0))));
    QStringList expected;
    QStringList got;
    for (size_t i = 0; i < imported.rows.size(); ++i)
        got.append(importedText(imported, i));
    for (const QString &row : rows) {
        if (row.isEmpty())
            continue;
        const QStringList parts = row.split(u'|');
        const QString pos = format == InteropFormat::Skk
                                ? dec(defaultPartOfSpeech())
                                : dec(posFromTarget(format, posToTarget(format, sj(parts[2]))));
        expected.append(parts[0] + u'|' + parts[1] + u'|' + pos);
    }
    if (format == InteropFormat::Skk) {
        // Readings sorted, parts of speech not carried: compare as sets.
        QCOMPARE(QSet<QString>(got.begin(), got.end()),
                 QSet<QString>(expected.begin(), expected.end()));
        QCOMPARE(got.size(), expected.size());
        QCOMPARE(exported.entries, int(expected.size()));
    } else {
        QCOMPARE(got, expected);
    }
}

void TestInterop::exportBytes_data() {
    QTest::addColumn<InteropFormat>("format");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("expected");
    const QStringList two{QString::fromUtf16(u"ほん|本|名詞"),
                          QString::fromUtf16(u"いく|行く|カ行五段")};
    QTest::newRow("mozc")
        << InteropFormat::Mozc << two
        << QString::fromUtf16(u"ほん\t本\t名詞\t\nいく\t行く\t動詞カ行五段\t\n").toUtf8();
    QTest::newRow("msime") << InteropFormat::MsIme << two
                           << utf16le(QString::fromUtf16(
                                  u"!Microsoft IME Dictionary Tool\r\n!Version:\r\n"
                                  u"!Format:WORDLIST\r\n!User Dictionary Name: \r\n"
                                  u"!Output File Name: out.txt\r\n"
                                  u"!DateTime: 2024/01/02 03:04:05\r\n\r\n"
                                  u"ほん\t本\t名詞\r\nいく\t行く\t動詞カ行五段\r\n"));
    // One line per reading in code-point order, each word once, quoting-sensitive
    // characters in a concat form.
    QTest::newRow("skk") << InteropFormat::Skk
                         << QStringList{QString::fromUtf16(u"ほん|本|名詞"),
                                        QString::fromUtf16(u"あい|愛|名詞"),
                                        QString::fromUtf16(u"ほん|本|副詞"),
                                        QString::fromUtf16(u"ほん|翻|名詞"),
                                        QString::fromUtf16(u"あい|a/b|名詞")}
                         << QString::fromUtf16(u";; -*- coding: utf-8 -*-\n;; okuri-ari entries.\n"
                                               u";; okuri-nasi entries.\n"
                                               u"あい /愛/(concat \"a\\057b\")/\nほん /本/翻/\n")
                                .toUtf8();
    // Readings that share their first characters still sort by the whole reading.
    QTest::newRow("skk long readings")
        << InteropFormat::Skk
        << QStringList{QString::fromUtf16(u"ほんだなや|a|名詞"),
                       QString::fromUtf16(u"ほんだ|b|名詞"),
                       QString::fromUtf16(u"ほんだなあ|c|名詞"),
                       QString::fromUtf16(u"ほんだな|d|名詞"), QString::fromUtf16(u"ほ|e|名詞")}
        << QString::fromUtf16(u";; -*- coding: utf-8 -*-\n;; okuri-ari entries.\n"
                              u";; okuri-nasi entries.\n"
                              u"ほ /e/\nほんだ /b/\nほんだな /d/\nほんだなあ /c/\nほんだなや /a/\n")
               .toUtf8();
}

void TestInterop::exportBytes() {
    QFETCH(InteropFormat, format);
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, expected);
    ExportOptions options;
    options.fileName = QStringLiteral("out.txt");
    options.writtenAt = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    const ExportResult result = exportWordList(format, wordGrid(rows), options);
    QVERIFY(result.accepted);
    QCOMPARE(result.bytes, expected);
}

void TestInterop::exportRefusesFaultyRowsUnlessForced() {
    CellStore cells =
        wordGrid({QString::fromUtf16(u"ほん|本|名詞"), QString::fromUtf16(u"ほん|本|動詞"),
                  QString::fromUtf16(u"たぶ|x|名詞")});
    cells.setCell(2, 3, QByteArray("a\tb")); // a tab the format cannot hold
    ExportOptions options;
    ExportResult refused = exportWordList(InteropFormat::Mozc, cells, options);
    QVERIFY(!refused.accepted);
    QVERIFY(refused.bytes.isEmpty());
    QVERIFY(!refused.grammarErrors.isEmpty());
    QCOMPARE(refused.problems.size(), 2);
    QVERIFY(refused.problems[0].startsWith("2"));
    QVERIFY(refused.problems[1].startsWith("3"));

    options.force = true;
    const ExportResult forced = exportWordList(InteropFormat::Mozc, cells, options);
    QVERIFY(forced.accepted);
    // The unknown part of speech goes out as the most general name; the row with
    // a tab stays out.
    QCOMPARE(forced.bytes, QString::fromUtf16(u"ほん\t本\t名詞\t\nほん\t本\t名詞\t\n").toUtf8());
    QCOMPARE(forced.problems.size(), 2);

    // Bytes that are no Shift-JIS character are never written as something else.
    CellStore broken =
        wordGrid({QString::fromUtf16(u"ほん|本|名詞"), QString::fromUtf16(u"ほん|x|名詞")});
    broken.setCell(2, 2, QByteArray("\x82"));
    const ExportResult b = exportRows(InteropFormat::Skk, broken, ExportOptions{true, {}, {}});
    QCOMPARE(b.problems.size(), 1);
    QVERIFY(b.problems[0].startsWith("2"));
    QVERIFY(!b.bytes.contains("\xEF\xBF\xBD"));
    QCOMPARE(b.entries, 1);
}

void TestInterop::faultsFarIntoLongListsAreNamed() {
    constexpr int kRows = 20000;
    constexpr int kBroken = 15000;
    QStringList rows;
    QString expected;
    for (int i = 1; i <= kRows; ++i) {
        rows.append(QStringLiteral("よみ%1|語%1|名詞").arg(i));
        if (i != kBroken)
            expected += QStringLiteral("よみ%1\t語%1\t名詞\t\n").arg(i);
    }
    CellStore cells = wordGrid(rows);
    cells.setCell(WordColumn::Word, kBroken, QByteArray("\x82"));
    const ExportResult exported =
        exportRows(InteropFormat::Mozc, cells, ExportOptions{true, {}, {}});
    QCOMPARE(exported.problems.size(), 1);
    QVERIFY(exported.problems[0].startsWith(QByteArray::number(kBroken)));
    QCOMPARE(exported.bytes, expected.toUtf8());

    // On import, a line far down with a character Shift-JIS cannot hold and an
    // unknown part of speech is named twice, in the order the reader found it.
    QStringList lines = expected.split(u'\n', Qt::SkipEmptyParts);
    lines[12000 - 1] = QString::fromUtf16(u"よしのや\t𠮷野家\t謎\t");
    const ImportResult imported = importWordList(InteropFormat::Mozc, lines.join(u'\n').toUtf8());
    QCOMPARE(imported.rows.size(), size_t(kRows - 2));
    QCOMPARE(importedText(imported, 12000 - 1), QStringLiteral("よみ12001|語12001|名詞"));
    QCOMPARE(imported.problems.size(), 2);
    QCOMPARE(imported.problems[0].line, 12000);
    QVERIFY(imported.problems[0].reason.contains(QString::fromUtf16(u"品詞")));
    QCOMPARE(imported.problems[1].line, 12000);
    QVERIFY(imported.problems[1].reason.contains(QString::fromUtf16(u"𠮷")));
}

void TestInterop::encodingDetection_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QStringList>("lines");
    const QString text = QString::fromUtf16(u"ほん\t本\t名詞");
    const QStringList one{text};
    QTest::newRow("utf-8") << text.toUtf8() << TextEncoding::Utf8 << one;
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << TextEncoding::Utf8
                               << one;
    QTest::newRow("utf-16le bom") << utf16le(text + QStringLiteral("\r\n")) << TextEncoding::Utf16Le
                                  << one;
    QStringEncoder be(QStringConverter::Utf16BE);
    QTest::newRow("utf-16be bom") << QByteArray("\xFE\xFF") + QByteArray(be.encode(text))
                                  << TextEncoding::Utf16Be << one;
    QTest::newRow("shift-jis") << sj(text) + "\r\n" + sj(u"ソ表") << TextEncoding::ShiftJis
                               << QStringList{text, QString::fromUtf16(u"ソ表")};
    QTest::newRow("ascii is utf-8") << QByteArray("a\tb\nc") << TextEncoding::Utf8
                                    << QStringList{QStringLiteral("a\tb"), QStringLiteral("c")};
}

void TestInterop::encodingDetection() {
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QStringList, lines);
    const DecodedText decoded = decodeLines(bytes);
    QCOMPARE(decoded.detected.encoding, encoding);
    QStringList got;
    for (size_t i = 0; i < decoded.lines.size(); ++i) {
        QVERIFY(decoded.lines[i].readable);
        got.append(decoded.line(i).toString());
    }
    QCOMPARE(got, lines);
}

void TestInterop::importListsWhatItCannotTake() {
    // UTF-8 with a character Shift-JIS cannot hold, a short line and a fine one.
    const QString file = QString::fromUtf16(u"よしのや\t𠮷野家\t組織\t\n"
                                            u"ひとつ\n"
                                            u"ほん\t本\t名詞\t\n"
                                            u"ふめい\t不明\t謎の品詞\t\n");
    const ImportResult r = importWordList(InteropFormat::Mozc, file.toUtf8());
    QCOMPARE(r.rows.size(), size_t(2));
    QCOMPARE(importedText(r, 0), QString::fromUtf16(u"ほん|本|名詞"));
    QCOMPARE(importedText(r, 1), QString::fromUtf16(u"ふめい|不明|謎の品詞"));
    QCOMPARE(r.problems.size(), 3);
    QCOMPARE(r.problems[0].line, 1);
    QVERIFY(r.problems[0].reason.contains(QString::fromUtf16(u"𠮷")));
    QCOMPARE(r.problems[1].line, 2);
    QCOMPARE(r.problems[2].line, 4); // kept, but said

    // Shift-JIS with a byte that is no character: that line only is listed.
    const QByteArray sjisFile = sj(u"ほん,本,名詞") + "\r\n\x82\x20,x,y\r\n" + sj(u"き,木,名詞");
    const ImportResult s = importWordList(InteropFormat::Text, sjisFile);
    QCOMPARE(s.encoding, TextEncoding::ShiftJis);
    QCOMPARE(s.rows.size(), size_t(2));
    QCOMPARE(s.problems.size(), 1);
    QCOMPARE(s.problems[0].line, 2);
}

void TestInterop::importPlainText() {
    const QString file = QString::fromUtf16(u"ほん,本,名詞\n"
                                            u"かんま,\"A,B\"\"C\",名詞\n"
                                            u"たぶ\tタブ\t動詞カ行五段\n"
                                            u"なし,品詞なし\n"
                                            u"とじ,\"閉じない,名詞\n");
    const ImportResult r = importWordList(InteropFormat::Text, file.toUtf8());
    QCOMPARE(r.rows.size(), size_t(4));
    QCOMPARE(importedText(r, 1), QString::fromUtf16(u"かんま|A,B\"C|名詞"));
    QCOMPARE(importedText(r, 2), QString::fromUtf16(u"たぶ|タブ|カ行五段"));
    QCOMPARE(importedText(r, 3), QString::fromUtf16(u"なし|品詞なし|名詞"));
    QCOMPARE(r.problems.size(), 1);
    QCOMPARE(r.problems[0].line, 5);
}

void TestInterop::importAppendsAfterLastFilledRow() {
    CellStore cells = wordGrid(
        {QString::fromUtf16(u"あ|亜|名詞"), QString(), QString::fromUtf16(u"い|伊|名詞")}, 20);
    ImportResult r = importWordList(InteropFormat::Mozc,
                                    QString::fromUtf16(u"う\t宇\t名詞\t\nえ\t絵\t数\t\n").toUtf8());
    const AppendResult at = appendImportedRows(cells, std::move(r.rows), 100);
    QCOMPARE(at.firstRow, 4);
    QCOMPARE(at.lastRow, 5);
    QCOMPARE(rowText(cells, 3), QString::fromUtf16(u"い|伊|名詞"));
    QCOMPARE(rowText(cells, 5), QString::fromUtf16(u"え|絵|数詞"));
    QCOMPARE(cells.rowCount(), 5 + 50);
    QCOMPARE(cells.cell(0, 5), QByteArray("5"));
}

void TestInterop::duplicates() {
    const CellStore cells =
        wordGrid({QString::fromUtf16(u"ほん|本|名詞"), QString::fromUtf16(u"き|木|名詞"),
                  QString::fromUtf16(u"ほん|本|副詞"), QString(),
                  QString::fromUtf16(u"ほん|本|名詞"), QString::fromUtf16(u"き|気|名詞")});
    const DuplicateReport report = findDuplicates(cells);
    QVERIFY(report.any());
    const QList<QByteArray> lines = duplicateLines(cells, report);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(dec(lines[0]), QString::fromUtf16(u"読み・単語\t1,3,5\tほん\t本"));
    QCOMPARE(dec(lines[1]), QString::fromUtf16(u"読み・単語・品詞\t1,5\tほん\t本\t名詞"));
    QVERIFY(!findDuplicates(wordGrid({QString::fromUtf16(u"ほん|本|名詞")})).any());
}

void TestInterop::duplicatesInAMillionRows() {
    constexpr int kRows = 1000000;
    std::vector<PackedRow> rows;
    rows.reserve(kRows + 1);
    rows.emplace_back();
    const QByteArray pos = sj(u"名詞");
    for (int i = 1; i <= kRows; ++i) {
        const QByteArray n = QByteArray::number(i);
        rows.push_back(CellStore::packRow({n, "r" + n, "w" + n, pos}));
    }
    // Two planted pairs far apart.
    rows[999999] = CellStore::packRow({"999999", "r7", "w7", pos});
    rows[1000000] = CellStore::packRow({"1000000", "r500000", "w500000", "x"});
    CellStore cells(4, 1);
    cells.replaceRows(std::move(rows), 4);
    const DuplicateReport report = findDuplicates(cells);
    QCOMPARE(report.sameWord.size(), size_t(2));
    QCOMPARE(report.sameWord[0].rows, (std::vector<int>{7, 999999}));
    QCOMPARE(report.sameWord[1].rows, (std::vector<int>{500000, 1000000}));
    QCOMPARE(report.sameEntry.size(), size_t(1));
    QCOMPARE(report.sameEntry[0].rows, (std::vector<int>{7, 999999}));
}

QTEST_GUILESS_MAIN(TestInterop)
#include "tst_interop.moc"
