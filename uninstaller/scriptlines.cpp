#include "uninstaller/scriptlines.h"

#include "platform/sjis.h"
#include "uninstaller/scriptpath.h"

#include <array>
#include <utility>

namespace kelvari::uninst {
namespace {

constexpr QByteArrayView kUninstMarker = "Uninst=";
constexpr QByteArrayView kInstMarker = "Inst=";
constexpr QByteArrayView kKeyMarker = "Key=";
constexpr QByteArrayView kStringMarker = "String=";

const QByteArray kUninstallListKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const QByteArray kVendorKey = "Software\\Vesk\\";

constexpr std::array<std::pair<const char *, RegRoot>, 6> kRoots{{
    {"HCR", RegRoot::ClassesRoot},
    {"HCU", RegRoot::CurrentUser},
    {"HLM", RegRoot::LocalMachine},
    {"HU", RegRoot::Users},
    {"HCC", RegRoot::CurrentConfig},
    {"HDD", RegRoot::DynData},
}};

} // namespace

std::optional<RegRoot> rootForAbbreviation(const QByteArray &abbreviation) {
    for (const auto &[text, root] : kRoots) {
        if (abbreviation == text)
            return root;
    }
    return std::nullopt;
}

bool isUninstLine(const QByteArray &line) {
    return line.contains(kUninstMarker);
}
bool isInstLine(const QByteArray &line) {
    return line.contains(kInstMarker);
}

std::optional<QByteArray> uninstKeyPath(const QByteArray &line) {
    const QByteArray name = line.mid(kUninstMarker.size());
    if (!namesSubkey(name) || !isExactText(name))
        return std::nullopt;
    return kUninstallListKey + name;
}

std::optional<QByteArray> instKeyPath(const QByteArray &line) {
    const QByteArray name = line.mid(kInstMarker.size());
    if (!namesSubkey(name) || !isExactText(name))
        return std::nullopt;
    return kVendorKey + name;
}

bool isKeyLine(const QByteArray &line) {
    return line.contains(kKeyMarker);
}

KeyLine parseKeyLine(const QByteArray &line) {
    KeyLine key;
    const qsizetype rootStart = kKeyMarker.size();
    const qsizetype slash = line.indexOf('\\');
    if (slash < 0) {
        key.rootText = line.mid(rootStart);
    } else {
        // A "\" before the root's position leaves no root at all.
        key.rootText = slash > rootStart ? line.mid(rootStart, slash - rootStart) : QByteArray();
        key.path = line.mid(slash);
    }
    // An inexact path is never acted on: it could name some other key.
    if (isExactText(key.path))
        key.root = rootForAbbreviation(key.rootText);
    return key;
}

bool isStringLine(const QByteArray &line) {
    return line.contains(kStringMarker);
}

StringLine parseStringLine(const QByteArray &line) {
    const QByteArray value = line.mid(kStringMarker.size());
    const qsizetype comma = value.indexOf(',');
    if (comma < 0)
        return StringLine{QByteArray(), value};
    return StringLine{value.left(comma), value.mid(comma + 1)};
}

CreateRegLine classifyCreateRegLine(const QByteArray &line) {
    const qsizetype key = line.indexOf(kKeyMarker);
    const qsizetype string = line.indexOf(kStringMarker);
    if (key < 0 && string < 0)
        return CreateRegLine::Other;
    if (string < 0 || (key >= 0 && key < string))
        return CreateRegLine::Key;
    return CreateRegLine::String;
}

bool namesSubkey(const QByteArray &path) {
    for (const char c : path) {
        if (c != '\\')
            return true;
    }
    return false;
}

FileLine resolveFileLine(const QByteArray &line, const QString &scriptFolder,
                         const QString &windowsFolder, const QString &systemFolder) {
    if (line.startsWith("WinDir\\"))
        return FileLine{windowsFolder, line.mid(7)};
    if (line.startsWith("SysDir\\"))
        return FileLine{systemFolder, line.mid(7)};
    return FileLine{scriptFolder, line};
}

QString filePathFor(const QString &folder, const QByteArray &name) {
    if (name.isEmpty())
        return {};
    // Decoding first keeps a 0x5C trail byte (表, ソ) from being taken for a separator.
    const std::optional<QString> text = sjis::decodeExact(name);
    if (!text)
        return {};
    return folder + toNativePath(*text);
}

bool isExactText(const QByteArray &bytes) {
    return sjis::decodeExact(bytes).has_value();
}

bool isSaveFolderLine(const QByteArray &line) {
    return line == "SaveFolder";
}

} // namespace kelvari::uninst
