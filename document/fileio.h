#pragma once
// File input for word lists, whole or in pieces, with failures raised as
// IoError carrying the program's fixed messages. Files are written through
// platform/atomicfile.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace kelvari {

// Reads the whole file. Throws IoError.
QByteArray readWholeFile(const QString &path);

// Hands the file's bytes to `take` piece by piece, with the file's size, so that
// a large file is never held whole; `take` returns false to stop reading.
// Throws IoError.
using PieceSink = std::function<bool(QByteArrayView piece, qint64 fileSize)>;
void readFileInPieces(const QString &path, const PieceSink &take, qsizetype pieceSize = 1 << 20);

} // namespace kelvari
