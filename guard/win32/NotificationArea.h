#pragma once
// The tray icon's platform: Shell_NotifyIcon with the shell's first record, and the hidden
// window whose callback messages reach TTrayIcon. The hidden window is an ordinary top-level
// window that is never shown: a message-only window does not receive the taskbar's broadcast
// that it was re-created, and not every shell delivers tray callbacks to one.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "guard/Tray.h"
#include "platform/win32/WinTextControls.h"

class TNotificationAreaWin32 : public INotificationArea {
public:
    TNotificationAreaWin32();
    // Takes an icon that is still registered out of the notification area.
    ~TNotificationAreaWin32() override;
    TNotificationAreaWin32(const TNotificationAreaWin32&) = delete;
    TNotificationAreaWin32& operator=(const TNotificationAreaWin32&) = delete;

    bool Notify(TTrayOperation operation, const TNotifyIconRecord& record) override;
    bool HasBalloons() override;
    void* ApplicationIcon() override;
    void* CreateHiddenWindow(TTrayIcon& owner) override;
    void DestroyHiddenWindow(void* window) override;

    // Shows what a tray event's handler threw; the hidden window has no caption of its own.
    std::function<void(const std::string&)> OnError;

private:
    struct TTrayWindow;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT FTaskbarCreated = 0;
    std::vector<std::unique_ptr<TTrayWindow>> FWindows;
    // The icon as the shell holds it, for adding it again to a re-created taskbar and for
    // taking it out if nobody else does.
    bool FRegistered = false;
    TNotifyIconU FShown;
};
