#pragma once
// The document as last loaded or saved, for the modified test. It compares what
// a save would write: the non-blank rows (reading, word, part of speech, each
// cell kept apart) and the comment. Blank rows inserted or removed and row
// numbers therefore never count as changes; moving text from one cell into the
// next does.
//
// The snapshot holds copies of the grid's rows, which share their bytes with the
// grid: recording costs a pointer per row, and the test compares only the rows
// that the grid has replaced since. The test stays exact: a replaced row is
// compared cell by cell.

#include "grid/cellstore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace kelvari {

class DocumentSnapshot {
public:
    // The empty document: no rows, no comment.
    DocumentSnapshot() = default;

    static DocumentSnapshot record(const CellStore &cells, QByteArrayView comment);
    // True when the grid rows 1 .. rowCount-1 and the comment differ from the snapshot.
    bool isModified(const CellStore &cells, QByteArrayView comment) const;

private:
    // Rows 1 .. rowCount-1 as they were, blank rows included.
    std::vector<PackedRow> m_rows;
    QByteArray m_comment;
};

} // namespace kelvari
