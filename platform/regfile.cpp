#include "platform/regfile.h"

#include "platform/sjis.h"

namespace kelvari::regfile {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool hasControlByte(QByteArrayView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (sjis::isLeadByte(text[i]) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (static_cast<unsigned char>(text[i]) < 0x20)
            return true;
    }
    return false;
}

bool startsWithNoCase(QByteArrayView text, QByteArrayView prefix) {
    return text.size() >= prefix.size() && namesEqual(text.first(prefix.size()), prefix);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// 1 to 8 hex digits.
std::optional<quint32> parseHex32(QByteArrayView text) {
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    quint32 value = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + static_cast<quint32>(d);
    }
    return value;
}

// Reads a quoted string that starts at text[pos] == '"'. A lead byte always
// takes the next byte with it, so a second byte 0x5C or 0x22 is plain data.
// On success `pos` is just past the closing quote.
std::optional<QByteArray> readQuoted(QByteArrayView text, qsizetype &pos) {
    if (pos >= text.size() || text[pos] != '"')
        return std::nullopt;
    QByteArray out;
    qsizetype i = pos + 1;
    while (i < text.size()) {
        const char c = text[i];
        if (sjis::isLeadByte(c)) {
            if (i + 1 >= text.size())
                return std::nullopt;
            out.append(c).append(text[i + 1]);
            i += 2;
        } else if (c == '\\') {
            if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"'))
                return std::nullopt;
            out.append(text[i + 1]);
            i += 2;
        } else if (c == '"') {
            pos = i + 1;
            return out;
        } else {
            out.append(c);
            ++i;
        }
    }
    return std::nullopt;
}

void appendQuoted(QByteArray &out, QByteArrayView text) {
    out.append('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (sjis::isLeadByte(c) && i + 1 < text.size()) {
            out.append(c).append(text[i + 1]);
            ++i;
            continue;
        }
        if (c == '\\' || c == '"')
            out.append('\\');
        out.append(c);
    }
    out.append('"');
}

// A text can stand between quotes when reading it back gives the same bytes:
// no line breaks or zero bytes, and no lead byte that would swallow the quote.
bool quotable(QByteArrayView text) {
    return !text.contains('\n') && !text.contains('\r') && !text.contains('\0') &&
           !endsInLoneLeadByte(text);
}

bool isTextType(RegType type) {
    return type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz;
}

void appendHex(QByteArray &out, QByteArrayView data) {
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0)
            out.append(',');
        const auto b = static_cast<unsigned char>(data[i]);
        out.append(digits[b >> 4]).append(digits[b & 0x0F]);
    }
}

void appendValue(QByteArray &out, const QByteArray &name, const RegValue &value) {
    if (name.isEmpty())
        out.append('@');
    else
        appendQuoted(out, name);
    out.append('=');
    const auto typeNumber = static_cast<quint32>(value.type);
    if (value.type == RegType::Sz && quotable(value.data)) {
        appendQuoted(out, value.data);
    } else if (value.type == RegType::Dword && value.data.size() == 4) {
        quint32 n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<unsigned char>(value.data[i]);
        out.append("dword:").append(QByteArray::number(n, 16).rightJustified(8, '0'));
    } else {
        if (value.type == RegType::Binary)
            out.append("hex:");
        else
            out.append("hex(").append(QByteArray::number(typeNumber, 16)).append("):");
        QByteArray data = value.data;
        // The file form of a text type carries its terminating zero.
        if (isTextType(value.type))
            data.append('\0');
        appendHex(out, data);
    }
    out.append("\r\n");
}

void appendKey(QByteArray &out, const Key &key, const QByteArray &path, bool writeHeader) {
    if (writeHeader) {
        out.append('[').append(path).append("]\r\n");
        for (const auto &[name, value] : key.values)
            appendValue(out, name, value);
        out.append("\r\n");
    }
    for (const auto &child : key.children)
        appendKey(out, *child, path + '\\' + child->name, true);
}

struct Parser {
    QList<QByteArrayView> lines;
    QByteArrayView rootName;
    Key &root;
    ParseError *error;
    qsizetype index = 0; // the line being parsed, 0-based

    bool fail(const QString &reason) {
        if (error) {
            error->line = static_cast<int>(index + 1);
            error->reason = reason;
        }
        return false;
    }

    bool parseSection(QByteArrayView line, Key *&current) {
        // The closing bracket must be a byte of its own, not a second byte.
        qsizetype i = 1;
        while (i < line.size() - 1)
            i += (sjis::isLeadByte(line[i]) && i + 1 < line.size()) ? 2 : 1;
        if (line.size() < 2 || i != line.size() - 1 || line.back() != ']')
            return fail(QStringLiteral("キーの行が閉じていません"));
        const QByteArrayView path = line.sliced(1, line.size() - 2);
        if (!startsWithNoCase(path, rootName) ||
            (path.size() > rootName.size() && path[rootName.size()] != '\\'))
            return fail(QStringLiteral("別のルートのキーです"));
        const auto components = splitKeyPath(path.sliced(rootName.size()));
        if (!components)
            return fail(QStringLiteral("キーの名前が不正です"));
        current = &root;
        for (const QByteArray &name : *components)
            current = &current->ensureChild(name);
        return true;
    }

    std::optional<QByteArray> hexData(QByteArrayView first) {
        QByteArray text = trimmedBlanks(first).toByteArray();
        while (text.endsWith('\\')) {
            text.chop(1);
            if (index + 1 >= lines.size())
                return std::nullopt;
            ++index;
            text.append(trimmedBlanks(lines[index]));
        }
        QByteArray data;
        if (trimmedBlanks(text).isEmpty())
            return data;
        for (const QByteArray &token : text.split(',')) {
            const QByteArrayView digits = trimmedBlanks(token);
            if (digits.isEmpty() || digits.size() > 2)
                return std::nullopt;
            const auto byte = parseHex32(digits);
            if (!byte)
                return std::nullopt;
            data.append(static_cast<char>(*byte));
        }
        return data;
    }

    bool parseValue(QByteArrayView line, Key *current) {
        if (!current)
            return fail(QStringLiteral("キーの外に値があります"));
        QByteArray name;
        qsizetype pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else {
            auto quoted = readQuoted(line, pos);
            if (!quoted)
                return fail(QStringLiteral("値の名前が閉じていません"));
            if (quoted->isEmpty() || !isValidValueName(*quoted))
                return fail(QStringLiteral("値の名前が不正です"));
            name = *quoted;
        }
        if (pos >= line.size() || line[pos] != '=')
            return fail(QStringLiteral("\"=\" がありません"));
        ++pos;
        const QByteArrayView rest = line.sliced(pos);
        RegValue value;
        if (rest.startsWith('"')) {
            qsizetype end = 0;
            auto text = readQuoted(rest, end);
            if (!text)
                return fail(QStringLiteral("文字列が閉じていません"));
            if (!trimmedBlanks(rest.sliced(end)).isEmpty())
                return fail(QStringLiteral("文字列の後に余分な文字があります"));
            value = RegValue{RegType::Sz, *text};
        } else if (startsWithNoCase(rest, "dword:")) {
            const auto n = parseHex32(trimmedBlanks(rest.sliced(6)));
            if (!n)
                return fail(QStringLiteral("dword の値が不正です"));
            QByteArray data(4, '\0');
            for (int i = 0; i < 4; ++i)
                data[i] = static_cast<char>((*n >> (8 * i)) & 0xFF);
            value = RegValue{RegType::Dword, data};
        } else if (startsWithNoCase(rest, "hex")) {
            QByteArrayView tail = rest.sliced(3);
            quint32 type = static_cast<quint32>(RegType::Binary);
            if (tail.startsWith('(')) {
                const qsizetype close = tail.indexOf(')');
                const auto n = close > 0 ? parseHex32(tail.sliced(1, close - 1)) : std::nullopt;
                if (!n || *n > 0x7FFFFFFF)
                    return fail(QStringLiteral("値の型が不正です"));
                type = *n;
                tail = tail.sliced(close + 1);
            }
            if (!tail.startsWith(':'))
                return fail(QStringLiteral("値の型が不正です"));
            auto data = hexData(tail.sliced(1));
            if (!data)
                return fail(QStringLiteral("16進数のデータが不正です"));
            value = RegValue{static_cast<RegType>(type), *data};
            if (isTextType(value.type) && value.data.endsWith('\0'))
                value.data.chop(1);
        } else {
            return fail(QStringLiteral("値の形式が不明です"));
        }
        const qsizetype existing = current->valueIndex(name);
        if (existing >= 0)
            current->values[existing].second = value;
        else
            current->values.append({name, value});
        return true;
    }

    bool run() {
        if (lines.isEmpty())
            return true;
        if (trimmedBlanks(lines[0]) != "REGEDIT4")
            return fail(QStringLiteral("先頭の行が REGEDIT4 ではありません"));
        Key *current = nullptr;
        for (index = 1; index < lines.size(); ++index) {
            const QByteArrayView line = trimmedBlanks(lines[index]);
            if (line.isEmpty() || line[0] == ';')
                continue;
            if (line[0] == '[') {
                if (!parseSection(line, current))
                    return false;
            } else if (line[0] == '"' || line[0] == '@') {
                if (!parseValue(line, current))
                    return false;
            } else {
                return fail(QStringLiteral("不明な行です"));
            }
        }
        return true;
    }
};

} // namespace

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmedBlanks(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    // A blank is never the second byte of a double-byte character.
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

Key *Key::child(QByteArrayView childName) const {
    for (const auto &c : children) {
        if (namesEqual(c->name, childName))
            return c.get();
    }
    return nullptr;
}

Key &Key::ensureChild(const QByteArray &childName, bool *created) {
    if (Key *existing = child(childName)) {
        if (created)
            *created = false;
        return *existing;
    }
    auto key = std::make_unique<Key>();
    key->name = childName;
    children.push_back(std::move(key));
    if (created)
        *created = true;
    return *children.back();
}

qsizetype Key::valueIndex(QByteArrayView valueName) const {
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (namesEqual(values[i].first, valueName))
            return i;
    }
    return -1;
}

Key *Key::find(const QList<QByteArray> &components) {
    Key *key = this;
    for (const QByteArray &name : components) {
        key = key->child(name);
        if (!key)
            return nullptr;
    }
    return key;
}

bool namesEqual(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (sjis::isLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool endsInLoneLeadByte(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size()) {
        if (sjis::isLeadByte(text[i])) {
            if (i + 1 >= text.size())
                return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

std::optional<QList<QByteArray>> splitKeyPath(QByteArrayView path) {
    QList<QByteArray> parts;
    QByteArray current;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (sjis::isLeadByte(c)) {
            if (i + 1 >= path.size())
                return std::nullopt;
            current.append(c).append(path[i + 1]);
            ++i;
        } else if (c == '\\') {
            parts.append(current);
            current.clear();
        } else if (static_cast<unsigned char>(c) < 0x20) {
            return std::nullopt;
        } else {
            current.append(c);
        }
    }
    parts.append(current);
    while (!parts.isEmpty() && parts.front().isEmpty())
        parts.removeFirst();
    if (!parts.isEmpty() && parts.back().isEmpty())
        parts.removeLast();
    for (const QByteArray &part : parts) {
        if (part.isEmpty())
            return std::nullopt;
    }
    if (parts.size() > kMaxDepth)
        return std::nullopt;
    return parts;
}

bool isValidValueName(QByteArrayView name) {
    return !hasControlByte(name) && !endsInLoneLeadByte(name);
}

bool parse(const QByteArray &bytes, QByteArrayView rootName, Key &root, ParseError *error) {
    Parser parser{{}, rootName, root, error};
    if (bytes.isEmpty())
        return true;
    qsizetype start = 0;
    // Line feeds and carriage returns are never second bytes, so a byte-wise split is safe.
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        parser.lines.append(line);
        start = end + 1;
    }
    // A final line break leaves one empty line behind; it is no line of its own.
    if (!parser.lines.isEmpty() && parser.lines.back().isEmpty())
        parser.lines.removeLast();
    return parser.run();
}

QByteArray serialize(const Key &root, QByteArrayView rootName) {
    QByteArray out("REGEDIT4\r\n\r\n");
    appendKey(out, root, rootName.toByteArray(), !root.values.isEmpty());
    return out;
}

} // namespace kelvari::regfile
