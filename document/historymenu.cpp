#include "document/historymenu.h"

#include "document/documentmodel.h"

#include <QAction>
#include <QMenu>

namespace kelvari {

HistoryMenu::HistoryMenu(const DocumentModel &model, QMenu &menu, QAction &separator,
                         std::function<void(QAction *)> connectEntry, QObject *parent,
                         QAction *before)
    : QObject(parent), m_model(model), m_menu(menu), m_separator(separator), m_before(before),
      m_connectEntry(std::move(connectEntry)) {
    connect(&m_model, &DocumentModel::historyChanged, this, &HistoryMenu::rebuild);
    rebuild();
}

HistoryMenu::~HistoryMenu() = default;

QString HistoryMenu::captionFor(const QString &path) {
    // A "&" in a path is a character of the name, not a mnemonic.
    QString caption = path;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

qsizetype HistoryMenu::indexOf(const QObject *entry) const {
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i) == entry)
            return i;
    }
    return -1;
}

void HistoryMenu::rebuild() {
    const RecentFiles &history = m_model.history();
    while (m_entries.size() > history.count()) {
        QAction *entry = m_entries.takeLast();
        m_menu.removeAction(entry);
        // It may be the entry whose click is being handled right now.
        entry->deleteLater();
    }
    while (m_entries.size() < history.count()) {
        auto *entry = new QAction(&m_menu);
        entry->setCheckable(true);
        if (m_connectEntry)
            m_connectEntry(entry);
        m_menu.insertAction(m_before, entry);
        m_entries.append(entry);
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        QAction *entry = m_entries.at(i);
        entry->setText(captionFor(history.path(i)));
        entry->setData(history.path(i));
        entry->setChecked(history.isChecked(i));
    }
    if (!history.isEmpty())
        m_separator.setVisible(true);
}

} // namespace kelvari
