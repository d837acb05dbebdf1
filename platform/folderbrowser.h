#pragma once
// Our own folder picker: a caption, a tree of folders, an optional status line
// and OK / Cancel. It runs the browse request's callbacks as the user moves
// through the tree, so callers can show a path or forbid a folder.

#include "platform/dialogs.h"

#include <QDialog>
#include <QModelIndex>
#include <QString>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;

namespace kelvari {

// The folder to select when the browser opens: `directory` less one trailing
// separator, except where that separator is all of a root ("C:\", "/").
QString browseStartPath(const QString &directory);

class FolderBrowserDialog : public QDialog {
    Q_OBJECT
public:
    explicit FolderBrowserDialog(FolderBrowseRequest request, QWidget *parent = nullptr);
    ~FolderBrowserDialog() override;

    // Selects `path` in the tree, as the user would; false when it is not a folder
    // the tree shows.
    bool selectFolder(const QString &path);
    // The selected folder's path and the name the tree shows for it; empty when
    // nothing is selected.
    QString selectedPath() const;
    QString selectedDisplayName() const;

    QTreeView *treeView() const { return m_tree; }
    QLabel *captionLabel() const { return m_caption; }
    QLabel *statusLabel() const { return m_status; }
    QPushButton *okButton() const { return m_ok; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void initialize();
    void selectionChanged();
    // Applies what a callback left behind.
    void apply(const QString &showText, int okButtonState);
    QModelIndex sourceIndex(const QModelIndex &viewIndex) const;

    FolderBrowseRequest m_request;
    QFileSystemModel *m_model = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QTreeView *m_tree = nullptr;
    QLabel *m_caption = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_ok = nullptr;
    QString m_rootPath;
    bool m_initialized = false;
};

// Runs the browser modally; nullopt when the user cancels.
std::optional<FolderBrowseAnswer> runFolderBrowser(const FolderBrowseRequest &request);

} // namespace kelvari
