#include "settings/settingscommand.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "settings/tfrmsettei.h"
#include "settings/viewerassociations.h"

namespace kelvari {

std::optional<GeneralSettings> runSettingsDialog(Dialogs &dialogs, Registry &registry,
                                                 QWidget *owner,
                                                 std::function<void(int context)> showHelp) {
    try {
        EditorSettings settings(registry);
        RegistryViewerKeys viewerKeys(registry);
        TfrmSettei dialog(dialogs, settings, viewerKeys, owner);
        dialog.setShowHelp(std::move(showHelp));
        if (dialogs.execModal(dialog) != QDialog::Accepted || !dialog.stored())
            return std::nullopt;
        return dialog.values();
    } catch (const AppError &error) {
        dialogs.error(owner, error.message());
        return std::nullopt;
    }
}

} // namespace kelvari
