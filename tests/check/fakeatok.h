#pragma once
// The input method's side of a conversion, under a test's data root: its
// settings file in the Windows folder, and a dictionary utility that is a small
// script writing down how it was started.

#include "check/conversion.h"
#include "platform/folders.h"
#include "platform/shell.h"
#include "platform/sjis.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>

namespace kelvari::test {

// The settings file names `dictionaryPath` (CP932) as the system dictionary.
inline bool writeAtokSettings(const QByteArray &dictionaryPath) {
    return writeFileBytes(Conversion::settingsFilePath(Folders::windowsFolder()),
                          sj(u"[辞書セット１]\r\nシステム辞書=") + dictionaryPath + "\r\n");
}

// Puts the utility into `folder` (ending in a separator). Each start appends
// "<number of arguments>|<working folder>" to started.log beside it.
inline bool installUtility(const QString &folder) {
    const QString path = Conversion::utilityPath(folder);
    return writeFileBytes(path, "#!/bin/sh\n"
                                "printf '%s|%s\\n' \"$#\" \"$(pwd -P)\" >> "
                                "\"$(dirname -- \"$0\")/started.log\"\n") &&
           QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

inline QStringList utilityLog(const QString &folder) {
    return QString::fromUtf8(readFileBytes(folder + QStringLiteral("started.log")))
        .split(u'\n', Qt::SkipEmptyParts);
}

// The starts of the utility in `folder`, once `expected` of them have shown up.
// A start cannot be seen to be missing, so the test also starts the utility
// itself, with an argument, and waits for that one too: a start the code made
// before it has had the same time to show up.
inline QStringList utilityStarts(const QString &folder, int expected) {
    const QString probe = QStringLiteral("1|");
    const auto isProbe = [&](const QString &line) { return line.startsWith(probe); };
    const int probesBefore = int(utilityLog(folder).filter(probe).size());
    if (!Shell::startDetached(Conversion::utilityPath(folder), {QStringLiteral("probe")}))
        return {QStringLiteral("<the probe did not start>")};
    QStringList starts;
    const auto settled = [&] {
        QStringList log = utilityLog(folder);
        const int probes = int(log.filter(probe).size());
        log.removeIf(isProbe);
        starts = log;
        return probes > probesBefore && starts.size() >= expected;
    };
    if (!QTest::qWaitFor(settled, 20000))
        return starts << QStringLiteral("<timed out>");
    // Give a start too many its chance to show.
    QTest::qWait(100);
    settled();
    return starts;
}

// `count` starts without arguments, in the working folder of the test.
inline QStringList bareStarts(int count) {
    return QStringList(count, QStringLiteral("0|") + QDir::currentPath());
}

} // namespace kelvari::test
