// Word-list files come from anywhere: the reader, the grid fill, the grammar
// check and the writer must take any bytes without crashing, and what the writer
// writes must read back as the rows it wrote.

#include "check/grammarcheck.h"
#include "document/jmfreader.h"
#include "document/jmfwriter.h"
#include "document/wordlist.h"
#include "grid/cellstore.h"
#include "platform/sjis.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace kelvari;

namespace {

QByteArrayView cellAt(const CellStore &cells, int col, int row) {
    const std::string_view cell = cells.cellView(col, row);
    return QByteArrayView(cell.data(), qsizetype(cell.size()));
}

// A line may end in one marker byte that the reader drops, so a part of speech
// ending in "*" or "$" comes back one such byte shorter at every load. None of
// the 41 names ends so; such a list only reaches a file past the grammar gate.
QByteArrayView afterMarkerRule(QByteArrayView partOfSpeech) {
    if (!partOfSpeech.isEmpty() && (partOfSpeech.back() == '*' || partOfSpeech.back() == '$'))
        partOfSpeech.chop(1);
    return partOfSpeech;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const JmfContent content =
        parseJmf(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!content.accepted())
        return 0;
    CellStore cells(WordColumn::Count, 11);
    // Open, then add the same rows below row 3, with a small MaxRow.
    applyWordList(cells, content, LoadMode::Open, 1, int(size % 7));
    applyWordList(cells, content, LoadMode::Add, 3, 1);
    runGrammarCheck(cells);
    const JmfHeader header{"f.jmf", content.comment().value_or(""), "d"};
    const QByteArray written = buildWordListFile(header, cells);

    // The written file reads back as the comment and, in order, the non-blank
    // rows that were written (one row per row, also for a cell ending in a lone
    // lead byte, whose row alone reads back otherwise).
    const JmfContent again = parseJmf(written);
    if (!again.accepted() || again.comment() != header.comment)
        std::abort();
    qsizetype next = 0;
    for (int row = 1; row < cells.rowCount(); ++row) {
        if (isBlankWordRow(cells, row))
            continue;
        if (next >= again.rowCount())
            std::abort();
        const DataLineFields read = again.row(next++);
        const QByteArrayView reading = cellAt(cells, WordColumn::Reading, row);
        const QByteArrayView word = cellAt(cells, WordColumn::Word, row);
        // A last byte that is a lead byte without its second byte takes the
        // separator written after it as that second byte when read back. Such a
        // cell is no Shift-JIS text; it comes only from a damaged file, and the
        // writer keeps its bytes as they are.
        if (sjis::endsInLoneLeadByte(reading) || sjis::endsInLoneLeadByte(word))
            continue;
        if (read.reading != reading || read.word != word ||
            read.partOfSpeech != afterMarkerRule(cellAt(cells, WordColumn::PartOfSpeech, row)))
            std::abort();
    }
    if (next != again.rowCount())
        std::abort();
    return 0;
}
