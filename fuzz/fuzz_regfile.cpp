// The registry file parser on arbitrary bytes: no crash, and whatever it
// accepts must come out of the writer in a form that reads back the same.
#include "platform/regfile.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvari;

namespace {

void compare(const regfile::Key &a, const regfile::Key &b) {
    if (a.name != b.name || a.values.size() != b.values.size() ||
        a.children.size() != b.children.size())
        std::abort();
    for (qsizetype i = 0; i < a.values.size(); ++i) {
        const auto &[nameA, valueA] = a.values[i];
        const auto &[nameB, valueB] = b.values[i];
        if (nameA != nameB || valueA.type != valueB.type || valueA.data != valueB.data)
            std::abort();
    }
    for (size_t i = 0; i < a.children.size(); ++i)
        compare(*a.children[i], *b.children[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // Most random inputs die at the signature line; give half of them a valid head
    // so that the value and key syntax gets explored without a seed corpus.
    if (size > 0 && (data[0] & 1) == 0)
        bytes = "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n" + bytes.mid(1);
    regfile::Key root;
    regfile::ParseError error;
    if (!regfile::parse(bytes, "HKEY_CURRENT_USER", root, &error))
        return 0;
    const QByteArray written = regfile::serialize(root, "HKEY_CURRENT_USER");
    regfile::Key again;
    if (!regfile::parse(written, "HKEY_CURRENT_USER", again, &error))
        std::abort();
    compare(root, again);
    if (regfile::serialize(again, "HKEY_CURRENT_USER") != written)
        std::abort();
    return 0;
}
