// How long the editor takes from program start to a shown main window, measured
// in fresh processes as a user starts it: the first start on an empty data root
// (which writes the association and creates the settings key) and ordinary
// starts afterwards. A process that shows a plain window of the same size is
// the baseline measured in the same run.
// Prints one JSON object on its last line.

#include "app/tfrmjisho.h"
#include "bench/benchsupport.h"
#include "platform/answerfiledialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <vector>

using namespace kelvari;
using bench::median;

namespace {

// Child: builds the window, shows it and prints the milliseconds since main().
int runChild(int argc, char *argv[], bool editor) {
    QElapsedTimer timer;
    timer.start();
    QApplication app(argc, argv);
    AnswerFileDialogs dialogs(QString(), qEnvironmentVariable("KELVARI_HOME") +
                                             QStringLiteral("/dialogs.log"));
    std::unique_ptr<QMainWindow> window;
    if (editor) {
        window = std::make_unique<TfrmJisho>(dialogs);
    } else {
        window = std::make_unique<QMainWindow>();
        window->resize(602, 425);
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    QCoreApplication::processEvents();
    std::printf("%.2f\n", static_cast<double>(timer.nsecsElapsed()) / 1e6);
    return 0;
}

// Parent: one child process; its own figure and the whole process's wall time.
std::pair<double, double> measure(const QString &kind, const QString &home) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELVARI_HOME"), home);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    QElapsedTimer wall;
    wall.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), kind});
    if (!child.waitForFinished(60000) || child.exitCode() != 0) {
        std::fprintf(stderr, "child %s failed\n", qPrintable(kind));
        return {-1, -1};
    }
    const double wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    return {child.readAllStandardOutput().trimmed().toDouble(), wallMs};
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, qstrcmp(argv[2], "editor") == 0);

    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const auto [firstMs, firstWallMs] = measure(QStringLiteral("editor"), home.path());

    constexpr int runs = 9;
    std::vector<double> editor, editorWall, plain;
    for (int i = 0; i < runs; ++i) {
        const auto [ms, wallMs] = measure(QStringLiteral("editor"), home.path());
        editor.push_back(ms);
        editorWall.push_back(wallMs);
        plain.push_back(measure(QStringLiteral("plain"), home.path()).first);
    }
    const double editorMs = median(editor);
    const double plainMs = median(plain);
    std::printf("{\"bench\":\"startup\",\"goal_ms\":300,\"first_start_ms\":%.2f,"
                "\"first_start_process_ms\":%.2f,\"start_ms_median\":%.2f,"
                "\"start_process_ms_median\":%.2f,\"plain_window_ms_median\":%.2f,"
                "\"ratio_to_plain\":%.2f,\"runs\":%d}\n",
                firstMs, firstWallMs, editorMs, median(editorWall), plainMs,
                plainMs > 0 ? editorMs / plainMs : 0.0, runs);
    return 0;
}
