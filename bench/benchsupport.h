#pragma once
// Small helpers the benchmark programs share: generated text, processor time,
// peak memory, medians and writing the generated file.

#include "platform/sjis.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringView>
#include <algorithm>
#include <ctime>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace kelvari::bench {

// CP932 forms of single characters, encoded once, so rows are built by byte
// concatenation.
inline QList<QByteArray> characters(QStringView text) {
    QList<QByteArray> out;
    for (QChar c : text)
        out << sj(QStringView(&c, 1));
    return out;
}

// Process CPU time: on a busy machine wall-clock figures include waiting for a core.
inline double cpuNowMs() {
#ifdef Q_OS_UNIX
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
#else
    return 0;
#endif
}

// The process's peak resident memory so far, in MB.
inline double peakRssMb() {
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
#else
    return -1;
#endif
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// False when the file cannot be opened or takes fewer bytes than given.
inline bool writeFile(const QString &path, QByteArrayView bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace kelvari::bench
