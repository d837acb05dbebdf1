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

// Decodes the whole CP932 buffer at once; the caller falls back to row-wise
// checks when this reports a failure.
std::optional<QString> decodeWhole(QByteArrayView bytes) {
    QStringDecoder dec("windows-31j", QStringConverter::Flag::Stateless);
    QString text = dec.decode(bytes);
    if (dec.hasError() || text.contains(QChar(0x1A)) || text.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return text;
}

bool decodesExactly(std::string_view v) {
    return sjis::decodeExact(viewOf(v)).has_value();
}

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
        QByteArray target = posToTarget(format, viewOf(pos));
        if (target.isEmpty()) {
            target = fallbackPos;
            out.problems.append(QByteArray::number(row) + sj(u"行目：品詞「") +
                                viewOf(pos).toByteArray() + sj(u"」は") + fallbackPos +
                                sj(u"として書き出します。"));
            out.blocking = true;
        }
        out.buffer.append(target);
        out.buffer.append(format == InteropFormat::MsIme ? "\r\n" : "\t\n");
        ++out.entries;
    }
    return out;
}

// SKK wants one line per reading, candidates between slashes. A candidate that
// holds "/" or ";", or that could be taken for an expression, is written as a
// concat form with those characters as octal escapes.
QString skkCandidate(QStringView word) {
    const bool plain = !word.contains(u'/') && !word.contains(u';') && !word.startsWith(u'(') &&
                       !word.startsWith(u'[');
    if (plain)
        return word.toString();
    QString out = QStringLiteral("(concat \"");
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
    return out;
}

QByteArray skkDictionary(QStringView text, int &entries) {
    struct Entry {
        QStringView reading;
        QStringView word;
    };
    std::vector<Entry> list;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\n')
            continue;
        const QStringView line = text.sliced(start, i - start);
        const qsizetype nul = line.indexOf(QChar(0));
        list.push_back({line.first(nul), line.sliced(nul + 1)});
        start = i + 1;
    }
    // Readings in ascending order of their UTF-8 bytes (code-point order), as
    // the tools sort the okuri-nasi section; words in the order of the list.
    std::stable_sort(list.begin(), list.end(), [](const Entry &a, const Entry &b) {
        return a.reading.compare(b.reading) < 0;
    });
    QString out = QStringLiteral(";; -*- coding: utf-8 -*-\n;; okuri-ari entries.\n"
                                 ";; okuri-nasi entries.\n");
    out.reserve(text.size() + out.size());
    entries = 0;
    for (size_t i = 0; i < list.size();) {
        size_t end = i;
        while (end < list.size() && list[end].reading == list[i].reading)
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
            out += skkCandidate(list[k].word);
            out += u'/';
            ++entries;
        }
        out += u'\n';
        i = end;
    }
    return out.toUtf8();
}

QByteArray msImeFile(const QString &body, const ExportOptions &options) {
    QString header = QStringLiteral("!Microsoft IME Dictionary Tool\r\n"
                                    "!Version:\r\n"
                                    "!Format:WORDLIST\r\n"
                                    "!User Dictionary Name: \r\n"
                                    "!Output File Name: ") +
                     options.fileName + QStringLiteral("\r\n!DateTime: ") +
                     options.writtenAt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
                     QStringLiteral("\r\n\r\n");
    QStringEncoder enc(QStringConverter::Utf16LE);
    QByteArray out("\xFF\xFE", 2);
    out.reserve(2 + (header.size() + body.size()) * 2);
    out += enc.encode(header);
    out += enc.encode(body);
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
    std::optional<QString> text = decodeWhole(built.buffer);
    if (!text) {
        built = build(format, cells, true);
        text = decodeWhole(built.buffer);
        if (!text)
            text = sjis::decode(built.buffer); // cannot happen: every row was checked
    }
    result.problems = std::move(built.problems);
    result.accepted = options.force || !built.blocking;
    if (!result.accepted)
        return result;
    switch (format) {
    case InteropFormat::Mozc:
    case InteropFormat::Text:
        result.bytes = text->toUtf8();
        result.entries = built.entries;
        break;
    case InteropFormat::MsIme:
        result.bytes = msImeFile(*text, options);
        result.entries = built.entries;
        break;
    case InteropFormat::Skk:
        result.bytes = skkDictionary(*text, result.entries);
        break;
    }
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
