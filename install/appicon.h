#pragma once
// The application's own icon, in the sizes of the desktop's icon theme.

#include <QIcon>

namespace kelvari {

// Every size of the icon; safe to call more than once.
QIcon applicationIcon();

} // namespace kelvari
