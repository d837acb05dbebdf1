#pragma once
// The wait cursor for work a user may notice (a large file read or written, a
// check of a long list); restored however the work ends.

#include <QGuiApplication>

namespace kelvari {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace kelvari
