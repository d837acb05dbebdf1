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

    void decodeMarksInvalidBytes() {
        const QString text = sjis::decode(QByteArray("a\x80" "b", 3));
        QCOMPARE(text.size(), 3);
        QCOMPARE(text.at(0), QLatin1Char('a'));
        QCOMPARE(text.at(1), QChar(QChar::ReplacementCharacter));
        QCOMPARE(text.at(2), QLatin1Char('b'));
    }
};

QTEST_GUILESS_MAIN(TestSjis)
#include "tst_sjis.moc"
