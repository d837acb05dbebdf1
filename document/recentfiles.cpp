#include "document/recentfiles.h"

namespace kelvari {

bool RecentFiles::samePath(const QString &a, const QString &b) {
    if (a.size() != b.size())
        return false;
    const auto fold = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a.at(i).unicode()) != fold(b.at(i).unicode()))
            return false;
    }
    return true;
}

bool RecentFiles::add(const QString &path) {
    for (qsizetype i = 0; i < m_paths.size(); ++i) {
        if (samePath(m_paths.at(i), path)) {
            m_checked = i;
            return false;
        }
    }
    // A history read at start may hold more than Max entries: all beyond go.
    if (m_paths.size() >= Max)
        m_paths.resize(Max - 1);
    m_paths.prepend(path);
    m_checked = 0;
    return true;
}

void RecentFiles::append(const QStringList &paths) {
    m_paths.append(paths);
}

void RecentFiles::check(qsizetype index) {
    if (index >= 0 && index < m_paths.size())
        m_checked = index;
}

void RecentFiles::remove(qsizetype index) {
    if (index < 0 || index >= m_paths.size())
        return;
    m_paths.removeAt(index);
    if (m_checked == index)
        m_checked = -1;
    else if (m_checked > index)
        --m_checked;
}

} // namespace kelvari
