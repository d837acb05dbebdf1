#pragma once
// Commands whose work is not built yet stay disabled, so that every command the
// user can reach does something. Each name leaves kUnbuiltCommands when its
// command is built; the list is then empty and this file goes.

#include <QLatin1StringView>
#include <array>

class QWidget;

namespace kelvari {

// Menu items and toolbar buttons of the main window, by object name.
inline constexpr std::array<QLatin1StringView, 13> kUnbuiltCommands = {
    // conversion and help
    QLatin1StringView("mmConvert"), QLatin1StringView("mmOthers"), QLatin1StringView("mmUtil"),
    QLatin1StringView("mmContents"), QLatin1StringView("mmTopic"), QLatin1StringView("mmAtokHelp"),
    QLatin1StringView("pmHinsi"), QLatin1StringView("ebConvert"), QLatin1StringView("ebHelp"),
    QLatin1StringView("ebAtok"),
    // settings dialog
    QLatin1StringView("mmSettei"), QLatin1StringView("ebSetting"),
    // about box
    QLatin1StringView("mmAbout")};

// Disables the listed commands of `window` for good: whatever enables them later
// (a load enables the conversion commands) leaves them disabled.
void disableUnbuiltCommands(QWidget &window);

} // namespace kelvari
