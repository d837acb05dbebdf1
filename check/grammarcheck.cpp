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

// Builds each error line in one reused buffer: a report of millions of lines
// costs no allocation per line.
template <typename Put> class ErrorLines {
public:
    explicit ErrorLines(Put &put) : m_put(put) { m_line.reserve(128); }

    void add(int row, const QByteArray &message) {
        char buf[16];
        const auto res = std::to_chars(buf, buf + sizeof buf, row);
        m_line.clear();
        m_line.append(buf, qsizetype(res.ptr - buf));
        m_line.append(message);
        m_put(ReportLine{m_line, true});
        m_found = true;
    }
    bool found() const { return m_found; }

private:
    Put &m_put;
    QByteArray m_line;
    bool m_found = false;
};

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

template <typename Put>
void checkReadingInto(QByteArrayView reading, int row, ErrorLines<Put> &errors) {
    const Texts &t = texts();
    qsizetype start = 0;
    if (reading.size() >= 2 && isLengthOrSoundMark(codeAt(reading, 0))) {
        errors.add(row, t.badStart);
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
        errors.add(row, t.doubleByte);
    if (badSymbolFound)
        errors.add(row, t.badSymbol);
}

// The four sections, one walk over the rows each, so that every line goes out
// in report order as soon as it is found. `forEachRow(visit)` calls
// visit(row, reading, word, part of speech) for every row.
template <typename ForEachRow, typename Put>
bool checkSections(const ForEachRow &forEachRow, Put &put) {
    const Texts &t = texts();
    ErrorLines<Put> errors(put);
    std::string normalized;
    normalized.reserve(256);
    const auto heading = [&put](const QByteArray &text, bool first) {
        if (!first)
            put(ReportLine{QByteArrayView(), false});
        put(ReportLine{text, false});
    };
    heading(t.readingHeading, true);
    forEachRow([&](int row, QByteArrayView reading, QByteArrayView, QByteArrayView) {
        if (reading.isEmpty())
            return;
        normalizeForCheckInto(reading, normalized);
        if (CountChars(view(normalized)) > kMaxReadingChars)
            errors.add(row, t.readingTooLong);
        checkReadingInto(view(normalized), row, errors);
    });
    heading(t.wordHeading, false);
    forEachRow([&](int row, QByteArrayView, QByteArrayView word, QByteArrayView) {
        // A word of one character per byte at most cannot be too long; most are not.
        if (word.size() <= kMaxWordChars)
            return;
        normalizeForCheckInto(word, normalized);
        if (CountChars(view(normalized)) > kMaxWordChars)
            errors.add(row, t.wordTooLong);
    });
    heading(t.posHeading, false);
    forEachRow([&](int row, QByteArrayView, QByteArrayView, QByteArrayView pos) {
        if (!pos.isEmpty() && partOfSpeechIndex(pos) < 0)
            errors.add(row, t.badPos);
    });
    heading(t.blankHeading, false);
    forEachRow([&](int row, QByteArrayView reading, QByteArrayView word, QByteArrayView pos) {
        // A blank row passes; the rules above pass it by themselves.
        if (reading.isEmpty() && word.isEmpty() && pos.isEmpty())
            return;
        if (reading.isEmpty())
            errors.add(row, t.noReading);
        if (word.isEmpty())
            errors.add(row, t.noWord);
        if (pos.isEmpty())
            errors.add(row, t.noPos);
    });
    return errors.found();
}

// Walks rows 1 .. rowCount-1 of a grid's cells.
struct CellRows {
    const CellStore &cells;

    template <typename Visit> void operator()(const Visit &visit) const {
        const int count = cells.rowCount();
        for (int row = 1; row < count; ++row) {
            const CellStore::PackedRow &packed = cells.packedRow(row);
            visit(row, view(CellStore::cellOf(packed, 1)), view(CellStore::cellOf(packed, 2)),
                  view(CellStore::cellOf(packed, 3)));
        }
    }
};

} // namespace

void CheckReading(QByteArrayView reading, int row, const ReportSink &sink) {
    ErrorLines<const ReportSink> errors(sink);
    checkReadingInto(reading, row, errors);
}

bool runGrammarCheck(const RowSource &rows, const ReportSink &sink) {
    const auto forEachRow = [&rows](const auto &visit) {
        rows([&visit](const CheckedRow &r) { visit(r.row, r.reading, r.word, r.partOfSpeech); });
    };
    return checkSections(forEachRow, sink);
}

bool runGrammarCheck(const CellStore &cells, const ReportSink &sink) {
    return checkSections(CellRows{cells}, sink);
}

GrammarReport runGrammarCheck(const CellStore &cells) {
    GrammarReport report;
    const auto collect = [&report](const ReportLine &line) {
        report.lines.append(line.text.toByteArray());
    };
    report.errorsFound = checkSections(CellRows{cells}, collect);
    return report;
}

QList<QByteArray> cleanReportLines() {
    const Texts &t = texts();
    return {t.readingHeading, QByteArray(), t.wordHeading, QByteArray(),
            t.posHeading,     QByteArray(), t.blankHeading};
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
