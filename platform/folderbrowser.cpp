#include "platform/folderbrowser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <utility>

namespace kelvari {
namespace {

bool isSeparator(QChar c) {
#ifdef Q_OS_WIN
    return c == u'\\' || c == u'/';
#else
    return c == u'/';
#endif
}

// Shows only the root folder at the top level, as the shell's browser does, so
// the root itself can be chosen while its siblings stay out of sight.
class RootFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setRoot(const QPersistentModelIndex &root) {
        m_root = root;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override {
        if (!m_root.isValid() || parent != m_root.parent())
            return true;
        return row == m_root.row();
    }

private:
    QPersistentModelIndex m_root;
};

} // namespace

QString browseStartPath(const QString &directory) {
#ifdef Q_OS_WIN
    constexpr qsizetype rootLength = 3; // "C:\"
#else
    constexpr qsizetype rootLength = 1; // "/"
#endif
    if (directory.size() > rootLength && isSeparator(directory.back()))
        return directory.chopped(1);
    return directory;
}

FolderBrowserDialog::FolderBrowserDialog(FolderBrowseRequest request, QWidget *parent)
    : QDialog(parent), m_request(std::move(request)) {
    setWindowTitle(QStringLiteral("フォルダの参照"));

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_model->setReadOnly(true);
    m_model->setRootPath(QDir::rootPath());

    auto *filter = new RootFilter(this);
    filter->setSourceModel(m_model);
    m_proxy = filter;

    m_caption = new QLabel(m_request.caption, this);
    m_caption->setWordWrap(true);

    m_tree = new QTreeView(this);
    m_tree->setModel(m_proxy);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);

    // A root that is not an existing folder leaves the whole file system in view.
    m_rootPath = QDir::rootPath();
    const QString root = m_request.root;
    if (!root.isEmpty() && QFileInfo(root).isDir()) {
        const QModelIndex rootIndex =
            m_model->index(QDir::cleanPath(QFileInfo(root).absoluteFilePath()));
        if (rootIndex.isValid()) {
            m_rootPath = m_model->filePath(rootIndex);
            filter->setRoot(rootIndex);
            m_tree->setRootIndex(m_proxy->mapFromSource(rootIndex.parent()));
        }
    }

    m_status = new QLabel(this);
    m_status->setVisible(m_request.showStatusText);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(captionFor(MessageButton::Ok), QDialogButtonBox::AcceptRole);
    buttons->addButton(captionFor(MessageButton::Cancel), QDialogButtonBox::RejectRole);
    m_ok->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    resize(320, 380);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderBrowserDialog::selectionChanged);
}

FolderBrowserDialog::~FolderBrowserDialog() = default;

void FolderBrowserDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_initialized) {
        m_initialized = true;
        initialize();
    }
}

void FolderBrowserDialog::initialize() {
    // Like the shell's browser, start with the root selected when the folder to
    // show is not given or not there.
    QString path;
    if (!m_request.directory.isEmpty())
        path = browseStartPath(m_request.directory);
    if (!selectFolder(path))
        selectFolder(m_rootPath);
    QString showText;
    int okButtonState = 0;
    if (m_request.onInitialized)
        m_request.onInitialized(path, showText, okButtonState);
    apply(showText, okButtonState);
}

bool FolderBrowserDialog::selectFolder(const QString &path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    const QModelIndex source = m_model->index(QDir::cleanPath(info.absoluteFilePath()));
    const QModelIndex view = m_proxy->mapFromSource(source);
    if (!view.isValid())
        return false;
    for (QModelIndex parent = view.parent(); parent.isValid(); parent = parent.parent())
        m_tree->expand(parent);
    m_tree->setCurrentIndex(view);
    m_tree->scrollTo(view);
    return true;
}

QModelIndex FolderBrowserDialog::sourceIndex(const QModelIndex &viewIndex) const {
    return m_proxy->mapToSource(viewIndex);
}

QString FolderBrowserDialog::selectedPath() const {
    const QModelIndex index = sourceIndex(m_tree->currentIndex());
    return index.isValid() ? QDir::toNativeSeparators(m_model->filePath(index)) : QString();
}

QString FolderBrowserDialog::selectedDisplayName() const {
    const QModelIndex index = sourceIndex(m_tree->currentIndex());
    return index.isValid() ? m_model->data(index, Qt::DisplayRole).toString() : QString();
}

void FolderBrowserDialog::selectionChanged() {
    m_ok->setEnabled(m_tree->currentIndex().isValid());
    QString showText;
    int okButtonState = 0;
    if (m_request.onSelectionChanged)
        m_request.onSelectionChanged(selectedPath(), showText, okButtonState);
    apply(showText, okButtonState);
}

void FolderBrowserDialog::apply(const QString &showText, int okButtonState) {
    m_status->setText(showText);
    if (okButtonState == 1)
        m_ok->setEnabled(true);
    else if (okButtonState == 2)
        m_ok->setEnabled(false);
}

std::optional<FolderBrowseAnswer> runFolderBrowser(const FolderBrowseRequest &request) {
    FolderBrowserDialog dialog(request, request.owner);
    if (dialog.exec() != QDialog::Accepted || !dialog.treeView()->currentIndex().isValid())
        return std::nullopt;
    return FolderBrowseAnswer{dialog.selectedPath(), dialog.selectedDisplayName()};
}

} // namespace kelvari
