#pragma once
// The setup's one window: the folder with a Browse button, the two options, Install and Cancel,
// a progress bar and a last line that says how it went. What its buttons do is the presenter's.
#include <string>

#include "installer/SetupPresenter.h"

// Runs the window, its texts in the language, until the user closes it; the exit code is that
// of the setup.
TSetupWindowResult RunSetupWindow(TSetupInstaller& setup, const std::string& folder,
                                  TLanguage language);
