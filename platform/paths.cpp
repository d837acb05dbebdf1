#include "platform/paths.h"

#include <QDir>

namespace kelvari::Paths {
namespace {

// Index of the last separator, or -1.
qsizetype lastSeparator(const QString &path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path.at(i)))
            return i;
    }
    return -1;
}

// Index of the extension's dot, or -1 when the name part has none.
qsizetype extensionDot(const QString &path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > lastSeparator(path) ? dot : -1;
}

bool isFolderSeparator(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

} // namespace

bool isSeparator(QChar c) {
    return isFolderSeparator(c) || c == QLatin1Char(':') || c == QDir::separator();
}

QString extractFileName(const QString &path) {
    return path.mid(lastSeparator(path) + 1);
}

QString extractFilePath(const QString &path) {
    return path.left(lastSeparator(path) + 1);
}

QString extractFileExt(const QString &path) {
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? QString() : path.mid(dot);
}

QString changeFileExt(const QString &path, const QString &ext) {
    const qsizetype dot = extensionDot(path);
    return (dot < 0 ? path : path.left(dot)) + ext;
}

QString includeTrailingSeparator(const QString &path) {
    // An empty folder stays empty: a lone separator would name the root of the disk.
    if (path.isEmpty() || isSeparator(path.back()))
        return path;
    return path + QDir::separator();
}

QString excludeTrailingSeparator(const QString &path) {
    // The root itself ("/") keeps its separator; it is not a folder name plus one.
    if (path.size() > 1 && isFolderSeparator(path.back()))
        return path.chopped(1);
    return path;
}

} // namespace kelvari::Paths
