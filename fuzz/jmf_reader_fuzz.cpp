// Word-list files come from anywhere: the reader, the grid fill, the grammar
// check and the writer must take any bytes without crashing, and what was read
// must be written back as read.

#include "check/grammarcheck.h"
#include "document/jmfreader.h"
#include "document/jmfwriter.h"
#include "document/wordlist.h"
#include "grid/cellstore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace kelvari;

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

    // A written file reads back as written. (The first write may still drop a
    // trailing "*" or "$" the reader left on a part of speech; from then on the
    // text is stable.)
    const auto rewrite = [&header](const QByteArray &bytes) {
        const JmfContent again = parseJmf(bytes);
        if (!again.accepted())
            std::abort();
        CellStore reread(WordColumn::Count, 2);
        applyWordList(reread, again, LoadMode::Open, 1, 2);
        return buildWordListFile(header, reread);
    };
    const QByteArray second = rewrite(written);
    if (rewrite(second) != second)
        std::abort();
    return 0;
}
