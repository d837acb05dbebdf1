#pragma once
// Writes a word list in the user-dictionary text formats of other input
// methods. Building the bytes is a pure function; the caller writes them
// through saveFileAtomically.

#include "grid/cellstore.h"
#include "interop/posmapping.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace kelvari {

// "mozc", "msime", "skk" (and "text" for import only).
std::optional<InteropFormat> interopFormatFromName(const QString &name);
QString interopFormatName(InteropFormat format);

struct ExportOptions {
    // Also write rows the grammar check finds fault with. Rows the format
    // cannot hold at all are then left out, and listed.
    bool force = false;
    QString fileName;    // the output file's name, for the msime header
    QDateTime writtenAt; // for the msime header
};

struct ExportResult {
    // The grammar check's error lines (CP932), empty when clean.
    QList<QByteArray> grammarErrors;
    // Rows the format cannot hold, or that were written changed: "12行目：…" (CP932).
    QList<QByteArray> problems;
    // False when nothing may be written: grammar errors or rows the format
    // cannot hold, without `force`.
    bool accepted = false;
    QByteArray bytes; // the file, when accepted
    int entries = 0;  // rows written (for skk: reading/word pairs)
};

// Exports the non-blank rows 1 .. rowCount-1 of columns 1-3.
ExportResult exportWordList(InteropFormat format, const CellStore &cells,
                            const ExportOptions &options);

// The same without the grammar check, for callers that ran it already.
ExportResult exportRows(InteropFormat format, const CellStore &cells, const ExportOptions &options);

} // namespace kelvari
