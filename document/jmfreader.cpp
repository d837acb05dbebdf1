#include "document/jmfreader.h"

#include "document/fileio.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace kelvari {
namespace {

bool isMarkerLine(QByteArrayView line) {
    static constexpr char kMarker[] = "!!DICUT10";
    constexpr qsizetype kLen = sizeof(kMarker) - 1;
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

// Cuts the next line off [p, end): a line ends at CR, an LF right after the CR
// belongs to the line end, a bare LF is part of the line.
inline QByteArrayView nextLine(const char *&p, const char *end) {
    const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
    const char *lineEnd = cr ? cr : end;
    QByteArrayView line(p, lineEnd - p);
    p = lineEnd;
    if (cr) {
        ++p;
        if (p < end && *p == '\n')
            ++p;
    }
    return line;
}

enum class LineKind { Comment, Skipped, Data };

// What a line after the first is. A comment line's text starts after the prefix.
inline LineKind kindOf(QByteArrayView line, const QByteArray &prefix) {
    if (line.size() >= prefix.size() &&
        std::memcmp(line.data(), prefix.constData(), size_t(prefix.size())) == 0)
        return LineKind::Comment;
    if (line.isEmpty() || (line.size() >= 2 && line[0] == '!' && line[1] == '!'))
        return LineKind::Skipped;
    return LineKind::Data;
}

// Rows keep 32-bit offsets within their line; no real word list comes near.
inline void checkLineLength(QByteArrayView line) {
    if (quint64(line.size()) > std::numeric_limits<quint32>::max())
        throw IoError(IoFailure::Other, EFBIG);
}

} // namespace

QString notAWordListMessage() {
    return QStringLiteral("有効な辞書作成ファイルではありません。");
}

DataLineFields JmfContent::row(qsizetype index) const {
    const Row &r = m_rows[size_t(index)];
    const char *line = m_bytes.constData() + r.lineStart;
    return {QByteArrayView(line, r.readingLen), QByteArrayView(line + r.wordOffset, r.wordLen),
            QByteArrayView(line + r.posOffset, r.posLen)};
}

JmfContent parseJmf(QByteArray bytes) {
    JmfContent content;
    content.m_bytes = std::move(bytes);
    const char *begin = content.m_bytes.constData();
    const char *end = begin + content.m_bytes.size();
    // Ctrl-Z ends the file.
    if (const void *eof = std::memchr(begin, 0x1A, size_t(end - begin)))
        end = static_cast<const char *>(eof);

    const char *p = begin;
    if (!isMarkerLine(nextLine(p, end))) {
        content.m_bytes.clear();
        return content;
    }
    content.m_accepted = true;

    // One row at most per line end: reserving avoids regrowing a large vector.
    content.m_rows.reserve(size_t(std::count(p, end, '\r') + 1));
    const QByteArray &prefix = commentPrefix();
    QByteArrayView comment;
    bool hasComment = false;
    while (p < end) {
        const QByteArrayView line = nextLine(p, end);
        const LineKind kind = kindOf(line, prefix);
        if (kind == LineKind::Comment) {
            comment = line.sliced(prefix.size());
            hasComment = true;
            continue;
        }
        if (kind == LineKind::Skipped)
            continue;
        checkLineLength(line);
        const DataLineFields f = ParseDataLine(line);
        content.m_rows.push_back({line.data() - begin, quint32(f.reading.size()),
                                  quint32(f.word.data() - line.data()), quint32(f.word.size()),
                                  quint32(f.partOfSpeech.data() - line.data()),
                                  quint32(f.partOfSpeech.size())});
    }
    if (hasComment)
        content.m_comment = comment.toByteArray();
    return content;
}

JmfContent readJmfFile(const QString &path) {
    return parseJmf(readWholeFile(path));
}

// The file's lines a chunk at a time, split by the same rules as nextLine():
// only the current line and one chunk are ever held.
class JmfFileReader::Lines {
public:
    explicit Lines(const QString &path) : m_file(path) {
        if (path.isEmpty())
            throw IoError(IoFailure::InvalidFileName, EINVAL);
        const QFileInfo info(path);
        if (info.isDir())
            throw IoError(IoFailure::InvalidFileName, EISDIR);
        errno = 0;
        // Unbuffered: the chunks are the buffer.
        if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            if (errno != 0)
                throw IoError::fromErrno(errno);
            if (!info.exists())
                throw IoError(IoFailure::FileNotFound, ENOENT);
            throw IoError(IoFailure::AccessDenied, EACCES);
        }
    }

    void rewind() {
        if (!m_file.seek(0))
            throw IoError(IoFailure::Other, ESPIPE);
        m_pos = m_end = m_scanned = 0;
        m_eof = m_afterCr = false;
    }

    // The next line, valid until the next call; false at the end of the file.
    bool next(QByteArrayView &line) {
        for (;;) {
            if (m_afterCr) {
                // An LF right after a CR belongs to that line's end.
                if (m_pos == m_end && !m_eof) {
                    fill();
                    continue;
                }
                if (m_pos < m_end && m_buf.at(m_pos) == '\n')
                    ++m_pos;
                m_afterCr = false;
                m_scanned = m_pos;
            }
            const char *base = m_buf.constData();
            if (const void *cr = std::memchr(base + m_scanned, '\r', size_t(m_end - m_scanned))) {
                const qsizetype at = static_cast<const char *>(cr) - base;
                line = QByteArrayView(base + m_pos, at - m_pos);
                m_pos = m_scanned = at + 1;
                m_afterCr = true;
                return true;
            }
            m_scanned = m_end;
            if (m_eof) {
                if (m_pos == m_end)
                    return false;
                line = QByteArrayView(base + m_pos, m_end - m_pos);
                m_pos = m_scanned = m_end;
                return true;
            }
            fill();
        }
    }

private:
    static constexpr qsizetype kChunk = 256 * 1024;

    // Keeps the unfinished line and reads the next chunk after it.
    void fill() {
        char *base = m_buf.data();
        if (m_pos > 0) {
            std::memmove(base, base + m_pos, size_t(m_end - m_pos));
            m_end -= m_pos;
            m_scanned -= m_pos;
            m_pos = 0;
        }
        if (m_buf.size() - m_end < kChunk) // only a line longer than a chunk grows it
            m_buf.resize(std::max(m_end + kChunk, m_buf.size() * 2));
        base = m_buf.data();
        errno = 0;
        qint64 n = m_file.read(base + m_end, m_buf.size() - m_end);
        if (n < 0)
            throw errno != 0 ? IoError::fromErrno(errno) : IoError(IoFailure::Other, EIO);
        if (n == 0) {
            m_eof = true;
            return;
        }
        // Ctrl-Z ends the file.
        if (const void *eof = std::memchr(base + m_end, 0x1A, size_t(n))) {
            n = static_cast<const char *>(eof) - (base + m_end);
            m_eof = true;
        }
        m_end += n;
    }

    QFile m_file;
    QByteArray m_buf;
    qsizetype m_pos = 0;     // start of the current line
    qsizetype m_end = 0;     // end of the bytes read
    qsizetype m_scanned = 0; // bytes before this hold no CR of the current line
    bool m_eof = false;
    bool m_afterCr = false;
};

JmfFileReader::JmfFileReader(const QString &path) : m_lines(std::make_unique<Lines>(path)) {}

JmfFileReader::~JmfFileReader() = default;

bool JmfFileReader::isWordList() {
    m_lines->rewind();
    QByteArrayView line;
    return m_lines->next(line) && isMarkerLine(line);
}

bool JmfFileReader::readRows(const std::function<void(const DataLineFields &)> &visit) {
    m_lines->rewind();
    m_comment.reset();
    QByteArrayView line;
    if (!m_lines->next(line) || !isMarkerLine(line))
        return false;
    const QByteArray &prefix = commentPrefix();
    while (m_lines->next(line)) {
        const LineKind kind = kindOf(line, prefix);
        if (kind == LineKind::Comment) {
            m_comment = line.sliced(prefix.size()).toByteArray();
            continue;
        }
        if (kind == LineKind::Skipped)
            continue;
        checkLineLength(line);
        visit(ParseDataLine(line));
    }
    return true;
}

} // namespace kelvari
