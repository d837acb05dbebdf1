#include "document/jmfreader.h"

#include "document/fileio.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <functional>
#include <limits>

namespace kelvari {
namespace {

constexpr char kMarker[] = "!!DICUT10";
constexpr qsizetype kMarkerLength = sizeof(kMarker) - 1;

bool isMarkerLine(QByteArrayView line) {
    constexpr qsizetype kLen = kMarkerLength;
    if (line.size() != kLen)
        return false;
    for (qsizetype i = 0; i < kLen; ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != kMarker[i])
            return false;
    }
    return true;
}

const QByteArray &commentPrefix() {
    static const QByteArray prefix = sj(u"!!コメント：");
    return prefix;
}

bool isCommentLine(QByteArrayView line) {
    const QByteArray &prefix = commentPrefix();
    return line.size() >= prefix.size() &&
           std::memcmp(line.data(), prefix.constData(), size_t(prefix.size())) == 0;
}

// Empty lines and other "!!" lines carry no row.
bool isSkippedLine(QByteArrayView line) {
    return line.isEmpty() || (line.size() >= 2 && line[0] == '!' && line[1] == '!');
}

// The grid keeps a row, the line's fields and their lengths, in at most 4 GB.
void checkLineLength(QByteArrayView line) {
    if (quint64(line.size()) > std::numeric_limits<quint32>::max() - 64)
        throw IoError(IoFailure::Other, EFBIG);
}

} // namespace

// Cuts a file's bytes, as they come piece by piece, into lines: a line ends at
// CR, an LF right after the CR belongs to the line end, a bare LF is part of the
// line, and a Ctrl-Z byte ends the file. Each line goes to `onLine`, which
// returns false when it wants no more.
class JmfLines {
public:
    using LineSink = std::function<bool(QByteArrayView line)>;
    explicit JmfLines(LineSink onLine) : m_onLine(std::move(onLine)) {}

    // False once nothing more is wanted: the file ended or the sink said stop.
    bool feed(QByteArrayView data) {
        if (m_ended || m_stopped)
            return false;
        if (data.isEmpty())
            return true;
        if (const void *eof = std::memchr(data.data(), 0x1A, size_t(data.size()))) {
            data = data.first(static_cast<const char *>(eof) - data.data());
            m_ended = true;
        }
        qsizetype i = 0;
        if (m_crPending && !data.isEmpty()) {
            m_crPending = false;
            if (data[0] == '\n')
                i = 1;
        }
        const char *bytes = data.data();
        while (i < data.size() && !m_stopped) {
            const auto *cr =
                static_cast<const char *>(std::memchr(bytes + i, '\r', size_t(data.size() - i)));
            if (!cr) {
                m_pending.append(data.sliced(i));
                // A first line longer than the marker decides already.
                if (m_lines == 0 && m_pending.size() > kMarkerLength)
                    line(m_pending);
                break;
            }
            const QByteArrayView piece(bytes + i, cr - (bytes + i));
            if (m_pending.isEmpty()) {
                line(piece);
            } else {
                m_pending.append(piece);
                line(m_pending);
                m_pending.clear();
            }
            i = cr - bytes + 1;
            if (i < data.size()) {
                if (bytes[i] == '\n')
                    ++i;
            } else {
                m_crPending = true;
            }
        }
        return !m_ended && !m_stopped;
    }

    // The last line needs no line end; an empty file still has its (empty) first line.
    void finish() {
        if (!m_stopped && (!m_pending.isEmpty() || m_lines == 0))
            line(m_pending);
    }

private:
    void line(QByteArrayView text) {
        ++m_lines;
        m_stopped = !m_onLine(text);
    }

    LineSink m_onLine;
    QByteArray m_pending; // a line begun in an earlier piece
    qint64 m_lines = 0;
    bool m_crPending = false;
    bool m_ended = false;
    bool m_stopped = false;
};

// Reads a file's lines: the marker, the comment lines and the data rows. The
// rows go to `onRow`, or without one into the content as the grid stores them.
class JmfParser {
public:
    using RowSink = std::function<void(const DataLineFields &)>;

    explicit JmfParser(RowSink onRow = {})
        : m_onRow(std::move(onRow)), m_lines([this](QByteArrayView text) { return line(text); }) {}

    bool feed(QByteArrayView data) { return m_lines.feed(data); }

    // Makes room for the rows of a file of `fileSize` bytes, judged by the first piece.
    void reserveFor(QByteArrayView firstPiece, qint64 fileSize) {
        if (firstPiece.isEmpty() || fileSize <= firstPiece.size())
            return;
        const double perByte = double(std::count(firstPiece.begin(), firstPiece.end(), '\r')) /
                               double(firstPiece.size());
        m_content.m_rows.reserve(size_t(perByte * double(fileSize) * 1.05) + 16);
    }

    JmfContent finish() {
        m_lines.finish();
        if (!m_content.m_accepted)
            m_content = JmfContent();
        return std::move(m_content);
    }

private:
    bool line(QByteArrayView text) {
        if (!m_firstLineSeen) {
            m_firstLineSeen = true;
            m_content.m_accepted = isMarkerLine(text);
            return m_content.m_accepted;
        }
        if (isCommentLine(text)) {
            m_content.m_comment = text.sliced(commentPrefix().size()).toByteArray();
            return true;
        }
        if (isSkippedLine(text))
            return true;
        checkLineLength(text);
        const DataLineFields f = ParseDataLine(text);
        if (m_onRow) {
            m_onRow(f);
            return true;
        }
        std::vector<PackedRow> &rows = m_content.m_rows;
        const auto numbered = std::to_chars(m_number, m_number + sizeof m_number, rows.size() + 1);
        rows.push_back(CellStore::packRow({QByteArrayView(m_number, numbered.ptr - m_number),
                                           f.reading, f.word, f.partOfSpeech}));
        return true;
    }

    RowSink m_onRow;
    JmfContent m_content;
    JmfLines m_lines;
    bool m_firstLineSeen = false;
    char m_number[24];
};

QString notAWordListMessage() {
    return QStringLiteral("有効な辞書作成ファイルではありません。");
}

DataLineFields JmfContent::row(qsizetype index) const {
    const PackedRow &r = m_rows[size_t(index)];
    const auto field = [&r](int col) {
        const std::string_view cell = CellStore::cellOf(r, col);
        return QByteArrayView(cell.data(), qsizetype(cell.size()));
    };
    return {field(1), field(2), field(3)};
}

JmfContent parseJmf(QByteArrayView bytes) {
    JmfParser parser;
    parser.feed(bytes);
    return parser.finish();
}

JmfContent readJmfFile(const QString &path) {
    JmfParser parser;
    bool first = true;
    readFileInPieces(path, [&](QByteArrayView piece, qint64 fileSize) {
        if (first)
            parser.reserveFor(piece, fileSize);
        first = false;
        return parser.feed(piece);
    });
    return parser.finish();
}

JmfFileReader::JmfFileReader(QString path) : m_path(std::move(path)) {}

bool JmfFileReader::readRows(const std::function<void(const DataLineFields &)> &visit) {
    JmfParser parser(visit);
    readFileInPieces(
        m_path, [&](QByteArrayView piece, qint64) { return parser.feed(piece); }, kPieceSize);
    return parser.finish().accepted();
}

} // namespace kelvari
