#include "uninstaller/scriptpath.h"

#include <QDir>

namespace kelvari::uninst {
namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char(':') || c == QLatin1Char('/');
}

qsizetype lastSeparator(const QString &path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path.at(i)))
            return i;
    }
    return -1;
}

} // namespace

std::optional<QString> scriptArgument(const QStringList &arguments) {
    if (arguments.size() < 2 || arguments.first() != QStringLiteral("/u"))
        return std::nullopt;
    const QString joined = arguments.mid(1).join(QLatin1Char(' '));
    // "/u" with nothing but blanks names no script; running it would treat the
    // current folder as the application's folder.
    if (joined.trimmed().isEmpty())
        return std::nullopt;
    return joined;
}

QString completeScriptPath(const QString &argument) {
    if (fileNameOf(argument).contains(QLatin1Char('.')))
        return argument;
    return argument + QStringLiteral("Uninst.inf");
}

QString folderOf(const QString &path) {
    return path.left(lastSeparator(path) + 1);
}

QString fileNameOf(const QString &path) {
    return path.mid(lastSeparator(path) + 1);
}

QString toNativePath(const QString &scriptStylePath) {
    QString path = scriptStylePath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::toNativeSeparators(path);
}

ScriptLocation locateScript(const QString &argument) {
    const QString path = completeScriptPath(argument);
    ScriptLocation location;
    location.fileName = fileNameOf(path);
    location.path = QDir::toNativeSeparators(QDir::current().absoluteFilePath(toNativePath(path)));
    const QString folder = toNativePath(folderOf(path));
    location.folder = QDir::toNativeSeparators(
        folder.isEmpty() ? QDir::currentPath() : QDir::current().absoluteFilePath(folder));
    if (!location.folder.endsWith(QDir::separator()))
        location.folder += QDir::separator();
    return location;
}

} // namespace kelvari::uninst
