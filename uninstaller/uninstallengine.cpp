#include "uninstaller/uninstallengine.h"

#include "platform/sjis.h"
#include "uninstaller/scriptlines.h"
#include "uninstaller/uninstalltexts.h"

#include <utility>

namespace kelvari::uninst {
namespace {

// Ends the run at the failing step; what already ran stays done.
struct StopRun {
    QString message;
};

struct OpenKey {
    RegRoot root;
    QByteArray path;
    QString text; // as the script wrote it
};

} // namespace

UninstallEngine::UninstallEngine(MessagePrompt &dialogs, UninstallRegistry &registry,
                                 UninstallFiles &files, UninstallFolders folders)
    : m_dialogs(dialogs), m_registry(registry), m_files(files), m_folders(std::move(folders)) {}

int UninstallEngine::ask(MessageKind kind, const QString &text, MessageButtons buttons) {
    MessageRequest request;
    request.owner = nullptr;
    request.kind = kind;
    request.caption = captionText();
    request.text = text;
    request.buttons = buttons;
    return m_dialogs.message(request);
}

void UninstallEngine::reportDamage(const RegistryFileDamaged &damage) {
    // A file that could not be put aside is met again by every later step; say it once.
    if (m_reportedDamage.contains(damage.message()))
        return;
    m_reportedDamage.insert(damage.message());
    ask(MessageKind::Error, damage.message(), MessageButton::Ok);
}

void UninstallEngine::onRegistry(const std::function<void()> &step) {
    try {
        step();
        return;
    } catch (const RegistryFileDamaged &damage) {
        reportDamage(damage);
    }
    // The damaged file is aside now: the step goes to the fresh root, as the
    // steps after it do. A second failure is the step's own.
    step();
}

void UninstallEngine::deleteKey(RegRoot root, const QByteArray &path) {
    try {
        onRegistry([&] { m_registry.deleteKeyTree(root, path); });
    } catch (const RegistryFileDamaged &damage) {
        // Still damaged (it could not be put aside): the key is passed over.
        reportDamage(damage);
    }
}

UninstallResult UninstallEngine::run(const ScriptLocation &script) {
    m_script = script;
    m_result = UninstallResult{};
    m_reportedDamage.clear();
    try {
        if (!m_files.isFile(m_script.path))
            throw StopRun{scriptMissingText(m_script.fileName)};
        const std::optional<QByteArray> text = m_files.read(m_script.path);
        if (!text)
            throw StopRun{scriptUnreadableText(m_script.path)};
        const ScriptLines lines = splitScriptLines(*text);
        if (lines.isEmpty())
            throw StopRun{emptyScriptText(m_script.fileName)};
        if (!hasSignature(lines.first()))
            throw StopRun{wrongScriptText()};
        runSections(lines);
    } catch (const StopRun &stop) {
        m_result.runCompleted = false;
        m_result.stoppedByError = true;
        ask(MessageKind::Error, stop.message, MessageButton::Ok);
    } catch (const AppError &error) {
        // A failure of the registry or the disk that no rule passes over.
        m_result.runCompleted = false;
        m_result.stoppedByError = true;
        ask(MessageKind::Error, error.message(), MessageButton::Ok);
    }
    return m_result;
}

void UninstallEngine::runSections(const ScriptLines &lines) {
    // The first line is the signature and never a header.
    auto eachHeader = [&lines](auto &&handler) {
        for (int i = 1; i < lines.size(); ++i) {
            if (const auto kind = sectionHeader(lines.at(i)))
                handler(*kind, i);
        }
    };

    eachHeader([this](SectionKind kind, int i) {
        if (kind == SectionKind::Warning)
            runWarning(i);
    });
    if (ask(MessageKind::Confirmation, startQuestionText(),
            MessageButton::Yes | MessageButton::No) != ResultYes)
        return;
    eachHeader([this](SectionKind kind, int i) {
        if (kind == SectionKind::DeleteReg)
            runDeleteReg(i);
    });
    eachHeader([this](SectionKind kind, int i) {
        if (kind == SectionKind::CreateReg)
            runCreateReg(i);
    });
    eachHeader([this](SectionKind kind, int i) {
        switch (kind) {
        case SectionKind::RenameFile:
            runRenameFile(i);
            break;
        case SectionKind::DeleteFile:
            runDeleteFile(i);
            break;
        case SectionKind::CopyFile:
        case SectionKind::MoveFile:
            // Recognised so that their bodies are not taken for anything else;
            // nothing is copied or moved.
            break;
        case SectionKind::Warning:
        case SectionKind::DeleteReg:
        case SectionKind::CreateReg:
            break;
        }
    });
    m_result.runCompleted = true;
}

ScriptLines UninstallEngine::readScriptAgain() const {
    // Each section works on the script as it is on disk now: an earlier file
    // section may have renamed or deleted it.
    const std::optional<QByteArray> text = m_files.read(m_script.path);
    if (!text)
        throw StopRun{scriptUnreadableText(m_script.path)};
    return splitScriptLines(*text);
}

SectionBody UninstallEngine::bodyOf(const ScriptLines &lines, int headerIndex,
                                    SectionKind kind) const {
    // The whole section is checked before any of it runs, so a section without
    // its "end;" line changes nothing.
    const std::optional<SectionBody> body = findSectionBody(lines, headerIndex, kind);
    if (!body)
        throw StopRun{sectionEndMissingText(m_script.path, headerIndex + 1,
                                            QString::fromLatin1(headerText(kind)))};
    return *body;
}

void UninstallEngine::runWarning(int headerIndex) {
    const ScriptLines lines = readScriptAgain();
    const SectionBody body = bodyOf(lines, headerIndex, SectionKind::Warning);
    QString text = sjis::decode(lines.at(body.first));
    for (int i = body.first + 1; i < body.end; ++i)
        text += QStringLiteral("\r\n") + sjis::decode(lines.at(i));
    ask(MessageKind::Warning, text, MessageButton::Ok);
}

void UninstallEngine::runDeleteReg(int headerIndex) {
    const ScriptLines lines = readScriptAgain();
    const SectionBody body = bodyOf(lines, headerIndex, SectionKind::DeleteReg);
    if (ask(MessageKind::Confirmation, settingsQuestionText(),
            MessageButton::Yes | MessageButton::No) != ResultYes)
        return;
    for (int i = body.first; i < body.end; ++i) {
        const QByteArray &line = lines.at(i);
        if (isUninstLine(line)) {
            if (const auto path = uninstKeyPath(line))
                deleteKey(RegRoot::LocalMachine, *path);
        }
        if (isInstLine(line)) {
            if (const auto path = instKeyPath(line))
                deleteKey(RegRoot::CurrentUser, *path);
        }
    }
    for (int i = body.first; i < body.end; ++i) {
        const QByteArray &line = lines.at(i);
        if (!isKeyLine(line))
            continue;
        const KeyLine key = parseKeyLine(line);
        // A line without a key below its root never deletes the whole root.
        if (key.root && namesSubkey(key.path))
            deleteKey(*key.root, key.path);
    }
    m_result.settingsDeleted = true;
}

void UninstallEngine::runCreateReg(int headerIndex) {
    const ScriptLines lines = readScriptAgain();
    const SectionBody body = bodyOf(lines, headerIndex, SectionKind::CreateReg);
    std::optional<OpenKey> current;
    for (int i = body.first; i < body.end; ++i) {
        const QByteArray &line = lines.at(i);
        switch (classifyCreateRegLine(line)) {
        case CreateRegLine::Key: {
            current.reset();
            const KeyLine key = parseKeyLine(line);
            if (!key.root)
                break;
            try {
                if (namesSubkey(key.path))
                    onRegistry([&] { m_registry.createKey(*key.root, key.path); });
                current = OpenKey{*key.root, key.path, sjis::decode(key.rootText + key.path)};
            } catch (const AppError &) {
                // The key stays closed; a "String=" line after it reports the failure.
            }
            break;
        }
        case CreateRegLine::String: {
            const StringLine value = parseStringLine(line);
            const QString valueName = sjis::decode(value.name);
            if (!current)
                throw StopRun{noOpenKeyText(m_script.path, i + 1, valueName)};
            // Like a value the registry refuses: never stored under another name or text.
            if (!isExactText(value.name) || !isExactText(value.text))
                throw StopRun{inexactValueText(m_script.path, i + 1, valueName)};
            try {
                onRegistry([&] {
                    m_registry.writeString(current->root, current->path, value.name, value.text);
                });
            } catch (const AppError &error) {
                throw StopRun{valueRefusedText(m_script.path, i + 1, valueName, current->text,
                                               error.message())};
            }
            break;
        }
        case CreateRegLine::Other:
            break;
        }
    }
}

void UninstallEngine::runRenameFile(int headerIndex) {
    const ScriptLines lines = readScriptAgain();
    const SectionBody body = bodyOf(lines, headerIndex, SectionKind::RenameFile);
    for (int i = body.first; i < body.end; ++i) {
        const FileLine file =
            resolveFileLine(lines.at(i), m_script.folder, m_folders.windows, m_folders.system);
        const qsizetype comma = file.name.indexOf(',');
        if (comma < 0)
            continue;
        const QString from = filePathFor(file.folder, file.name.left(comma));
        const QString to = filePathFor(file.folder, file.name.mid(comma + 1));
        if (!from.isEmpty() && !to.isEmpty())
            m_files.renameFile(from, to);
    }
}

void UninstallEngine::runDeleteFile(int headerIndex) {
    const ScriptLines lines = readScriptAgain();
    const SectionBody body = bodyOf(lines, headerIndex, SectionKind::DeleteFile);
    bool keepFolder = false;
    for (int i = body.first; i < body.end; ++i) {
        const QByteArray &line = lines.at(i);
        if (isSaveFolderLine(line)) {
            keepFolder = true;
            continue;
        }
        const FileLine file =
            resolveFileLine(line, m_script.folder, m_folders.windows, m_folders.system);
        const QString path = filePathFor(file.folder, file.name);
        if (!path.isEmpty())
            m_files.removeFile(path);
    }
    if (!keepFolder && m_files.removeEmptyFolder(m_script.folder))
        m_result.folderRemoved = true;
}

} // namespace kelvari::uninst
