#include "app/undostate.h"

namespace kelvari {

void UndoState::save(int row, const RowTexts &texts) {
    m_snapshot = UndoSnapshotRecord{row, texts};
    m_where = Where::Row;
    m_at = row;
    m_enabled = true;
}

void UndoState::rowsInserted(int index, int count) {
    if (count < 1)
        return;
    // A row inserted right at the place a deleted row left goes below it.
    if ((m_where == Where::Row && index <= m_at) || (m_where == Where::Gap && index < m_at))
        m_at += count;
}

void UndoState::rowsRemoved(int index, int count) {
    if (count < 1 || m_where == Where::None)
        return;
    if (m_at >= index + count) {
        m_at -= count;
    } else if (m_at >= index) {
        // The recorded row itself went: undo puts it back where it stood.
        m_where = Where::Gap;
        m_at = index;
    }
}

void UndoState::rowMoved(int from, int to) {
    if (from == to || m_where == Where::None)
        return;
    if (m_where == Where::Row) {
        if (m_at == from)
            m_at = to;
        else if (from < to && m_at > from && m_at <= to)
            --m_at;
        else if (from > to && m_at >= to && m_at < from)
            ++m_at;
        return;
    }
    // A place between rows: the moved row leaves, then comes in again.
    if (m_at > from)
        --m_at;
    if (to < m_at)
        ++m_at;
}

void UndoState::clear() {
    m_snapshot = UndoSnapshotRecord{};
    m_rowDeleted = false;
    m_enabled = false;
    m_where = Where::None;
    m_at = 0;
}

UndoState::Step UndoState::takeStep() {
    Step step;
    if (!m_enabled)
        return step;
    // Row 0 is the title row: whatever the record says, nothing goes there.
    if (m_at >= 1) {
        if (m_where == Where::Row)
            step = Step{Step::Kind::Rewrite, m_at, m_snapshot.texts};
        else if (m_where == Where::Gap)
            step = Step{Step::Kind::Reinsert, m_at, m_snapshot.texts};
    }
    m_where = Where::None;
    m_at = 0;
    m_rowDeleted = false;
    m_enabled = false;
    return step;
}

} // namespace kelvari
