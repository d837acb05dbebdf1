#pragma once
// The document as last loaded or saved, for the modified test. It holds what a
// save would write: the non-blank rows (reading, word, part of speech, each cell
// kept apart) and the comment. Blank rows inserted or removed and row numbers
// therefore never count as changes; moving text from one cell into the next does.

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
    // Cell texts run together, with the end offset of every cell (three per row).
    QByteArray m_text;
    std::vector<quint32> m_cellEnds;
    QByteArray m_comment;
};

} // namespace kelvari
