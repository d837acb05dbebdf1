#include "app/mainwindowrules.h"

#include <algorithm>

namespace kelvari {

QString TitleFor(const QString &path, bool showFullPath) {
    QString shown = path;
    if (!showFullPath) {
        const qsizetype cut =
            std::max({path.lastIndexOf(u'\\'), path.lastIndexOf(u':'), path.lastIndexOf(u'/')});
        shown = path.mid(cut + 1);
    }
    return programTitle() + QStringLiteral(" - ") + shown;
}

QString DeleteFromEnd(const QString &text, int distance, int count) {
    const qsizetype position = text.size() - distance; // 0-based
    if (position < 0 || position >= text.size() || count <= 0)
        return text;
    QString result = text;
    result.remove(position, std::min<qsizetype>(count, text.size() - position));
    return result;
}

QString CommandLineFileName(const QStringList &arguments) {
    if (arguments.size() == 1)
        return arguments.first();
    return arguments.join(u' ');
}

ResizeChange resizeChangeFor(int heightChange, int widthChange) {
    // Integer division in C++ truncates toward zero, which is the rule here.
    return ResizeChange{heightChange, widthChange, widthChange / 2};
}

} // namespace kelvari
