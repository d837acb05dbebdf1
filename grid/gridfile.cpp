#include "grid/gridfile.h"

#include "platform/atomicfile.h"

#include <QFile>
#include <cerrno>
#include <string>
#include <vector>

namespace kelvari {

namespace {

IoError lastIoError() {
    const int code = errno;
    return code != 0 ? IoError::fromErrno(code) : IoError(IoFailure::Other, 0);
}

// Splits a line at every occurrence of the separator, as ModifyRow does.
void splitLine(QByteArrayView line, QByteArrayView separator, std::vector<QByteArrayView> &out) {
    out.clear();
    if (separator.isEmpty()) {
        out.push_back(line);
        return;
    }
    for (;;) {
        const qsizetype at = line.indexOf(separator);
        if (at < 0) {
            out.push_back(line);
            return;
        }
        out.push_back(line.first(at));
        line = line.sliced(at + separator.size());
    }
}

} // namespace

void SaveToFile(const CellStore &cells, const QString &fileName, QByteArrayView separator) {
    saveFileAtomically(fileName, [&](const ByteSink &sink) {
        std::string buffer;
        constexpr std::size_t kChunk = 1 << 20;
        for (int row = 0; row < cells.rowCount(); ++row) {
            for (int col = 0; col < cells.colCount(); ++col) {
                if (col > 0)
                    buffer.append(separator.data(), std::size_t(separator.size()));
                buffer.append(cells.cellView(col, row));
            }
            buffer.append("\r\n");
            if (buffer.size() >= kChunk) {
                sink(QByteArrayView(buffer.data(), qsizetype(buffer.size())));
                buffer.clear();
            }
        }
        sink(QByteArrayView(buffer.data(), qsizetype(buffer.size())));
    });
}

void LoadFromFile(CellStore &cells, const QString &fileName, QByteArrayView separator) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw MFileError(QStringLiteral("File ") + fileName + QStringLiteral(" not found"));

    std::vector<CellStore::PackedRow> rows;
    std::vector<QByteArrayView> fields;
    int widest = 0;
    auto takeLine = [&](QByteArrayView line) {
        if (line.isEmpty())
            return; // blank lines use no row
        splitLine(line, separator, fields);
        widest = std::max(widest, int(fields.size()));
        rows.push_back(CellStore::packRow(fields));
    };

    // Lines end at CR LF, LF or a lone CR; read in pieces so that a large
    // file is never held twice.
    QByteArray pending;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    bool crPending = false;
    bool firstPiece = true;
    for (;;) {
        errno = 0;
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            throw lastIoError();
        if (got == 0)
            break;
        QByteArrayView data(chunk.constData(), got);
        qsizetype start = 0;
        for (qsizetype i = 0; i < data.size(); ++i) {
            const char c = data[i];
            if (c != '\r' && c != '\n')
                continue;
            if (c == '\n' && crPending && i == start && pending.isEmpty()) {
                crPending = false; // the LF of a CR LF split across pieces
                start = i + 1;
                continue;
            }
            pending.append(data.sliced(start, i - start));
            takeLine(pending);
            pending.clear();
            crPending = false;
            if (c == '\r') {
                if (i + 1 < data.size()) {
                    if (data[i + 1] == '\n')
                        ++i;
                } else {
                    crPending = true;
                }
            }
            start = i + 1;
        }
        pending.append(data.sliced(start));
        if (!pending.isEmpty())
            crPending = false;
        if (firstPiece && got < file.size()) {
            // Size the row list from the first piece rather than let it double.
            const double perByte = double(rows.size()) / double(got);
            rows.reserve(std::size_t(perByte * double(file.size()) * 1.05) + 16);
        }
        firstPiece = false;
    }
    takeLine(pending);

    cells.replaceRows(std::move(rows), widest);
}

} // namespace kelvari
