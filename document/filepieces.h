#pragma once
// Reading a file from start to end in pieces, so that a large file is never
// held whole. Failures raise the same IoErrors as readWholeFile (fileio.h).

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace kelvari {

// Hands the file's bytes to `take` piece by piece, with the file's size; `take`
// returns false to stop reading. Throws IoError.
using PieceSink = std::function<bool(QByteArrayView piece, qint64 fileSize)>;
void readFileInPieces(const QString &path, const PieceSink &take, qsizetype pieceSize = 1 << 20);

} // namespace kelvari
