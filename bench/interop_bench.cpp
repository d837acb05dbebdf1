// Export, import and duplicate search on a million entries, for each format,
// against a raw baseline (copying the same bytes) measured in the same run.
// Prints one line per step and one JSON object last.

#include "bench/benchsupport.h"
#include "check/partsofspeech.h"
#include "document/wordlist.h"
#include "interop/duplicates.h"
#include "interop/exporter.h"
#include "interop/importer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <random>

using namespace kelvari;
using bench::characters;

namespace {

constexpr int kEntries = 1'000'000;

// Readings of 3-8 hiragana, words of 1-4 kanji and kana, parts of speech from the list.
CellStore makeList() {
    const QList<QByteArray> kana = characters(u"あいうえおかきくけこさしすせそたちつてとなにぬねの"
                                              u"はひふへほまみむめもやゆよらりるれろわをん");
    const QList<QByteArray> kanji = characters(u"日本語辞書単語読品詞山川田中村木林森花鳥風月雪");
    const QList<QByteArray> &pos = partOfSpeechNames();
    std::mt19937 rng(7);
    std::vector<PackedRow> rows;
    rows.reserve(kEntries + 1);
    rows.emplace_back();
    for (int i = 1; i <= kEntries; ++i) {
        QByteArray reading, word;
        const int rl = 3 + int(rng() % 6);
        for (int k = 0; k < rl; ++k)
            reading += kana[int(rng() % kana.size())];
        const int wl = 1 + int(rng() % 4);
        for (int k = 0; k < wl; ++k)
            word += (k % 2 ? kana : kanji)[int(rng() % (k % 2 ? kana.size() : kanji.size()))];
        rows.push_back(CellStore::packRow(
            {QByteArray::number(i), reading, word, pos[int(rng() % pos.size())]}));
    }
    CellStore cells(WordColumn::Count, 1);
    cells.replaceRows(std::move(rows), WordColumn::Count);
    return cells;
}

double seconds(QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const CellStore cells = makeList();
    QByteArray json = "{\"entries\":" + QByteArray::number(kEntries);

    // Baseline: one pass over every row copying its three cells into one buffer.
    QElapsedTimer t;
    t.start();
    QByteArray raw;
    raw.reserve(qsizetype(kEntries) * 40);
    for (int row = 1; row < cells.rowCount(); ++row) {
        for (int col = 1; col <= 3; ++col) {
            const std::string_view v = cells.cellView(col, row);
            raw.append(v.data(), qsizetype(v.size()));
            raw.append('\t');
        }
    }
    const double baseline = seconds(t);
    std::printf("baseline copy        %.3f s (%lld bytes)\n", baseline, qlonglong(raw.size()));
    json += ",\"baseline_s\":" + QByteArray::number(baseline, 'f', 3);

    for (InteropFormat f : {InteropFormat::Mozc, InteropFormat::MsIme, InteropFormat::Skk}) {
        const QByteArray name = interopFormatName(f).toLatin1();
        t.restart();
        const ExportResult out = exportRows(f, cells, ExportOptions{true, {}, {}});
        const double exportS = seconds(t);
        t.restart();
        const ImportResult in = importWordList(f, out.bytes);
        const double importS = seconds(t);
        std::printf("%-6s export %.3f s (%lld bytes, %d entries)  import %.3f s (%zu rows, %lld "
                    "problems)\n",
                    name.constData(), exportS, qlonglong(out.bytes.size()), out.entries, importS,
                    in.rows.size(), qlonglong(in.problems.size()));
        json += ",\"" + name + "_export_s\":" + QByteArray::number(exportS, 'f', 3) + ",\"" + name +
                "_import_s\":" + QByteArray::number(importS, 'f', 3);
    }

    t.restart();
    const DuplicateReport dups = findDuplicates(cells);
    const double dupS = seconds(t);
    std::printf("duplicates           %.3f s (%zu same word, %zu same entry)\n", dupS,
                dups.sameWord.size(), dups.sameEntry.size());
    json += ",\"duplicates_s\":" + QByteArray::number(dupS, 'f', 3) + "}";
    std::printf("%s\n", json.constData());
    return 0;
}
