#include "platform/shell.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

namespace kelvari::Shell {
namespace {

// How long an opener may take to report back before it is taken as showing the document.
constexpr int kOpenerWaitMs = 15000;

// A program name or path from the environment or a default, made into a path
// that can be run; empty when there is none.
QString resolve(const QString &program) {
    if (program.isEmpty())
        return {};
    if (program.contains(QLatin1Char('/')) || QFileInfo(program).isAbsolute()) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

QString fromEnvironment(const char *name) {
    return QFile::decodeName(qgetenv(name));
}

} // namespace

bool startDetached(const QString &program, const QStringList &arguments,
                   const QString &workingDir) {
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments, workingDir);
}

int openDocument(const QString &path) {
    if (!QFileInfo::exists(path))
        return kFileNotFound;
    QString handler = fromEnvironment("KELVARI_OPEN_COMMAND");
    if (handler.isEmpty()) {
#if defined(Q_OS_MACOS)
        handler = QStringLiteral("open");
#else
        handler = QStringLiteral("xdg-open");
#endif
    }
    const QString program = resolve(handler);
    if (program.isEmpty())
        return kNoAssociation;

    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, {path});
    if (!process->waitForStarted())
        return kNoAssociation;
    if (!process->waitForFinished(kOpenerWaitMs)) {
        // Still running: it is showing the document itself. Let it run on; with
        // an application object it lives until it ends or the program quits.
        if (QCoreApplication::instance()) {
            QProcess *running = process.release();
            running->setParent(QCoreApplication::instance());
            QObject::connect(running, &QProcess::finished, running, &QObject::deleteLater);
        }
        return 0;
    }
    if (process->exitStatus() != QProcess::NormalExit)
        return kOtherFailure;
    switch (process->exitCode()) {
    case 0:
        return 0;
    case 2:
        return kFileNotFound;
    case 3:
    case 4:
        return kNoAssociation;
    default:
        return kOtherFailure;
    }
}

int openInTextViewer(const QString &path) {
    if (!QFileInfo::exists(path))
        return kFileNotFound;
    QString program;
    const QString chosen = fromEnvironment("KELVARI_TEXT_VIEWER");
    if (!chosen.isEmpty()) {
        program = resolve(chosen);
    } else {
        const QStringList candidates = {QStringLiteral("gnome-text-editor"),
                                        QStringLiteral("gedit"),
                                        QStringLiteral("kwrite"),
                                        QStringLiteral("kate"),
                                        QStringLiteral("mousepad"),
                                        QStringLiteral("xed"),
                                        QStringLiteral("pluma"),
                                        QStringLiteral("leafpad"),
                                        QStringLiteral("xdg-open"),
                                        QStringLiteral("open")};
        for (const QString &candidate : candidates) {
            program = resolve(candidate);
            if (!program.isEmpty())
                break;
        }
    }
    if (program.isEmpty())
        return kNoAssociation;
    return startDetached(program, {path}) ? 0 : kOtherFailure;
}

} // namespace kelvari::Shell
