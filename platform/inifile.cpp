#include "platform/inifile.h"

#include "platform/regfile.h"
#include "platform/sjis.h"

#include <QFile>
#include <QFileInfo>

namespace kelvari::IniFile {
namespace {

using regfile::trimmedBlanks;

// Index of the first `wanted` byte that is not the second byte of a character, or -1.
qsizetype findByte(QByteArrayView text, char wanted) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (sjis::isLeadByte(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == wanted)
            return i;
    }
    return -1;
}

// The value's text, or none when the section or key is missing.
std::optional<QByteArray> lookup(const QByteArray &bytes, const QByteArray &section,
                                 const QByteArray &key) {
    const QByteArrayView wantedSection = trimmedBlanks(section);
    const QByteArrayView wantedKey = trimmedBlanks(key);
    bool inSection = false;
    bool sectionSeen = false;
    qsizetype start = 0;
    const QByteArrayView all(bytes);
    while (start < all.size()) {
        qsizetype end = all.indexOf('\n', start);
        if (end < 0)
            end = all.size();
        QByteArrayView line = all.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        line = trimmedBlanks(line);
        if (line.isEmpty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            if (sectionSeen)
                break; // only the first section of that name counts
            const qsizetype close = findByte(line, ']');
            inSection = close > 0 && regfile::namesEqual(trimmedBlanks(line.sliced(1, close - 1)),
                                                         wantedSection);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = findByte(line, '=');
        if (equals < 0 || !regfile::namesEqual(trimmedBlanks(line.first(equals)), wantedKey))
            continue;
        QByteArrayView value = trimmedBlanks(line.sliced(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front() && !regfile::endsInLoneLeadByte(value.chopped(1)))
            value = value.sliced(1, value.size() - 2);
        return value.toByteArray();
    }
    return std::nullopt;
}

std::optional<QByteArray> readFile(const QString &path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

QByteArray readStringFrom(const QByteArray &bytes, const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue) {
    return lookup(bytes, section, key).value_or(defaultValue);
}

QByteArray readString(const QString &path, const QByteArray &section, const QByteArray &key,
                      const QByteArray &defaultValue) {
    const std::optional<QByteArray> bytes = readFile(path);
    return bytes ? readStringFrom(*bytes, section, key, defaultValue) : defaultValue;
}

std::optional<QString> readPath(const QString &path, const QByteArray &section,
                                const QByteArray &key) {
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    const std::optional<QByteArray> value = lookup(*bytes, section, key);
    if (!value)
        return std::nullopt;
    return sjis::decodeExact(*value);
}

} // namespace kelvari::IniFile
