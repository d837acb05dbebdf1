// The commands of the main window that belong to other subsystems. Each group
// moves to its subsystem's folder when that feature is built.

#include "app/tfrmjisho.h"

#include "check/conversioncommand.h"
#include "check/grammarcommand.h"
#include "document/documentcommands.h"
#include "platform/helpengine.h"

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

// Editing commands: arrive with the editing work.
void TfrmJisho::mmEditClick() {}
void TfrmJisho::mmUndoClick() {}
void TfrmJisho::mmCutClick() {}
void TfrmJisho::mmCopyClick() {}
void TfrmJisho::mmPasteClick() {}
void TfrmJisho::mmAddClick() {}
void TfrmJisho::mmDeleteClick() {}
void TfrmJisho::mmFontClick() {}
void TfrmJisho::rgHinsiClick() {}

// Checking (GrammarCommand) and conversion (ConversionCommand), both in check/;
// the help goes to the window's help engine.
void TfrmJisho::mmBunpoClick() {
    m_grammar->mmBunpoClick(sender());
}
void TfrmJisho::mmConvertClick() {
    m_conversion->mmConvertClick();
}
void TfrmJisho::mmOthersClick() {
    m_conversion->mmOthersClick();
}
void TfrmJisho::mmUtilClick() {
    m_conversion->mmUtilClick();
}
void TfrmJisho::mmContentsClick() {
    m_help->showContents();
}
void TfrmJisho::mmTopicClick() {
    m_help->showKeywordSearch();
}
void TfrmJisho::mmAtokHelpClick() {
    m_conversion->mmAtokHelpClick();
}
void TfrmJisho::ebHelpClick() {
    m_help->showContext(HelpContext::Toolbar);
}
void TfrmJisho::pmHinsiClick() {
    m_help->showContext(HelpContext::PartOfSpeech);
}

// Settings dialog: arrives with the settings dialog.
void TfrmJisho::mmSetteiClick() {}

// About box: arrives with the installation record.
void TfrmJisho::mmAboutClick() {}

} // namespace kelvari
