#include "widgets/helpwindow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace kelvari {
namespace {

const QString kHelpScheme = QStringLiteral("qthelp");

// Reads pages and style sheets out of the compiled help rather than from disk.
class HelpPageView : public QTextBrowser {
public:
    HelpPageView(QHelpEngine &engine, QWidget *parent) : QTextBrowser(parent), m_engine(engine) {
        // Links are followed by the window, which keeps them inside the help.
        setOpenLinks(false);
    }

    QVariant loadResource(int type, const QUrl &name) override {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() == kHelpScheme)
            return m_engine.fileData(url);
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngine &m_engine;
};

QToolButton *toolButton(const QString &text, const QString &name) {
    auto *button = new QToolButton;
    button->setText(text);
    button->setObjectName(name);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpWindow::HelpWindow(QHelpEngine &engine, QWidget *parent)
    : QWidget(parent, Qt::Window), m_engine(engine) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Kelvari 2.0b ヘルプ"));
    // The help never keeps the program running once its own windows are gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(800, 560);

    QHelpContentWidget *contents = engine.contentWidget();
    contents->setObjectName(QStringLiteral("helpContents"));
    contents->setHeaderHidden(true);

    QHelpIndexWidget *index = engine.indexWidget();
    index->setObjectName(QStringLiteral("helpIndex"));
    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("helpIndexFilter"));
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(this);
    auto *filterLabel = new QLabel(QStringLiteral("探す言葉(&W):"));
    filterLabel->setBuddy(m_filter);
    auto *indexPage = new QWidget;
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(filterLabel);
    indexLayout->addWidget(m_filter);
    indexLayout->addWidget(index);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("helpTabs"));
    m_tabs->addTab(contents, QStringLiteral("目次(&C)"));
    m_tabs->addTab(indexPage, QStringLiteral("キーワード(&K)"));

    m_page = new HelpPageView(engine, this);
    m_page->setObjectName(QStringLiteral("helpPage"));

    QToolButton *back = toolButton(QStringLiteral("← 戻る"), QStringLiteral("helpBack"));
    QToolButton *forward = toolButton(QStringLiteral("進む →"), QStringLiteral("helpForward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();

    auto *splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 560});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(back, &QToolButton::clicked, m_page, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, m_page, &QTextBrowser::forward);
    connect(m_page, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
    connect(m_page, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
    connect(m_page, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        // Every page lives in the help; anything else is not ours to open.
        if (url.scheme() == kHelpScheme)
            showPage(url);
    });
    connect(m_page, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        const QString title = m_page->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Kelvari 2.0b ヘルプ")
                                       : QStringLiteral("Kelvari 2.0b ヘルプ - ") + title);
        selectInContents(url);
    });

    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showPage);
    // The tree is filled in the background; mark the open page once it is there.
    connect(engine.contentModel(), &QHelpContentModel::contentsCreated, this,
            [this] { selectInContents(m_page->source()); });

    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { showPage(document.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    showPage(documents.first().url);
            });
    connect(m_filter, &QLineEdit::textChanged, index,
            [index](const QString &text) { index->filterIndices(text); });
    connect(m_filter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
}

HelpWindow::~HelpWindow() = default;

QHelpContentWidget *HelpWindow::contentsTree() const {
    return m_engine.contentWidget();
}

QHelpIndexWidget *HelpWindow::indexList() const {
    return m_engine.indexWidget();
}

void HelpWindow::showPage(const QUrl &url) {
    m_page->setSource(url);
}

void HelpWindow::showNotice(const QString &text) {
    m_page->setHtml(
        QStringLiteral("<p>%1</p>")
            .arg(text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"))));
    setWindowTitle(QStringLiteral("Kelvari 2.0b ヘルプ"));
}

void HelpWindow::showContentsTab() {
    m_tabs->setCurrentIndex(0);
}

void HelpWindow::showIndexTab() {
    m_tabs->setCurrentIndex(1);
    m_filter->setFocus();
    m_filter->selectAll();
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event) {
    // The arrow and page keys in the search field move through the list below it,
    // so the user can type, pick and press Enter without leaving the field.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            const std::unique_ptr<QEvent> copy(event->clone());
            QCoreApplication::sendEvent(indexList(), copy.get());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::selectInContents(const QUrl &url) {
    if (url.isEmpty())
        return;
    QHelpContentWidget *tree = contentsTree();
    QUrl page = url;
    page.setFragment(QString());
    const QModelIndex item = tree->indexOf(page);
    if (item.isValid()) {
        tree->setCurrentIndex(item);
        tree->scrollTo(item);
    }
}

} // namespace kelvari
