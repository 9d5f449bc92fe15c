#pragma once
// The names by which other programs find the running guard: a second start brings the first one
// up through them, and the Wine tests drive and read the guard through them.
#include "common/Product.h"
#include "guard/GuardViews.h"
#include "guard/Layout.h"

// ASCII, so that a program of either character set finds them under the same names.
// Setups and the uninstaller know the guard by it too.
inline constexpr const char* kMainWindowClass = kGuardMainWindowClass;
inline constexpr char kTrayWindowClass[] = "LinewardenTrayWindow";
inline constexpr char kDialogClass[] = "LinewardenDialog";
// Registered message that asks the running guard to come up with its options.
inline constexpr char kShowGuardMessage[] = "MLinewarden.ShowGuard";

// Menu commands are WM_COMMAND identifiers kMenuCommandBase + TMenuItem; controls use
// kControlIdBase + TControlId.
constexpr int kMenuCommandBase = 2000;
constexpr int MenuCommandId(TMenuItem item)
{
    return kMenuCommandBase + static_cast<int>(item);
}
constexpr int ControlId(int id)
{
    return kControlIdBase + id;
}
