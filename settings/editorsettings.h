#pragma once
// The editor's own settings as typed values: where each lives in the product key,
// its default, and how it is encoded. The main window reads and writes its
// window, grid, ATOK and history values here; the settings dialog the general
// ones. Nothing else names these sections and values.

#include "settings/settingsstore.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace kelvari {

// A setting's place in the product key.
struct SettingKey {
    const char *section;
    const char *name;
};

namespace settingkeys {
inline constexpr SettingKey WindowLeft{"Window", "Left"};
inline constexpr SettingKey WindowTop{"Window", "Top"};
inline constexpr SettingKey WindowHeight{"Window", "Height"};
inline constexpr SettingKey WindowWidth{"Window", "Width"};
inline constexpr SettingKey GridYomi{"Grid", "Yomi"};
inline constexpr SettingKey GridTango{"Grid", "Tango"};
inline constexpr SettingKey GridHinsi{"Grid", "Hinsi"};
inline constexpr SettingKey MaxRow{"General", "MaxRow"};
inline constexpr SettingKey FullPath{"General", "FullPath"};
inline constexpr SettingKey ShowAtokUtility{"General", "ShowAtokUtility"};
inline constexpr SettingKey ShowAtokHelp{"General", "ShowAtokHelp"};
inline constexpr SettingKey SaveDir{"General", "SaveDir"};
inline constexpr SettingKey AtokPath{"Atok", "Path"};
// The history's values are named "File1", "File2", ... with File1 the most recent.
inline constexpr const char *HistorySection = "History";
inline constexpr const char *HistoryValuePrefix = "File";
} // namespace settingkeys

// The main window's place and size, in pixels.
struct WindowPlacement {
    int Left = 0;
    int Top = 0;
    int Height = 425;
    int Width = 602;
    bool operator==(const WindowPlacement &) const = default;
};

// Widths of word-table columns 1 (reading), 2 (word) and 3 (part of speech).
using ColumnWidths = std::array<int, 3>;
inline constexpr ColumnWidths kDefaultColumnWidths{120, 104, 68};

// The rows a word list may be given; the settings dialog's spin edit offers the same.
inline constexpr int kMinMaxRow = 1;
inline constexpr int kMaxMaxRow = 999;
inline constexpr int kDefaultMaxRow = 100;

// The section "General": what the settings dialog edits.
struct GeneralSettings {
    int MaxRow = kDefaultMaxRow;
    bool ShowFullPath = true;
    bool ShowAtokUtility = true;
    bool ShowAtokHelp = true;
    QString SaveDir;
    bool operator==(const GeneralSettings &) const = default;
};

class EditorSettings {
public:
    // Opens the product key, creating it when missing. Throws AppError.
    explicit EditorSettings(Registry &registry);

    // The folder for new files when none is stored: the program's folder without
    // its trailing separator.
    static QString defaultSaveDir();
    // The number of rows a new list gets for a stored MaxRow: a value outside
    // 1..999 (a damaged or hand-edited store) would empty the grid or allocate
    // millions of rows, and gives the default instead.
    static int usableMaxRow(int storedMaxRow);

    // A missing section or value, or a number that does not parse, gives the
    // default; a value stored with a type other than text throws AppError.
    WindowPlacement readWindow() const;
    ColumnWidths readColumnWidths() const;
    // MaxRow as stored (not yet limited); SaveDir defaults to defaultSaveDir().
    GeneralSettings readGeneral() const;
    QString readAtokFolder() const;
    // The texts of every value of the section, in the registry's order, whatever
    // their names. Creates the section when missing.
    QStringList readHistory();

    // Writes throw AppError naming the value the registry refuses; the values
    // after it are not written.
    void writeWindow(const WindowPlacement &placement);
    void writeColumnWidths(const ColumnWidths &widths);
    // MaxRow, FullPath, ShowAtokUtility, ShowAtokHelp, SaveDir, in this order.
    // A SaveDir that Shift-JIS cannot hold throws before anything is written.
    void writeGeneral(const GeneralSettings &general);
    // A folder that Shift-JIS cannot hold is stored empty: the folder is asked
    // for again rather than stored garbled.
    void writeAtokFolder(const QString &folder);
    // File1, File2, ... from the top entry down; a path that Shift-JIS cannot
    // hold is left out. Values of an earlier, longer history are removed, or
    // they would come back at the next start as stale entries.
    void writeHistory(const QStringList &paths);

private:
    int readInteger(const SettingKey &key, int defaultValue) const;
    bool readBoolean(const SettingKey &key, bool defaultValue) const;
    std::optional<QString> readPath(const SettingKey &key) const;
    void writeInteger(const SettingKey &key, int value);

    SettingsStore m_store;
};

} // namespace kelvari
