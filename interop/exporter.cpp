#include "interop/exporter.h"

#include "check/grammarcheck.h"
#include "document/wordlist.h"
#include "platform/sjis.h"

#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace kelvari {
namespace {

QByteArrayView viewOf(std::string_view v) {
    return QByteArrayView(v.data(), qsizetype(v.size()));
}

bool hasControlByte(std::string_view v) {
    return std::any_of(v.begin(), v.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

QByteArray rowProblem(int row, QStringView message) {
    return QByteArray::number(row) + sj(message);
}

// The converter gives U+001A or U+FFFD for bytes that are no character; the
// rows hold no control codes, so either means the text did not decode.
bool decodedCleanly(const QStringDecoder &dec, QStringView text) {
    return !dec.hasError() && !text.contains(QChar(0x1A)) &&
           !text.contains(QChar::ReplacementCharacter);
}

// Decodes the whole CP932 buffer at once; the caller falls back to row-wise
// checks when this reports a failure.
std::optional<QString> decodeWhole(QByteArrayView bytes) {
    QStringDecoder dec("windows-31j", QStringConverter::Flag::Stateless);
    QString text = dec.decode(bytes);
    if (!decodedCleanly(dec, text))
        return std::nullopt;
    return text;
}

// Appends the CP932 buffer to `out` in `target`, a piece of whole lines at a
// time so that no copy of the whole list in UTF-16 is ever made. False when a
// piece did not decode; `out` is then incomplete.
bool appendReencoded(QByteArrayView cp932, QStringConverter::Encoding target, QByteArray &out) {
    constexpr qsizetype kPiece = 1 << 16;
    QStringDecoder dec("windows-31j", QStringConverter::Flag::Stateless);
    QStringEncoder enc(target, QStringConverter::Flag::Stateless);
    QString piece;
    out.reserve(out.size() + cp932.size() * (target == QStringConverter::Utf8 ? 3 : 2) / 2);
    for (qsizetype start = 0; start < cp932.size();) {
        // LF is never the second byte of a double-byte character.
        const qsizetype lineEnd = cp932.indexOf('\n', std::min(cp932.size(), start + kPiece));
        const qsizetype end = lineEnd < 0 ? cp932.size() : lineEnd + 1;
        const QByteArrayView bytes = cp932.sliced(start, end - start);
        piece.resize(dec.requiredSpace(bytes.size()));
        piece.truncate(dec.appendToBuffer(piece.data(), bytes) - piece.constData());
        if (!decodedCleanly(dec, piece))
            return false;
        const qsizetype at = out.size();
        out.resize(at + enc.requiredSpace(piece.size()));
        out.truncate(enc.appendToBuffer(out.data() + at, piece) - out.constData());
        start = end;
    }
    return true;
}

bool decodesExactly(std::string_view v) {
    return sjis::decodeExact(viewOf(v)).has_value();
}

// The target's part-of-speech names by the 41 names, looked up by the cell's
// bytes as they lie in the grid.
class TargetNames {
public:
    explicit TargetNames(InteropFormat format) {
        for (const PosMapping &m : posMappings())
            m_names.emplace(std::string_view(m.name.constData(), size_t(m.name.size())),
                            posToTarget(format, m.name));
    }
    // Null when `pos` is none of the 41.
    const QByteArray *find(std::string_view pos) const {
        const auto it = m_names.find(pos);
        return it == m_names.end() ? nullptr : &it->second;
    }

private:
    std::unordered_map<std::string_view, QByteArray> m_names; // keys view posMappings()
};

struct Built {
    QByteArray buffer; // CP932
    QList<QByteArray> problems;
    bool blocking = false;
    int entries = 0;
};

// One pass over the rows. With `exact`, every cell is checked to be valid
// Shift-JIS (the slow path, only taken when the whole buffer did not decode).
Built build(InteropFormat format, const CellStore &cells, bool exact) {
    Built out;
    const int rows = cells.rowCount();
    out.buffer.reserve(qsizetype(rows) * 40);
    const QByteArray fallbackPos = posToTarget(format, defaultPartOfSpeech());
    const TargetNames targetNames(format);
    for (int row = 1; row < rows; ++row) {
        const std::string_view reading = cells.cellView(WordColumn::Reading, row);
        const std::string_view word = cells.cellView(WordColumn::Word, row);
        const std::string_view pos = cells.cellView(WordColumn::PartOfSpeech, row);
        if (reading.empty() && word.empty() && pos.empty())
            continue;
        if (reading.empty() || word.empty()) {
            out.problems.append(rowProblem(row, u"行目：読みか単語が空のため書き出しません。"));
            out.blocking = true;
            continue;
        }
        if (hasControlByte(reading) || hasControlByte(word) || hasControlByte(pos)) {
            out.problems.append(
                rowProblem(row, u"行目：タブや改行などの制御文字を含むため書き出しません。"));
            out.blocking = true;
            continue;
        }
        if (format == InteropFormat::Skk &&
            (reading.find(' ') != std::string_view::npos || reading.front() == ';')) {
            out.problems.append(rowProblem(
                row, u"行目：読みに空白があるか読みが「;」で始まるため書き出しません。"));
            out.blocking = true;
            continue;
        }
        if (exact && (!decodesExactly(reading) || !decodesExactly(word) ||
                      (format != InteropFormat::Skk && !decodesExactly(pos)))) {
            out.problems.append(
                rowProblem(row, u"行目：Shift-JIS の文字でないバイトを含むため書き出しません。"));
            out.blocking = true;
            continue;
        }
        out.buffer.append(viewOf(reading));
        if (format == InteropFormat::Skk) {
            out.buffer.append('\0');
            out.buffer.append(viewOf(word));
            out.buffer.append('\n');
            continue;
        }
        out.buffer.append('\t');
        out.buffer.append(viewOf(word));
        out.buffer.append('\t');
        const QByteArray *target = targetNames.find(pos);
        if (!target) {
            target = &fallbackPos;
            out.problems.append(QByteArray::number(row) + sj(u"行目：品詞「") +
                                viewOf(pos).toByteArray() + sj(u"」は") + fallbackPos +
                                sj(u"として書き出します。"));
            out.blocking = true;
        }
        out.buffer.append(*target);
        out.buffer.append(format == InteropFormat::MsIme ? "\r\n" : "\t\n");
        ++out.entries;
    }
    return out;
}

// SKK wants one line per reading, candidates between slashes. A candidate that
// holds "/" or ";", or that could be taken for an expression, is written as a
// concat form with those characters as octal escapes.
void appendSkkCandidate(QString &out, QStringView word) {
    const bool plain = !word.contains(u'/') && !word.contains(u';') && !word.startsWith(u'(') &&
                       !word.startsWith(u'[');
    if (plain) {
        out += word;
        return;
    }
    out += QStringLiteral("(concat \"");
    for (QChar c : word) {
        switch (c.unicode()) {
        case u'/':
            out += QStringLiteral("\\057");
            break;
        case u';':
            out += QStringLiteral("\\073");
            break;
        case u'"':
            out += QStringLiteral("\\042");
            break;
        case u'\\':
            out += QStringLiteral("\\134");
            break;
        default:
            out += c;
        }
    }
    out += QStringLiteral("\")");
}

// The first four UTF-16 units of a reading as one number, so that most
// comparisons in the sort are one integer comparison. Text decoded from CP932
// has no surrogates, so unit order is code-point order; a shorter reading pads
// with zeros and sorts first, as it should.
quint64 sortPrefix(QStringView reading) {
    quint64 key = 0;
    for (qsizetype i = 0; i < 4; ++i)
        key = (key << 16) | (i < reading.size() ? reading[i].unicode() : 0u);
    return key;
}

QByteArray skkDictionary(QStringView text, int &entries) {
    struct Entry {
        quint64 prefix;
        QStringView reading;
        QStringView word;
        size_t order; // place in the list, for a stable sort
    };
    std::vector<Entry> list;
    list.reserve(size_t(text.count(u'\n')));
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\n')
            continue;
        const QStringView line = text.sliced(start, i - start);
        const qsizetype nul = line.indexOf(QChar(0));
        list.push_back(
            {sortPrefix(line.first(nul)), line.first(nul), line.sliced(nul + 1), list.size()});
        start = i + 1;
    }
    // Readings in ascending order of their UTF-8 bytes (code-point order), as
    // the tools sort the okuri-nasi section; words in the order of the list.
    std::sort(list.begin(), list.end(), [](const Entry &a, const Entry &b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        if (const int c = a.reading.compare(b.reading))
            return c < 0;
        return a.order < b.order;
    });
    // Lines are gathered a piece at a time and turned into UTF-8 as they go.
    QByteArray file(";; -*- coding: utf-8 -*-\n;; okuri-ari entries.\n;; okuri-nasi entries.\n");
    file.reserve(file.size() + text.size() * 3 / 2);
    QString out;
    const auto flush = [&] {
        file += out.toUtf8();
        out.clear(); // keeps its capacity
    };
    entries = 0;
    for (size_t i = 0; i < list.size();) {
        size_t end = i;
        while (end < list.size() && list[end].prefix == list[i].prefix &&
               list[end].reading == list[i].reading)
            ++end;
        out += list[i].reading;
        out += u' ';
        out += u'/';
        QSet<QStringView> seen;
        for (size_t k = i; k < end; ++k) {
            if (end - i > 1) {
                if (seen.contains(list[k].word))
                    continue;
                seen.insert(list[k].word);
            }
            appendSkkCandidate(out, list[k].word);
            out += u'/';
            ++entries;
        }
        out += u'\n';
        if (out.size() >= 1 << 16)
            flush();
        i = end;
    }
    flush();
    return file;
}

QString msImeHeader(const ExportOptions &options) {
    return QStringLiteral("!Microsoft IME Dictionary Tool\r\n"
                          "!Version:\r\n"
                          "!Format:WORDLIST\r\n"
                          "!User Dictionary Name: \r\n"
                          "!Output File Name: ") +
           options.fileName + QStringLiteral("\r\n!DateTime: ") +
           options.writtenAt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
           QStringLiteral("\r\n\r\n");
}

// The file in the format's encoding; none when the CP932 rows did not decode.
std::optional<QByteArray> encodeFile(InteropFormat format, const Built &built,
                                     const ExportOptions &options, int &entries) {
    QByteArray out;
    entries = built.entries;
    switch (format) {
    case InteropFormat::Mozc:
    case InteropFormat::Text:
        break;
    case InteropFormat::MsIme: {
        QStringEncoder enc(QStringConverter::Utf16LE);
        out = QByteArray("\xFF\xFE", 2) + QByteArray(enc.encode(msImeHeader(options)));
        break;
    }
    case InteropFormat::Skk: {
        const std::optional<QString> text = decodeWhole(built.buffer);
        if (!text)
            return std::nullopt;
        return skkDictionary(*text, entries);
    }
    }
    const QStringConverter::Encoding target =
        format == InteropFormat::MsIme ? QStringConverter::Utf16LE : QStringConverter::Utf8;
    if (!appendReencoded(built.buffer, target, out))
        return std::nullopt;
    return out;
}

} // namespace

std::optional<InteropFormat> interopFormatFromName(const QString &name) {
    if (name == u"mozc")
        return InteropFormat::Mozc;
    if (name == u"msime")
        return InteropFormat::MsIme;
    if (name == u"skk")
        return InteropFormat::Skk;
    if (name == u"text")
        return InteropFormat::Text;
    return std::nullopt;
}

QString interopFormatName(InteropFormat format) {
    switch (format) {
    case InteropFormat::Mozc:
        return QStringLiteral("mozc");
    case InteropFormat::MsIme:
        return QStringLiteral("msime");
    case InteropFormat::Skk:
        return QStringLiteral("skk");
    case InteropFormat::Text:
        break;
    }
    return QStringLiteral("text");
}

ExportResult exportRows(InteropFormat format, const CellStore &cells,
                        const ExportOptions &options) {
    ExportResult result;
    Built built = build(format, cells, false);
    std::optional<QByteArray> bytes = encodeFile(format, built, options, result.entries);
    if (!bytes) {
        // Some cell holds bytes that are no Shift-JIS: find and leave out its row.
        built = build(format, cells, true);
        bytes = encodeFile(format, built, options, result.entries);
    }
    result.problems = std::move(built.problems);
    result.accepted = bytes && (options.force || !built.blocking);
    if (result.accepted)
        result.bytes = std::move(*bytes);
    else
        result.entries = 0;
    return result;
}

ExportResult exportWordList(InteropFormat format, const CellStore &cells,
                            const ExportOptions &options) {
    const GrammarReport report = runGrammarCheck(cells);
    ExportResult result;
    if (report.errorsFound && !options.force) {
        result.grammarErrors = report.lines;
        ExportResult rows = exportRows(format, cells, ExportOptions{false, {}, {}});
        result.problems = std::move(rows.problems);
        return result;
    }
    result = exportRows(format, cells, options);
    if (report.errorsFound)
        result.grammarErrors = report.lines;
    return result;
}

} // namespace kelvari
