#include "widgets/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace kelvari {

void initWidgetResources() {
    initIconResources();
}

} // namespace kelvari
