#pragma once
// The command-line side of moving word lists to and from other input methods,
// as functions the checker's argument parsing calls. `args` are the arguments
// after the command's own option.
//
//   --export [--force] [--sjis] FORMAT OUT FILE...   FORMAT: mozc, msime, skk
//   --import [--sjis] FORMAT OUT.jmf FILE            FORMAT: mozc, msime, skk, text
//   --duplicates [--sjis] FILE...

#include <QByteArrayView>
#include <QStringList>
#include <functional>

namespace kelvari {

namespace InteropExit {
constexpr int Done = 0;
// Export: refused for grammar errors or rows the format cannot hold.
// Import: written, but some lines were left out (they are listed).
// Duplicates: there are duplicates.
constexpr int Findings = 1;
constexpr int FileFailed = 2;
constexpr int Usage = 64;
} // namespace InteropExit

using InteropSink = std::function<void(QByteArrayView)>;

int runExport(const QStringList &args, const InteropSink &out, const InteropSink &err);
int runImport(const QStringList &args, const InteropSink &out, const InteropSink &err);
int runDuplicates(const QStringList &args, const InteropSink &out, const InteropSink &err);

// The usage lines of the three commands, for the checker's help text.
QByteArray interopUsage();

} // namespace kelvari
