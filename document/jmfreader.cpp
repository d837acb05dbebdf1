#include "document/jmfreader.h"

#include "document/filepieces.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
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

} // namespace

// Reads a file's bytes as they come, piece by piece, into rows: a line ends at
// CR, an LF right after the CR belongs to the line end, a bare LF is part of the
// line, and a Ctrl-Z byte ends the file.
class JmfParser {
public:
    // False once the file is known not to be a word list: nothing more is wanted.
    bool feed(QByteArrayView data) {
        if (m_ended || m_refused)
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
        while (i < data.size()) {
            const auto *cr =
                static_cast<const char *>(std::memchr(bytes + i, '\r', size_t(data.size() - i)));
            if (!cr) {
                m_pending.append(data.sliced(i));
                // A first line longer than the marker decides already.
                if (!m_firstLineSeen && m_pending.size() > kMarkerLength)
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
        return !m_ended && !m_refused;
    }

    // Makes room for the rows of a file of `fileSize` bytes, judged by the first piece.
    void reserveFor(QByteArrayView firstPiece, qint64 fileSize) {
        if (firstPiece.isEmpty() || fileSize <= firstPiece.size())
            return;
        const double perByte = double(std::count(firstPiece.begin(), firstPiece.end(), '\r')) /
                               double(firstPiece.size());
        m_content.m_rows.reserve(size_t(perByte * double(fileSize) * 1.05) + 16);
    }

    JmfContent finish() {
        // The last line needs no line end; an empty file still has its (empty) first line.
        if (!m_refused && (!m_pending.isEmpty() || !m_firstLineSeen))
            line(m_pending);
        if (!m_content.m_accepted)
            m_content = JmfContent();
        return std::move(m_content);
    }

private:
    void line(QByteArrayView text) {
        if (!m_firstLineSeen) {
            m_firstLineSeen = true;
            m_content.m_accepted = isMarkerLine(text);
            m_refused = !m_content.m_accepted;
            return;
        }
        const QByteArray &prefix = commentPrefix();
        if (text.size() >= prefix.size() &&
            std::memcmp(text.data(), prefix.constData(), size_t(prefix.size())) == 0) {
            m_content.m_comment = text.sliced(prefix.size()).toByteArray();
            return;
        }
        if (text.isEmpty() || (text.size() >= 2 && text[0] == '!' && text[1] == '!'))
            return;
        // The grid keeps a row, the line's fields and their lengths, in at most 4 GB.
        if (quint64(text.size()) > std::numeric_limits<quint32>::max() - 64)
            throw IoError(IoFailure::Other, EFBIG);
        const DataLineFields f = ParseDataLine(text);
        std::vector<PackedRow> &rows = m_content.m_rows;
        const auto numbered = std::to_chars(m_number, m_number + sizeof m_number, rows.size() + 1);
        rows.push_back(CellStore::packRow({QByteArrayView(m_number, numbered.ptr - m_number),
                                           f.reading, f.word, f.partOfSpeech}));
    }

    JmfContent m_content;
    QByteArray m_pending; // a line begun in an earlier piece
    bool m_crPending = false;
    bool m_ended = false;
    bool m_firstLineSeen = false;
    bool m_refused = false;
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

} // namespace kelvari
