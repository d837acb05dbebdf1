// Build tool: writes the editor's uninstall script.
//
//   make-uninstall-script OUTPUT NAME...
//
// NAME... are the files an installation puts into the program's folder.

#include "install/uninstallscript.h"
#include "platform/atomicfile.h"
#include "platform/errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fputs("usage: make-uninstall-script OUTPUT NAME...\n", stderr);
        return 2;
    }
    QString problem;
    const std::optional<QByteArray> script =
        kelvari::editorUninstallScript(arguments.mid(1), &problem);
    if (!script) {
        std::fprintf(stderr, "make-uninstall-script: %s\n", qUtf8Printable(problem));
        return 1;
    }
    try {
        kelvari::saveFileAtomically(arguments.first(), *script);
    } catch (const kelvari::AppError &error) {
        std::fprintf(stderr, "make-uninstall-script: cannot write %s: %s\n",
                     qUtf8Printable(arguments.first()), qUtf8Printable(error.message()));
        return 1;
    }
    return 0;
}
