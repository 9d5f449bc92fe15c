#include "guard/win32/NotificationArea.h"

#include <shellapi.h>

#include <algorithm>

#include "common/Errors.h"
#include "platform/win32/WindowKit.h"
#include "guard/win32/GuardIds.h"
#include "guard/win32/Resources.h"
#include "platform/win32/WinText.h"

struct TNotificationAreaWin32::TTrayWindow {
    TNotificationAreaWin32* Area;
    TTrayIcon* Icon;
    HWND Window;
};

namespace {

TNotifyIconU ToShellRecord(const TNotifyIconRecord& record)
{
    TNotifyIconU icon;
    icon.Window = static_cast<HWND>(record.Window);
    icon.Id = record.Id;
    icon.Flags = record.Flags;
    icon.CallbackMessage = record.CallbackMessage;
    icon.Icon = static_cast<HICON>(record.Icon);
    icon.Tip = record.Tip;
    icon.InfoTitle = record.BalloonTitle;
    icon.Info = record.BalloonText;
    icon.InfoTimeoutMs = record.BalloonTimeoutMs;
    return icon;
}

}  // namespace

TNotificationAreaWin32::TNotificationAreaWin32()
    : FTaskbarCreated(RegisterWindowMessageU("TaskbarCreated"))
{
    RegisterKitClass(kTrayWindowClass, &TNotificationAreaWin32::WindowProc);
}

TNotificationAreaWin32::~TNotificationAreaWin32()
{
    if (FRegistered) ShellNotifyIconU(NIM_DELETE, FShown);
    for (auto& window : FWindows) {
        SetWindowLongPtrU(window->Window, GWLP_USERDATA, 0);
        DestroyWindow(window->Window);
    }
}

bool TNotificationAreaWin32::Notify(TTrayOperation operation, const TNotifyIconRecord& record)
{
    TNotifyIconU icon = ToShellRecord(record);
    switch (operation) {
    case TTrayOperation::Add:
        if (!ShellNotifyIconU(NIM_ADD, icon)) return false;
        FRegistered = true;
        FShown = std::move(icon);
        return true;
    case TTrayOperation::Modify:
        if (!ShellNotifyIconU(NIM_MODIFY, icon)) return false;
        // Kept to add the icon again to a new taskbar, without a balloon that is long gone.
        FShown = std::move(icon);
        FShown.Flags &= ~static_cast<UINT>(NIF_INFO);
        return true;
    case TTrayOperation::Delete: FRegistered = false; return ShellNotifyIconU(NIM_DELETE, icon);
    }
    return false;
}

bool TNotificationAreaWin32::HasBalloons()
{
    return ShellMajorVersion() >= 5;
}

void* TNotificationAreaWin32::ApplicationIcon()
{
    // Shared: the system keeps it for the life of the process, so the tray never frees it.
    return ProgramIconU(IDI_PROGRAM, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                        LR_SHARED);
}

void* TNotificationAreaWin32::CreateHiddenWindow(TTrayIcon& owner)
{
    auto entry = std::make_unique<TTrayWindow>(TTrayWindow{this, &owner, nullptr});
    entry->Window = CreateWindowExU(WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, nullptr);
    if (!entry->Window) throw Exception("Error creating the tray icon's window");
    SetWindowLongPtrU(entry->Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(entry.get()));
    FWindows.push_back(std::move(entry));
    return FWindows.back()->Window;
}

void TNotificationAreaWin32::DestroyHiddenWindow(void* window)
{
    auto found = std::find_if(
            FWindows.begin(), FWindows.end(),
            [&](const std::unique_ptr<TTrayWindow>& entry) { return entry->Window == window; });
    if (found == FWindows.end()) return;
    SetWindowLongPtrU((*found)->Window, GWLP_USERDATA, 0);
    DestroyWindow((*found)->Window);
    FWindows.erase(found);
}

LRESULT CALLBACK TNotificationAreaWin32::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam)
{
    auto* entry = reinterpret_cast<TTrayWindow*>(GetWindowLongPtrU(window, GWLP_USERDATA));
    if (entry) {
        TNotificationAreaWin32& area = *entry->Area;
        if (message == entry->Icon->Record().CallbackMessage) {
            bool handled = false;
            try {
                handled = entry->Icon->WndProc(LOWORD(lParam));
            } catch (const std::exception& e) {
                handled = true;
                if (area.OnError) area.OnError(e.what());
            } catch (...) {
                handled = true;
                if (area.OnError) area.OnError("Unknown error");
            }
            if (handled) return 1;
        } else if (message == area.FTaskbarCreated && area.FTaskbarCreated != 0) {
            // A new taskbar (the shell restarted) knows no icons: ours goes back in. One that
            // the notification area never took (the guard started before the shell) goes in now.
            if (area.FRegistered) {
                ShellNotifyIconU(NIM_ADD, area.FShown);
            } else {
                try {
                    entry->Icon->RetryAdd();
                } catch (const std::exception& e) {
                    if (area.OnError) area.OnError(e.what());
                } catch (...) {
                    if (area.OnError) area.OnError("Unknown error");
                }
            }
            return 0;
        }
    }
    // The session may end whenever the guard is asked.
    if (message == WM_QUERYENDSESSION) return 1;
    return DefWindowProcU(window, message, wParam, lParam);
}
