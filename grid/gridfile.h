#pragma once
// The grid's own delimited text file: one line per row from row 0 (header rows
// included), the cells of a row from column 0 joined by a separator string,
// each line ended by CR LF, CP932 bytes as stored. Nothing is escaped, so a
// separator or line break inside a cell does not survive a round trip.
//
//   SaveToFile(cells, path, "\t");   // atomic: a failed save keeps the old file
//   LoadFromFile(cells, path, "\t"); // MFileError "File <path> not found"
//
// LoadFromFile reads and splits the whole file before it touches the grid, so
// a failing load leaves the grid as it was. Blank lines use no row; RowCount
// becomes the number of non-empty lines and ColCount the widest line's field
// count (both at least 1: the grid then lowers its header counts as usual).
// The rows that the file fills hold exactly its fields.

#include "grid/cellstore.h"
#include "platform/errors.h"

#include <QByteArrayView>
#include <QString>

namespace kelvari {

// A grid file that cannot be opened for reading.
class MFileError : public AppError {
public:
    using AppError::AppError;
};

// Raises IoError when the file cannot be written.
void SaveToFile(const CellStore &cells, const QString &fileName, QByteArrayView separator);
// Raises MFileError when the file cannot be opened, IoError when reading fails.
void LoadFromFile(CellStore &cells, const QString &fileName, QByteArrayView separator);

} // namespace kelvari
