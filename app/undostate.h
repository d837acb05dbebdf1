#pragma once
// The editor's one-step undo of the row commands: the snapshot of one row, the
// deleted mark, and whether undo is enabled.
//
// The snapshot names its row by index, but rows move under it (a row inserted or
// deleted above it, a row dragged, a new document). So the record follows every
// row change the grid reports: undo writes only into the recorded row, wherever it
// now stands; a recorded row that was deleted comes back where it stood; and a
// record whose row can no longer be told (a new document, a sort, nothing
// recorded yet) writes nothing at all, and never into the title row.

#include <QByteArray>

namespace kelvari {

struct RowTexts {
    QByteArray reading;
    QByteArray word;
    QByteArray partOfSpeech;
    bool isEmpty() const { return reading.isEmpty() && word.isEmpty() && partOfSpeech.isEmpty(); }
    friend bool operator==(const RowTexts &, const RowTexts &) = default;
};

struct UndoSnapshotRecord {
    int row = 0; // the row it was recorded from, 0 (the title row) before any
    RowTexts texts;
};

class UndoState {
public:
    // What an undo does now.
    struct Step {
        enum class Kind { Nothing, Rewrite, Reinsert };
        Kind kind = Kind::Nothing;
        int row = 0; // Rewrite: the recorded row; Reinsert: where it comes back
        RowTexts texts;
    };

    const UndoSnapshotRecord &UndoSnapshot() const { return m_snapshot; }
    bool UndoRowDeleted() const { return m_rowDeleted; }
    bool enabled() const { return m_enabled; }

    // SaveUndo: the row as it stands now; enables undo. The deleted mark is not touched.
    void save(int row, const RowTexts &texts);
    void setRowDeleted(bool deleted) { m_rowDeleted = deleted; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // Row changes of the grid, in grid rows. The recorded row follows them; when
    // it is removed, the record keeps the place it left.
    void rowsInserted(int index, int count);
    void rowsRemoved(int index, int count);
    void rowMoved(int from, int to);
    // The rows were replaced wholesale (a load, a new document, a sort): the
    // snapshot belongs to rows that are gone, so everything starts over.
    void clear();

    // Undo: what to do, then the snapshot is used up, the deleted mark cleared and
    // undo disabled. Nothing when undo is disabled.
    Step takeStep();

private:
    enum class Where { None, Row, Gap };
    UndoSnapshotRecord m_snapshot;
    bool m_rowDeleted = false;
    bool m_enabled = false;
    // Where the recorded row is now: still in the table at `m_at`, deleted from
    // before the row now at `m_at`, or not known.
    Where m_where = Where::None;
    int m_at = 0;
};

} // namespace kelvari
