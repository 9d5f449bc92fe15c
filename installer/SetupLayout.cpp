#include "installer/SetupLayout.h"

namespace {

// clang-format off
const TControlLayout kSetup[] = {
    {scFolderLabel, "laFolder", TControlKind::Label, kNoParent, 12, 12, 396, 16, "", "", csNone, -1},
    {scFolder, "edFolder", TControlKind::Edit, kNoParent, 12, 30, 300, 22, "", "", csTabStop, 0},
    {scBrowse, "btBrowse", TControlKind::Button, kNoParent, 318, 29, 90, 24, "", "", csTabStop, 1},
    {scAutoStart, "cbAutoStart", TControlKind::CheckBox, kNoParent, 12, 64, 396, 20, "", "", csTabStop, 2},
    {scStartGuard, "cbStartGuard", TControlKind::CheckBox, kNoParent, 12, 88, 396, 20, "", "", csTabStop, 3},
    {scProgress, "pbProgress", TControlKind::ProgressBar, kNoParent, 12, 120, 396, 18, "", "", csNone, -1},
    {scStatus, "laStatus", TControlKind::Label, kNoParent, 12, 146, 396, 16, "", "", csNone, -1},
    {scInstall, "btInstall", TControlKind::Button, kNoParent, 222, 172, 90, 26, "", "", csDefaultButton | csAccept | csTabStop, 4},
    {scCancel, "btCancel", TControlKind::Button, kNoParent, 318, 172, 90, 26, "", "", csCancel | csTabStop, 5},
};

const struct {
    TSetupControl Control;
    TSetupText Text;
} kTexts[] = {
    {scFolderLabel, TSetupText::FolderLabel},
    {scBrowse, TSetupText::Browse},
    {scAutoStart, TSetupText::AutoStart},
    {scStartGuard, TSetupText::StartWhenDone},
    {scInstall, TSetupText::Install},
    {scCancel, TSetupText::Cancel},
};
// clang-format on

// The caption is the setup's too, in its language: the window sets it.
const TWindowLayout kSetupLayout{"", 420, 210, kSetup,
                                 static_cast<int>(sizeof kSetup / sizeof kSetup[0])};

}  // namespace

const TWindowLayout& SetupWindowLayout()
{
    return kSetupLayout;
}

bool SetupControlText(int control, TSetupText& text)
{
    for (const auto& entry : kTexts)
        if (entry.Control == control) {
            text = entry.Text;
            return true;
        }
    return false;
}
