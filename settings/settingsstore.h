#pragma once
// The editor's settings: sections (subkeys) of one product key of the current
// user, holding text values. Integers and booleans are stored as decimal text.

#include "platform/registry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace kelvari {

class SettingsStore {
public:
    static constexpr const char *kProductKey = "Software\\Vesk\\Pomwick";

    // Opens the product key, creating it (and its parents) when missing.
    // Throws AppError when it cannot be created.
    explicit SettingsStore(Registry &registry);

    // An empty section addresses the product key itself. A missing section or
    // value gives the default; a value that is not text throws AppError.
    QByteArray ReadTextSetting(const QByteArray &section, const QByteArray &name,
                               const QByteArray &defaultValue) const;
    int ReadIntegerSetting(const QByteArray &section, const QByteArray &name,
                           int defaultValue) const;
    bool ReadBooleanSetting(const QByteArray &section, const QByteArray &name,
                            bool defaultValue) const;
    // A text setting that names a file or folder (General\SaveDir, Atok\Path,
    // History\File<n>): ReadTextSetting's text decoded as exact Shift-JIS. No value
    // when the section or value is missing or when the text is not exact Shift-JIS
    // (a damaged value must never be taken for some other path); the caller uses
    // its default then. A value that is not text throws AppError, as for every read.
    std::optional<QString> ReadPathSetting(const QByteArray &section, const QByteArray &name) const;

    // Create the section when missing. Throw AppError when the registry refuses.
    void WriteTextSetting(const QByteArray &section, const QByteArray &name,
                          const QByteArray &text);
    void WriteIntegerSetting(const QByteArray &section, const QByteArray &name, int value);
    void WriteBooleanSetting(const QByteArray &section, const QByteArray &name, bool value);

    // Removes the value; a missing one is no error.
    void DeleteSetting(const QByteArray &section, const QByteArray &name);

    // The section's value names in the registry's order; creates the section when missing.
    QList<QByteArray> ListSettingNames(const QByteArray &section);

    // "425", "-8", "$1F" and, for texts longer than two characters, "0x20" / "0X20".
    // Anything else, and numbers outside the int range, give nullopt.
    static std::optional<int> parseInteger(const QByteArray &text);

private:
    QByteArray keyPath(const QByteArray &section) const;
    // The text stopped at its first zero byte; none when missing. Throws for a non-text type.
    std::optional<QByteArray> readText(const QByteArray &section, const QByteArray &name) const;

    Registry &m_registry;
};

} // namespace kelvari
