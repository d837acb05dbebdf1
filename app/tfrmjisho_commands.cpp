// The commands of the main window that belong to other subsystems. Each group
// moves to its subsystem's folder when that feature is built.

#include "app/tfrmjisho.h"

#include "app/editingcommands.h"

#include "check/grammarcommand.h"
#include "document/documentcommands.h"

#include <QAction>

namespace kelvari {

// Document commands: the work is done by DocumentCommands (document/).
void TfrmJisho::mmNewClick() {
    m_document->mmNewClick();
}
void TfrmJisho::mmOpenClick() {
    m_document->mmOpenClick();
}
void TfrmJisho::mmAddOpenClick() {
    m_document->mmAddOpenClick();
}
void TfrmJisho::mmSaveClick() {
    m_document->mmSaveClick();
}
void TfrmJisho::mmSaveAsClick() {
    m_document->mmSaveAsClick();
}
void TfrmJisho::mmCloseClick() {
    close();
}
void TfrmJisho::mmHistoryClick() {
    if (auto *entry = qobject_cast<QAction *>(sender()))
        m_document->mmHistoryClick(entry);
}
void TfrmJisho::sgJishoDropFiles() {
    m_document->sgJishoDropFiles();
}

// Editing commands: the work is done by EditingCommands (app/).
void TfrmJisho::mmEditClick() {
    m_editing->mmEditClick();
}
void TfrmJisho::mmUndoClick() {
    m_editing->mmUndoClick();
}
void TfrmJisho::mmCutClick() {
    m_editing->mmCutClick();
}
void TfrmJisho::mmCopyClick() {
    m_editing->mmCopyClick();
}
void TfrmJisho::mmPasteClick() {
    m_editing->mmPasteClick();
}
void TfrmJisho::mmAddClick() {
    m_editing->mmAddClick();
}
void TfrmJisho::mmDeleteClick() {
    m_editing->mmDeleteClick();
}
void TfrmJisho::mmFontClick() {
    m_editing->mmFontClick();
}
void TfrmJisho::rgHinsiClick() {
    m_editing->rgHinsiClick();
}
void TfrmJisho::sgJishoClick() {
    // Also run by a load, which the window's construction may start.
    if (m_editing)
        m_editing->sgJishoClick();
}
void TfrmJisho::sgJishoGetEditText() {
    m_editing->sgJishoGetEditText();
}

// Checking (GrammarCommand, check/); conversion and help arrive with the conversion.
void TfrmJisho::mmBunpoClick() {
    m_grammar->mmBunpoClick(sender());
}
void TfrmJisho::mmConvertClick() {}
void TfrmJisho::mmOthersClick() {}
void TfrmJisho::mmUtilClick() {}
void TfrmJisho::mmContentsClick() {}
void TfrmJisho::mmTopicClick() {}
void TfrmJisho::mmAtokHelpClick() {}
void TfrmJisho::ebHelpClick() {}
void TfrmJisho::pmHinsiClick() {}

// Settings dialog: arrives with the settings dialog.
void TfrmJisho::mmSetteiClick() {}

// About box: arrives with the installation record.
void TfrmJisho::mmAboutClick() {}

} // namespace kelvari
