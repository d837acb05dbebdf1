#include "check/grammarcheck.h"

#include "check/checkchars.h"
#include "check/partsofspeech.h"
#include "platform/sjis.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <vector>

namespace kelvari {
namespace {

constexpr qsizetype kMaxReadingChars = 32;
constexpr qsizetype kMaxWordChars = 64;

// The errors one row can have, one bit each, in the order of their lines.
enum ErrorBit : quint16 {
    ReadingTooLong = 1 << 0,
    BadStart = 1 << 1,
    DoubleByte = 1 << 2,
    BadSymbol = 1 << 3,
    WordTooLong = 1 << 4,
    BadPartOfSpeech = 1 << 5,
    NoReading = 1 << 6,
    NoWord = 1 << 7,
    NoPartOfSpeech = 1 << 8,
};
constexpr int kErrorKinds = 9;

enum class Section { Reading, Word, PartOfSpeech, Blank };
constexpr std::array<Section, 4> kSections{Section::Reading, Section::Word, Section::PartOfSpeech,
                                           Section::Blank};

struct Texts {
    std::array<QByteArray, 4> headings{sj(u"<読みエラー>"), sj(u"<単語エラー>"),
                                       sj(u"<品詞エラー>"), sj(u"<空欄エラー>")};
    // By bit number.
    std::array<QByteArray, kErrorKinds> messages{
        sj(u"行目：読みが32文字を越えています。"),
        sj(u"行目：先頭に ー ゛ ゜ を使うことは出来ません。"),
        sj(u"行目：読みに漢字・括弧・特殊記号(①,☆など)は使えません。"),
        sj(u"行目：読みに使えない記号が含まれています。"),
        sj(u"行目：単語が64文字を越えています。"),
        sj(u"行目：品詞が間違っています。"),
        sj(u"行目：読みがありません。"),
        sj(u"行目：単語がありません。"),
        sj(u"行目：品詞がありません。"),
    };
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

constexpr quint16 sectionBits(Section section) {
    switch (section) {
    case Section::Reading:
        return ReadingTooLong | BadStart | DoubleByte | BadSymbol;
    case Section::Word:
        return WordTooLong;
    case Section::PartOfSpeech:
        return BadPartOfSpeech;
    case Section::Blank:
        return NoReading | NoWord | NoPartOfSpeech;
    }
    return 0;
}

// Hands the lines of the report to a sink. Each error line is built in one
// reused buffer: a report of millions of lines costs no allocation per line.
template <typename Put> class ReportWriter {
public:
    explicit ReportWriter(Put &put) : m_put(put) { m_line.reserve(128); }

    void heading(Section section) {
        if (section != Section::Reading)
            m_put(ReportLine{QByteArrayView(), false});
        m_put(ReportLine{texts().headings[size_t(section)], false});
    }

    // One line per bit set, in bit order.
    void errors(int row, quint16 bits) {
        if (bits == 0)
            return;
        char buf[16];
        const auto res = std::to_chars(buf, buf + sizeof buf, row);
        const qsizetype digits = qsizetype(res.ptr - buf);
        for (int kind = 0; kind < kErrorKinds; ++kind) {
            if (!(bits & (1u << kind)))
                continue;
            m_line.clear();
            m_line.append(buf, digits);
            m_line.append(texts().messages[size_t(kind)]);
            m_put(ReportLine{m_line, true});
        }
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

// The character rules of a normalised reading.
quint16 readingCharacterErrors(QByteArrayView reading) {
    const Texts &t = texts();
    quint16 bits = 0;
    qsizetype start = 0;
    if (reading.size() >= 2 && isLengthOrSoundMark(codeAt(reading, 0))) {
        bits |= BadStart;
        start = 2;
    }
    // Kana and the marks ・ ー ゛ ゜ stand for accepted characters; any other
    // double-byte character is reported once. The symbol rule looks at the
    // single bytes that remain.
    const qsizetype n = reading.size();
    for (qsizetype i = start; i < n;) {
        const auto b = static_cast<unsigned char>(reading[i]);
        if (sjis::isLeadByte(b) && i + 1 < n) {
            const int code = codeAt(reading, i);
            const bool kana = code >= 0x829F && code <= 0x8396;
            if (!kana && code != 0x8145 && !isLengthOrSoundMark(code))
                bits |= DoubleByte;
            i += 2;
        } else {
            if (!t.accepted[b])
                bits |= BadSymbol;
            ++i;
        }
        if ((bits & (DoubleByte | BadSymbol)) == (DoubleByte | BadSymbol))
            break;
    }
    return bits;
}

// The errors of one row within one section.
quint16 rowErrors(Section section, QByteArrayView reading, QByteArrayView word, QByteArrayView pos,
                  std::string &normalized) {
    switch (section) {
    case Section::Reading: {
        if (reading.isEmpty())
            return 0;
        normalizeForCheckInto(reading, normalized);
        quint16 bits = CountChars(view(normalized)) > kMaxReadingChars ? ReadingTooLong : 0;
        return bits | readingCharacterErrors(view(normalized));
    }
    case Section::Word:
        // A word of one character per byte at most cannot be too long; most are not.
        if (word.size() <= kMaxWordChars)
            return 0;
        normalizeForCheckInto(word, normalized);
        return CountChars(view(normalized)) > kMaxWordChars ? WordTooLong : 0;
    case Section::PartOfSpeech:
        return !pos.isEmpty() && partOfSpeechIndex(pos) < 0 ? BadPartOfSpeech : 0;
    case Section::Blank:
        // A blank row passes; the other rules pass it by themselves.
        if (reading.isEmpty() && word.isEmpty() && pos.isEmpty())
            return 0;
        return (reading.isEmpty() ? NoReading : 0) | (word.isEmpty() ? NoWord : 0) |
               (pos.isEmpty() ? NoPartOfSpeech : 0);
    }
    return 0;
}

// A list held in memory is walked once: the errors of each row are kept as a
// few bits, and the sections are written from those.
template <typename Put> bool checkCells(const CellStore &cells, Put &put) {
    const int count = std::max(cells.rowCount(), 1);
    std::vector<quint16> found(size_t(count), 0);
    std::string normalized;
    normalized.reserve(256);
    for (int row = 1; row < count; ++row) {
        const CellStore::PackedRow &packed = cells.packedRow(row);
        const QByteArrayView reading = view(CellStore::cellOf(packed, 1));
        const QByteArrayView word = view(CellStore::cellOf(packed, 2));
        const QByteArrayView pos = view(CellStore::cellOf(packed, 3));
        quint16 bits = 0;
        for (Section section : kSections)
            bits |= rowErrors(section, reading, word, pos, normalized);
        found[size_t(row)] = bits;
    }
    ReportWriter<Put> report(put);
    for (Section section : kSections) {
        report.heading(section);
        const quint16 mask = sectionBits(section);
        for (int row = 1; row < count; ++row)
            report.errors(row, found[size_t(row)] & mask);
    }
    return report.found();
}

} // namespace

void CheckReading(QByteArrayView reading, int row, const ReportSink &sink) {
    ReportWriter<const ReportSink> report(sink);
    report.errors(row, readingCharacterErrors(reading));
}

// A list read from elsewhere is walked once per section, so that nothing of it
// needs to be held.
bool runGrammarCheck(const RowSource &rows, const ReportSink &sink) {
    ReportWriter<const ReportSink> report(sink);
    std::string normalized;
    normalized.reserve(256);
    for (Section section : kSections) {
        report.heading(section);
        rows([&](const CheckedRow &r) {
            report.errors(r.row, rowErrors(section, r.reading, r.word, r.partOfSpeech, normalized));
        });
    }
    return report.found();
}

bool runGrammarCheck(const CellStore &cells, const ReportSink &sink) {
    return checkCells(cells, sink);
}

GrammarReport runGrammarCheck(const CellStore &cells) {
    GrammarReport report;
    const auto collect = [&report](const ReportLine &line) {
        report.lines.append(line.text.toByteArray());
    };
    report.errorsFound = checkCells(cells, collect);
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

QByteArray gateActionText(GateAction action) {
    return action == GateAction::Save ? sj(u"保存") : sj(u"変換");
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
