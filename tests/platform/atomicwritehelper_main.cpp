// Saves one file through one of the program's writers, in a process of its own,
// so that a test can make the disk run out under it.
//   atomicwritehelper <writer> <path> <size>
// writer: bytes (one piece), pieces (1 KB pieces), registry (a value added to
// the HKEY_CURRENT_USER file at <path>), jmf (a word list), grid (a grid file).
// The new file is about <size> bytes. Exit 0 when the file then holds exactly
// what was written; 2 with the error message (UTF-8) on stderr when the write
// failed; 3 when it reported success but the file is wrong.
#include "document/jmfwriter.h"
#include "grid/cellstore.h"
#include "grid/gridfile.h"
#include "platform/atomicfile.h"
#include "platform/registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace kelvari;

namespace {

const QByteArray kKey = "Software\\Test";
const QByteArray kAdded = "Added";

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray pattern(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

// Rows of three short cells; enough of them to make a file of about `size` bytes.
CellStore rowsFor(int size, int firstCol, int colCount) {
    const int rows = std::max(1, size / 24);
    CellStore cells(colCount, rows + 1);
    for (int row = 1; row <= rows; ++row) {
        cells.setCell(firstCol, row, "yomi" + QByteArray::number(row));
        cells.setCell(firstCol + 1, row, "word" + QByteArray::number(row));
        cells.setCell(firstCol + 2, row, "pos");
    }
    return cells;
}

// Writes and returns whether the file then holds what was written.
bool write(const QString &writer, const QString &path, int size) {
    if (writer == u"bytes") {
        const QByteArray bytes = pattern(size);
        saveFileAtomically(path, bytes);
        return readFile(path) == bytes;
    }
    if (writer == u"pieces") {
        const QByteArray bytes = pattern(size);
        saveFileAtomically(path, [&bytes](const ByteSink &sink) {
            for (qsizetype at = 0; at < bytes.size(); at += 1024)
                sink(
                    QByteArrayView(bytes).sliced(at, std::min<qsizetype>(1024, bytes.size() - at)));
        });
        return readFile(path) == bytes;
    }
    if (writer == u"registry") {
        Registry registry(QFileInfo(path).path());
        if (registry.fileFor(RegRoot::CurrentUser) != path)
            return false;
        const qint64 room = size - QFileInfo(path).size() - 32;
        const QByteArray data(int(std::max<qint64>(1, room)), 'n');
        registry.writeString(RegRoot::CurrentUser, kKey, kAdded, data);
        const auto stored = registry.readValue(RegRoot::CurrentUser, kKey, kAdded);
        return stored && stored->data == data;
    }
    if (writer == u"jmf") {
        const CellStore cells = rowsFor(size, 1, 4);
        const JmfHeader header{"list.jmf", "comment", "2024/01/02 3:04:05"};
        writeWordListFile(path, header, cells);
        return readFile(path) == buildWordListFile(header, cells);
    }
    if (writer == u"grid") {
        const CellStore cells = rowsFor(size, 0, 3);
        SaveToFile(cells, path, "\t");
        CellStore back;
        LoadFromFile(back, path, "\t");
        if (back.rowCount() != cells.rowCount() || back.colCount() != cells.colCount())
            return false;
        for (int row = 0; row < cells.rowCount(); ++row) {
            for (int col = 0; col < cells.colCount(); ++col) {
                if (back.cellView(col, row) != cells.cellView(col, row))
                    return false;
            }
        }
        return true;
    }
    std::fprintf(stderr, "unknown writer\n");
    return false;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: atomicwritehelper bytes|pieces|registry|jmf|grid PATH SIZE\n");
        return 64;
    }
    try {
        return write(args[1], args[2], args[3].toInt()) ? 0 : 3;
    } catch (const AppError &error) {
        const QByteArray text = error.message().toUtf8();
        std::fwrite(text.constData(), 1, std::size_t(text.size()), stderr);
        return 2;
    }
}
