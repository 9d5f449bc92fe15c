#pragma once
// The names by which other programs find the running guard: a second start brings the first one
// up through them, and the Wine tests drive and read the guard through them.
#include "guard/GuardViews.h"
#include "guard/Layout.h"

inline constexpr wchar_t kMainWindowClass[] = L"TLinewardenForm";
inline constexpr wchar_t kTrayWindowClass[] = L"LinewardenTrayWindow";
inline constexpr wchar_t kPanelClass[] = L"LinewardenPanel";
inline constexpr wchar_t kDialogClass[] = L"LinewardenDialog";
// One guard per session.
inline constexpr wchar_t kGuardMutexName[] = L"Local\\MLinewarden.Guard";
// Registered message that asks the running guard to come up with its options.
inline constexpr wchar_t kShowGuardMessage[] = L"MLinewarden.ShowGuard";

// Menu commands are WM_COMMAND identifiers kMenuCommandBase + TMenuItem; controls use
// kControlIdBase + TControlId.
constexpr int kMenuCommandBase = 2000;
constexpr int kMenuItemCount = static_cast<int>(TMenuItem::Exit) + 1;
constexpr int MenuCommandId(TMenuItem item)
{
    return kMenuCommandBase + static_cast<int>(item);
}
constexpr int ControlId(TControlId id)
{
    return kControlIdBase + static_cast<int>(id);
}
