#pragma once
// The window side of the about component: what the main window calls at start,
// on "アバウト(&A)..." and at close. Each shows its outcome where one is due.

#include <QString>

class QWidget;

namespace kelvari {

class Dialogs;
class TAboutDlg;

namespace aboutbox {

// The installation check, first of all at start. Shows the finish message when
// the steps ran and InstFinishDlg is set; a registry that refuses is reported,
// and its message returned (empty when none), so that a later step meeting the
// same damaged file need not say it again.
QString CheckInstallation(TAboutDlg &about, Dialogs &dialogs);

// The about box, modal; freed when it closes.
void ShowAbout(const TAboutDlg &about, Dialogs &dialogs, QWidget *owner);

// The uninstall entry, at every close after the settings. A refused write is
// reported and the close goes on: the entry is no reason to keep a window open.
void RegisterUninstall(TAboutDlg &about, Dialogs &dialogs, QWidget *owner);

} // namespace aboutbox
} // namespace kelvari
