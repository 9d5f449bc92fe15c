#pragma once
// What the stages of the check cycle share with the window: the options and allowed numbers,
// the progress display, the activity report, and the question to the user.
#include <functional>
#include <string>

#include "guard/ActivityReport.h"
#include "guard/GuardTexts.h"
#include "guard/ProgressDisplay.h"
#include "settings/Settings.h"

// Asks the user in the detection dialog (mode qmDialer, qmActiveConnection or qmPhonebookEntry);
// true when the user agreed to the removal.
using TAskUser =
        std::function<bool(int mode, const std::string& value1, const std::string& value2)>;

// Tells the user at once of something the guard did without asking (the settings say not to
// ask), since its window may be hidden: the text says what was done.
using TAnnounce = std::function<void(const std::string& text)>;

struct TCheckContext {
    TSettings& Settings;
    TProgressDisplay& Progress;
    TActivityReport& Report;
    // The language of the report lines, the progress captions and the status line.
    TLanguage Language;
    TAskUser Ask;
    TAnnounce Announce = nullptr;

    // A text in that language.
    std::string Text(TGuardText id) const { return GuardText(id, Language); }
};
