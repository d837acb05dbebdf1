#include "check/ruvexcheck.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const auto sinkFor = [](FILE *stream) {
        return [stream](QByteArrayView bytes) {
            std::fwrite(bytes.data(), 1, size_t(bytes.size()), stream);
        };
    };
    const int status = kelvari::runRuvexCheck(args, sinkFor(stdout), sinkFor(stderr));
    std::fflush(stdout);
    return status;
}
