// How long a help context takes to open: the first request of a run (which
// opens the compiled help and builds the help window) and later requests,
// against the raw cost of showing the same page's HTML in a plain text
// browser, measured in the same run. Goal: under 300 ms after the first time.
// Usage: help_bench [path of Ruvex.hlp]; default: the help built beside Ruvex.
// Prints one JSON object on its last line.

#include "bench/benchsupport.h"
#include "platform/helpengine.h"
#include "widgets/helpviewer.h"
#include "widgets/helpwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextBrowser>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kelvari;
using bench::median;

namespace {

constexpr int kRounds = 5;
constexpr double kGoalMs = 300.0;

// One request, until the window has handled what it caused.
double timeMs(const std::function<void()> &request) {
    QElapsedTimer timer;
    timer.start();
    request();
    QCoreApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString helpFile = argc > 1
                                 ? QString::fromLocal8Bit(argv[1])
                                 : QFileInfo(QStringLiteral(KELVARI_COMPILED_HELP)).absolutePath() +
                                       QStringLiteral("/Ruvex.hlp");
    if (!QFileInfo::exists(compiledHelpCollection(helpFile))) {
        std::fprintf(stderr, "no compiled help at %s\n",
                     qPrintable(compiledHelpCollection(helpFile)));
        return 1;
    }

    HelpViewer viewer(helpFile);
    const double firstMs = timeMs([&] { viewer.showContext(HelpContext::GrammarReport); });

    std::vector<double> later;
    for (int round = 0; round < kRounds; ++round) {
        for (const int context : kHelpContexts)
            later.push_back(timeMs([&] { viewer.showContext(context); }));
    }
    const double contentsMs = timeMs([&] { viewer.showContents(); });
    const double keywordsMs = timeMs([&] { viewer.showKeywordSearch(); });

    // Baseline: the same pages' HTML put into a plain browser of the same size.
    QTextBrowser plain;
    plain.resize(viewer.window()->pageView()->size());
    plain.show();
    std::vector<QString> pages;
    for (const int context : kHelpContexts) {
        viewer.showContext(context);
        pages.push_back(viewer.window()->pageView()->toHtml());
    }
    std::vector<double> baseline;
    for (int round = 0; round < kRounds; ++round) {
        for (const QString &html : pages)
            baseline.push_back(timeMs([&] { plain.setHtml(html); }));
    }

    const double laterMedian = median(later);
    const double laterMax = *std::max_element(later.begin(), later.end());
    const double baselineMedian = median(baseline);
    std::printf("first context:        %8.2f ms (opens the help, builds the window)\n", firstMs);
    std::printf("later contexts:       %8.2f ms median, %.2f ms max (%zu requests)\n", laterMedian,
                laterMax, later.size());
    std::printf("contents:             %8.2f ms\n", contentsMs);
    std::printf("keyword search:       %8.2f ms\n", keywordsMs);
    std::printf("baseline (plain page):%8.2f ms median\n", baselineMedian);
    std::printf("{\"first_ms\":%.2f,\"later_median_ms\":%.2f,\"later_max_ms\":%.2f,"
                "\"contents_ms\":%.2f,\"keywords_ms\":%.2f,\"baseline_median_ms\":%.2f,"
                "\"later_vs_baseline\":%.2f,\"goal_ms\":%.0f,\"later_within_goal\":%s}\n",
                firstMs, laterMedian, laterMax, contentsMs, keywordsMs, baselineMedian,
                baselineMedian > 0 ? laterMedian / baselineMedian : 0.0, kGoalMs,
                laterMax < kGoalMs ? "true" : "false");
    viewer.quit();
    return 0;
}
