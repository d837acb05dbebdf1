#pragma once
// The file history: the paths of the files last opened or saved under a new
// name, newest first. At most one entry is checked: that of the file last opened
// or chosen for Save As.

#include <QString>
#include <QStringList>

namespace kelvari {

class RecentFiles {
public:
    // Adding keeps at most this many entries.
    static constexpr int Max = 10;

    const QStringList &paths() const { return m_paths; }
    qsizetype count() const { return m_paths.size(); }
    bool isEmpty() const { return m_paths.isEmpty(); }
    QString path(qsizetype index) const { return m_paths.value(index); }
    // The checked entry, or -1.
    qsizetype checkedIndex() const { return m_checked; }
    bool isChecked(qsizetype index) const { return index >= 0 && index == m_checked; }

    // A path equal to an entry but for the case of a to z checks that entry,
    // which keeps its place. Any other path becomes the checked top entry; the
    // oldest entries go so that at most Max remain. True when an entry was made.
    bool add(const QString &path);
    // Appends the paths in order, unchecked, as they are: nothing is compared or limited.
    void append(const QStringList &paths);
    void check(qsizetype index);
    void uncheck() { m_checked = -1; }
    void remove(qsizetype index);

    // Equal but for the case of the letters a to z; other characters must match exactly.
    static bool samePath(const QString &a, const QString &b);

private:
    QStringList m_paths;
    qsizetype m_checked = -1;
};

} // namespace kelvari
