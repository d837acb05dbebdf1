// Feeds arbitrary bytes to the uninstall engine as a script. The registry, the
// files and the message boxes are in-memory stand-ins that answer Yes to every
// question, so every section kind runs and nothing real is touched. The engine
// must never hand the registry a key, name or text that is not exact Shift-JIS.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "platform/sjis.h"

#include "uninstaller/scriptformat.h"
#include "uninstaller/scriptlines.h"
#include "uninstaller/uninstallengine.h"

using namespace kelvari;
using namespace kelvari::uninst;

namespace {

const QString kScriptFolder = QStringLiteral("/fuzz/App/");
const QString kScriptPath = kScriptFolder + QStringLiteral("UnRuvex.inf");

void requireExact(const QByteArray &bytes) {
    if (!sjis::decodeExact(bytes))
        std::abort();
}

class MemoryRegistry : public UninstallRegistry {
public:
    void deleteKeyTree(RegRoot, const QByteArray &path) override { requireExact(path); }
    void createKey(RegRoot, const QByteArray &path) override {
        requireExact(path);
        if (path.contains('\0'))
            throw RegistryError(QStringLiteral("refused"));
    }
    void writeString(RegRoot, const QByteArray &path, const QByteArray &name,
                     const QByteArray &text) override {
        requireExact(path);
        requireExact(name);
        requireExact(text);
        if (name.contains('\0'))
            throw RegistryError(QStringLiteral("refused"));
    }
};

class MemoryFiles : public UninstallFiles {
public:
    std::map<QString, QByteArray> files;

    bool isFile(const QString &path) const override { return files.count(path) != 0; }
    std::optional<QByteArray> read(const QString &path) const override {
        const auto it = files.find(path);
        if (it == files.end())
            return std::nullopt;
        return it->second;
    }
    bool removeFile(const QString &path) override { return files.erase(path) != 0; }
    bool renameFile(const QString &from, const QString &to) override {
        const auto it = files.find(from);
        if (it == files.end() || files.count(to) != 0)
            return false;
        QByteArray bytes = it->second;
        files.erase(it);
        files.emplace(to, std::move(bytes));
        return true;
    }
    bool removeEmptyFolder(const QString &path) override {
        for (const auto &entry : files) {
            if (entry.first.startsWith(path))
                return false;
        }
        return true;
    }
};

// Says Yes to every question, so that every section of a script runs.
class YesPrompt : public MessagePrompt {
public:
    int message(const MessageRequest &request) override {
        return request.buttons.testFlag(MessageButton::Yes) ? ResultYes : ResultOk;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray script(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // The line cutters on their own, on every line.
    const ScriptLines lines = splitScriptLines(script);
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        (void)parseKeyLine(line);
        (void)parseStringLine(line);
        (void)uninstKeyPath(line);
        (void)instKeyPath(line);
        (void)filePathFor(kScriptFolder,
                          resolveFileLine(line, kScriptFolder, QString(), QString()).name);
        if (const auto kind = sectionHeader(line))
            (void)findSectionBody(lines, i, *kind);
    }

    // The whole engine, with the script as its own file in the folder it removes.
    MemoryRegistry registry;
    MemoryFiles files;
    files.files.emplace(kScriptPath, script);
    YesPrompt dialogs;
    UninstallEngine engine(dialogs, registry, files,
                           {QStringLiteral("/fuzz/Windows/"), QStringLiteral("/fuzz/System/")});
    (void)engine.run(ScriptLocation{kScriptPath, kScriptFolder, QStringLiteral("UnRuvex.inf")});
    return 0;
}
