#pragma once
// The File menu's history entries, kept as the document model's history says:
// one checkable entry per path after `separator` (before `before` when given, else
// at the end of the menu), the "&" of a path doubled
// in its caption, the check mark on the checked entry, and the separator above
// them shown once the history has had an entry.

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace kelvari {

class DocumentModel;

class HistoryMenu : public QObject {
    Q_OBJECT
public:
    // `connectEntry` hooks each new entry up to the window's click handler.
    HistoryMenu(const DocumentModel &model, QMenu &menu, QAction &separator,
                std::function<void(QAction *entry)> connectEntry, QObject *parent = nullptr,
                QAction *before = nullptr);
    ~HistoryMenu() override;

    // The entries, top to bottom.
    const QList<QAction *> &entries() const { return m_entries; }
    // Position of an entry in the history (top = 0), or -1 for anything else.
    qsizetype indexOf(const QObject *entry) const;

    static QString captionFor(const QString &path);

private:
    void rebuild();

    const DocumentModel &m_model;
    QMenu &m_menu;
    QAction &m_separator;
    QAction *m_before = nullptr; // the items that stay below the entries start here
    std::function<void(QAction *)> m_connectEntry;
    QList<QAction *> m_entries;
};

} // namespace kelvari
