// Ruvex, the word-list editor: one running copy per desktop.

#include "app/mainwindowrules.h"
#include "app/qttranslations.h"
#include "app/terminationrequest.h"
#include "app/tfrmjisho.h"
#include "platform/qtdialogs.h"
#include "platform/singleinstance.h"

#include <QApplication>
#include <QLocale>

#ifdef KELVARI_TEST_HOOKS
#include "grid/tmstrgrid.h"
#include "platform/answerfiledialogs.h"

#include <QAction>
#include <QTimer>
#endif

using namespace kelvari;

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    installQtTranslations(app, QLocale::system());

    QtDialogs qtDialogs;
#ifdef KELVARI_TEST_HOOKS
    // KELVARI_DIALOG_SCRIPT / KELVARI_DIALOG_LOG drive a run from outside (tests).
    const std::unique_ptr<AnswerFileDialogs> hook = AnswerFileDialogs::fromEnvironment();
    Dialogs &dialogs = hook ? static_cast<Dialogs &>(*hook) : qtDialogs;
#else
    Dialogs &dialogs = qtDialogs;
#endif

    SingleInstance instance(QStringLiteral("hTarnel20b"));
    switch (instance.acquire()) {
    case SingleInstance::Outcome::Acquired:
        break;
    case SingleInstance::Outcome::HeldElsewhere: {
        // Another copy runs: say so and leave without touching anything.
        MessageRequest request;
        request.kind = MessageKind::Error;
        request.caption = QString();
        request.text = QStringLiteral("Kelvari 2.0bはすでに起動しています。");
        dialogs.message(request);
        return 0;
    }
    case SingleInstance::Outcome::Failed: {
        // Without the lock a second copy could not be told apart, and a data
        // root that cannot take a lock file cannot take the settings either.
        MessageRequest request;
        request.kind = MessageKind::Error;
        request.text = QStringLiteral("Kelvari 2.0bを起動できません。\n") + instance.errorString();
        dialogs.message(request);
        return 1;
    }
    }

    // No application display name: the platform would add it to every window
    // title, and each window's caption is exactly its own.
    const QString fileName = CommandLineFileName(QApplication::arguments().mid(1));
    // Hooked before the window exists: a request that arrives while it is being
    // built waits in the event loop instead of killing the process.
    TerminationRequest termination;
    TfrmJisho window(dialogs, fileName);
    // A request that comes after the window has closed (while the program ends)
    // must not run the close, and its messages, a second time.
    QObject::connect(&termination, &TerminationRequest::requested, &window, [&window] {
        if (window.isVisible())
            window.close();
    });
    window.show();
#ifdef KELVARI_TEST_HOOKS
    // KELVARI_RUN_COMMANDS: menu commands (by object name) that a test runs once
    // the window is up; the hook's log then gets the grid's row count.
    const QStringList commands =
        qEnvironmentVariable("KELVARI_RUN_COMMANDS").split(u' ', Qt::SkipEmptyParts);
    if (hook && !commands.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, &hook, commands] {
            for (const QString &name : commands) {
                if (auto *action = window.findChild<QAction *>(name))
                    action->trigger();
                else
                    hook->logLine(QStringLiteral("[command] no action ") + name);
            }
            hook->logLine(QStringLiteral("rows: ") + QString::number(window.grid().RowCount()));
        });
    }
#endif
    const int result = app.exec();
    instance.release();
    return result;
}
