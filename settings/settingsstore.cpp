#include "settings/settingsstore.h"

#include "platform/errors.h"
#include "platform/sjis.h"

#include <limits>

namespace kelvari {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Digits only, no sign; nullopt beyond `limit`.
std::optional<qint64> parseDigits(QByteArrayView digits, int base, qint64 limit) {
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || d >= base)
            return std::nullopt;
        value = value * base + d;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

SettingsStore::SettingsStore(Registry &registry) : m_registry(registry) {
    m_registry.createKey(RegRoot::CurrentUser, kProductKey);
}

void SettingsStore::DeleteSetting(const QByteArray &section, const QByteArray &name) {
    m_registry.deleteValue(RegRoot::CurrentUser, keyPath(section), name);
}

QByteArray SettingsStore::keyPath(const QByteArray &section) const {
    QByteArray path(kProductKey);
    if (!section.isEmpty())
        path += '\\' + section;
    return path;
}

std::optional<int> SettingsStore::parseInteger(const QByteArray &text) {
    constexpr qint64 kMax = std::numeric_limits<int>::max();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto value = parseDigits(QByteArrayView(text).sliced(2), 16, kMax);
        return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    }
    QByteArrayView rest(text);
    bool negative = false;
    if (rest.startsWith('-') || rest.startsWith('+')) {
        negative = rest.front() == '-';
        rest = rest.sliced(1);
    }
    int base = 10;
    if (rest.startsWith('$')) {
        base = 16;
        rest = rest.sliced(1);
    }
    const auto value = parseDigits(rest, base, negative ? kMax + 1 : kMax);
    if (!value)
        return std::nullopt;
    return static_cast<int>(negative ? -*value : *value);
}

std::optional<QByteArray> SettingsStore::readText(const QByteArray &section,
                                                  const QByteArray &name) const {
    const std::optional<RegValue> value =
        m_registry.readValue(RegRoot::CurrentUser, keyPath(section), name);
    if (!value)
        return std::nullopt;
    if (value->type != RegType::Sz && value->type != RegType::ExpandSz) {
        const QByteArray shown = section.isEmpty() ? name : section + '\\' + name;
        throw AppError(
            QStringLiteral("設定値 %1 の型が文字列ではありません。").arg(sjis::decode(shown)));
    }
    const qsizetype zero = value->data.indexOf('\0');
    return zero < 0 ? value->data : value->data.left(zero);
}

QByteArray SettingsStore::ReadTextSetting(const QByteArray &section, const QByteArray &name,
                                          const QByteArray &defaultValue) const {
    return readText(section, name).value_or(defaultValue);
}

std::optional<QString> SettingsStore::ReadPathSetting(const QByteArray &section,
                                                      const QByteArray &name) const {
    const std::optional<QByteArray> text = readText(section, name);
    if (!text)
        return std::nullopt;
    return sjis::decodeExact(*text);
}

int SettingsStore::ReadIntegerSetting(const QByteArray &section, const QByteArray &name,
                                      int defaultValue) const {
    const QByteArray text = ReadTextSetting(section, name, QByteArray::number(defaultValue));
    return parseInteger(text).value_or(defaultValue);
}

bool SettingsStore::ReadBooleanSetting(const QByteArray &section, const QByteArray &name,
                                       bool defaultValue) const {
    return ReadIntegerSetting(section, name, defaultValue ? 1 : 0) != 0;
}

void SettingsStore::WriteTextSetting(const QByteArray &section, const QByteArray &name,
                                     const QByteArray &text) {
    m_registry.writeString(RegRoot::CurrentUser, keyPath(section), name, text);
}

void SettingsStore::WriteIntegerSetting(const QByteArray &section, const QByteArray &name,
                                        int value) {
    WriteTextSetting(section, name, QByteArray::number(value));
}

void SettingsStore::WriteBooleanSetting(const QByteArray &section, const QByteArray &name,
                                        bool value) {
    WriteTextSetting(section, name, value ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
}

QList<QByteArray> SettingsStore::ListSettingNames(const QByteArray &section) {
    const QByteArray path = keyPath(section);
    m_registry.createKey(RegRoot::CurrentUser, path);
    return m_registry.valueNames(RegRoot::CurrentUser, path);
}

} // namespace kelvari
