#include "widgets/helpviewer.h"

#include "widgets/helpwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpLink>
#include <QWindow>

namespace kelvari {
namespace {

// Each page carries its context number as its keyword identifier; the contents
// page carries this one.
const QString kContentsId = QStringLiteral("contents");

} // namespace

HelpViewer::HelpViewer(const QString &helpFile) : m_helpFile(helpFile) {}

HelpViewer::~HelpViewer() = default;

void HelpViewer::setHelpFile(const QString &path) {
    if (path == m_helpFile)
        return;
    quit();
    m_helpFile = path;
}

bool HelpViewer::openHelp() {
    if (m_engine)
        return helpOpen();
    const QString collection = compiledHelpCollection(m_helpFile);
    m_engine = std::make_unique<QHelpEngine>(collection);
    // Read-only: the help lies in the program's folder and is never written.
    m_engine->setReadOnly(true);
    if (m_helpFile.isEmpty() || !QFileInfo::exists(collection)) {
        m_problem = QStringLiteral("ヘルプファイルが見つかりません。\n") + collection;
        return false;
    }
    if (!m_engine->setupData()) {
        m_problem = QStringLiteral("ヘルプファイルを開けません。\n") + collection +
                    QLatin1Char('\n') + m_engine->error();
        return false;
    }
    m_problem.clear();
    return true;
}

QUrl HelpViewer::pageForIdentifier(const QString &id) {
    if (!openHelp())
        return {};
    const QList<QHelpLink> links = m_engine->documentsForIdentifier(id);
    return links.isEmpty() ? QUrl() : links.first().url;
}

QUrl HelpViewer::pageForContext(int context) {
    return pageForIdentifier(QString::number(context));
}

HelpWindow &HelpViewer::openWindow() {
    openHelp();
    if (!m_window)
        m_window = std::make_unique<HelpWindow>(*m_engine);
    if (!helpOpen())
        m_window->showNotice(m_problem);
    return *m_window;
}

void HelpViewer::present() {
    // A modal dialog (the settings, a message box) would block the very help it
    // asked for; while one is open the help window rides on it.
    QWidget *modal = QApplication::activeModalWidget();
    m_window->winId();
    m_window->windowHandle()->setTransientParent(modal ? modal->window()->windowHandle() : nullptr);
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void HelpViewer::showContext(int context) {
    HelpWindow &window = openWindow();
    if (helpOpen()) {
        const QUrl page = pageForContext(context);
        if (page.isValid())
            window.showPage(page);
        else
            window.showNotice(QStringLiteral("ヘルプ番号 %1 のページはありません。").arg(context));
    }
    present();
}

void HelpViewer::showContents() {
    HelpWindow &window = openWindow();
    window.showContentsTab();
    if (helpOpen()) {
        const QUrl page = pageForIdentifier(kContentsId);
        if (page.isValid())
            window.showPage(page);
    }
    present();
}

void HelpViewer::showKeywordSearch() {
    HelpWindow &window = openWindow();
    present();
    // After showing, so the search field can take the focus.
    window.showIndexTab();
}

void HelpViewer::quit() {
    m_window.reset();
    m_engine.reset();
    m_problem.clear();
}

} // namespace kelvari
