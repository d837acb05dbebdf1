// The commands of the main window that belong to other subsystems. Each group
// moves to its subsystem's folder when that feature is built.

#include "app/tfrmjisho.h"

#include "app/editingcommands.h"
#include "app/interopcommands.h"
#include "check/conversioncommand.h"

#include "check/grammarcommand.h"
#include "document/documentcommands.h"
#include "document/historymenu.h"
#include "install/aboutbox.h"
#include "platform/helpengine.h"
#include "platform/registry.h"
#include "settings/settingscommand.h"

#include <QAction>

namespace kelvari {

// Word lists of other input methods: the work is done by InteropCommands.
void TfrmJisho::mmExportClick() {
    m_interop->mmExportClick();
}
void TfrmJisho::mmImportClick() {
    m_interop->mmImportClick();
}
void TfrmJisho::mmDuplicatesClick() {
    m_interop->mmDuplicatesClick();
}

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
    // The sender is the clicked entry; the hidden placeholder "mmHistory" is none.
    const qsizetype index = m_historyMenu->indexOf(sender());
    if (index >= 0)
        m_document->mmHistoryClick(index);
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

// Checking (GrammarCommand) and conversion (ConversionCommand), both in check/;
// the help goes to the window's help engine.
void TfrmJisho::mmBunpoClick() {
    m_grammar->mmBunpoClick(true);
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

// Settings dialog (settings/): the window adopts the general values of an OK.
// A new MaxRow applies from the next list that is created or read.
void TfrmJisho::mmSetteiClick() {
    Registry registry = Registry::forDataRoot();
    const std::optional<GeneralSettings> general = runSettingsDialog(
        m_dialogs, registry, this, [this](int context) { m_help->showContext(context); });
    if (!general)
        return;
    adoptGeneral(*general);
    setTitleFor(m_model->CurrentFileName());
}

// About box (install/).
void TfrmJisho::mmAboutClick() {
    aboutbox::ShowAbout(*AboutDlg, m_dialogs, this);
}

} // namespace kelvari
