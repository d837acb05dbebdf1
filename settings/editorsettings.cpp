#include "settings/editorsettings.h"

#include "settings/savefolder.h"

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/sjis.h"

namespace kelvari {
namespace {

namespace keys = settingkeys;

QByteArray section(const SettingKey &key) {
    return QByteArray(key.section);
}
QByteArray name(const SettingKey &key) {
    return QByteArray(key.name);
}

} // namespace

EditorSettings::EditorSettings(Registry &registry) : m_store(registry) {}

QString EditorSettings::defaultSaveDir() {
    return DefaultSaveDir(Folders::programFolder());
}

int EditorSettings::usableMaxRow(int storedMaxRow) {
    return storedMaxRow < kMinMaxRow || storedMaxRow > kMaxMaxRow ? kDefaultMaxRow : storedMaxRow;
}

int EditorSettings::readInteger(const SettingKey &key, int defaultValue) const {
    return m_store.ReadIntegerSetting(section(key), name(key), defaultValue);
}

bool EditorSettings::readBoolean(const SettingKey &key, bool defaultValue) const {
    return m_store.ReadBooleanSetting(section(key), name(key), defaultValue);
}

// A stored path that does not decode exactly would name another file or folder
// than the one stored: it counts as not stored.
std::optional<QString> EditorSettings::readPath(const SettingKey &key) const {
    return m_store.ReadPathSetting(section(key), name(key));
}

void EditorSettings::writeInteger(const SettingKey &key, int value) {
    m_store.WriteIntegerSetting(section(key), name(key), value);
}

WindowPlacement EditorSettings::readWindow() const {
    const WindowPlacement defaults;
    WindowPlacement placement;
    placement.Left = readInteger(keys::WindowLeft, defaults.Left);
    placement.Top = readInteger(keys::WindowTop, defaults.Top);
    placement.Height = readInteger(keys::WindowHeight, defaults.Height);
    placement.Width = readInteger(keys::WindowWidth, defaults.Width);
    return placement;
}

ColumnWidths EditorSettings::readColumnWidths() const {
    return {readInteger(keys::GridYomi, kDefaultColumnWidths[0]),
            readInteger(keys::GridTango, kDefaultColumnWidths[1]),
            readInteger(keys::GridHinsi, kDefaultColumnWidths[2])};
}

GeneralSettings EditorSettings::readGeneral() const {
    const GeneralSettings defaults;
    GeneralSettings general;
    general.MaxRow = readInteger(keys::MaxRow, defaults.MaxRow);
    general.ShowFullPath = readBoolean(keys::FullPath, defaults.ShowFullPath);
    general.ShowAtokUtility = readBoolean(keys::ShowAtokUtility, defaults.ShowAtokUtility);
    general.ShowAtokHelp = readBoolean(keys::ShowAtokHelp, defaults.ShowAtokHelp);
    // The default folder is looked for on disk: only when none is stored.
    const std::optional<QString> saveDir = readPath(keys::SaveDir);
    general.SaveDir = saveDir ? *saveDir : defaultSaveDir();
    return general;
}

QString EditorSettings::readAtokFolder() const {
    return readPath(keys::AtokPath).value_or(QString());
}

QStringList EditorSettings::readHistory() {
    const QByteArray historySection(keys::HistorySection);
    QStringList paths;
    for (const QByteArray &valueName : m_store.ListSettingNames(historySection)) {
        if (const std::optional<QString> path = m_store.ReadPathSetting(historySection, valueName))
            paths.append(*path);
    }
    return paths;
}

void EditorSettings::writeWindow(const WindowPlacement &placement) {
    writeInteger(keys::WindowLeft, placement.Left);
    writeInteger(keys::WindowTop, placement.Top);
    writeInteger(keys::WindowHeight, placement.Height);
    writeInteger(keys::WindowWidth, placement.Width);
}

void EditorSettings::writeColumnWidths(const ColumnWidths &widths) {
    writeInteger(keys::GridYomi, widths[0]);
    writeInteger(keys::GridTango, widths[1]);
    writeInteger(keys::GridHinsi, widths[2]);
}

void EditorSettings::writeGeneral(const GeneralSettings &general) {
    const sjis::EncodeResult saveDir = sjis::encode(general.SaveDir);
    if (!saveDir.ok())
        throw AppError(QStringLiteral("設定値 %1\\%2 に保存できない文字 (%3) があります。")
                           .arg(QLatin1String(keys::SaveDir.section),
                                QLatin1String(keys::SaveDir.name), saveDir.unmappable));
    writeInteger(keys::MaxRow, general.MaxRow);
    m_store.WriteBooleanSetting(section(keys::FullPath), name(keys::FullPath),
                                general.ShowFullPath);
    m_store.WriteBooleanSetting(section(keys::ShowAtokUtility), name(keys::ShowAtokUtility),
                                general.ShowAtokUtility);
    m_store.WriteBooleanSetting(section(keys::ShowAtokHelp), name(keys::ShowAtokHelp),
                                general.ShowAtokHelp);
    m_store.WriteTextSetting(section(keys::SaveDir), name(keys::SaveDir), saveDir.bytes);
}

void EditorSettings::writeAtokFolder(const QString &folder) {
    const sjis::EncodeResult encoded = sjis::encode(folder);
    m_store.WriteTextSetting(section(keys::AtokPath), name(keys::AtokPath),
                             encoded.ok() ? encoded.bytes : QByteArray());
}

void EditorSettings::writeHistory(const QStringList &paths) {
    const QByteArray historySection(keys::HistorySection);
    const QByteArray prefix(keys::HistoryValuePrefix);
    int number = 0;
    for (const QString &path : paths) {
        const sjis::EncodeResult encoded = sjis::encode(path);
        if (encoded.ok())
            m_store.WriteTextSetting(historySection, prefix + QByteArray::number(++number),
                                     encoded.bytes);
    }
    for (const QByteArray &valueName : m_store.ListSettingNames(historySection)) {
        bool isNumber = false;
        const int n =
            valueName.startsWith(prefix) ? valueName.mid(prefix.size()).toInt(&isNumber) : 0;
        if (isNumber && n > number)
            m_store.DeleteSetting(historySection, valueName);
    }
}

} // namespace kelvari
