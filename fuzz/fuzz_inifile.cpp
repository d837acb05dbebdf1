// The ini reader on arbitrary bytes: the first line of the input names the
// section and key (split at a tab), the rest is the file.
#include "platform/inifile.h"

#include <cstdint>

using namespace kelvari;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype newline = bytes.indexOf('\n');
    const QByteArray head = newline < 0 ? bytes : bytes.left(newline);
    const QByteArray file = newline < 0 ? QByteArray() : bytes.mid(newline + 1);
    const qsizetype tab = head.indexOf('\t');
    const QByteArray section = tab < 0 ? head : head.left(tab);
    const QByteArray key = tab < 0 ? QByteArray() : head.mid(tab + 1);
    IniFile::readStringFrom(file, section, key, "default");
    return 0;
}
