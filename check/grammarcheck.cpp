#include "check/grammarcheck.h"

#include "check/checkchars.h"
#include "check/partsofspeech.h"
#include "platform/sjis.h"

#include <array>
#include <charconv>
#include <string>

namespace kelvari {
namespace {

constexpr qsizetype kMaxReadingChars = 32;
constexpr qsizetype kMaxWordChars = 64;

struct Texts {
    QByteArray readingHeading = sj(u"<読みエラー>");
    QByteArray wordHeading = sj(u"<単語エラー>");
    QByteArray posHeading = sj(u"<品詞エラー>");
    QByteArray blankHeading = sj(u"<空欄エラー>");
    QByteArray readingTooLong = sj(u"行目：読みが32文字を越えています。");
    QByteArray badStart = sj(u"行目：先頭に ー ゛ ゜ を使うことは出来ません。");
    QByteArray doubleByte = sj(u"行目：読みに漢字・括弧・特殊記号(①,☆など)は使えません。");
    QByteArray badSymbol = sj(u"行目：読みに使えない記号が含まれています。");
    QByteArray wordTooLong = sj(u"行目：単語が64文字を越えています。");
    QByteArray badPos = sj(u"行目：品詞が間違っています。");
    QByteArray noReading = sj(u"行目：読みがありません。");
    QByteArray noWord = sj(u"行目：単語がありません。");
    QByteArray noPos = sj(u"行目：品詞がありません。");
    // Single bytes a reading may hold once kana and the allowed marks are set aside.
    std::array<bool, 256> accepted{};

    Texts() {
        for (char c : std::string_view("#$%&*+-/:;<=>@\\_^~`'"))
            accepted[static_cast<unsigned char>(c)] = true;
        for (char c = '0'; c <= '9'; ++c)
            accepted[static_cast<unsigned char>(c)] = true;
        for (char c = 'A'; c <= 'Z'; ++c)
            accepted[static_cast<unsigned char>(c)] = true;
    }
};

const Texts &texts() {
    static const Texts t;
    return t;
}

QByteArray errorLine(int row, const QByteArray &message) {
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, row);
    QByteArray line;
    line.reserve(qsizetype(res.ptr - buf) + message.size());
    line.append(buf, qsizetype(res.ptr - buf));
    line.append(message);
    return line;
}

inline int codeAt(QByteArrayView text, qsizetype i) {
    return (static_cast<unsigned char>(text[i]) << 8) | static_cast<unsigned char>(text[i + 1]);
}

// ー ゛ ゜
inline bool isLengthOrSoundMark(int code) {
    return code == 0x815B || code == 0x814A || code == 0x814B;
}

inline QByteArrayView view(std::string_view s) {
    return QByteArrayView(s.data(), qsizetype(s.size()));
}

} // namespace

void CheckReading(QByteArrayView reading, int row, QList<QByteArray> &lines) {
    const Texts &t = texts();
    qsizetype start = 0;
    if (reading.size() >= 2 && isLengthOrSoundMark(codeAt(reading, 0))) {
        lines.append(errorLine(row, t.badStart));
        start = 2;
    }
    // Kana and the marks ・ ー ゛ ゜ stand for accepted characters; any other
    // double-byte character is reported once. The symbol rule looks at the
    // single bytes that remain.
    bool doubleByteFound = false;
    bool badSymbolFound = false;
    const qsizetype n = reading.size();
    for (qsizetype i = start; i < n;) {
        const auto b = static_cast<unsigned char>(reading[i]);
        if (sjis::isLeadByte(b) && i + 1 < n) {
            const int code = codeAt(reading, i);
            const bool kana = code >= 0x829F && code <= 0x8396;
            if (!kana && code != 0x8145 && !isLengthOrSoundMark(code))
                doubleByteFound = true;
            i += 2;
        } else {
            if (!t.accepted[b])
                badSymbolFound = true;
            ++i;
        }
        if (doubleByteFound && badSymbolFound)
            break;
    }
    if (doubleByteFound)
        lines.append(errorLine(row, t.doubleByte));
    if (badSymbolFound)
        lines.append(errorLine(row, t.badSymbol));
}

GrammarReport runGrammarCheck(const CellStore &cells) {
    const Texts &t = texts();
    QList<QByteArray> readingLines, wordLines, posLines, blankLines;
    std::string normalized;
    normalized.reserve(256);
    const int count = cells.rowCount();
    for (int row = 1; row < count; ++row) {
        const CellStore::PackedRow &packed = cells.packedRow(row);
        const QByteArrayView reading = view(CellStore::cellOf(packed, 1));
        const QByteArrayView word = view(CellStore::cellOf(packed, 2));
        const QByteArrayView pos = view(CellStore::cellOf(packed, 3));
        if (reading.isEmpty() && word.isEmpty() && pos.isEmpty())
            continue; // an empty row passes every rule

        if (!reading.isEmpty()) {
            normalizeForCheckInto(reading, normalized);
            if (CountChars(view(normalized)) > kMaxReadingChars)
                readingLines.append(errorLine(row, t.readingTooLong));
            CheckReading(view(normalized), row, readingLines);
        }
        // A word of one character per byte at most cannot be too long; most are not.
        if (word.size() > kMaxWordChars) {
            normalizeForCheckInto(word, normalized);
            if (CountChars(view(normalized)) > kMaxWordChars)
                wordLines.append(errorLine(row, t.wordTooLong));
        }
        if (!pos.isEmpty() && partOfSpeechIndex(pos) < 0)
            posLines.append(errorLine(row, t.badPos));
        if (reading.isEmpty())
            blankLines.append(errorLine(row, t.noReading));
        if (word.isEmpty())
            blankLines.append(errorLine(row, t.noWord));
        if (pos.isEmpty())
            blankLines.append(errorLine(row, t.noPos));
    }

    GrammarReport report;
    report.errorsFound = !(readingLines.isEmpty() && wordLines.isEmpty() && posLines.isEmpty() &&
                           blankLines.isEmpty());
    QList<QByteArray> &lines = report.lines;
    lines.reserve(7 + readingLines.size() + wordLines.size() + posLines.size() + blankLines.size());
    lines.append(t.readingHeading);
    lines.append(readingLines);
    lines.append(QByteArray());
    lines.append(t.wordHeading);
    lines.append(wordLines);
    lines.append(QByteArray());
    lines.append(t.posHeading);
    lines.append(posLines);
    lines.append(QByteArray());
    lines.append(t.blankHeading);
    lines.append(blankLines);
    return report;
}

QByteArray GrammarReport::text() const {
    QByteArray out;
    for (const QByteArray &line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
}

bool grammarGateBypassed(QByteArrayView comment) {
    return !comment.isEmpty() && comment.front() == '*';
}

QByteArray gateActionSave() {
    return sj(u"保存");
}
QByteArray gateActionConvert() {
    return sj(u"変換");
}

QList<QByteArray> gateRefusalLines(QByteArrayView action) {
    QByteArray first = sj(u"文法エラーがあるので");
    first.append(action);
    first.append(sj(u"出来ません。"));
    return {first, sj(u"文法を直して下さい。")};
}

QByteArray gateRefusalMessage(QByteArrayView action) {
    const QList<QByteArray> lines = gateRefusalLines(action);
    return lines[0] + "\r\n" + lines[1];
}

QByteArray noGrammarErrorsMessage() {
    return sj(u"文法エラーはありませんでした。");
}

} // namespace kelvari
