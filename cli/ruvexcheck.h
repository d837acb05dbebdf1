#pragma once
// ruvex-check: checks word-list files the way the editor does, and rewrites one
// through the editor's writer, for people who keep many lists and for scripts.

#include <QByteArrayView>
#include <QStringList>
#include <functional>

namespace kelvari {

namespace RuvexCheckExit {
constexpr int Clean = 0;
constexpr int GrammarErrors = 1;
constexpr int FileFailed = 2; // refused, unreadable or not written, also standard output
constexpr int Usage = 64;
} // namespace RuvexCheckExit

using OutputSink = std::function<void(QByteArrayView)>;

// Thrown by the standard-output sink or its flush when a write fails; the run
// ends at once with FileFailed.
struct OutputFailed {
    int errorNumber = 0; // errno of the failed call, 0 when unknown
};

// `args` without the program name. Output goes to `out` line by line as it is
// found; `flushOut`, when given, is called once all of it has been handed over.
// Returns the exit status.
int runRuvexCheck(const QStringList &args, const OutputSink &out, const OutputSink &err,
                  const std::function<void()> &flushOut = {});

} // namespace kelvari
