// A second process for the tests of the registry and the single-instance lock.
//   platformhelper regwrite <folder> <prefix> <count>
//   platformhelper hold <mutex>   acquire, print "held" or "busy", wait for stdin to close
//   platformhelper try <mutex>    exit 0 when the mutex could be acquired, else 1
#include "platform/registry.h"
#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

using namespace kelvari;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("regwrite")) {
        Registry registry(args[2]);
        const QByteArray prefix = args[3].toLatin1();
        const int count = args[4].toInt();
        try {
            for (int i = 0; i < count; ++i) {
                const QByteArray name = prefix + QByteArray::number(i);
                registry.writeString(RegRoot::CurrentUser, "Software\\Race", name, name);
                registry.createKey(RegRoot::CurrentUser, "Software\\Race\\" + name);
            }
        } catch (const AppError &error) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(error.message()));
            return 2;
        }
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("hold")) {
        SingleInstance instance(args[2]);
        const bool held = instance.tryAcquire();
        std::printf(held ? "held\n" : "busy\n");
        std::fflush(stdout);
        QFile in;
        if (in.open(stdin, QIODevice::ReadOnly))
            in.readAll(); // returns when the test closes our input
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("try")) {
        SingleInstance instance(args[2]);
        return instance.tryAcquire() ? 0 : 1;
    }
    std::fprintf(stderr, "usage: platformhelper regwrite|hold|try ...\n");
    return 3;
}
