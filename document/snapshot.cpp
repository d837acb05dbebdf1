#include "document/snapshot.h"

#include "document/wordlist.h"

#include <array>
#include <cstring>

namespace kelvari {

namespace {

// Reading, word and part of speech of a row; false for a blank row, which a
// save leaves out and so the snapshot ignores.
bool wordCells(const CellStore &cells, int row, std::array<std::string_view, 3> &c) {
    const CellStore::PackedRow &packed = cells.packedRow(row);
    for (int i = 0; i < 3; ++i)
        c[std::size_t(i)] = CellStore::cellOf(packed, WordColumn::Reading + i);
    return !(c[0].empty() && c[1].empty() && c[2].empty());
}

} // namespace

DocumentSnapshot DocumentSnapshot::record(const CellStore &cells, QByteArrayView comment) {
    DocumentSnapshot snap;
    snap.m_comment = comment.toByteArray();
    const int count = cells.rowCount();
    qsizetype total = 0;
    for (int row = 1; row < count; ++row)
        total += qsizetype(cells.packedRow(row).size());
    snap.m_text.reserve(total);
    snap.m_cellEnds.reserve(size_t(count) * 3);
    for (int row = 1; row < count; ++row) {
        std::array<std::string_view, 3> c;
        if (!wordCells(cells, row, c))
            continue;
        for (const std::string_view &cell : c) {
            snap.m_text.append(cell.data(), qsizetype(cell.size()));
            snap.m_cellEnds.push_back(quint32(snap.m_text.size()));
        }
    }
    // Offsets are 32-bit: a text beyond 4 GB cannot be compared cell by cell.
    if (quint64(snap.m_text.size()) > 0xFFFFFFFFull)
        snap.m_cellEnds.clear();
    return snap;
}

bool DocumentSnapshot::isModified(const CellStore &cells, QByteArrayView comment) const {
    if (comment != QByteArrayView(m_comment))
        return true;
    const char *text = m_text.constData();
    size_t cellIndex = 0;
    quint32 start = 0;
    const int count = cells.rowCount();
    for (int row = 1; row < count; ++row) {
        std::array<std::string_view, 3> c;
        if (!wordCells(cells, row, c))
            continue;
        if (cellIndex + 3 > m_cellEnds.size())
            return true;
        for (const std::string_view &cell : c) {
            const quint32 end = m_cellEnds[cellIndex++];
            if (end - start != cell.size() ||
                (!cell.empty() && std::memcmp(text + start, cell.data(), cell.size()) != 0))
                return true;
            start = end;
        }
    }
    return cellIndex != m_cellEnds.size();
}

} // namespace kelvari
