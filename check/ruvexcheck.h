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
constexpr int FileFailed = 2; // refused, unreadable or not written
constexpr int Usage = 64;
} // namespace RuvexCheckExit

using OutputSink = std::function<void(QByteArrayView)>;

// `args` without the program name. Returns the exit status.
int runRuvexCheck(const QStringList &args, const OutputSink &out, const OutputSink &err);

} // namespace kelvari
