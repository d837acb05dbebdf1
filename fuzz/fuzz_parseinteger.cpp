// Integer settings on arbitrary text: a number it accepts is written back as
// decimal text and must read back the same.
#include "settings/settingsstore.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvari;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<int> value = SettingsStore::parseInteger(text);
    if (value && SettingsStore::parseInteger(QByteArray::number(*value)) != value)
        std::abort();
    return 0;
}
