// OrlinUninst: removes an installed application by running its uninstall
// script. Windowless; it speaks only through message boxes.
//
//   OrlinUninst /u <script path>   run the script
//   OrlinUninst                    show the about message
//
// A build with test hooks lets KELVARI_DIALOG_SCRIPT and KELVARI_DIALOG_LOG
// answer and record the message boxes (see platform/answerfiledialogs.h).

#include <QApplication>

#include "platform/folders.h"
#include "platform/qtdialogs.h"
#include "platform/registry.h"
#include "uninstaller/platformhost.h"
#include "uninstaller/uninstallerprogram.h"
#include "uninstaller/uninstalltexts.h"

#ifdef KELVARI_TEST_HOOKS
#include "platform/answerfiledialogs.h"
#endif

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    kelvari::QtDialogs qtDialogs;
#ifdef KELVARI_TEST_HOOKS
    const std::unique_ptr<kelvari::AnswerFileDialogs> hook =
        kelvari::AnswerFileDialogs::fromEnvironment();
    kelvari::Dialogs &dialogs = hook ? static_cast<kelvari::Dialogs &>(*hook) : qtDialogs;
#else
    kelvari::Dialogs &dialogs = qtDialogs;
#endif

    try {
        kelvari::Registry registry = kelvari::Registry::forDataRoot();
        kelvari::uninst::PlatformRegistry uninstallRegistry(registry);
        kelvari::uninst::DiskFiles files;
        kelvari::uninst::ProgramContext context{
            dialogs,
            uninstallRegistry,
            files,
            {kelvari::Folders::windowsFolder(), kelvari::Folders::systemFolder()},
            kelvari::Folders::programPath()};
        return kelvari::uninst::runUninstaller(QApplication::arguments().mid(1), context);
    } catch (const kelvari::AppError &error) {
        // The data root or its registry could not be opened at all.
        kelvari::MessageRequest request;
        request.kind = kelvari::MessageKind::Error;
        request.caption = kelvari::uninst::captionText();
        request.text = error.message();
        dialogs.message(request);
        return 1;
    }
}
