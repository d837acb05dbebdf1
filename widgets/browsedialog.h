#pragma once
// Lets the user pick a folder; the events run while the user moves through the
// tree and may set the status line and enable or disable OK.

#include "platform/dialogs.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace kelvari {

class TBrowseDialog : public QObject {
    Q_OBJECT
public:
    enum TBrowseOption {
        biReturnOnlyFSDirs = 0x1,
        biDontGoBelowDomain = 0x2,
        biStatusText = 0x4,
        biReturnFSAncestors = 0x8,
        biBrowseForComputer = 0x1000,
        biBrowseForPrinter = 0x2000,
    };
    Q_DECLARE_FLAGS(TBrowseOptions, TBrowseOption)
    Q_FLAG(TBrowseOptions)

    // `wnd` names the browser's window; our browser has no handle to hand out,
    // so it is always 0.
    using TBrowseDialogEvent =
        std::function<void(TBrowseDialog &sender, int wnd, const QString &path, QString &showText,
                           int &okButtonState)>;

private:
    Q_PROPERTY(QString Directory READ Directory WRITE setDirectory)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Root READ Root WRITE setRoot)
    Q_PROPERTY(TBrowseOptions Options READ Options WRITE setOptions)

public:
    TBrowseDialog(Dialogs &dialogs, QWidget *owner);

    QString Directory() const { return m_directory; }
    void setDirectory(const QString &directory) { m_directory = directory; }
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }
    // A path, "MYCOMPUTER" or empty for the whole file system.
    QString Root() const { return m_root; }
    void setRoot(const QString &root) { m_root = root; }
    TBrowseOptions Options() const { return m_options; }
    void setOptions(TBrowseOptions options) { m_options = options; }

    TBrowseDialogEvent OnInitilized;
    TBrowseDialogEvent OnSelectionChanged;

    // The name the tree showed for the item last chosen.
    QString DisplayName() const { return m_displayName; }

    // True when the user chose an item; Directory then holds its path (empty for
    // an item that has none).
    bool ChooseFolder();

private:
    FolderBrowseRequest::Event forward(const TBrowseDialogEvent TBrowseDialog::*event);

    Dialogs &m_dialogs;
    QWidget *m_owner;
    QString m_directory;
    QString m_caption;
    QString m_root;
    TBrowseOptions m_options = biReturnOnlyFSDirs;
    QString m_displayName;
};

} // namespace kelvari

Q_DECLARE_OPERATORS_FOR_FLAGS(kelvari::TBrowseDialog::TBrowseOptions)
