#include "platform/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

namespace kelvari::sjis {
namespace {

// ICU's name for Microsoft's code page 932 (NEC and IBM extensions, "～" as U+FF5E).
constexpr const char *kCodec = "windows-31j";

QStringDecoder &decoder() {
    thread_local QStringDecoder dec(kCodec, QStringConverter::Flag::Stateless);
    return dec;
}

bool isAscii(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QByteArray encodeChecked(QStringView text, bool &failed) {
    // A fresh converter every time: once a converter has reported an error, neither
    // resetState() nor assigning a new converter to it makes it report the next one
    // (unmappable text would silently become 0xFC 0xFC).
    QStringEncoder enc(kCodec, QStringConverter::Flag::Stateless);
    QByteArray out = enc.encode(text);
    failed = enc.hasError();
    return out;
}

} // namespace

QString decode(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder &dec = decoder();
    dec.resetState();
    QString text = dec.decode(bytes);
    dec.resetState();
    // ICU marks undecodable bytes with U+001A; show them as the replacement character.
    if (text.contains(QChar(0x1A)) && !bytes.contains('\x1A'))
        text.replace(QChar(0x1A), QChar::ReplacementCharacter);
    return text;
}

EncodeResult encode(QStringView text) {
    EncodeResult result;
    if (isAscii(text)) {
        result.bytes = text.toLatin1();
        return result;
    }
    bool failed = false;
    result.bytes = encodeChecked(text, failed);
    if (!failed)
        return result;
    // Find the offending characters one code point at a time: a character is
    // representable when it survives the trip to CP932 and back unchanged.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView one = text.mid(i, len);
        bool bad = false;
        if (!isAscii(one)) {
            const QByteArray bytes = encodeChecked(one, bad);
            bad = bad || decode(bytes) != one;
        }
        if (bad && !result.unmappable.contains(one))
            result.unmappable += one;
        i += len;
    }
    if (result.unmappable.isEmpty()) // cannot happen, but never report a failed encode as clean
        result.unmappable = QStringLiteral("?");
    return result;
}

QByteArray sj(QStringView literal) {
    EncodeResult result = encode(literal);
    if (!result.ok())
        qFatal("program text not representable in CP932: %s", qUtf8Printable(literal.toString()));
    return result.bytes;
}

} // namespace kelvari::sjis
