#pragma once
// The main window's settings command: one fresh settings dialog, run modally,
// and the general values the window adopts when it was closed with OK.

#include "settings/editorsettings.h"

#include <functional>
#include <optional>

class QWidget;

namespace kelvari {

class Dialogs;
class Registry;

// The values to adopt (SaveDir empty when the user emptied the field), or none
// when the dialog was cancelled or its values could not be stored; a failure has
// been shown by then.
std::optional<GeneralSettings> runSettingsDialog(Dialogs &dialogs, Registry &registry,
                                                 QWidget *owner,
                                                 std::function<void(int context)> showHelp = {});

} // namespace kelvari
