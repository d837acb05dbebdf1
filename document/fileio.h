#pragma once
// Whole-file input for word lists, with failures raised as IoError carrying the
// program's fixed messages. Files are written through platform/atomicfile.

#include <QByteArray>
#include <QString>

namespace kelvari {

// Reads the whole file. Throws IoError.
QByteArray readWholeFile(const QString &path);

} // namespace kelvari
