#include "cli/ruvexcheck.h"

#include "interop/interopcli.h"
#include "platform/consoleprinter.h"

#include "check/grammarcheck.h"
#include "document/jmfreader.h"
#include "document/jmfwriter.h"
#include "document/listloading.h"
#include "document/wordlist.h"
#include "grid/cellstore.h"
#include "platform/errors.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <optional>

namespace kelvari {
namespace {

const char kUsage[] =
    "usage: ruvex-check [--sjis] [--rows] FILE...\n"
    "       ruvex-check [--sjis] --rewrite OUT FILE\n"
    "Checks word-list files as the editor's grammar check does, or rewrites one\n"
    "through the editor's writer.\n"
    "  --rows     print every non-blank row first: row, reading, word, part of speech\n"
    "  --rewrite  write FILE to OUT, refused while grammar errors remain\n"
    "  --sjis     print Shift-JIS bytes instead of the locale's encoding\n"
    "Exit status: 0 clean or written, 1 grammar errors, 2 a file refused,\n"
    "unreadable or not written, or standard output not written, 64 usage error.\n";

// Passes the report on to the printer, but holds the headings back until the
// first error line: a clean list prints only the clean message.
class ReportPrinter {
public:
    explicit ReportPrinter(ConsolePrinter &print) : m_print(print) {}

    void operator()(const ReportLine &line) {
        if (!m_errors && !line.isError) {
            m_held.append(line.text.toByteArray());
            return;
        }
        if (!m_errors) {
            m_errors = true;
            for (const QByteArray &held : std::as_const(m_held))
                m_print.line(held);
            m_held.clear();
        }
        m_print.line(line.text);
    }

private:
    ConsolePrinter &m_print;
    QList<QByteArray> m_held;
    bool m_errors = false;
};

RowSource rowsOf(const CellStore &cells) {
    return [&cells](const RowVisitor &visit) {
        for (int row = 1; row < cells.rowCount(); ++row) {
            const std::string_view reading = cells.cellView(WordColumn::Reading, row);
            const std::string_view word = cells.cellView(WordColumn::Word, row);
            const std::string_view pos = cells.cellView(WordColumn::PartOfSpeech, row);
            visit({row, QByteArrayView(reading.data(), qsizetype(reading.size())),
                   QByteArrayView(word.data(), qsizetype(word.size())),
                   QByteArrayView(pos.data(), qsizetype(pos.size()))});
        }
    };
}

// A file on disk is read again for every walk over its rows instead of being
// held: the rows of a large list take many times the file's own size in memory.
// The row numbers are those the editor's "Open" gives.
RowSource rowsOf(JmfFileReader &reader) {
    return [&reader](const RowVisitor &visit) {
        int row = 0;
        const bool accepted = reader.readRows([&](const DataLineFields &f) {
            visit({++row, f.reading, f.word, f.partOfSpeech});
        });
        // Not a word list, or replaced by something else since the last walk.
        if (!accepted)
            throw AppError(notAWordListMessage());
    };
}

void printRows(const RowSource &rows, ConsolePrinter &print) {
    QByteArray line;
    rows([&](const CheckedRow &r) {
        if (r.reading.isEmpty() && r.word.isEmpty() && r.partOfSpeech.isEmpty())
            return;
        line = QByteArray::number(r.row);
        for (QByteArrayView cell : {r.reading, r.word, r.partOfSpeech}) {
            line.append('\t');
            line.append(cell);
        }
        print.line(line);
    });
}

// Prints the rows if asked, then the report or the clean message. Returns the
// file's status. Throws AppError when the file cannot be read.
int checkRows(const RowSource &rows, bool printRowsFirst, ConsolePrinter &print) {
    if (printRowsFirst)
        printRows(rows, print);
    if (runGrammarCheck(rows, ReportPrinter(print)))
        return RuvexCheckExit::GrammarErrors;
    print.line(noGrammarErrorsMessage());
    return RuvexCheckExit::Clean;
}

int checkFile(const QString &path, bool printRowsFirst, ConsolePrinter &print) {
    try {
        // Pipes and other streams cannot be read twice: those are held whole.
        if (!QFileInfo(path).isFile()) {
            CellStore cells = newWordGrid(kCommandLineMaxRow);
            if (!loadWordListFile(path, cells, print))
                return RuvexCheckExit::FileFailed;
            return checkRows(rowsOf(cells), printRowsFirst, print);
        }
        JmfFileReader reader(path);
        return checkRows(rowsOf(reader), printRowsFirst, print);
    } catch (const AppError &e) {
        print.fileError(path, e.message());
        return RuvexCheckExit::FileFailed;
    }
}

int checkFiles(const QStringList &files, bool rows, ConsolePrinter &print) {
    int status = RuvexCheckExit::Clean;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &path = files[i];
        print.fileHeading(path, i, files.size());
        status = std::max(status, checkFile(path, rows, print));
    }
    return status;
}

int rewrite(const QString &outPath, const QString &inPath, ConsolePrinter &print) {
    CellStore cells = newWordGrid(kCommandLineMaxRow);
    const std::optional<LoadResult> loaded = loadWordListFile(inPath, cells, print);
    if (!loaded)
        return RuvexCheckExit::FileFailed;
    const QByteArray comment = loaded->comment.value_or(QByteArray());
    if (!grammarGateBypassed(comment) && runGrammarCheck(cells, ReportPrinter(print))) {
        for (const QByteArray &line : gateRefusalLines(gateActionText(GateAction::Save)))
            print.errorLine(line);
        return RuvexCheckExit::GrammarErrors;
    }
    try {
        writeWordListFile(outPath, makeJmfHeader(outPath, comment, QDateTime::currentDateTime()),
                          cells);
    } catch (const AppError &e) {
        print.fileError(outPath, e.message());
        return RuvexCheckExit::FileFailed;
    }
    return RuvexCheckExit::Clean;
}

QString outputFailureText(const OutputFailed &failed) {
    const IoError error = failed.errorNumber != 0 ? IoError::fromErrno(failed.errorNumber)
                                                  : IoError(IoFailure::Other, EIO);
    return QStringLiteral("ruvex-check: standard output: ") + error.message();
}

// --export, --import and --duplicates: the commands for other input methods'
// word lists, given the arguments without their own option.
std::optional<int> runInteropCommand(const QStringList &args, const OutputSink &out,
                                     const OutputSink &err) {
    using Command = int (*)(const QStringList &, const InteropSink &, const InteropSink &);
    static const std::pair<const char16_t *, Command> commands[] = {
        {u"--export", runExport}, {u"--import", runImport}, {u"--duplicates", runDuplicates}};
    for (qsizetype i = 0; i < args.size() && args[i] != u"--"; ++i) {
        for (const auto &[option, run] : commands) {
            if (args[i] == QStringView(option)) {
                QStringList rest = args;
                rest.removeAt(i);
                return run(rest, out, err);
            }
        }
    }
    return std::nullopt;
}

} // namespace

int runRuvexCheck(const QStringList &args, const OutputSink &out, const OutputSink &err,
                  const std::function<void()> &flushOut) {
    try {
        if (const std::optional<int> status = runInteropCommand(args, out, err)) {
            if (flushOut)
                flushOut();
            return *status;
        }
    } catch (const OutputFailed &failed) {
        err((outputFailureText(failed) + u'\n').toLocal8Bit());
        return RuvexCheckExit::FileFailed;
    }
    bool rows = false;
    bool sjisOutput = false;
    std::optional<QString> rewriteTo;
    QStringList files;
    bool optionsEnded = false;
    bool help = false;
    const auto usage = [&err](const char *problem) {
        QByteArray text;
        if (problem)
            text = QByteArray("ruvex-check: ") + problem + '\n';
        err(text + kUsage);
        return RuvexCheckExit::Usage;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (optionsEnded || !arg.startsWith(u'-') || arg == u"-") {
            files.append(arg);
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"--rows") {
            rows = true;
        } else if (arg == u"--sjis") {
            sjisOutput = true;
        } else if (arg == u"--rewrite") {
            if (rewriteTo || i + 1 >= args.size())
                return usage("--rewrite needs one OUT file");
            rewriteTo = args[++i];
        } else if (arg == u"-h" || arg == u"--help") {
            help = true;
            break;
        } else {
            return usage("unknown option");
        }
    }
    if (!help && files.isEmpty())
        return usage("no FILE given");
    if (!help && rewriteTo && (files.size() != 1 || rows))
        return usage("--rewrite takes exactly one FILE and no --rows");
    ConsolePrinter print(out, err, sjisOutput);
    try {
        int status = RuvexCheckExit::Clean;
        if (help)
            out(QByteArray(kUsage) + interopUsage());
        else if (rewriteTo)
            status = rewrite(*rewriteTo, files.front(), print);
        else
            status = checkFiles(files, rows, print);
        if (flushOut)
            flushOut();
        return status;
    } catch (const OutputFailed &failed) {
        print.errorText(outputFailureText(failed));
        return RuvexCheckExit::FileFailed;
    }
}

} // namespace kelvari
