// The locale-aware comparison of CP932 texts: the search's quick rejection by
// first character must never turn away a text the full comparison calls equal,
// whatever the locale's contractions.
#include "grid/leadingweight.h"
#include "grid/textcollator.h"
#include "grid/textcompare.h"
#include "platform/sjis.h"

#include <QLocale>
#include <QTest>

using namespace kelvari;

namespace {

// Every CP932 code: single bytes and lead byte + trail byte pairs, valid or not.
std::vector<QByteArray> allCodes() {
    std::vector<QByteArray> codes;
    for (int b = 0; b < 0x100; ++b) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(b)))
            codes.push_back(QByteArray(1, char(b)));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x00; trail <= 0xFF; ++trail)
            codes.push_back(QByteArray(1, char(lead)) + char(trail));
    }
    return codes;
}

// Texts that are equal, or nearly, under some collation: case, width, kana
// forms, expansions, marks, characters the collation ignores, and the Czech
// "ch" and Spanish "ll" contractions.
QStringList trickyTexts() {
    return {QString(),
            QStringLiteral("\x01"),
            QStringLiteral("\x01"
                           "a"),
            QStringLiteral("a"),
            QStringLiteral("A"),
            QStringLiteral("Ａ"),
            QStringLiteral("ａｂ"),
            QStringLiteral("ab"),
            QStringLiteral("c"),
            QStringLiteral("ch"),
            QStringLiteral("CH"),
            QStringLiteral("cH"),
            QStringLiteral("h"),
            QStringLiteral("ll"),
            QStringLiteral("l"),
            QStringLiteral("㍉"),
            QStringLiteral("ミリ"),
            QStringLiteral("みり"),
            QStringLiteral("ﾐﾘ"),
            QStringLiteral("カ"),
            QStringLiteral("ガ"),
            QStringLiteral("ｶﾞ"),
            QStringLiteral("カ゛"),
            QStringLiteral("か"),
            QStringLiteral("ヵ"),
            QStringLiteral("カー"),
            QStringLiteral("カア"),
            QStringLiteral("かあ"),
            QStringLiteral("ゝ"),
            QStringLiteral("かゝ"),
            QStringLiteral("かか"),
            QStringLiteral("ー"),
            QStringLiteral("①"),
            QStringLiteral("1"),
            QStringLiteral("１"),
            QStringLiteral("Ⅰ"),
            QStringLiteral("I"),
            QStringLiteral("読み"),
            QStringLiteral("読ミ"),
            QStringLiteral("～"),
            QStringLiteral("  "),
            QStringLiteral("\x7F"
                           "読")};
}

} // namespace

class TestTextCompare : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void leadingWeightNeverContradictsTheWholeText_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::newRow("Japanese") << QByteArray("ja_JP");
        QTest::newRow("Czech (ch)") << QByteArray("cs_CZ");
        QTest::newRow("traditional Spanish (ch, ll)") << QByteArray("es@collation=traditional");
        QTest::newRow("root") << QByteArray("");
    }
    void leadingWeightNeverContradictsTheWholeText() {
        // Whatever follows the first character, its weight is the whole
        // text's first primary weight, or the table does not claim one.
        QFETCH(QByteArray, locale);
        auto collator = std::make_shared<const TextCollator>(locale);
        QVERIFY(collator->valid());
        const LeadingWeightTable table(collator);
        const QList<QByteArray> followers{QByteArray(), QByteArray("h"),   QByteArray("l"),
                                          sj(u"ー"),    sj(u"゛"),         sj(u"ﾞ"),
                                          sj(u"ゝ"),    QByteArray("\x01")};
        int decided = 0;
        for (const QByteArray &code : allCodes()) {
            for (const QByteArray &follower : followers) {
                const QByteArray text = code + follower;
                const quint16 weight = table.leadingPrimary(text);
                if (weight == 0)
                    continue;
                ++decided;
                if (weight != collator->firstPrimary(sjis::decode(text)))
                    QFAIL(qPrintable(
                        QStringLiteral("%1 in %2")
                            .arg(QString::fromLatin1(text.toHex()), QString::fromLatin1(locale))));
            }
        }
        QVERIFY(decided > 50000); // the table does decide for ordinary text
    }

    void matcherAgreesWithComparison_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("Japanese") << QLocale(QLocale::Japanese, QLocale::Japan);
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::CzechRepublic);
        QTest::newRow("C") << QLocale::c();
    }
    void matcherAgreesWithComparison() {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        std::vector<QByteArray> texts;
        for (const QString &t : trickyTexts())
            texts.push_back(sj(t));
        int equalPairs = 0;
        for (const QByteArray &key : texts) {
            const TextKeyMatcher matcher(key);
            for (const QByteArray &text : texts) {
                const bool equal = compareTextIgnoringCase(key, text) == 0;
                equalPairs += equal && key != text;
                if (matcher.matches(text) != equal)
                    QFAIL(
                        qPrintable(sjis::decode(key) + QStringLiteral(" / ") + sjis::decode(text)));
            }
        }
        QVERIFY(equalPairs > 0); // the corpus does hold texts equal in different bytes
    }

    void emptyTextComesFirst() {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        QVERIFY(compareTextIgnoringCase(QByteArray(), QByteArray("\x01")) < 0);
        QVERIFY(compareTextIgnoringCase(QByteArray("\x01"), QByteArray()) > 0);
        QCOMPARE(compareTextIgnoringCase(QByteArray(), QByteArray()), 0);
        QCOMPARE(compareTextIgnoringCase(sj(u"ＡＢ"), QByteArray("ab")), 0);
    }
};

QTEST_GUILESS_MAIN(TestTextCompare)
#include "tst_textcompare.moc"
