// The row commands of the main window on a million-row word list: insert and
// delete a row (each with the renumbering of column 0 below it) and the undo of a
// deletion, at the top, in the middle and at the end of the list, through the
// real window (offscreen). The raw row move of the grid alone is the baseline
// measured in the same run. Prints one JSON object on its last line.

#include "app/editingcommands.h"
#include "app/tfrmjisho.h"
#include "bench/benchsupport.h"
#include "document/documentcommands.h"
#include "grid/cellstore.h"
#include "grid/tmstrgrid.h"
#include "platform/answerfiledialogs.h"
#include "platform/sjis.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

using namespace kelvari;
using bench::cpuNowMs;

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("KELVARI_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(10, atoi(argv[1])) : 1000000;

    AnswerFileDialogs dialogs(QString(), home.filePath(QStringLiteral("dialogs.log")));
    TfrmJisho window(dialogs);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    TmStrGrid &grid = window.grid();
    EditingCommands &editing = window.editingCommands();

    QJsonObject out;
    out.insert(QStringLiteral("rows"), rows);
    auto measure = [&](const QString &name, const std::function<void()> &work) {
        QElapsedTimer timer;
        const double cpu = cpuNowMs();
        timer.start();
        work();
        QCoreApplication::processEvents(); // what the view does once the command returns
        out.insert(name + QStringLiteral("_ms"), double(timer.nsecsElapsed()) / 1e6);
        out.insert(name + QStringLiteral("_cpu_ms"), cpuNowMs() - cpu);
    };

    // A loaded list: numbers, readings, words and parts of speech.
    {
        const auto bulk = grid.bulkChange();
        CellStore &cells = grid.cells();
        cells.setRowCount(rows + 1);
        cells.reserveRows(rows + 1);
        const QByteArray reading = sj(u"たんご");
        const QByteArray partOfSpeech = sj(u"名詞");
        std::vector<QByteArrayView> fields(4);
        for (int r = 1; r <= rows; ++r) {
            const QByteArray number = QByteArray::number(r);
            const QByteArray word = sj(u"単語") + number;
            fields = {number, reading, word, partOfSpeech};
            cells.setPackedRow(r, CellStore::packRow(fields));
        }
    }
    // The view's first change of shape after a reset builds its row table once.
    grid.SetRow(rows);
    editing.mmAddClick();
    editing.mmDeleteClick();

    // The parts: the grid's row move alone, then the renumbering of every row.
    measure(QStringLiteral("baseline_grid_insert_row"), [&] { grid.InsertRows(1, 1); });
    measure(QStringLiteral("renumber_after_insert"), [&] { editing.RenumberRows(1); });
    measure(QStringLiteral("baseline_grid_delete_row"), [&] { grid.DeleteRows(1, 1); });
    measure(QStringLiteral("renumber_after_delete"), [&] { editing.RenumberRows(1); });

    const std::pair<const char *, int> places[] = {
        {"top", 1}, {"middle", rows / 2}, {"end", rows - 1}};
    for (const auto &[place, row] : places) {
        const QString name = QString::fromLatin1(place);
        grid.SetRow(row);
        measure(QStringLiteral("insert_") + name, [&] { window.mmAddClick(); });
        measure(QStringLiteral("delete_") + name, [&] { window.mmDeleteClick(); });
        measure(QStringLiteral("undo_delete_") + name, [&] { window.mmUndoClick(); });
        window.mmDeleteClick(); // the inserted empty row goes again
    }
    // As after a load or a save: the snapshot shares every row, and the
    // renumbering still writes the numbers in place.
    window.documentCommands().RecordSnapshot();
    grid.SetRow(1);
    measure(QStringLiteral("insert_top_after_snapshot"), [&] { window.mmAddClick(); });
    measure(QStringLiteral("delete_top_after_snapshot"), [&] { window.mmDeleteClick(); });
    bool numbered = grid.RowCount() == rows + 1;
    for (int r = 1; numbered && r <= rows; ++r)
        numbered = grid.Cells(0, r) == QByteArray::number(r);
    out.insert(QStringLiteral("numbers_right"), numbered);
    std::printf("%s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
    return numbered ? 0 : 1;
}
