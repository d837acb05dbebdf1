#include "cli/ruvexcheck.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // A report nobody received must not end as success: failed writes of
    // standard output end the run.
    const auto out = [](QByteArrayView bytes) {
        errno = 0;
        if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
            throw kelvari::OutputFailed{errno};
    };
    const auto flushOut = [] {
        errno = 0;
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            throw kelvari::OutputFailed{errno};
    };
    const auto err = [](QByteArrayView bytes) {
        std::fwrite(bytes.data(), 1, size_t(bytes.size()), stderr);
    };
    return kelvari::runRuvexCheck(args, out, err, flushOut);
}
