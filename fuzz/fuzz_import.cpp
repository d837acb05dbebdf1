// The import of other input methods' word lists on arbitrary bytes: the first
// byte picks the format, the rest is the file. Nothing may crash, and every row
// that comes out is a grid row of no more than four cells.
#include "interop/importer.h"
#include "interop/posmapping.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvari;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    static constexpr InteropFormat formats[] = {InteropFormat::Mozc, InteropFormat::MsIme,
                                                InteropFormat::Skk, InteropFormat::Text};
    const InteropFormat format = formats[data[0] % 4];
    const QByteArrayView file(reinterpret_cast<const char *>(data + 1),
                              static_cast<qsizetype>(size - 1));
    const ImportResult result = importWordList(format, file);
    for (const PackedRow &row : result.rows) {
        if (CellStore::cellOf(row, 4).size() != 0)
            std::abort(); // more than the four cells of a grid row
    }
    return 0;
}
