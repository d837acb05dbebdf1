#pragma once
// The input method's side of a conversion, under a test's data root: its
// settings file in the Windows folder, and a dictionary utility that is a small
// script writing down how it was started.

#include "check/conversion.h"
#include "platform/folders.h"
#include "platform/shell.h"
#include "platform/sjis.h"
#include "tests/support/testdataroot.h"

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

// The starts of the utility in `folder` so far. A start cannot be seen to be
// missing, so the test starts the utility once more itself, with an argument,
// and takes the other lines once that one shows up.
inline QStringList utilityStarts(const QString &folder) {
    const QString probe = QStringLiteral("1|");
    const int probesBefore = int(utilityLog(folder).filter(probe).size());
    if (!Shell::startDetached(Conversion::utilityPath(folder), {QStringLiteral("probe")}))
        return {QStringLiteral("<the probe did not start>")};
    const auto probed = [&] { return utilityLog(folder).filter(probe).size() > probesBefore; };
    if (!QTest::qWaitFor(probed, 10000))
        return {QStringLiteral("<the probe did not show up>")};
    // A start made just before the probe may still be writing its line.
    QTest::qWait(100);
    QStringList starts = utilityLog(folder);
    starts.removeIf([&](const QString &line) { return line.startsWith(probe); });
    return starts;
}

} // namespace kelvari::test
