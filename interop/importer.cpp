#include "interop/importer.h"

#include "check/partsofspeech.h"
#include "document/wordlist.h"
#include "platform/sjis.h"

#include <QHash>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <deque>
#include <optional>

namespace kelvari {
namespace {

// An entry as read: views into the decoded file, into the part-of-speech
// tables, or into text the parser had to build (a quoted CSV field, a decoded
// SKK concat form), which it keeps until the entry is encoded.
struct Entry {
    QStringView reading;
    QStringView word;
    QStringView pos; // already one of the 41 where it could be mapped
    int line;
};

QString reasonText(const char16_t *text) {
    return QString::fromUtf16(text);
}

// The first three fields of a line split at `separator`, and how many fields
// it has, counting no further than three.
struct Fields {
    std::array<QStringView, 3> at;
    int count = 0;
};

Fields splitFields(QStringView line, QChar separator) {
    Fields fields;
    qsizetype start = 0;
    while (fields.count < 3) {
        const qsizetype end = line.indexOf(separator, start);
        fields.at[size_t(fields.count++)] =
            line.sliced(start, (end < 0 ? line.size() : end) - start);
        if (end < 0)
            break;
        start = end + 1;
    }
    return fields;
}

// A CSV line: fields separated by ",", a field in double quotes may hold commas
// and doubled quotes. None when a quote is left open.
std::optional<QStringList> splitCsv(QStringView line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            fields.append(field);
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted)
        return std::nullopt;
    fields.append(field);
    return fields;
}

using NameTable = QHash<QString, QString>;

// The names an import understands, decoded once: a target's names to the 41.
NameTable lookupFor(InteropFormat format) {
    NameTable names;
    for (const QByteArray &target : targetPosNames(format))
        names.insert(sjis::decode(target), sjis::decode(posFromTarget(format, target)));
    return names;
}

// The value for `name` (a view into the table, which lives as long as the
// program), or an empty view. Looked up without copying the name.
QStringView lookUp(const NameTable &table, QStringView name) {
    const auto it = table.constFind(QString::fromRawData(name.data(), name.size()));
    return it == table.cend() ? QStringView() : QStringView(*it);
}

// The name among the 41 for a target's name; empty when unknown.
QStringView knownPos(InteropFormat format, QStringView name) {
    static const NameTable mozc = lookupFor(InteropFormat::Mozc);
    static const NameTable msIme = lookupFor(InteropFormat::MsIme);
    return lookUp(format == InteropFormat::Mozc ? mozc : msIme, name);
}

QStringView defaultPosText() {
    static const QString name = sjis::decode(defaultPartOfSpeech());
    return name;
}

// Plain text: a part of speech of the 41 stays; one of the other input methods'
// names is mapped; anything else stays as it is for the grammar check to show.
QStringView textPos(QStringView name) {
    static const NameTable names = [] {
        NameTable all = lookupFor(InteropFormat::MsIme);
        all.insert(lookupFor(InteropFormat::Mozc));
        for (const QString &own : partOfSpeechDisplayNames())
            all.insert(own, own);
        return all;
    }();
    if (name.isEmpty())
        return defaultPosText();
    const QStringView known = lookUp(names, name);
    return known.isNull() ? name : known;
}

// "(concat \"a\\057b\")" -> "a/b"; none when it is not such a form.
std::optional<QString> decodeConcat(QStringView cand) {
    if (!cand.startsWith(u"(concat \"") || !cand.endsWith(u"\")"))
        return std::nullopt;
    const QStringView body = cand.sliced(9, cand.size() - 11);
    QString out;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != u'\\') {
            out += body[i];
            continue;
        }
        if (i + 3 < body.size() && body[i + 1].isDigit() && body[i + 2].isDigit() &&
            body[i + 3].isDigit()) {
            const int code = (body[i + 1].unicode() - u'0') * 64 +
                             (body[i + 2].unicode() - u'0') * 8 + (body[i + 3].unicode() - u'0');
            out += QChar(char16_t(code));
            i += 3;
        } else if (i + 1 < body.size()) {
            out += body[++i];
        }
    }
    return out;
}

bool isBlank(QStringView text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

class Parser {
public:
    explicit Parser(InteropFormat format) : m_format(format) {}

    void line(int number, QStringView text, bool readable) {
        m_current = text;
        if (!readable)
            return problem(number, reasonText(u"文字として読めないバイトを含みます"));
        if (isBlank(text))
            return;
        if (text.contains(QChar(0)))
            return problem(number, reasonText(u"NUL 文字を含みます"));
        switch (m_format) {
        case InteropFormat::Mozc:
            if (text.startsWith(u'#'))
                return;
            return tabbed(number, text);
        case InteropFormat::MsIme:
            if (text.startsWith(u'!'))
                return;
            return tabbed(number, text);
        case InteropFormat::Text:
            return plain(number, text);
        case InteropFormat::Skk:
            return skk(number, text);
        }
    }

    // Entries read since the last clear(), and the text they may point into.
    std::vector<Entry> entries;
    QList<ImportProblem> problems;

    void clear() {
        entries.clear();
        m_built.clear();
    }

private:
    void problem(int number, const QString &reason) {
        problems.append({number, m_current.toString(), reason});
    }

    void add(int number, QStringView reading, QStringView word, QStringView pos) {
        if (reading.isEmpty() || word.isEmpty())
            return problem(number, reasonText(u"読みか単語が空です"));
        entries.push_back({reading, word, pos, number});
    }

    QStringView keep(QString text) {
        m_built.push_back(std::move(text));
        return m_built.back();
    }

    void tabbed(int number, QStringView text) {
        const Fields parts = splitFields(text, u'\t');
        if (parts.count < 3)
            return problem(number, reasonText(u"読み・単語・品詞のタブ区切りではありません"));
        QStringView pos = knownPos(m_format, parts.at[2]);
        if (pos.isNull()) {
            problem(number, reasonText(u"品詞を対応づけられないため、そのまま取り込みました"));
            pos = parts.at[2];
        }
        add(number, parts.at[0], parts.at[1], pos);
    }

    void plain(int number, QStringView text) {
        Fields parts;
        if (text.contains(u'\t')) {
            parts = splitFields(text, u'\t');
        } else if (!text.contains(u'"')) {
            parts = splitFields(text, u',');
        } else {
            const std::optional<QStringList> csv = splitCsv(text);
            if (!csv)
                return problem(number, reasonText(u"引用符が閉じていません"));
            for (const QString &field : *csv) {
                if (parts.count == 3)
                    break;
                parts.at[size_t(parts.count++)] = keep(field);
            }
        }
        if (parts.count < 2)
            return problem(number, reasonText(u"読みと単語の区切りがありません"));
        add(number, parts.at[0], parts.at[1],
            textPos(parts.count > 2 ? parts.at[2] : QStringView()));
    }

    void skk(int number, QStringView text) {
        if (text.startsWith(u';')) {
            if (text.startsWith(u";; okuri-ari entries."))
                m_okuriAri = true;
            else if (text.startsWith(u";; okuri-nasi entries."))
                m_okuriAri = false;
            return;
        }
        if (m_okuriAri)
            return problem(number, reasonText(u"送りありの見出しは取り込みません"));
        const qsizetype space = text.indexOf(u' ');
        if (space <= 0 || !text.sliced(space + 1).startsWith(u'/'))
            return problem(number, reasonText(u"「読み /候補/」の形ではありません"));
        const QStringView reading = text.first(space);
        const QStringView pos = defaultPosText();
        for (QStringView cand : text.sliced(space + 2).tokenize(u'/', Qt::SkipEmptyParts)) {
            if (cand.trimmed().isEmpty())
                continue;
            const qsizetype semi = cand.indexOf(u';'); // an annotation follows
            if (semi >= 0)
                cand.truncate(semi);
            if (std::optional<QString> plainWord = decodeConcat(cand))
                cand = keep(std::move(*plainWord));
            add(number, reading, cand, pos);
        }
    }

    InteropFormat m_format;
    QStringView m_current;
    bool m_okuriAri = false;
    std::deque<QString> m_built; // never moves what it holds
};

void appendEntry(QString &buffer, const Entry &e) {
    buffer += e.reading;
    buffer += QChar(0);
    buffer += e.word;
    buffer += QChar(0);
    buffer += e.pos;
    buffer += u'\n';
}

// The CP932 bytes are split back into rows: NUL and LF are never part of a
// double-byte character.
void takeRows(QByteArrayView bytes, std::vector<PackedRow> &rows) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n')
            continue;
        const QByteArrayView line = bytes.sliced(start, i - start);
        const qsizetype a = line.indexOf('\0');
        const qsizetype b = line.lastIndexOf('\0');
        rows.push_back(CellStore::packRow(
            {QByteArrayView(), line.first(a), line.sliced(a + 1, b - a - 1), line.sliced(b + 1)}));
        start = i + 1;
    }
}

// Encodes a block of entries as a whole; a block with a character Shift-JIS
// cannot hold is done again entry by entry to name the lines.
void encodeBlock(const std::vector<Entry> &entries, std::vector<PackedRow> &rows,
                 QList<ImportProblem> &problems) {
    QString buffer;
    for (const Entry &e : entries)
        appendEntry(buffer, e);
    QStringEncoder enc("windows-31j", QStringConverter::Flag::Stateless);
    const QByteArray bytes = enc.encode(buffer);
    if (!enc.hasError()) {
        takeRows(bytes, rows);
        return;
    }
    for (const Entry &e : entries) {
        buffer.clear();
        appendEntry(buffer, e);
        const sjis::EncodeResult one = sjis::encode(buffer);
        if (one.ok()) {
            takeRows(one.bytes, rows);
            continue;
        }
        QString text;
        text += e.reading;
        text += u'\t';
        text += e.word;
        text += u'\t';
        text += e.pos;
        problems.append({e.line, text,
                         QString::fromUtf16(u"Shift-JIS にない文字「") + one.unmappable +
                             QString::fromUtf16(u"」を含みます")});
    }
}

} // namespace

ImportResult importWordList(InteropFormat format, QByteArrayView fileBytes) {
    ImportResult result;
    const DecodedText decoded = decodeLines(fileBytes);
    result.encoding = decoded.detected.encoding;
    result.rows.reserve(decoded.lines.size());
    Parser parser(format);
    QList<ImportProblem> unencodable;
    constexpr size_t kBlock = 4096;
    for (size_t i = 0; i < decoded.lines.size(); ++i) {
        parser.line(int(i + 1), decoded.line(i), decoded.lines[i].readable);
        if (parser.entries.size() >= kBlock) {
            encodeBlock(parser.entries, result.rows, unencodable);
            parser.clear();
        }
    }
    encodeBlock(parser.entries, result.rows, unencodable);
    result.problems = std::move(parser.problems);
    result.problems.append(unencodable);
    std::stable_sort(
        result.problems.begin(), result.problems.end(),
        [](const ImportProblem &a, const ImportProblem &b) { return a.line < b.line; });
    return result;
}

QString formatImportProblem(const ImportProblem &problem) {
    return QString::number(problem.line) + QString::fromUtf16(u"行目：") + problem.reason +
           QStringLiteral(": ") + problem.text;
}

AppendResult appendImportedRows(CellStore &cells, std::vector<PackedRow> rows, int maxRow) {
    if (rows.empty())
        return {};
    int last = cells.rowCount() - 1;
    while (last >= 1 && isBlankWordRow(cells, last))
        --last;
    const int first = last + 1;
    const int count = int(rows.size());
    const int newCount = rowCountAfterLoad(last + count, maxRow);
    cells.reserveRows(std::max(newCount, cells.rowCount()) + 1);
    if (cells.colCount() <= WordColumn::Count) {
        cells.assignRows(first, std::move(rows), WordColumn::Count);
    } else {
        for (int i = 0; i < count; ++i) {
            const std::string_view row = rows[size_t(i)].view();
            for (int col = WordColumn::Reading; col <= WordColumn::PartOfSpeech; ++col) {
                const std::string_view cell = CellStore::cellOf(row, col);
                cells.setCell(col, first + i, QByteArrayView(cell.data(), qsizetype(cell.size())));
            }
        }
    }
    cells.setRowCount(newCount);
    numberRows(cells, first);
    return {first, last + count};
}

} // namespace kelvari
