#include "guard/win32/NotificationArea.h"

#include <algorithm>

#include "common/Errors.h"
#include "guard/win32/Controls.h"
#include "guard/win32/GuardIds.h"
#include "guard/win32/Resources.h"
#include "platform/win32/Win32Text.h"

struct TNotificationAreaWin32::TTrayWindow {
    TNotificationAreaWin32* Area;
    TTrayIcon* Icon;
    HWND Window;
};

NOTIFYICONDATAW ToShellRecord(const TNotifyIconRecord& record)
{
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = static_cast<HWND>(record.Window);
    data.uID = record.Id;
    data.uFlags = record.Flags;
    data.uCallbackMessage = record.CallbackMessage;
    data.hIcon = static_cast<HICON>(record.Icon);
    const std::wstring tip = Wide(record.Tip);
    size_t length = std::min<size_t>(tip.size(), 63);
    if (length > 0 && length < tip.size() && tip[length - 1] >= 0xD800 && tip[length - 1] <= 0xDBFF)
        --length;
    std::copy(tip.begin(), tip.begin() + static_cast<std::ptrdiff_t>(length), data.szTip);
    data.szTip[length] = L'\0';
    return data;
}

TNotificationAreaWin32::TNotificationAreaWin32()
    : FTaskbarCreated(RegisterWindowMessageW(L"TaskbarCreated"))
{
    RegisterGuardClass(kTrayWindowClass, &TNotificationAreaWin32::WindowProc,
                       LoadCursorW(nullptr, IDC_ARROW));
}

TNotificationAreaWin32::~TNotificationAreaWin32()
{
    if (FRegistered) Shell_NotifyIconW(NIM_DELETE, &FShown);
    for (auto& window : FWindows) {
        SetWindowLongPtrW(window->Window, GWLP_USERDATA, 0);
        DestroyWindow(window->Window);
    }
}

bool TNotificationAreaWin32::Notify(TTrayOperation operation, const TNotifyIconRecord& record)
{
    NOTIFYICONDATAW data = ToShellRecord(record);
    switch (operation) {
    case TTrayOperation::Add:
        if (!Shell_NotifyIconW(NIM_ADD, &data)) return false;
        FRegistered = true;
        FShown = data;
        return true;
    case TTrayOperation::Modify:
        if (!Shell_NotifyIconW(NIM_MODIFY, &data)) return false;
        FShown = data;
        return true;
    case TTrayOperation::Delete:
        FRegistered = false;
        return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
    }
    return false;
}

void* TNotificationAreaWin32::ApplicationIcon()
{
    // Shared: the system keeps it for the life of the process, so the tray never frees it.
    return LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
}

void* TNotificationAreaWin32::CreateHiddenWindow(TTrayIcon& owner)
{
    auto entry = std::make_unique<TTrayWindow>(TTrayWindow{this, &owner, nullptr});
    entry->Window = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!entry->Window) throw Exception("Error creating the tray icon's window");
    SetWindowLongPtrW(entry->Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(entry.get()));
    FWindows.push_back(std::move(entry));
    return FWindows.back()->Window;
}

void TNotificationAreaWin32::DestroyHiddenWindow(void* window)
{
    auto found = std::find_if(
            FWindows.begin(), FWindows.end(),
            [&](const std::unique_ptr<TTrayWindow>& entry) { return entry->Window == window; });
    if (found == FWindows.end()) return;
    SetWindowLongPtrW((*found)->Window, GWLP_USERDATA, 0);
    DestroyWindow((*found)->Window);
    FWindows.erase(found);
}

LRESULT CALLBACK TNotificationAreaWin32::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam)
{
    auto* entry = reinterpret_cast<TTrayWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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
                Shell_NotifyIconW(NIM_ADD, &area.FShown);
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
    return DefWindowProcW(window, message, wParam, lParam);
}
