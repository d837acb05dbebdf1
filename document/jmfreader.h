#pragma once
// The JMF word-list reader: the whole file is read and parsed before anything
// is applied, so a failure never leaves a document half replaced. The rows come
// out as the grid stores them, so applying them to the grid copies no text.

#include "document/dataline.h"
#include "grid/cellstore.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kelvari {

class JmfContent {
public:
    // False when the first line is not "!!DICUT10": not a word-list file.
    bool accepted() const { return m_accepted; }
    // The text of the last comment line; none when the file has no comment line.
    const std::optional<QByteArray> &comment() const { return m_comment; }

    qsizetype rowCount() const { return qsizetype(m_rows.size()); }
    // Views into the rows, valid while this object lives.
    DataLineFields row(qsizetype index) const;
    // The rows as grid rows 1, 2, ... of an opened list (the row number, reading,
    // word and part of speech), taken out of this object.
    std::vector<PackedRow> takePackedRows() { return std::move(m_rows); }

private:
    friend class JmfParser;

    bool m_accepted = false;
    std::optional<QByteArray> m_comment;
    std::vector<PackedRow> m_rows;
};

// The message shown for a file that is not a word list.
QString notAWordListMessage();

// Parses the bytes of a whole file.
JmfContent parseJmf(QByteArrayView bytes);
// Reads and parses a file. Throws IoError when it cannot be read.
JmfContent readJmfFile(const QString &path);

// Reads a word-list file a piece at a time, for lists too large to hold whole
// (the command-line checker); the rows are those readJmfFile gives. Each call
// reads the file again from its start.
class JmfFileReader {
public:
    explicit JmfFileReader(QString path);

    // Reads the file from its start. False when it is not a word list; otherwise
    // every data row goes to `visit` in order (the views live for that call
    // only). Throws IoError.
    bool readRows(const std::function<void(const DataLineFields &)> &visit);

private:
    static constexpr qsizetype kPieceSize = 256 * 1024;
    QString m_path;
};

} // namespace kelvari
