#pragma once
// The main window's controls as the form defines them (Ui::TfrmJisho), for the
// command handlers of other folders and for tests: TfrmJisho::form().

#include "ui_tfrmjisho.h"
