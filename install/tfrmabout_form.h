#pragma once
// The about box's controls as the form defines them (Ui::TfrmAbout), for tests:
// TfrmAbout::form().

#include "ui_tfrmabout.h"
