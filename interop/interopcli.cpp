#include "interop/interopcli.h"

#include "platform/consoleprinter.h"

#include "document/fileio.h"
#include "document/jmfwriter.h"
#include "document/listloading.h"
#include "document/wordlist.h"
#include "interop/duplicates.h"
#include "interop/exporter.h"
#include "interop/importer.h"
#include "platform/atomicfile.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <QDateTime>
#include <QFileInfo>
#include <optional>

namespace kelvari {
namespace {

struct Parsed {
    bool force = false;
    bool sjisOutput = false;
    QStringList operands;
};

std::optional<Parsed> parseArgs(const QStringList &args, bool allowForce) {
    Parsed p;
    bool ended = false;
    for (const QString &arg : args) {
        if (ended || !arg.startsWith(u'-') || arg == u"-")
            p.operands.append(arg);
        else if (arg == u"--")
            ended = true;
        else if (arg == u"--force" && allowForce)
            p.force = true;
        else if (arg == u"--sjis")
            p.sjisOutput = true;
        else
            return std::nullopt;
    }
    return p;
}

int usage(const InteropSink &err, const char *problem) {
    err(QByteArray("ruvex-check: ") + problem + '\n' + interopUsage());
    return InteropExit::Usage;
}

// A word list as the editor's "Open" loads it; none (the failure printed) when
// it cannot be read.
std::optional<CellStore> loadList(const QString &path, ConsolePrinter &print) {
    CellStore cells = newWordGrid(kCommandLineMaxRow);
    if (!loadWordListFile(path, cells, print))
        return std::nullopt;
    return cells;
}

} // namespace

QByteArray interopUsage() {
    return "usage: ruvex-check --export [--force] FORMAT OUT FILE...   (mozc, msime, skk)\n"
           "       ruvex-check --import FORMAT OUT.jmf FILE   (mozc, msime, skk, text)\n"
           "       ruvex-check --duplicates FILE...\n"
           "Export refuses lists with grammar errors or rows the format cannot hold\n"
           "unless --force is given (such rows are then left out and listed).\n"
           "Import lists the lines it could not take. Exit status: 0 done, 1 refused,\n"
           "lines left out or duplicates found, 2 a file failed, 64 usage error.\n";
}

int runExport(const QStringList &args, const InteropSink &out, const InteropSink &err) {
    const std::optional<Parsed> parsed = parseArgs(args, true);
    if (!parsed)
        return usage(err, "unknown option");
    if (parsed->operands.size() < 3)
        return usage(err, "--export needs FORMAT, OUT and at least one FILE");
    const std::optional<InteropFormat> format = interopFormatFromName(parsed->operands[0]);
    if (!format || *format == InteropFormat::Text)
        return usage(err, "FORMAT is one of mozc, msime, skk");
    const QString outPath = parsed->operands[1];
    const QStringList files = parsed->operands.mid(2);
    ConsolePrinter print(out, err, parsed->sjisOutput);

    ExportOptions options;
    options.force = parsed->force;
    options.fileName = QFileInfo(outPath).fileName();
    options.writtenAt = QDateTime::currentDateTime();

    // Each list is checked on its own, so that row numbers are its own. One
    // list's export is the file; several lists are joined and written once more.
    std::vector<PackedRow> allRows;
    bool refused = false;
    ExportResult result;
    for (qsizetype i = 0; i < files.size(); ++i) {
        std::optional<CellStore> cells = loadList(files[i], print);
        if (!cells)
            return InteropExit::FileFailed;
        ExportResult checked = exportWordList(*format, *cells, options);
        if (!checked.grammarErrors.isEmpty() || !checked.problems.isEmpty())
            print.fileHeading(files[i], i, files.size());
        for (const QByteArray &line : checked.grammarErrors)
            print.line(line);
        for (const QByteArray &line : checked.problems)
            print.line(line);
        refused = refused || !checked.accepted;
        if (files.size() == 1) {
            result = std::move(checked);
            break;
        }
        for (int row = 1; row < cells->rowCount(); ++row) {
            if (!isBlankWordRow(*cells, row))
                allRows.push_back(cells->packedRow(row));
        }
    }
    if (refused) {
        print.errorLine(
            sj(u"エラーがあるためエクスポートしませんでした。--force で書き出せます。"));
        return InteropExit::Findings;
    }
    if (files.size() > 1) {
        CellStore all(WordColumn::Count, 1);
        allRows.insert(allRows.begin(), PackedRow());
        all.replaceRows(std::move(allRows), WordColumn::Count);
        options.force = true; // every row was judged above
        result = exportRows(*format, all, options);
    }
    try {
        saveFileAtomically(outPath, result.bytes);
    } catch (const AppError &e) {
        print.fileError(outPath, e.message());
        return InteropExit::FileFailed;
    }
    return InteropExit::Done;
}

int runImport(const QStringList &args, const InteropSink &out, const InteropSink &err) {
    const std::optional<Parsed> parsed = parseArgs(args, false);
    if (!parsed)
        return usage(err, "unknown option");
    if (parsed->operands.size() != 3)
        return usage(err, "--import needs FORMAT, OUT.jmf and one FILE");
    const std::optional<InteropFormat> format = interopFormatFromName(parsed->operands[0]);
    if (!format)
        return usage(err, "FORMAT is one of mozc, msime, skk, text");
    const QString outPath = parsed->operands[1];
    const QString inPath = parsed->operands[2];
    ConsolePrinter print(out, err, parsed->sjisOutput);

    ImportResult imported;
    try {
        imported = importWordList(*format, readWholeFile(inPath));
    } catch (const AppError &e) {
        print.fileError(inPath, e.message());
        return InteropExit::FileFailed;
    }
    for (const ImportProblem &problem : imported.problems)
        print.fileError(inPath, formatImportProblem(problem));

    CellStore cells = newWordGrid(kCommandLineMaxRow);
    appendImportedRows(cells, std::move(imported.rows), kCommandLineMaxRow);
    try {
        writeWordListFile(outPath, makeJmfHeader(outPath, {}, QDateTime::currentDateTime()), cells);
    } catch (const AppError &e) {
        print.fileError(outPath, e.message());
        return InteropExit::FileFailed;
    }
    return imported.problems.isEmpty() ? InteropExit::Done : InteropExit::Findings;
}

int runDuplicates(const QStringList &args, const InteropSink &out, const InteropSink &err) {
    const std::optional<Parsed> parsed = parseArgs(args, false);
    if (!parsed)
        return usage(err, "unknown option");
    if (parsed->operands.isEmpty())
        return usage(err, "--duplicates needs at least one FILE");
    ConsolePrinter print(out, err, parsed->sjisOutput);
    int status = InteropExit::Done;
    const QStringList &files = parsed->operands;
    for (qsizetype i = 0; i < files.size(); ++i) {
        print.fileHeading(files[i], i, files.size());
        const std::optional<CellStore> cells = loadList(files[i], print);
        if (!cells) {
            status = InteropExit::FileFailed;
            continue;
        }
        const DuplicateReport report = findDuplicates(*cells);
        for (const QByteArray &line : duplicateLines(*cells, report))
            print.line(line);
        if (report.any() && status == InteropExit::Done)
            status = InteropExit::Findings;
    }
    return status;
}

} // namespace kelvari
