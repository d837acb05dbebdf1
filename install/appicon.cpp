#include "install/appicon.h"

#include <QDir>

// Q_INIT_RESOURCE must be used outside any namespace; the library is static, so
// the program pulls its resources in explicitly.
static void initAppIconResources() {
    Q_INIT_RESOURCE(appicon);
}

namespace kelvari {

QIcon applicationIcon() {
    initAppIconResources();
    // Every size the resource holds; each file tells its own size.
    QIcon icon;
    const QDir sizes(QStringLiteral(":/kelvari/icon"));
    for (const QString &name : sizes.entryList(QDir::Files))
        icon.addFile(sizes.filePath(name));
    return icon;
}

} // namespace kelvari
