#include "interop/importer.h"

#include "check/partsofspeech.h"
#include "document/wordlist.h"
#include "platform/sjis.h"

#include <QHash>
#include <QStringEncoder>
#include <algorithm>

namespace kelvari {
namespace {

struct Entry {
    QString reading;
    QString word;
    QString pos; // already one of the 41 where it could be mapped
    int line;
};

QString reasonText(const char16_t *text) {
    return QString::fromUtf16(text);
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

// The names an import understands, decoded once: a target's names to the 41.
QHash<QString, QString> lookupFor(InteropFormat format) {
    QHash<QString, QString> names;
    for (const QByteArray &target : targetPosNames(format))
        names.insert(sjis::decode(target), sjis::decode(posFromTarget(format, target)));
    return names;
}

// The name among the 41 for a target's name; empty when unknown.
QString knownPos(InteropFormat format, QStringView name) {
    static const QHash<QString, QString> mozc = lookupFor(InteropFormat::Mozc);
    static const QHash<QString, QString> msIme = lookupFor(InteropFormat::MsIme);
    const QString key = name.toString();
    return format == InteropFormat::Mozc ? mozc.value(key) : msIme.value(key);
}

const QString &defaultPosText() {
    static const QString name = sjis::decode(defaultPartOfSpeech());
    return name;
}

// Plain text: a part of speech of the 41 stays; one of the other input methods'
// names is mapped; anything else stays as it is for the grammar check to show.
QString textPos(const QString &name) {
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> all = lookupFor(InteropFormat::MsIme);
        all.insert(lookupFor(InteropFormat::Mozc));
        for (const QString &own : partOfSpeechDisplayNames())
            all.insert(own, own);
        return all;
    }();
    if (name.isEmpty())
        return defaultPosText();
    return names.value(name, name);
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

class Parser {
public:
    explicit Parser(InteropFormat format) : m_format(format) {}

    void line(int number, const DecodedLine &decoded) {
        const QString &text = decoded.text;
        if (!decoded.readable)
            return problem(number, text, reasonText(u"文字として読めないバイトを含みます"));
        if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); }))
            return;
        if (text.contains(QChar(0)))
            return problem(number, text, reasonText(u"NUL 文字を含みます"));
        switch (m_format) {
        case InteropFormat::Mozc:
            if (text.startsWith(u'#'))
                return;
            return tabbed(number, text, 3);
        case InteropFormat::MsIme:
            if (text.startsWith(u'!'))
                return;
            return tabbed(number, text, 3);
        case InteropFormat::Text:
            return plain(number, text);
        case InteropFormat::Skk:
            return skk(number, text);
        }
    }

    std::vector<Entry> entries;
    QList<ImportProblem> problems;

private:
    void problem(int number, const QString &text, const QString &reason) {
        problems.append({number, text, reason});
    }

    void add(int number, const QString &reading, const QString &word, QString pos) {
        if (reading.isEmpty() || word.isEmpty())
            return problem(number, entryText(number), reasonText(u"読みか単語が空です"));
        entries.push_back({reading, word, std::move(pos), number});
    }
    QString entryText(int) const { return m_current; }

    void tabbed(int number, const QString &text, int fields) {
        m_current = text;
        const QStringList parts = text.split(u'\t');
        if (parts.size() < fields)
            return problem(number, text, reasonText(u"読み・単語・品詞のタブ区切りではありません"));
        QString pos = knownPos(m_format, parts[2]);
        if (pos.isEmpty()) {
            problem(number, text,
                    reasonText(u"品詞を対応づけられないため、そのまま取り込みました"));
            pos = parts[2];
        }
        add(number, parts[0], parts[1], pos);
    }

    void plain(int number, const QString &text) {
        m_current = text;
        QStringList parts;
        if (text.contains(u'\t')) {
            parts = text.split(u'\t');
        } else {
            const std::optional<QStringList> csv = splitCsv(text);
            if (!csv)
                return problem(number, text, reasonText(u"引用符が閉じていません"));
            parts = *csv;
        }
        if (parts.size() < 2)
            return problem(number, text, reasonText(u"読みと単語の区切りがありません"));
        add(number, parts[0], parts[1], textPos(parts.size() > 2 ? parts[2] : QString()));
    }

    void skk(int number, const QString &text) {
        m_current = text;
        if (text.startsWith(u';')) {
            if (text.startsWith(u";; okuri-ari entries."))
                m_okuriAri = true;
            else if (text.startsWith(u";; okuri-nasi entries."))
                m_okuriAri = false;
            return;
        }
        if (m_okuriAri)
            return problem(number, text, reasonText(u"送りありの見出しは取り込みません"));
        const qsizetype space = text.indexOf(u' ');
        if (space <= 0 || !text.sliced(space + 1).startsWith(u'/'))
            return problem(number, text, reasonText(u"「読み /候補/」の形ではありません"));
        const QString reading = text.first(space);
        const QString &pos = defaultPosText();
        const QStringList cands = text.sliced(space + 2).split(u'/', Qt::SkipEmptyParts);
        for (QString cand : cands) {
            if (cand.trimmed().isEmpty())
                continue;
            const qsizetype semi = cand.indexOf(u';'); // an annotation follows
            if (semi >= 0)
                cand.truncate(semi);
            if (const std::optional<QString> plainWord = decodeConcat(cand))
                cand = *plainWord;
            add(number, reading, cand, pos);
        }
    }

    InteropFormat m_format;
    QString m_current;
    bool m_okuriAri = false;
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

} // namespace

ImportResult importWordList(InteropFormat format, QByteArrayView fileBytes) {
    ImportResult result;
    DecodedText decoded = decodeLines(fileBytes);
    result.encoding = decoded.detected.encoding;
    Parser parser(format);
    for (size_t i = 0; i < decoded.lines.size(); ++i)
        parser.line(int(i + 1), decoded.lines[i]);
    decoded.lines.clear();
    result.problems = std::move(parser.problems);

    // Encode in blocks; a block with a character Shift-JIS cannot hold is done
    // again entry by entry to name the lines.
    constexpr size_t kBlock = 4096;
    const std::vector<Entry> &entries = parser.entries;
    result.rows.reserve(entries.size());
    QString buffer;
    for (size_t first = 0; first < entries.size(); first += kBlock) {
        const size_t end = std::min(entries.size(), first + kBlock);
        buffer.clear();
        for (size_t i = first; i < end; ++i)
            appendEntry(buffer, entries[i]);
        QStringEncoder enc("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray bytes = enc.encode(buffer);
        if (!enc.hasError()) {
            takeRows(bytes, result.rows);
            continue;
        }
        for (size_t i = first; i < end; ++i) {
            buffer.clear();
            appendEntry(buffer, entries[i]);
            const sjis::EncodeResult one = sjis::encode(buffer);
            if (one.ok()) {
                takeRows(one.bytes, result.rows);
                continue;
            }
            result.problems.append(
                {entries[i].line,
                 entries[i].reading + u'\t' + entries[i].word + u'\t' + entries[i].pos,
                 QString::fromUtf16(u"Shift-JIS にない文字「") + one.unmappable +
                     QString::fromUtf16(u"」を含みます")});
        }
    }
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
