#include "widgets/browsedialog.h"

#include <QWidget>

namespace kelvari {

TBrowseDialog::TBrowseDialog(Dialogs &dialogs, QWidget *owner)
    : QObject(owner), m_dialogs(dialogs), m_owner(owner) {}

FolderBrowseRequest::Event TBrowseDialog::forward(const TBrowseDialogEvent TBrowseDialog::*event) {
    // Looked up at call time, so a handler assigned while the browser is open
    // still runs.
    return [this, event](const QString &path, QString &showText, int &okButtonState) {
        if (const TBrowseDialogEvent &handler = this->*event)
            handler(*this, 0, path, showText, okButtonState);
    };
}

bool TBrowseDialog::ChooseFolder() {
    FolderBrowseRequest request;
    request.owner = m_owner;
    request.caption = m_caption;
    // "MYCOMPUTER" is the top of everything, like an empty root.
    request.root = m_root == QStringLiteral("MYCOMPUTER") ? QString() : m_root;
    request.directory = m_directory;
    request.showStatusText = m_options.testFlag(biStatusText);
    request.onInitialized = forward(&TBrowseDialog::OnInitilized);
    request.onSelectionChanged = forward(&TBrowseDialog::OnSelectionChanged);

    const std::optional<FolderBrowseAnswer> answer = m_dialogs.browseFolder(request);
    if (!answer)
        return false;
    m_displayName = answer->displayName;
    m_directory = answer->path;
    return true;
}

} // namespace kelvari
