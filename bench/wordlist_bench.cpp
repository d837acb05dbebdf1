// Word-list throughput on a million entries: load (read, parse, fill the grid,
// record the document's snapshot), the full grammar check, the modified test and
// save, against raw baselines measured in the same run. Prints one JSON object last.

#include "bench/benchsupport.h"
#include "check/grammarcheck.h"
#include "check/partsofspeech.h"
#include "document/dataline.h"
#include "document/documentmodel.h"
#include "document/jmfreader.h"
#include "document/jmfwriter.h"
#include "document/wordlist.h"
#include "grid/tmstrgrid.h"
#include "platform/sjis.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <random>

using namespace kelvari;
using bench::characters;
using bench::cpuNowMs;
using bench::peakRssMb;

namespace {

constexpr int kEntries = 1'000'000;

QByteArray generateFile() {
    const QList<QByteArray> kana =
        characters(u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよら"
                   u"りるれろわをんが"
                   u"ぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽゃゅょっー");
    const QList<QByteArray> kanji =
        characters(u"日本語辞書変換入力文字漢字東京大阪名前会社学校電話番号住所山田川中村田"
                   u"佐藤鈴木高橋伊渡辺小林加藤吉野春夏秋冬花鳥風月海空雪雨星光音楽");
    const QList<QByteArray> &pos = partOfSpeechNames();
    std::mt19937 rng(20261209);
    const auto pick = [&rng](qsizetype n) {
        return qsizetype(std::uniform_int_distribution<qsizetype>(0, n - 1)(rng));
    };

    QByteArray out = "!!DICUT10\r\n";
    out += sj(u"!![Kelvari 2.0b] にて作成\r\n!!コメント：ベンチマーク\r\n\r\n");
    out.reserve(40 * qsizetype(kEntries));
    QByteArray reading, word;
    for (int i = 0; i < kEntries; ++i) {
        reading.clear();
        word.clear();
        const int readingChars = 2 + int(pick(9));
        for (int k = 0; k < readingChars; ++k) // the long-vowel mark (last) never comes first
            reading += kana[pick(k == 0 ? kana.size() - 1 : kana.size())];
        const int wordChars = 1 + int(pick(5));
        for (int k = 0; k < wordChars; ++k)
            word += pick(3) ? kanji[pick(kanji.size())] : kana[pick(kana.size())];
        if (i % 50 == 0) // some words hold a comma of either kind
            word += (i % 100 == 0) ? sj(u"、") : QByteArray(",");
        if (i % 50 == 0)
            word += kanji[pick(kanji.size())];
        appendDataLine(out, reading, word, pos[pick(pos.size())]);
        out += "\r\n";
    }
    return out;
}

double ms(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

double loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return f.readAll().split(' ').value(0).toDouble();
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.jmf"));
    qint64 fileBytes = 0;
    {
        const QByteArray bytes = generateFile();
        fileBytes = bytes.size();
        if (!bench::writeFile(path, bytes))
            return 1;
    }

    // Baseline read: the whole file and its lines split with memchr.
    QElapsedTimer t;
    t.start();
    double cpu = cpuNowMs();
    qint64 baselineLines = 0;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = f.readAll();
        const char *p = bytes.constData();
        const char *end = p + bytes.size();
        while (p < end) {
            const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
            ++baselineLines;
            p = cr ? cr + 2 : end;
        }
    }
    const double baselineRead = ms(t);
    const double baselineReadCpu = cpuNowMs() - cpu;

    TmStrGrid grid;
    grid.SetColCount(WordColumn::Count);
    grid.SetRowCount(101);

    // As the document commands load: the rows go from the reader to the grid,
    // and the document's snapshot shares them.
    DocumentModel document;
    t.restart();
    cpu = cpuNowMs();
    QElapsedTimer part;
    part.start();
    double partCpu = cpu;
    LoadResult loaded;
    QString comment;
    double parseMs = 0, fillMs = 0, parseCpu = 0, fillCpu = 0;
    {
        JmfContent content = readJmfFile(path);
        parseMs = ms(part);
        parseCpu = cpuNowMs() - partCpu;
        part.restart();
        partCpu = cpuNowMs();
        {
            const auto bulk = grid.bulkChange();
            loaded = applyWordList(grid.cells(), std::move(content), LoadMode::Open, 1, 100);
        }
        comment = document.setLoadedComment(*loaded.comment);
        fillMs = ms(part);
        fillCpu = cpuNowMs() - partCpu;
    }
    part.restart();
    partCpu = cpuNowMs();
    document.RecordSnapshot(grid.cells(), comment);
    const double snapshotMs = ms(part);
    const double snapshotCpu = cpuNowMs() - partCpu;
    const double loadMs = ms(t);
    const double loadCpu = cpuNowMs() - cpu;

    t.restart();
    cpu = cpuNowMs();
    const GrammarReport report = runGrammarCheck(grid.cells());
    const double checkMs = ms(t);
    const double checkCpu = cpuNowMs() - cpu;

    t.restart();
    cpu = cpuNowMs();
    const bool modified = document.IsDocumentModified(grid.cells(), comment);
    const double modifiedMs = ms(t);
    const double modifiedCpu = cpuNowMs() - cpu;

    const QString savePath = dir.filePath(QStringLiteral("saved.jmf"));
    t.restart();
    cpu = cpuNowMs();
    writeWordListFile(savePath,
                      makeJmfHeader(savePath, *loaded.comment, QDateTime::currentDateTime()),
                      grid.cells());
    const double saveMs = ms(t);
    const double saveCpu = cpuNowMs() - cpu;

    // Baseline write: the same bytes written plainly.
    QByteArray saved;
    {
        QFile f(savePath);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        saved = f.readAll();
    }
    t.restart();
    cpu = cpuNowMs();
    if (!bench::writeFile(dir.filePath(QStringLiteral("baseline.jmf")), saved))
        return 1;
    const double baselineWrite = ms(t);
    const double baselineWriteCpu = cpuNowMs() - cpu;

    std::printf("rows loaded %d, grid rows %d, baseline lines %lld, report lines %lld, "
                "errors %s, modified %s, saved %lld bytes\n",
                loaded.lastRow, grid.RowCount(), static_cast<long long>(baselineLines),
                static_cast<long long>(report.lines.size()), report.errorsFound ? "yes" : "no",
                modified ? "yes" : "no", static_cast<long long>(saved.size()));
    std::printf(
        "{\"entries\": %d, \"file_mb\": %.1f, \"load_via\": \"TmStrGrid bulk change\", "
        "\"load_ms\": %.1f, \"load_read_parse_ms\": %.1f, \"load_fill_ms\": %.1f, "
        "\"load_snapshot_ms\": %.1f, \"check_ms\": %.1f, \"modified_ms\": %.1f, \"save_ms\": %.1f, "
        "\"load_read_parse_cpu_ms\": %.1f, \"load_fill_cpu_ms\": %.1f, "
        "\"load_snapshot_cpu_ms\": %.1f, "
        "\"peak_rss_mb\": %.1f, \"baseline_read_ms\": %.1f, \"baseline_write_ms\": %.1f, "
        "\"load_ratio\": %.2f, \"save_ratio\": %.2f, \"load_cpu_ms\": %.1f, "
        "\"check_cpu_ms\": %.1f, \"modified_cpu_ms\": %.1f, \"save_cpu_ms\": %.1f, "
        "\"baseline_read_cpu_ms\": %.1f, \"baseline_write_cpu_ms\": %.1f, "
        "\"load_average\": %.2f}\n",
        kEntries, double(fileBytes) / (1024.0 * 1024.0), loadMs, parseMs, fillMs, snapshotMs,
        checkMs, modifiedMs, saveMs, parseCpu, fillCpu, snapshotCpu, peakRssMb(), baselineRead,
        baselineWrite, loadMs / baselineRead, saveMs / baselineWrite, loadCpu, checkCpu,
        modifiedCpu, saveCpu, baselineReadCpu, baselineWriteCpu, loadAverage());
    return 0;
}
