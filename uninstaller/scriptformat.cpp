#include "uninstaller/scriptformat.h"

#include <array>
#include <utility>

namespace kelvari::uninst {
namespace {

constexpr std::array<std::pair<SectionKind, const char *>, 7> kHeaders{{
    {SectionKind::Warning, "[Warning]"},
    {SectionKind::DeleteReg, "[DeleteReg]"},
    {SectionKind::CreateReg, "[CreateReg]"},
    {SectionKind::CopyFile, "[CopyFile]"},
    {SectionKind::MoveFile, "[MoveFile]"},
    {SectionKind::RenameFile, "[RenameFile]"},
    {SectionKind::DeleteFile, "[DeleteFile]"},
}};

} // namespace

ScriptLines splitScriptLines(const QByteArray &text) {
    ScriptLines lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < size && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

bool hasSignature(const QByteArray &firstLine) {
    // The signature is plain ASCII and none of its bytes is a lead byte, so
    // folding ASCII letters cannot make a match out of a double-byte character.
    return firstLine.toLower().contains("//orlin-uninstaller");
}

std::optional<SectionKind> sectionHeader(const QByteArray &line) {
    for (const auto &[kind, text] : kHeaders) {
        if (line == text)
            return kind;
    }
    return std::nullopt;
}

QByteArray headerText(SectionKind kind) {
    for (const auto &[k, text] : kHeaders) {
        if (k == kind)
            return QByteArray(text);
    }
    return {};
}

bool isSectionEnd(const QByteArray &line) {
    return line == "end;";
}

std::optional<SectionBody> findSectionBody(const ScriptLines &lines, int headerIndex,
                                           SectionKind kind) {
    const int first = headerIndex + 1;
    const int searchFrom = kind == SectionKind::Warning ? first + 1 : first;
    if (kind == SectionKind::Warning && first >= lines.size())
        return std::nullopt;
    for (int i = searchFrom; i < lines.size(); ++i) {
        if (isSectionEnd(lines.at(i)))
            return SectionBody{first, i};
    }
    return std::nullopt;
}

} // namespace kelvari::uninst
