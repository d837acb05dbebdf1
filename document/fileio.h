#pragma once
// Whole-file input and atomic output for word lists, with failures raised as
// IoError carrying the program's fixed messages.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace kelvari {

// Reads the whole file. Throws IoError.
QByteArray readWholeFile(const QString &path);

// Writes a file through QSaveFile: `produce` hands its bytes to the sink in
// pieces; only a complete write replaces the file. On any failure the previous
// file stays as it was and IoError is thrown.
using ByteSink = std::function<void(QByteArrayView)>;
void saveFileAtomically(const QString &path, const std::function<void(const ByteSink &)> &produce);
void saveFileAtomically(const QString &path, QByteArrayView bytes);

} // namespace kelvari
