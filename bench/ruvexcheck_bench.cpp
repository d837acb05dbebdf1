// Peak memory and time of ruvex-check on a 20 MB word list whose every row has
// errors, the list that used to take gigabytes. The program runs as a child,
// its output counted through a pipe; the baseline is the same program printing
// its usage. Prints one JSON object last.
//   ruvexcheck_bench [path of ruvex-check]   (default: the one built beside it)

#include "bench/benchsupport.h"
#include "platform/sjis.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace kelvari;

namespace {

constexpr qsizetype kFileBytes = 20 * 1024 * 1024;

// Rows that fail in every section between them, most of them short, so that
// the report is several times the list's size.
QByteArray generateFile() {
    const QList<QByteArray> shortRows{
        QByteArray("x"),      // part of speech wrong, reading and word missing
        sj(u"ー漢!,語,動詞"), // three reading errors, part of speech wrong
        QByteArray("x"),      //
        sj(u"よみ,,x"),       // part of speech wrong, word missing
        QByteArray("x"),      //
        sj(u"あ い,語,"),     // bad symbol, part of speech missing
    };
    const QByteArray longReading = sj(QString(33, QChar(u'あ'))) + sj(u",語,名詞");
    const QByteArray longWord = sj(u"よみ,") + sj(QString(65, QChar(u'語'))) + sj(u",名詞");
    QByteArray out = "!!DICUT10\r\n";
    out.reserve(kFileBytes + 256);
    for (qsizetype i = 0; out.size() < kFileBytes; ++i) {
        if (i % 100 == 0)
            out += longWord;
        else if (i % 100 == 50)
            out += longReading;
        else
            out += shortRows[i % shortRows.size()];
        out += "\r\n";
    }
    return out;
}

struct ChildRun {
    int status = -1;
    double wallMs = 0;
    double cpuMs = 0;
    double peakRssMb = 0;
    qint64 outBytes = 0;
    qint64 outLines = 0;
};

#ifdef Q_OS_UNIX
// Runs the program with its output counted through a pipe and prints one line
// "status wall-ms cpu-ms peak-kB bytes lines". It runs in a small process of
// its own: a child's peak includes the memory of the process it was started
// from, and this bench holds the whole generated list.
int measure(char *program[]) {
    int fds[2];
    if (pipe(fds) != 0)
        return 1;
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        execv(program[0], program);
        _exit(127);
    }
    close(fds[1]);
    qint64 bytes = 0, lines = 0;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        bytes += n;
        for (ssize_t i = 0; i < n; ++i)
            lines += buf[i] == '\n';
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return 1;
    const double cpuMs = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    std::printf("%d %.0f %.0f %ld %lld %lld\n",
                WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                double(timer.nsecsElapsed()) / 1e6, cpuMs, usage.ru_maxrss,
                static_cast<long long>(bytes), static_cast<long long>(lines));
    return 0;
}
#endif

ChildRun runChild(const QString &program, const QStringList &args) {
    ChildRun run;
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(),
                  QStringList{QStringLiteral("--measure"), program} + args);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return run;
    const QList<QByteArray> f = process.readAllStandardOutput().trimmed().split(' ');
    if (f.size() != 6)
        return run;
    run.status = f[0].toInt();
    run.wallMs = f[1].toDouble();
    run.cpuMs = f[2].toDouble();
    run.peakRssMb = f[3].toDouble() / 1024.0; // kilobytes on Linux
    run.outBytes = f[4].toLongLong();
    run.outLines = f[5].toLongLong();
    return run;
}

void printRun(const char *what, const ChildRun &run) {
    std::printf("%-10s exit %d, peak %.1f MB, %.0f ms wall, %.0f ms cpu, %lld lines out\n", what,
                run.status, run.peakRssMb, run.wallMs, run.cpuMs,
                static_cast<long long>(run.outLines));
}

} // namespace

int main(int argc, char *argv[]) {
#ifdef Q_OS_UNIX
    if (argc > 2 && std::strcmp(argv[1], "--measure") == 0)
        return measure(argv + 2);
#else
    std::fprintf(stderr, "ruvexcheck_bench measures child processes on Unix only\n");
    return 1;
#endif
    QCoreApplication app(argc, argv);
    const QString program =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(RUVEX_CHECK_PATH);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("all-errors.jmf"));
    qint64 fileBytes = 0;
    {
        const QByteArray bytes = generateFile();
        fileBytes = bytes.size();
        if (!bench::writeFile(path, bytes))
            return 1;
    }
    const ChildRun baseline = runChild(program, {QStringLiteral("--help")});
    const ChildRun check = runChild(program, {path});
    const ChildRun rows = runChild(program, {QStringLiteral("--rows"), path});
    printRun("--help", baseline);
    printRun("check", check);
    printRun("--rows", rows);
    const double fileMb = double(fileBytes) / (1024.0 * 1024.0);
    std::printf("{\"file_mb\": %.1f, \"check_exit\": %d, \"check_peak_rss_mb\": %.1f, "
                "\"check_wall_ms\": %.0f, \"check_cpu_ms\": %.0f, \"check_out_mb\": %.1f, "
                "\"rows_exit\": %d, \"rows_peak_rss_mb\": %.1f, \"rows_wall_ms\": %.0f, "
                "\"baseline_peak_rss_mb\": %.1f, \"check_peak_over_baseline_mb\": %.1f, "
                "\"check_peak_per_input_byte\": %.2f}\n",
                fileMb, check.status, check.peakRssMb, check.wallMs, check.cpuMs,
                double(check.outBytes) / (1024.0 * 1024.0), rows.status, rows.peakRssMb,
                rows.wallMs, baseline.peakRssMb, check.peakRssMb - baseline.peakRssMb,
                check.peakRssMb / fileMb);
    return 0;
}
