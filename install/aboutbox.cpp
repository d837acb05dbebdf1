#include "install/aboutbox.h"

#include "install/aboutdlg.h"
#include "install/tfrmabout.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/qtdialogs.h"

namespace kelvari::aboutbox {

QString CheckInstallation(TAboutDlg &about, Dialogs &dialogs) {
    InstallationCheck check;
    try {
        check = about.CheckInstallation();
    } catch (const AppError &error) {
        dialogs.error(nullptr, error.message());
        return error.message();
    }
    if (!check.finishMessageDue)
        return {};
    MessageRequest request;
    request.kind = MessageKind::Information;
    request.caption = about.ApplicationTitle();
    request.text = TAboutDlg::finishMessageText();
    dialogs.message(request);
    return {};
}

void ShowAbout(const TAboutDlg &about, Dialogs &dialogs, QWidget *owner) {
    TfrmAbout box(owner);
    box.fill(about.aboutContent());
    centreOnScreen(box);
    dialogs.execModal(box);
}

void RegisterUninstall(TAboutDlg &about, Dialogs &dialogs, QWidget *owner) {
    try {
        about.RegisterUninstall();
    } catch (const AppError &error) {
        dialogs.error(owner, error.message());
    }
}

} // namespace kelvari::aboutbox
