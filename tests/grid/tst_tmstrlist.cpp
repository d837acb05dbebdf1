#include "grid/tmstrlist.h"
#include "platform/sjis.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

using namespace kelvari;

namespace {

// Test lists are written as '|'-separated UTF-8 text for readability.
QList<QByteArray> items(const QString &joined) {
    QList<QByteArray> out;
    if (joined.isNull())
        return out;
    for (const QString &part : joined.split(QLatin1Char('|')))
        out << sj(part);
    return out;
}

QList<QByteArray> contents(const TmStrList &list) {
    QList<QByteArray> out;
    for (int i = 0; i < list.count(); ++i)
        out << list.string(i);
    return out;
}

QString messageOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestTmStrList : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void cutKey_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("len");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("middle") << QByteArray("abcdef") << 3 << 2 << QByteArray("cd");
        QTest::newRow("beyond end") << QByteArray("abcdef") << 7 << 2 << QByteArray();
        QTest::newRow("runs past end") << QByteArray("abcdef") << 5 << 10 << QByteArray("ef");
        QTest::newRow("pos below 1") << QByteArray("abcdef") << -3 << 2 << QByteArray("ab");
        QTest::newRow("whole") << QByteArray("abc") << 1 << 2147483647 << QByteArray("abc");
        QTest::newRow("double-byte counts two") << sj(u"読み方") << 3 << 2 << sj(u"み");
    }
    void cutKey() {
        QFETCH(QByteArray, text);
        QFETCH(int, pos);
        QFETCH(int, len);
        QFETCH(QByteArray, key);
        QCOMPARE(kelvari::cutKey(text, pos, len).toByteArray(), key);
    }

    void readNumber_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << QByteArray("42") << 42.0;
        QTest::newRow("leading blanks, sign") << QByteArray("  -3.5e1") << -35.0;
        QTest::newRow("stops at junk") << QByteArray("2x") << 2.0;
        QTest::newRow("dangling exponent") << QByteArray("1e") << 1.0;
        QTest::newRow("fraction only") << QByteArray(".5") << 0.5;
        QTest::newRow("no number") << QByteArray("abc") << 0.0;
        QTest::newRow("empty") << QByteArray() << 0.0;
        QTest::newRow("sign only") << QByteArray("-") << 0.0;
        QTest::newRow("beyond range") << QByteArray("1e300") << qInf();
    }
    void readNumber() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(kelvari::readNumber(text), value);
    }

    // A 6-byte real holds 40 bits of mantissa: closer numbers are equal.
    void sixByteRealPrecision_data() {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("1e-13 apart") << QByteArray("1") << QByteArray("1.0000000000001") << true;
        QTest::newRow("1e-11 apart") << QByteArray("1") << QByteArray("1.00000000001") << false;
        QTest::newRow("12 digits + .01")
            << QByteArray("123456789012") << QByteArray("123456789012.01") << true;
        QTest::newRow("12 digits + 1")
            << QByteArray("123456789012") << QByteArray("123456789013") << false;
    }
    void sixByteRealPrecision() {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(bool, equal);
        QCOMPARE(kelvari::readNumber(a) == kelvari::readNumber(b), equal);
        TmStrList list;
        list.setKeyType(soNumeric);
        QCOMPARE(list.compareKeys(a, b) == 0, equal);
    }

    void sortOrder_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("string ignores case, empty first")
            << int(soString) << false << QStringLiteral("b|A||a") << QStringLiteral("|A|a|b");
        QTest::newRow("string kana")
            << int(soString) << false << QStringLiteral("さ|か|あ") << QStringLiteral("あ|か|さ");
        QTest::newRow("case-sensitive: capitals first")
            << int(soStringCaseSensitive) << false << QStringLiteral("b|B|a|A")
            << QStringLiteral("A|B|a|b");
        QTest::newRow("case-sensitive: prefix smaller")
            << int(soStringCaseSensitive) << false << QStringLiteral("ab|a|abc")
            << QStringLiteral("a|ab|abc");
        QTest::newRow("case-sensitive: long shared prefix, descending")
            << int(soStringCaseSensitive) << true << QStringLiteral("abcdefgh1|abcdefgh|abcdefgh2")
            << QStringLiteral("abcdefgh2|abcdefgh1|abcdefgh");
        QTest::newRow("numeric: zeros in text order")
            << int(soNumeric) << false << QStringLiteral("10|9|abc||2x")
            << QStringLiteral("|abc|2x|9|10");
        QTest::newRow("numeric: signs and exponents")
            << int(soNumeric) << false << QStringLiteral("1e2|-5|3.5|50")
            << QStringLiteral("-5|3.5|50|1e2");
        QTest::newRow("numeric descending: zeros descending too")
            << int(soNumeric) << true << QStringLiteral("a|5|b|-1") << QStringLiteral("5|b|a|-1");
        QTest::newRow("string descending")
            << int(soString) << true << QStringLiteral("a|c|b") << QStringLiteral("c|b|a");
    }
    void sortOrder() {
        QFETCH(int, type);
        QFETCH(bool, descending);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        TmStrList list;
        list.setKeyType(TMSortType(type));
        list.setDescending(descending);
        for (const QByteArray &s : items(input))
            list.add(s);
        list.sort();
        QCOMPARE(contents(list), items(expected));
    }

    void cLocaleStillIgnoresCase() {
        QLocale::setDefault(QLocale::c());
        TmStrList list;
        for (const QByteArray &s : items(QStringLiteral("b|A|a|B")))
            list.add(s);
        list.sort();
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        QCOMPARE(contents(list), items(QStringLiteral("A|a|b|B")));
    }

    void keyPositionAndFirstSortable() {
        TmStrList list;
        for (const char *s : {"head", "x3", "y1", "z2"})
            list.add(QByteArray(s));
        list.setKeyPos(2);
        list.setKeyLen(1);
        list.setFirstSortable(1);
        list.sort();
        QCOMPARE(contents(list), items(QStringLiteral("head|y1|z2|x3")));
    }

    void tieBreakKeepsEarlierOrder_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("ascending")
            << int(soString) << false << QStringLiteral("B|A|b") << QList<int>{1, 0, 2};
        QTest::newRow("descending")
            << int(soString) << true << QStringLiteral("B|A|b") << QList<int>{0, 2, 1};
        // Every text without a number reads 0: they keep their order.
        QTest::newRow("numeric zeros")
            << int(soNumeric) << false << QStringLiteral("z|5|a|") << QList<int>{0, 2, 3, 1};
    }
    void tieBreakKeepsEarlierOrder() {
        QFETCH(int, type);
        QFETCH(bool, descending);
        QFETCH(QString, input);
        QFETCH(QList<int>, values);
        TmStrList list;
        list.setKeyType(TMSortType(type));
        list.setDescending(descending);
        int i = 0;
        for (const QByteArray &s : items(input))
            list.add(s, i++);
        list.sortWithTieBreak();
        QList<int> got;
        for (int k = 0; k < list.count(); ++k)
            got << list.value(k);
        QCOMPARE(got, values);
    }

    void collationRanksAgreeWithComparison() {
        // The ranks must agree with the direct comparison of every pair, on
        // texts that differ only in case, width or kana, expand (㍉ = ミリ),
        // are empty, or hold only characters the collation ignores.
        QRandomGenerator rng(7);
        const QString alphabet = QStringLiteral("あいかがアカｱaAbBＡ㍉ミリ\x01");
        std::vector<QByteArray> texts{QByteArray(), QByteArray("\x01")};
        for (int i = 0; i < 80; ++i) {
            QString s;
            for (int n = rng.bounded(4); n >= 0; --n)
                s += alphabet[rng.bounded(int(alphabet.size()))];
            texts.push_back(sj(s));
        }
        std::vector<QByteArrayView> views(texts.begin(), texts.end());
        const std::vector<std::uint32_t> ranks = collationRanks(views);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = 0; j < texts.size(); ++j) {
                const int c = compareTextIgnoringCase(texts[i], texts[j]);
                QCOMPARE((ranks[i] > ranks[j]) - (ranks[i] < ranks[j]), c);
            }
        }
    }

    void dateKey_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("key");
        const QByteArray grid("yy/MM/dd H:mm:ss");
        QTest::newRow("end of 1999") << grid << QByteArray("99/12/31 23:59:59")
                                     << QByteArray(" 999951"
                                                   "8639900");
        QTest::newRow("2005, midnight") << grid << QByteArray("05/01/02 0:00:00")
                                        << QByteArray("1002537"
                                                      "      0");
        QTest::newRow("date alone has no time key")
            << grid << QByteArray("99/12/31") << QByteArray(" 999951");
        QTest::newRow("four-digit year stays")
            << grid << QByteArray("2001/1/1") << QByteArray("1000536");
        QTest::newRow("missing day reads 0")
            << grid << QByteArray("99/12") << QByteArray(" 999920");
        QTest::newRow("time only")
            << QByteArray("H:mm") << QByteArray("1:30") << QByteArray(" 540000");
        QTest::newRow("hex year") << QByteArray("yyyy/MM/dd") << QByteArray("$7D0/1/1")
                                  << QByteArray("1000036");
    }
    void dateKey() {
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, key);
        TmStrList list;
        list.setDateTimeFormat(format);
        QCOMPARE(list.dateTimeKey(value), key);
    }

    void dateSortOrder_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("expand");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const QByteArray grid("yy/MM/dd H:mm:ss");
        QTest::newRow("border 10: 10 is 1910, 09 is 2009")
            << grid << true << QStringLiteral("09/01/01|10/01/01")
            << QStringLiteral("10/01/01|09/01/01");
        QTest::newRow("no expansion: 9 before 10")
            << grid << false << QStringLiteral("10/01/01|09/01/01")
            << QStringLiteral("09/01/01|10/01/01");
        QTest::newRow("date without time first")
            << grid << true << QStringLiteral("99/12/31 0:00:00|99/12/31")
            << QStringLiteral("99/12/31|99/12/31 0:00:00");
        QTest::newRow("AM/PM order") << QByteArray("H:MM AMPM") << true
                                     << QStringLiteral("1:00 PM|12:59 PM|1:00 AM|12:30 AM")
                                     << QStringLiteral("12:30 AM|1:00 AM|12:59 PM|1:00 PM");
    }
    void dateSortOrder() {
        QFETCH(QByteArray, format);
        QFETCH(bool, expand);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        TmStrList list;
        list.setKeyType(soDate);
        list.setDateTimeFormat(format);
        list.setShortYearExpand(expand);
        for (const QByteArray &s : items(input))
            list.add(s);
        list.sort();
        QCOMPARE(contents(list), items(expected));
    }

    void dateTimeFormats_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("error");
        QTest::newRow("grid default") << QByteArray("yy/MM/dd H:mm:ss") << QString();
        QTest::newRow("three date parts then H") << QByteArray("yyyy/MM/dd/HH") << QString();
        QTest::newRow("time only with AM/PM") << QByteArray("h:nn:ss.tt AMPM") << QString();
        QTest::newRow("Y in the time part")
            << QByteArray("yy/MM/dd/yy")
            << QStringLiteral("\"Y\" in YY/MM/DD/YY  (Time format part) is invalid");
        QTest::newRow("bad date letter")
            << QByteArray("yy/XX/dd")
            << QStringLiteral("\"X\" in YY/XX/DD  (Date format part) is invalid");
        QTest::newRow("empty format")
            << QByteArray() << QStringLiteral("\" \" in   (Date format part) is invalid");
    }
    void dateTimeFormats() {
        QFETCH(QByteArray, format);
        QFETCH(QString, error);
        TmStrList list;
        QString message;
        bool formatError = false;
        try {
            list.setDateTimeFormat(format);
        } catch (const E_Format_Invalid &e) {
            message = e.message();
            formatError = true;
        }
        QCOMPARE(message, error);
        QCOMPARE(formatError, !error.isEmpty());
        QCOMPARE(list.DateTimeFormat(), format); // kept even when it is bad
    }

    void missingAmPm() {
        TmStrList list;
        list.setDateTimeFormat("H:MM AMPM");
        QCOMPARE(messageOf([&] { list.dateTimeKey("12:30"); }),
                 QStringLiteral("\"12:30\" AM or PM expected. DateTimeFormat=H:MM AMPM"));
        // A failing sort leaves the list as it was.
        list.setKeyType(soDate);
        list.add("1:00 PM");
        list.add("12:30");
        QVERIFY_THROWS_EXCEPTION(E_Format_Invalid, list.sort());
        QCOMPARE(contents(list), items(QStringLiteral("1:00 PM|12:30")));
    }

    void listErrors() {
        const QString index = QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています");
        const QString sorted = QStringLiteral("ｿｰﾄされる文字列ﾘｽﾄに対しては許されない動作です");
        const QString dup = QStringLiteral("文字列ﾘｽﾄは重複を許しません");
        TmStrList list;
        list.add("b");
        QCOMPARE(messageOf([&] { list.string(1); }), index);
        QCOMPARE(messageOf([&] { list.remove(-1); }), index);
        QCOMPARE(messageOf([&] { list.setValue(3, 0); }), index);
        QCOMPARE(messageOf([&] { list.insert(2, "x"); }), index);
        list.setSorted(true);
        QCOMPARE(messageOf([&] { list.insert(0, "x"); }), sorted);
        QCOMPARE(messageOf([&] { list.setString(0, "x"); }), sorted);
        list.setDuplicates(dupError);
        QCOMPARE(messageOf([&] { list.add("B"); }), dup); // equal ignoring case
        QCOMPARE(contents(list), items(QStringLiteral("b")));
    }

    void sortedAdd_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ignore") << int(dupIgnore) << false << QStringLiteral("a|c|d");
        QTest::newRow("accept") << int(dupAccept) << false << QStringLiteral("a|c|c|d");
        QTest::newRow("descending") << int(dupAccept) << true << QStringLiteral("d|c|c|a");
    }
    void sortedAdd() {
        QFETCH(int, rule);
        QFETCH(bool, descending);
        QFETCH(QString, expected);
        TmStrList list;
        list.setDuplicates(DuplicateRule(rule));
        list.setDescending(descending);
        list.setSorted(true);
        for (const char *s : {"c", "a", "d", "c"})
            list.add(QByteArray(s));
        QCOMPARE(contents(list), items(expected));
        QCOMPARE(list.indexOf("d"), descending ? 0 : list.count() - 1);
        QCOMPARE(list.indexOf("zz"), -1);
    }

    void resortOnKeyChange() {
        TmStrList list;
        list.add("b2");
        list.add("a9");
        list.setSorted(true);
        QCOMPARE(contents(list), items(QStringLiteral("a9|b2")));
        list.setKeyPos(2);
        QCOMPARE(contents(list), items(QStringLiteral("b2|a9")));
    }

    void listsShareOneSettingsValue() {
        // A date format set once, through one list, is what the other sorts by.
        SortSettings settings;
        TmStrList a(settings);
        TmStrList b(settings);
        a.setKeyType(soDate);
        a.setDateTimeFormat("dd/MM/yy");
        for (const char *date : {"02/01/24", "01/02/24", "31/12/23"})
            b.add(date);
        b.sort();
        QCOMPARE(contents(b), (QList<QByteArray>{"31/12/23", "02/01/24", "01/02/24"}));
        QCOMPARE(settings.dateTimeFormat(), QByteArray("dd/MM/yy"));
    }

    void capacityGrowth() {
        TmStrList list;
        QList<int> seen;
        for (int i = 0; i < 26; ++i) {
            list.add(QByteArray::number(i));
            if (seen.isEmpty() || seen.last() != list.capacity())
                seen << list.capacity();
        }
        QCOMPARE(seen, (QList<int>{4, 8, 16, 32}));
    }

    void changeEvents() {
        TmStrList list;
        QStringList log;
        list.onChanging = [&] { log << QStringLiteral("changing %1").arg(list.count()); };
        list.onChange = [&] { log << QStringLiteral("change %1").arg(list.count()); };
        list.add("a");
        list.remove(0);
        list.clear(); // already empty: no change
        QCOMPARE(log, (QStringList{QStringLiteral("changing 0"), QStringLiteral("change 1"),
                                   QStringLiteral("changing 1"), QStringLiteral("change 0")}));
    }

    void exchangeAndValues() {
        TmStrList list;
        list.add("x", 7);
        list.add(sj(u"語"), 9);
        list.exchange(0, 1);
        QCOMPARE(list.string(0), sj(u"語"));
        QCOMPARE(list.value(1), 7);
        list.setString(1, "yy");
        QCOMPARE(list.string(1), QByteArray("yy"));
    }
};

QTEST_GUILESS_MAIN(TestTmStrList)
#include "tst_tmstrlist.moc"
