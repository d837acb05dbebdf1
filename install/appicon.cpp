#include "install/appicon.h"

// Q_INIT_RESOURCE must be used outside any namespace; the library is static, so
// the program pulls its resources in explicitly.
static void initAppIconResources() {
    Q_INIT_RESOURCE(appicon);
}

namespace kelvari {

QIcon applicationIcon() {
    initAppIconResources();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/kelvari/icon/kelvari-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace kelvari
