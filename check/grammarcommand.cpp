#include "check/grammarcommand.h"

#include "check/grammarcheck.h"
#include "check/reportexcerpt.h"
#include "check/tfrmerror.h"
#include "grid/tmstrgrid.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/sjis.h"
#include "widgets/beepdialog.h"

#include <QLineEdit>

namespace kelvari {

GrammarCommand::GrammarCommand(Parts parts, QObject *parent) : QObject(parent), m_parts(parts) {
    // The two messages of the check, whatever the main window set up before.
    TBeepDialog &clean = m_parts.BeepDlg5;
    clean.setOwnerWidget(m_parts.owner);
    clean.setDlgType(TBeepDialog::mtInformation);
    clean.setBeepType(TBeepDialog::btICONASTERISK);
    clean.setDlgButton(MessageButton::Ok);
    clean.setDlgMessage(cleanMessage());
    TBeepDialog &refusal = m_parts.BeepDlg6;
    refusal.setOwnerWidget(m_parts.owner);
    refusal.setDlgType(TBeepDialog::mtError);
    refusal.setBeepType(TBeepDialog::btICONHAND);
    refusal.setDlgButton(MessageButton::Ok);
}

// The report window belongs to the main window (its Qt parent) and goes with it.
GrammarCommand::~GrammarCommand() = default;

QString GrammarCommand::cleanMessage() {
    return sjis::decode(noGrammarErrorsMessage());
}

QString GrammarCommand::gateMessage(GateAction action) {
    return sjis::decode(gateRefusalMessage(gateActionText(action)));
}

TfrmError *GrammarCommand::reportWindow() const {
    return m_window.data();
}

void GrammarCommand::setShowHelp(std::function<void(int)> showHelp) {
    m_showHelp = std::move(showHelp);
    if (m_window)
        m_window->setShowHelp(m_showHelp);
}

void GrammarCommand::mmBunpoClick(bool fromMenu) {
    // The whole list is checked; the window gets its first errors and the count
    // of the others.
    ReportExcerpt excerpt(TfrmError::MaxErrorLines);
    const bool errorsFound = [&] {
        const BusyCursor busy;
        return runGrammarCheck(m_parts.sgJisho.cells(), excerpt.sink());
    }();
    if (errorsFound) {
        showReport(excerpt.lines());
        m_errorsFound = true;
        return;
    }
    if (fromMenu)
        m_parts.BeepDlg5.ShowAndWait();
    m_errorsFound = false;
}

bool GrammarCommand::GrammarGate(GateAction action) {
    // A comment starting with "*" is the user's way to save a list the check would refuse.
    if (grammarGateBypassed(sjis::encode(m_parts.edtComment.text()).bytes))
        return true;
    mmBunpoClick(false);
    if (!m_errorsFound)
        return true;
    m_parts.BeepDlg6.setDlgMessage(gateMessage(action));
    m_parts.BeepDlg6.ShowAndWait();
    return false;
}

void GrammarCommand::showReport(const QList<QByteArray> &lines) {
    if (!m_window) {
        m_window = new TfrmError(m_parts.dialogs, m_parts.owner);
        m_window->setShowHelp(m_showHelp);
    }
    m_window->setReportLines(lines);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace kelvari
