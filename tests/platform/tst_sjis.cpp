#include "platform/sjis.h"

#include <QTest>

using namespace kelvari;

class TestSjis : public QObject {
    Q_OBJECT
private slots:
    void leadBytes_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<bool>("lead");
        QTest::newRow("ascii") << 0x41 << false;
        QTest::newRow("0x80") << 0x80 << false;
        QTest::newRow("0x81 first") << 0x81 << true;
        QTest::newRow("0x9F last of first range") << 0x9F << true;
        QTest::newRow("0xA0") << 0xA0 << false;
        QTest::newRow("half-width katakana") << 0xB6 << false;
        QTest::newRow("0xDF") << 0xDF << false;
        QTest::newRow("0xE0 first of second range") << 0xE0 << true;
        QTest::newRow("0xFC last") << 0xFC << true;
        QTest::newRow("0xFD") << 0xFD << false;
    }
    void leadBytes() {
        QFETCH(int, byte);
        QFETCH(bool, lead);
        QCOMPARE(sjis::isLeadByte(static_cast<unsigned char>(byte)), lead);
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("trail byte 0x5C: 表") << QStringLiteral("表") << QByteArray("\x95\x5c");
        QTest::newRow("trail byte 0x5C: ソ") << QStringLiteral("ソ") << QByteArray("\x83\x5c");
        QTest::newRow("wave dash of CP932") << QStringLiteral("～") << QByteArray("\x81\x60");
        QTest::newRow("NEC circled digit") << QStringLiteral("①") << QByteArray("\x87\x40");
        QTest::newRow("IBM extension 髙") << QStringLiteral("髙") << QByteArray("\xfb\xfc");
        QTest::newRow("half-width katakana") << QStringLiteral("ｶﾞ") << QByteArray("\xb6\xde");
        QTest::newRow("ascii") << QStringLiteral("!!DICUT10") << QByteArray("!!DICUT10");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const sjis::EncodeResult encoded = sjis::encode(text);
        QVERIFY(encoded.ok());
        QCOMPARE(encoded.bytes, bytes);
        QCOMPARE(sjis::decode(bytes), text);
        QCOMPARE(sj(text), bytes);
    }

    void encodeReportsUnmappableCharacters() {
        const sjis::EncodeResult result = sjis::encode(QStringLiteral("読み€と😀と€"));
        QVERIFY(!result.ok());
        QCOMPARE(result.unmappable, QStringLiteral("€😀"));
    }

    // Anything the program acts on (file names, registry keys) is decoded exactly
    // or not at all: the display decoder shows bytes it cannot read as U+FFFD.
    void decodeExact_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("text");
        const QString none;
        QTest::newRow("lone lead byte at the end") << QByteArray("lead\x82") << false << none;
        QTest::newRow("lone lead byte alone") << QByteArray("\x82") << false << none;
        QTest::newRow("lone lead byte after 表") << sj(u"表") + '\xe0' << false << none;
        QTest::newRow("lead byte before a blank") << QByteArray("a\x82 b") << false << none;
        QTest::newRow("lead byte before 0x7F") << QByteArray("\x82\x7f") << false << none;
        QTest::newRow("lead byte before 0xFD") << QByteArray("\x82\xfd") << false << none;
        QTest::newRow("lead byte before a control code") << QByteArray("\x82\x1f") << false << none;
        QTest::newRow("code without a character") << QByteArray("\x85\x40") << false << none;
        QTest::newRow("single 0x80") << QByteArray("a\x80") << false << none;
        QTest::newRow("single 0xA0") << QByteArray("\xa0") << false << none;
        QTest::newRow("single 0xFD") << QByteArray("\xfd") << false << none;
        QTest::newRow("single 0xFF") << QByteArray("x\xff") << false << none;

        QTest::newRow("empty") << QByteArray() << true << QString();
        QTest::newRow("ascii path")
            << QByteArray("WinDir\\a.ini") << true << QStringLiteral("WinDir\\a.ini");
        QTest::newRow("trail byte 0x5C: 表") << sj(u"表") << true << QStringLiteral("表");
        QTest::newRow("trail byte 0x5C: ソ") << sj(u"ソ") << true << QStringLiteral("ソ");
        QTest::newRow("path through 表 and ソ")
            << sj(u"C:\\表\\ソフト\\a.txt") << true << QStringLiteral("C:\\表\\ソフト\\a.txt");
        QTest::newRow("half-width katakana") << sj(u"ｶﾞ") << true << QStringLiteral("ｶﾞ");
        QTest::newRow("NEC circled digit") << sj(u"①") << true << QStringLiteral("①");
        QTest::newRow("IBM extension 髙") << sj(u"髙") << true << QStringLiteral("髙");
        QTest::newRow("NEC-selected code of 髙")
            << QByteArray("\xee\xe0") << true << QStringLiteral("髙");
        QTest::newRow("user-defined area")
            << QByteArray("\xf0\x40") << true << QString(QChar(0xE000));
        QTest::newRow("control codes beside kanji")
            << sj(u"表") + QByteArray("\x1a\x1c\x7f") << true
            << QStringLiteral("表") + QChar(0x1A) + QChar(0x1C) + QChar(0x7F);
    }
    void decodeExact() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exact);
        QFETCH(QString, text);
        const std::optional<QString> decoded = sjis::decodeExact(bytes);
        QCOMPARE(decoded.has_value(), exact);
        if (exact)
            QCOMPARE(*decoded, text);
    }

    void decodeMarksInvalidBytes() {
        const QString text = sjis::decode(QByteArray("a\x80"
                                                     "b",
                                                     3));
        QCOMPARE(text.size(), 3);
        QCOMPARE(text.at(0), QLatin1Char('a'));
        QCOMPARE(text.at(1), QChar(QChar::ReplacementCharacter));
        QCOMPARE(text.at(2), QLatin1Char('b'));
        // The converter alone would drop a lead byte at the very end.
        QCOMPARE(sjis::decode(QByteArray("lead\x82")),
                 QStringLiteral("lead") + QChar(QChar::ReplacementCharacter));
        QCOMPARE(sjis::decode(sj(u"表")), QStringLiteral("表"));
    }
};

QTEST_GUILESS_MAIN(TestSjis)
#include "tst_sjis.moc"
