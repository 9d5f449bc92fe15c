// Entry of the resident guard: one guard per session, the system's ports, the main window and
// the guard's logic over them, and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "dialup/RasLibraryApi.h"
#include "guard/GuardTexts.h"
#include "guard/MainUnit.h"
#include "guard/win32/Controls.h"
#include "guard/win32/Dialogs.h"
#include "guard/win32/GuardIds.h"
#include "guard/win32/MainWindow.h"
#include "guard/win32/NotificationArea.h"
#include "guard/win32/Owners.h"
#include "platform/ChildPrograms.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/LocalTime.h"
#include "platform/ProcessWalk.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemVersion.h"
#include "platform/win32/UiThreadWin32.h"

namespace {

// A guard already runs in this session: it comes up with its options, and this one ends.
void BringUpRunningGuard()
{
    HWND running = FindWindowW(kMainWindowClass, nullptr);
    if (!running) return;
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    // The running guard may take the foreground, which this process holds as the one just
    // started.
    AllowSetForegroundWindow(process);
    PostMessageW(running, RegisterWindowMessageW(kShowGuardMessage), 0, 0);
}

int RunMessageLoop(TMainWindowView& view)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (view.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunGuard()
{
    TGuardLook look;
    TWin32UiThread ui;
    TNotificationAreaWin32 area;
    TMainWindowView view(look);
    TGuardDialogs dialogs(look, view.Window());
    area.OnError = [&view](const std::string& message) { view.ShowError(message); };

    TToolsPorts tools{SystemRegistry(),
                      SystemFileSystem(),
                      SystemProcesses(),
                      SystemShell(),
                      SystemProcesses().ProgramPath(),
                      kUnpackerTimeLimitMs,
                      SystemProcessWalk()};
    TGuardPorts ports{view,
                      dialogs,
                      area,
                      &view,
                      SystemRasApi(),
                      ui,
                      SystemClock(),
                      SystemProfile(),
                      SystemLocalTime(),
                      tools,
                      IsWindows95Family(SystemVersionWord())};

    std::unique_ptr<TLinewardenForm> logic;
    try {
        logic = std::make_unique<TLinewardenForm>(ports);
    } catch (const std::exception& e) {
        ShowErrorBox(nullptr, e.what());
        return 1;
    }
    view.SetLogic(logic.get());
    view.OnDestroy = [&] {
        view.SetLogic(nullptr);
        logic.reset();
    };
    view.Show();
    return RunMessageLoop(view);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TKernelHandle guard(CreateMutexW(nullptr, FALSE, kGuardMutexName));
    if (guard && GetLastError() == ERROR_ALREADY_EXISTS) {
        BringUpRunningGuard();
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        return RunGuard();
    } catch (const std::exception& e) {
        ShowErrorBox(nullptr, e.what());
        return 1;
    }
}
