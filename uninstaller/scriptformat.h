#pragma once
// The text form of an uninstall script: CP932 lines, a signature on the first
// line, sections from a header line to an "end;" line. Lines are compared as
// they stand (bytes, case-sensitive, untrimmed).

#include <QByteArray>
#include <QList>
#include <optional>

namespace kelvari::uninst {

using ScriptLines = QList<QByteArray>;

// A line ends at CR, LF or CR LF; a final line break adds no empty line.
ScriptLines splitScriptLines(const QByteArray &text);

// "//Orlin-Uninstaller" anywhere in the line, in any letter case.
bool hasSignature(const QByteArray &firstLine);

enum class SectionKind {
    Warning,
    DeleteReg,
    CreateReg,
    CopyFile,
    MoveFile,
    RenameFile,
    DeleteFile
};

// The header a line is, exactly; none for any other line.
std::optional<SectionKind> sectionHeader(const QByteArray &line);
QByteArray headerText(SectionKind kind); // "[DeleteReg]"

bool isSectionEnd(const QByteArray &line); // "end;"

// The body of the section whose header stands at `headerIndex`: the lines
// after it up to the first "end;" line. A warning's first body line belongs
// to the text even when it reads "end;". No value when the script ends first.
struct SectionBody {
    int first = 0; // index of the first body line
    int end = 0;   // index of the "end;" line
};
std::optional<SectionBody> findSectionBody(const ScriptLines &lines, int headerIndex,
                                           SectionKind kind);

} // namespace kelvari::uninst
