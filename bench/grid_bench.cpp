// Grid figures on a million word rows: fill, row insertion and deletion through
// the grid widget (offscreen), whole-row sorts by each key type against a raw
// std::stable_sort of the same keys, undo, a search that visits every cell,
// and the grid file round trip. Prints one JSON object on its last line.

#include "bench/benchsupport.h"
#include "grid/cellstore.h"
#include "grid/gridfile.h"
#include "grid/gridsort.h"
#include "grid/tmstrgrid.h"
#include "platform/sjis.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace kelvari;
using bench::characters;
using bench::cpuNowMs;
using bench::peakRssMb;

namespace {

// The current resident memory from /proc/self/status, in MB.
double rssMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix("VmRSS:");
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::stod(line.substr(prefix.size())) / 1024.0;
    }
    return -1;
}

double g_cpuMs = 0; // processor time of the last timed step

// Wall-clock milliseconds; the processor time goes to g_cpuMs, since a busy
// machine stretches wall-clock figures.
double timeMs(const std::function<void()> &work) {
    QElapsedTimer timer;
    const double cpu = cpuNowMs();
    timer.start();
    work();
    g_cpuMs = cpuNowMs() - cpu;
    return double(timer.nsecsElapsed()) / 1e6;
}

// CP932 forms of the characters from first to last.
QList<QByteArray> charRange(char16_t first, char16_t last) {
    QString text;
    for (char16_t c = first; c <= last; ++c)
        text += QChar(c);
    return characters(text);
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const int rows = argc > 1 ? std::max(10, atoi(argv[1])) : 1000000;

    QRandomGenerator rng(20240101);
    const QList<QByteArray> hiragana = charRange(u'ぁ', u'ん');
    const QList<QByteArray> kanji = characters(
        u"日本語辞書単語読変換登録漢字名詞動詞形容山川田中村木林森花鳥風月海空雨雪春夏秋冬東西南北"
        u"上下左右大小高低新古長短明暗強弱早遅多少");
    const QStringList posNames{QStringLiteral("名詞"),     QStringLiteral("固有人名"),
                               QStringLiteral("固有地名"), QStringLiteral("サ変名詞"),
                               QStringLiteral("形容詞"),   QStringLiteral("副詞"),
                               QStringLiteral("短縮読み"), QStringLiteral("単漢字")};
    std::vector<QByteArray> pos;
    for (const QString &p : posNames)
        pos.push_back(sj(p));

    auto reading = [&] {
        QByteArray s;
        for (int n = 3 + int(rng.bounded(8)); n > 0; --n)
            s += hiragana[rng.bounded(quint32(hiragana.size()))];
        return s;
    };
    auto word = [&] {
        const bool kana = rng.bounded(4) == 0;
        const QList<QByteArray> &set = kana ? hiragana : kanji;
        QByteArray s;
        for (int n = 1 + int(rng.bounded(8)); n > 0; --n)
            s += set[rng.bounded(quint32(set.size()))];
        return s;
    };

    QJsonObject out;
    out.insert(QStringLiteral("rows"), rows);
    // name_ms (wall clock), name_cpu_ms, and the peak and current memory after the step.
    auto measure = [&](const char *name, const std::function<void()> &work) {
        const double ms = timeMs(work);
        out.insert(QLatin1String(name) + QStringLiteral("_ms"), ms);
        out.insert(QLatin1String(name) + QStringLiteral("_cpu_ms"), g_cpuMs);
        out.insert(QStringLiteral("hwm_after_") + QLatin1String(name), peakRssMb());
        out.insert(QStringLiteral("rss_after_") + QLatin1String(name), rssMb());
        return ms;
    };

    TmStrGrid grid;
    grid.resize(800, 600);
    const GridShape shape{1, 1};

    // --- fill: titles, row numbers, readings, words, parts of speech ---
    measure("fill", [&] {
        const auto bulk = grid.bulkChange();
        CellStore &cells = grid.cells();
        cells.setColCount(4);
        cells.setRowCount(rows + 1);
        cells.reserveRows(rows + 1);
        cells.setPackedRow(
            0, CellStore::packRow({QByteArrayView(), sj(u"読み"), sj(u"単語"), sj(u"品詞")}));
        std::vector<QByteArrayView> fields(4);
        for (int r = 1; r <= rows; ++r) {
            const QByteArray number = QByteArray::number(r);
            const QByteArray a = reading(), b = word();
            fields[0] = number;
            fields[1] = a;
            fields[2] = b;
            fields[3] = pos[rng.bounded(quint32(pos.size()))];
            cells.setPackedRow(r, CellStore::packRow(fields));
        }
    });

    // The first change of shape after a reset also pays for the row header
    // growing its table of a million sections; the second one shows the usual cost.
    measure("insert_row", [&] { grid.InsertRows(1, 1); });
    measure("delete_row", [&] { grid.DeleteRows(1, 1); });
    measure("insert_row_again", [&] { grid.InsertRows(1, 1); });
    measure("delete_row_again", [&] { grid.DeleteRows(1, 1); });
    out.insert(QStringLiteral("insert_delete_via"), QStringLiteral("TmStrGrid"));

    CellStore &cells = grid.cells();
    GridSorter sorter;

    // --- raw baseline: the same byte keys, std::stable_sort ---
    double baseline = 0;
    {
        std::vector<std::string> keys;
        keys.reserve(std::size_t(rows));
        for (int r = 1; r <= rows; ++r)
            keys.emplace_back(cells.cellView(1, r));
        baseline = timeMs([&] { std::stable_sort(keys.begin(), keys.end()); });
    }
    const double baselineCpu = g_cpuMs;
    out.insert(QStringLiteral("baseline_sort_ms"), baseline);
    out.insert(QStringLiteral("baseline_sort_cpu_ms"), baselineCpu);

    // One bulk change over the sorts and searches: the view is reset once, after them.
    std::optional<TmStrGrid::BulkChange> bulk;
    bulk.emplace(grid);
    sorter.setKeyType(soString);
    const double sortString =
        measure("sort_string", [&] { sorter.SortCompleteRows(cells, shape, 1); });
    out.insert(QStringLiteral("sort_ratio"), sortString / baseline);
    out.insert(QStringLiteral("sort_ratio_cpu"), g_cpuMs / baselineCpu);
    measure("undo_sort", [&] { sorter.UndoSort(cells); });

    sorter.setKeyType(soStringCaseSensitive);
    const double sortCs =
        measure("sort_case_sensitive", [&] { sorter.SortCompleteRows(cells, shape, 1); });
    out.insert(QStringLiteral("sort_case_sensitive_ratio"), sortCs / baseline);
    out.insert(QStringLiteral("sort_case_sensitive_ratio_cpu"), g_cpuMs / baselineCpu);
    sorter.UndoSort(cells);

    // Numbers and dates replace the words and parts of speech for their sorts.
    for (int r = 1; r <= rows; ++r) {
        cells.setCell(2, r, QByteArray::number(double(rng.bounded(100000000)) / 100.0, 'f', 2));
        const QByteArray date = QByteArray::number(rng.bounded(100)).rightJustified(2, '0') + '/' +
                                QByteArray::number(1 + rng.bounded(12)) + '/' +
                                QByteArray::number(1 + rng.bounded(28)) + ' ' +
                                QByteArray::number(rng.bounded(24)) + ':' +
                                QByteArray::number(rng.bounded(60)).rightJustified(2, '0') + ':' +
                                QByteArray::number(rng.bounded(60)).rightJustified(2, '0');
        cells.setCell(3, r, date);
    }
    sorter.setKeyType(soNumeric);
    const double sortNumeric =
        measure("sort_numeric", [&] { sorter.SortCompleteRows(cells, shape, 2); });
    out.insert(QStringLiteral("sort_numeric_ratio"), sortNumeric / baseline);
    out.insert(QStringLiteral("sort_numeric_ratio_cpu"), g_cpuMs / baselineCpu);
    sorter.setKeyType(soDate);
    sorter.setDateTimeFormat("yy/MM/dd H:mm:ss");
    measure("sort_date", [&] { sorter.SortCompleteRows(cells, shape, 3); });

    // --- a search for a key no cell holds visits every cell ---
    int col = 0, row = 0;
    sorter.setKeyType(soString);
    measure("find_miss",
            [&] { sorter.FindFirst(cells, shape, sj(u"存在しない語"), true, col, row); });
    sorter.setKeyType(soStringCaseSensitive);
    measure("find_miss_case_sensitive",
            [&] { sorter.FindFirst(cells, shape, sj(u"存在しない語"), true, col, row); });
    bulk.reset();

    // --- grid file round trip; loaded into a fresh store once the grid is emptied ---
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.txt"));
    measure("save", [&] { SaveToFile(cells, path, "\t"); });
    grid.SetRowCount(2);
    CellStore loaded(1, 1);
    measure("load", [&] { LoadFromFile(loaded, path, "\t"); });
    out.insert(QStringLiteral("loaded_rows"), loaded.rowCount());

    out.insert(QStringLiteral("peak_rss_mb"), peakRssMb());
    std::printf("%s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
    return 0;
}
