#include "platform/helpengine.h"

#include "platform/paths.h"

namespace kelvari {

QString compiledHelpCollection(const QString &helpFile) {
    return Paths::changeFileExt(helpFile, QStringLiteral(".qhc"));
}

} // namespace kelvari
