#include "document/snapshot.h"

#include "document/wordlist.h"

#include <algorithm>

namespace kelvari {

namespace {

// A row whose reading, word and part of speech are all empty; a save leaves it out.
bool isBlank(const PackedRow &row) {
    if (row.empty())
        return true;
    for (int col = WordColumn::Reading; col <= WordColumn::PartOfSpeech; ++col) {
        if (!CellStore::cellOf(row, col).empty())
            return false;
    }
    return true;
}

bool sameWords(const PackedRow &a, const PackedRow &b) {
    for (int col = WordColumn::Reading; col <= WordColumn::PartOfSpeech; ++col) {
        if (CellStore::cellOf(a, col) != CellStore::cellOf(b, col))
            return false;
    }
    return true;
}

} // namespace

DocumentSnapshot DocumentSnapshot::record(const CellStore &cells, QByteArrayView comment) {
    DocumentSnapshot snap;
    snap.m_comment = comment.toByteArray();
    const int count = cells.rowCount();
    snap.m_rows.reserve(size_t(std::max(count - 1, 0)));
    for (int row = 1; row < count; ++row)
        snap.m_rows.push_back(cells.packedRow(row));
    return snap;
}

bool DocumentSnapshot::isModified(const CellStore &cells, QByteArrayView comment) const {
    if (comment != QByteArrayView(m_comment))
        return true;
    // Walks both lists of rows, skipping blank rows on either side. A row the
    // grid still shares with the snapshot is the same row, blank or not.
    const int count = cells.rowCount();
    const size_t saved = m_rows.size();
    int row = 1;
    size_t i = 0;
    while (row < count && i < saved) {
        const PackedRow &now = cells.packedRow(row);
        const PackedRow &then = m_rows[i];
        if (now.isSharedWith(then)) {
            ++row;
            ++i;
        } else if (isBlank(now)) {
            ++row;
        } else if (isBlank(then)) {
            ++i;
        } else if (sameWords(now, then)) {
            ++row;
            ++i;
        } else {
            return true;
        }
    }
    for (; row < count; ++row) {
        if (!isBlank(cells.packedRow(row)))
            return true;
    }
    for (; i < saved; ++i) {
        if (!isBlank(m_rows[i]))
            return true;
    }
    return false;
}

} // namespace kelvari
