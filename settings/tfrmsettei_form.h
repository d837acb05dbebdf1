#pragma once
// The settings dialog's controls as the form defines them (Ui::TfrmSettei), for
// the main window and for tests: TfrmSettei::form().

#include "ui_tfrmsettei.h"
