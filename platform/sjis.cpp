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

bool endsInLoneLeadByte(QByteArrayView bytes) {
    if (bytes.isEmpty() || !isLeadByte(bytes.back()))
        return false;
    qsizetype i = 0;
    while (i < bytes.size())
        i += isLeadByte(bytes[i]) ? 2 : 1;
    return i > bytes.size();
}

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
    // The converter drops a lead byte at the very end without a trace.
    if (endsInLoneLeadByte(bytes))
        text += QChar(QChar::ReplacementCharacter);
    return text;
}

std::optional<QString> decodeExact(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    // A fresh converter: its error flag is the first test, and a converter that
    // has reported once does not report again.
    QStringDecoder dec(kCodec, QStringConverter::Flag::Stateless);
    QString text = dec.decode(bytes);
    if (dec.hasError())
        return std::nullopt;
    // The converter drops a lead byte at the end of its input, so do not rely on
    // its flag alone: every character of the bytes must have become exactly one
    // character of the text, in step.
    qsizetype at = 0;
    for (qsizetype i = 0; i < bytes.size(); ++at) {
        if (at >= text.size())
            return std::nullopt;
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const char16_t c = text.at(at).unicode();
        if (isLeadByte(byte)) {
            if (i + 1 >= bytes.size() || !isTrailByte(bytes[i + 1]))
                return std::nullopt;
            if (c < 0x80 || c == QChar::ReplacementCharacter || QChar::isSurrogate(c))
                return std::nullopt;
            i += 2;
        } else if (byte < 0x80) {
            if (c >= 0x80)
                return std::nullopt;
            // ASCII stands for itself; the converter's table trades the control
            // codes 0x1A, 0x1C and 0x7F among each other.
            text[at] = QChar(char16_t(byte));
            ++i;
        } else {
            // Of the single bytes above ASCII only the half-width katakana are characters.
            if (byte < 0xA1 || byte > 0xDF || c < 0xFF61 || c > 0xFF9F)
                return std::nullopt;
            ++i;
        }
    }
    if (at != text.size())
        return std::nullopt;
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
