#include "document/jmfreader.h"

#include "document/fileio.h"
#include "platform/errors.h"
#include "platform/sjis.h"

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
        if (line.size() >= prefix.size() &&
            std::memcmp(line.data(), prefix.constData(), size_t(prefix.size())) == 0) {
            comment = line.sliced(prefix.size());
            hasComment = true;
            continue;
        }
        if (line.isEmpty() || (line.size() >= 2 && line[0] == '!' && line[1] == '!'))
            continue;
        // Rows keep 32-bit offsets within their line; no real word list comes near.
        if (quint64(line.size()) > std::numeric_limits<quint32>::max())
            throw IoError(IoFailure::Other, EFBIG);
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

} // namespace kelvari
