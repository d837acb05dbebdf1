#include "uninstaller/uninstallerprogram.h"

#include "uninstaller/uninstalltexts.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace kelvari::uninst {

void showAbout(MessagePrompt &dialogs, const QString &programPath) {
    const QDate date = QFileInfo(programPath).lastModified().date();
    MessageRequest request;
    request.owner = nullptr;
    request.kind = MessageKind::Information;
    request.caption = aboutCaptionText();
    request.text = aboutText(QLocale::system().toString(date, QLocale::ShortFormat));
    request.buttons = MessageButton::Ok;
    dialogs.message(request);
}

void showFinalReport(MessagePrompt &dialogs, const UninstallResult &result) {
    MessageRequest request;
    request.owner = nullptr;
    request.kind = MessageKind::Information;
    request.caption = captionText();
    request.text = finalReportText(result.folderRemoved, result.settingsDeleted);
    request.buttons = MessageButton::Ok;
    dialogs.message(request);
}

int runUninstaller(const QStringList &arguments, ProgramContext &context) {
    const std::optional<QString> argument = scriptArgument(arguments);
    if (!argument) {
        showAbout(context.dialogs, context.programPath);
        return 0;
    }
    UninstallEngine engine(context.dialogs, context.registry, context.files, context.folders);
    const UninstallResult result = engine.run(locateScript(*argument));
    if (result.runCompleted)
        showFinalReport(context.dialogs, result);
    return result.stoppedByError ? 1 : 0;
}

} // namespace kelvari::uninst
