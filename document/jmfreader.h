#pragma once
// The JMF word-list reader: the whole file is read and parsed before anything
// is applied, so a failure never leaves a document half replaced.

#include "document/dataline.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kelvari {

class JmfContent {
public:
    // False when the first line is not "!!DICUT10": not a word-list file.
    bool accepted() const { return m_accepted; }
    // The text of the last comment line; none when the file has no comment line.
    const std::optional<QByteArray> &comment() const { return m_comment; }

    qsizetype rowCount() const { return qsizetype(m_rows.size()); }
    // Views into the file's bytes, valid while this object lives.
    DataLineFields row(qsizetype index) const;

private:
    friend JmfContent parseJmf(QByteArray bytes);

    // Fields as offsets from the line start, so a row costs 32 bytes and no allocation.
    struct Row {
        qint64 lineStart;
        quint32 readingLen;
        quint32 wordOffset;
        quint32 wordLen;
        quint32 posOffset;
        quint32 posLen;
    };

    bool m_accepted = false;
    std::optional<QByteArray> m_comment;
    QByteArray m_bytes;
    std::vector<Row> m_rows;
};

// The message shown for a file that is not a word list.
QString notAWordListMessage();

// Parses the bytes of a whole file.
JmfContent parseJmf(QByteArray bytes);
// Reads and parses a file. Throws IoError when it cannot be read.
JmfContent readJmfFile(const QString &path);

// Reads a word-list file a piece at a time, for lists too large to hold whole
// (the command-line checker); the rows and the comment are those readJmfFile
// gives. The file stays open while this object lives and can be read again.
class JmfFileReader {
public:
    // Opens the file. Throws IoError.
    explicit JmfFileReader(const QString &path);
    ~JmfFileReader();
    JmfFileReader(const JmfFileReader &) = delete;
    JmfFileReader &operator=(const JmfFileReader &) = delete;

    // Reads the first line only: false when the file is not a word list.
    bool isWordList();
    // Reads the file from its start. False when it is not a word list; otherwise
    // every data row goes to `visit` in order (the views live for that call only)
    // and comment() is set from the file's comment lines. Throws IoError.
    bool readRows(const std::function<void(const DataLineFields &)> &visit);
    const std::optional<QByteArray> &comment() const { return m_comment; }

private:
    class Lines;
    std::unique_ptr<Lines> m_lines;
    std::optional<QByteArray> m_comment;
};

} // namespace kelvari
