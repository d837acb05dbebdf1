#pragma once
// The widgets library is static, so its compiled-in resources (the toolbar
// pictures under ":/icons/") must be pulled in by the program explicitly.

namespace kelvari {

// Makes ":/icons/new.png" ... ":/icons/atok.png" available; safe to call more
// than once.
void initWidgetResources();

} // namespace kelvari
