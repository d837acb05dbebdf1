#pragma once
// The help window: the contents tree and the keyword index (with its search
// field) on the left, the page on the right. It shows what the help engine
// holds and knows nothing about context numbers.

#include <QUrl>
#include <QWidget>

class QHelpContentWidget;
class QHelpEngine;
class QHelpIndexWidget;
class QLineEdit;
class QTabWidget;
class QTextBrowser;

namespace kelvari {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The engine must outlive the window.
    explicit HelpWindow(QHelpEngine &engine, QWidget *parent = nullptr);
    ~HelpWindow() override;

    // Shows a page of the help ("qthelp://..." address).
    void showPage(const QUrl &url);
    // Shows a text of our own in place of a page (no help file, no such page).
    void showNotice(const QString &text);
    // Brings the contents tree or the index (focus in its search field) to the front.
    void showContentsTab();
    void showIndexTab();

    QTextBrowser *pageView() const { return m_page; }
    QTabWidget *tabs() const { return m_tabs; }
    QHelpContentWidget *contentsTree() const;
    QHelpIndexWidget *indexList() const;
    QLineEdit *indexFilter() const { return m_filter; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectInContents(const QUrl &url);

    QHelpEngine &m_engine;
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_filter = nullptr;
    QTextBrowser *m_page = nullptr;
};

} // namespace kelvari
