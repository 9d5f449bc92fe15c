#pragma once
// The setup's one window as a table (common/WindowLayout.h): the folder with a Browse button,
// the two options, a progress bar, the line that says how it goes, Install and Cancel. Its texts
// are in the language the setup chose, so the table gives the text of each control apart.
#include "common/WindowLayout.h"
#include "installer/SetupTexts.h"

enum TSetupControl : int {
    scFolderLabel,
    scFolder,
    scBrowse,
    scAutoStart,
    scStartGuard,
    scProgress,
    scStatus,
    scInstall,
    scCancel,
};

const TWindowLayout& SetupWindowLayout();
// The text a control shows from the start; false for those that start empty (the folder, the
// progress bar, the status line).
bool SetupControlText(int control, TSetupText& text);

// The system's font of dialogs on the system's face colour.
constexpr TWindowLook kSetupLook{nullptr, 0, kSystemFaceColour, kSystemFaceColour};
