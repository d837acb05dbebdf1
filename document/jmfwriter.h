#pragma once
// The JMF word-list writer: eight header lines, then one data line per
// non-blank row, CR LF line ends. Building the bytes is a pure function; writing
// them goes through saveFileAtomically, so a failed save leaves the old file as it was.

#include "grid/cellstore.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace kelvari {

struct JmfHeader {
    QByteArray fileName;  // the file's own name, without folder
    QByteArray comment;   // the comment box's text
    QByteArray writtenAt; // date and time of writing, see formatWrittenAt()
};

// The date in the locale's short date format, a blank and the time in its long
// time format; the time is left off at exactly midnight.
QByteArray formatWrittenAt(const QDateTime &when, const QLocale &locale = QLocale::system());

// The name line's text for a path: its file-name part in CP932. Throws AppError
// when the name holds characters CP932 cannot store.
QByteArray fileNameForHeader(const QString &path);

JmfHeader makeJmfHeader(const QString &path, const QByteArray &comment, const QDateTime &when,
                        const QLocale &locale = QLocale::system());

// The whole file for rows 1 .. rowCount-1 of columns 1-3.
QByteArray buildWordListFile(const JmfHeader &header, const CellStore &cells);

// Writes the file atomically. Throws IoError; the previous file is then intact.
void writeWordListFile(const QString &path, const JmfHeader &header, const CellStore &cells);

} // namespace kelvari
