// Date and time sort keys: an arbitrary format (first line of the input) and an
// arbitrary value (the rest). A format is either accepted or refused with its
// error; a value either gives a key or is refused — nothing else may happen.
#include "grid/tmstrlist.h"

#include <cstdint>

using namespace kelvari;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype newline = input.indexOf('\n');
    const QByteArray format = newline < 0 ? input : input.left(newline);
    const QByteArray value = newline < 0 ? QByteArray() : input.mid(newline + 1);
    TmStrList list;
    try {
        list.setDateTimeFormat(format);
    } catch (const AppError &) {
        return 0;
    }
    try {
        (void)list.dateTimeKey(value);
    } catch (const AppError &) {
    }
    return 0;
}
