#include "interop/textencoding.h"

#include "platform/sjis.h"

#include <QStringDecoder>

namespace kelvari {
namespace {

bool isValidUtf8(QByteArrayView bytes) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra = 0;
        unsigned int cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

// Splits the decoded text at LF, CR LF and CR. A last line without a line end
// counts; the empty piece after a final line end does not.
void splitInto(DecodedText &decoded) {
    const QStringView text = decoded.text;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        decoded.lines.push_back({start, i - start, true});
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        decoded.lines.push_back({start, n - start, true});
}

// The decoder put U+FFFD where bytes were no character: those lines are unreadable.
void markReplacedLines(DecodedText &decoded) {
    for (size_t i = 0; i < decoded.lines.size(); ++i)
        decoded.lines[i].readable = !decoded.line(i).contains(QChar::ReplacementCharacter);
}

// Shift-JIS line by line, each checked exactly; only used when the whole file
// did not decode cleanly.
void splitShiftJisExact(QByteArrayView bytes, DecodedText &decoded) {
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    const auto take = [&](qsizetype end) {
        const QByteArrayView line = bytes.sliced(start, end - start);
        const std::optional<QString> text = sjis::decodeExact(line);
        const qsizetype at = decoded.text.size();
        decoded.text += text.value_or(sjis::decode(line));
        decoded.lines.push_back({at, decoded.text.size() - at, text.has_value()});
    };
    for (qsizetype i = 0; i < n; ++i) {
        // LF and CR are never the second byte of a double-byte character.
        const char c = bytes[i];
        if (c != '\n' && c != '\r')
            continue;
        take(i);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        take(n);
}

} // namespace

DetectedEncoding detectEncoding(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {TextEncoding::Utf8, 3};
    if (bytes.startsWith("\xFF\xFE"))
        return {TextEncoding::Utf16Le, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return {TextEncoding::Utf16Be, 2};
    if (isValidUtf8(bytes))
        return {TextEncoding::Utf8, 0};
    return {TextEncoding::ShiftJis, 0};
}

QString encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16Le:
        return QStringLiteral("UTF-16LE");
    case TextEncoding::Utf16Be:
        return QStringLiteral("UTF-16BE");
    case TextEncoding::ShiftJis:
        break;
    }
    return QStringLiteral("Shift-JIS");
}

DecodedText decodeLines(QByteArrayView bytes) {
    DecodedText result;
    result.detected = detectEncoding(bytes);
    const QByteArrayView body = bytes.sliced(result.detected.bomLength);
    switch (result.detected.encoding) {
    case TextEncoding::Utf8:
        result.text = QString::fromUtf8(body);
        splitInto(result);
        if (result.detected.bomLength > 0 && !isValidUtf8(body))
            markReplacedLines(result);
        break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        QStringDecoder dec(result.detected.encoding == TextEncoding::Utf16Le
                               ? QStringConverter::Utf16LE
                               : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless);
        result.text = dec.decode(body);
        splitInto(result);
        // Lone surrogates or an odd byte: find the lines they stand in.
        if (dec.hasError() || body.size() % 2 != 0)
            markReplacedLines(result);
        break;
    }
    case TextEncoding::ShiftJis: {
        QStringDecoder dec("windows-31j", QStringConverter::Flag::Stateless);
        QString text = dec.decode(body);
        // The converter trades some control codes among each other and drops a
        // lead byte at the very end, so its flag alone is not the whole test.
        const bool clean = !dec.hasError() && !text.contains(QChar(0x1A)) &&
                           !text.contains(QChar(0x1C)) && !text.contains(QChar(0x7F)) &&
                           !sjis::endsInLoneLeadByte(body);
        if (clean) {
            result.text = std::move(text);
            splitInto(result);
        } else {
            splitShiftJisExact(body, result);
        }
        break;
    }
    }
    return result;
}

} // namespace kelvari
