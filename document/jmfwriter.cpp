#include "document/jmfwriter.h"

#include "document/dataline.h"
#include "document/wordlist.h"
#include "platform/atomicfile.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/sjis.h"

#include <algorithm>

namespace kelvari {
namespace {

constexpr qsizetype kChunk = 1 << 20;

// The locale's long time format carries a time-zone name; the file's date line
// has always been date and clock time only.
QString withoutTimeZone(const QString &format) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted || c != u't') {
            out += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == u't')
            ++i;
        // Drop the blank that separated the zone from the time.
        if (out.endsWith(u' '))
            out.chop(1);
        else if (i + 1 < format.size() && format[i + 1] == u' ')
            ++i;
    }
    return out.trimmed();
}

inline QByteArrayView view(std::string_view s) {
    return QByteArrayView(s.data(), qsizetype(s.size()));
}

void produceFile(const JmfHeader &header, const CellStore &cells, const ByteSink &sink) {
    QByteArray out;
    // Small lists should not pay for the full chunk.
    out.reserve(std::min<qsizetype>(kChunk, 1024 + qsizetype(cells.rowCount()) * 48) + 4096);
    const auto line = [&out](QByteArrayView text) {
        out.append(text);
        out.append("\r\n", 2);
    };
    line("!!DICUT10");
    line(sj(u"!![Kelvari 2.0b] にて作成"));
    line(sj(u"!!注：ファイル内容を改変しないで下さい。"));
    line(sj(u"!!注：改変すると読み込めなくなるおそれがあります。"));
    line(sj(u"!!ファイル名：") + header.fileName);
    line(sj(u"!!出力日時：") + header.writtenAt);
    line(sj(u"!!コメント：") + header.comment);
    line({});

    const int count = cells.rowCount();
    for (int row = 1; row < count; ++row) {
        const CellStore::PackedRow &packed = cells.packedRow(row);
        const QByteArrayView reading = view(CellStore::cellOf(packed, WordColumn::Reading));
        const QByteArrayView word = view(CellStore::cellOf(packed, WordColumn::Word));
        const QByteArrayView pos = view(CellStore::cellOf(packed, WordColumn::PartOfSpeech));
        if (reading.isEmpty() && word.isEmpty() && pos.isEmpty())
            continue;
        appendDataLine(out, reading, word, pos);
        out.append("\r\n", 2);
        if (out.size() >= kChunk) {
            sink(out);
            out.resize(0);
        }
    }
    sink(out);
}

} // namespace

QByteArray formatWrittenAt(const QDateTime &when, const QLocale &locale) {
    QString text = locale.toString(when.date(), locale.dateFormat(QLocale::ShortFormat));
    if (when.time() != QTime(0, 0)) {
        text += u' ';
        text +=
            locale.toString(when.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    }
    sjis::EncodeResult encoded = sjis::encode(text);
    if (encoded.ok())
        return encoded.bytes;
    // A locale whose names CP932 cannot hold: fall back to digits rather than lose characters.
    QString fallback = when.date().toString(QStringLiteral("yyyy/MM/dd"));
    if (when.time() != QTime(0, 0))
        fallback += when.time().toString(QStringLiteral(" H:mm:ss"));
    return fallback.toLatin1();
}

QByteArray fileNameForHeader(const QString &path) {
    const sjis::EncodeResult encoded = sjis::encode(Paths::extractFileName(path));
    if (!encoded.ok())
        throw AppError(QStringLiteral("ファイル名に使えない文字があります：") + encoded.unmappable);
    return encoded.bytes;
}

JmfHeader makeJmfHeader(const QString &path, const QByteArray &comment, const QDateTime &when,
                        const QLocale &locale) {
    return {fileNameForHeader(path), comment, formatWrittenAt(when, locale)};
}

QByteArray buildWordListFile(const JmfHeader &header, const CellStore &cells) {
    QByteArray bytes;
    produceFile(header, cells, [&bytes](QByteArrayView piece) { bytes.append(piece); });
    return bytes;
}

void writeWordListFile(const QString &path, const JmfHeader &header, const CellStore &cells) {
    saveFileAtomically(path, [&](const ByteSink &sink) { produceFile(header, cells, sink); });
}

} // namespace kelvari
