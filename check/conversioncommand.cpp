#include "check/conversioncommand.h"

#include "check/conversion.h"
#include "document/mainwindowstate.h"
#include "platform/atomicfile.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/helpengine.h"
#include "platform/paths.h"
#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>

namespace kelvari {
namespace {

// The conversion tells the user nothing, by design; what went wrong still
// leaves a trace for whoever looks.
void logProblem(const QString &text) {
    qWarning("%s", qUtf8Printable(text));
}

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

ConversionCommand::ConversionCommand(Parts parts) : m(std::move(parts)) {}

FileDialogRequest ConversionCommand::utilityDialog(QWidget *owner, const QString &directory) {
    FileDialogRequest request;
    request.owner = owner;
    request.title = QStringLiteral("ATOK10辞書ﾕｰﾃｨﾘﾃｨの指定");
    request.directory = directory;
    request.fileName = Conversion::utilityFileName();
    request.filter = QStringLiteral("実行ファイル (*.exe)");
    request.defaultSuffix = QStringLiteral("exe");
    request.fileMustExist = true;
    return request;
}

FileDialogRequest ConversionCommand::otherFileDialog(QWidget *owner, const QString &directory) {
    FileDialogRequest request;
    request.owner = owner;
    request.title = QStringLiteral("辞書作成ファイルを指定");
    request.directory = directory;
    request.filter = QStringLiteral("辞書作成ファイル (*.jmf)");
    request.defaultSuffix = QStringLiteral("jmf");
    request.fileMustExist = true;
    return request;
}

void ConversionCommand::LocateAtokFolder() {
    m.state.AtokFolder =
        Conversion::folderFromSettingsFile(Conversion::settingsFilePath(Folders::windowsFolder()));
    if (Conversion::folderHolds(m.state.AtokFolder, Conversion::utilityFileName()))
        return;
    const std::optional<FileDialogAnswer> answer =
        m.dialogs.openFile(utilityDialog(m.owner, m.state.AtokFolder));
    // Only the folder is kept: the utility always runs under its own name.
    if (answer)
        m.state.AtokFolder = Paths::extractFilePath(QFileInfo(answer->fileName).absoluteFilePath());
}

QString ConversionCommand::folderHolding(const QString &fileName) {
    if (!Conversion::folderHolds(m.state.AtokFolder, fileName))
        LocateAtokFolder();
    return m.state.AtokFolder;
}

void ConversionCommand::startUtility() {
    const QString folder = m.state.AtokFolder;
    if (folder.isEmpty()) {
        logProblem(
            QStringLiteral("The dictionary utility was not started: its folder is unknown."));
        return;
    }
    // Started as a program with no arguments, never through a command line, so
    // nothing in the folder's name is interpreted.
    const QString program = Conversion::utilityPath(folder);
    if (!Shell::startDetached(program, {}))
        logProblem(
            QStringLiteral("The dictionary utility %1 could not be started.").arg(shown(program)));
}

void ConversionCommand::ConvertFile(const QString &source) {
    const QString folder = folderHolding(Conversion::utilityFileName());
    if (folder.isEmpty()) {
        // Without the folder the copy would land in whatever folder the program
        // runs in, over any file of that name there.
        logProblem(QStringLiteral("%1 was not converted: the dictionary utility's folder is "
                                  "unknown.")
                       .arg(shown(source)));
    } else {
        const QString target = Conversion::outputPath(folder, source);
        try {
            copyFileAtomically(source, target);
        } catch (const AppError &error) {
            logProblem(QStringLiteral("%1 was not copied to %2: %3")
                           .arg(shown(source), shown(target), error.message()));
        }
    }
    if (m.state.ShowAtokUtility)
        startUtility();
    if (m.state.ShowAtokHelp)
        m.help.showContext(HelpContext::AfterConversion);
}

void ConversionCommand::mmConvertClick() {
    // The copy is of the file as saved; a document without a file gets one first.
    if (Conversion::isNeverSaved(m.currentFileName()) && !m.saveAs())
        return;
    if (!m.convertGate())
        return;
    ConvertFile(m.currentFileName());
}

void ConversionCommand::mmOthersClick() {
    const std::optional<FileDialogAnswer> answer =
        m.dialogs.openFile(otherFileDialog(m.owner, m.state.SaveDir));
    if (answer)
        ConvertFile(answer->fileName);
}

void ConversionCommand::mmUtilClick() {
    if (!m.state.ShowAtokUtility)
        return;
    folderHolding(Conversion::utilityFileName());
    startUtility();
}

void ConversionCommand::mmAtokHelpClick() {
    const QString folder = folderHolding(Conversion::utilityHelpFileName());
    const QString path = Conversion::utilityHelpPath(folder);
    const int result = folder.isEmpty() ? Shell::kFileNotFound : Shell::openDocument(path);
    if (result != 0)
        logProblem(QStringLiteral("The dictionary utility's help %1 could not be opened (%2).")
                       .arg(shown(path))
                       .arg(result));
}

} // namespace kelvari
