// Entry of the resident guard: one guard per session, the system's ports, the main window and
// the guard's logic over them, and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "dialup/RasLibraryApi.h"
#include "guard/MainUnit.h"
#include "guard/win32/Dialogs.h"
#include "guard/win32/GuardIds.h"
#include "guard/win32/MainWindow.h"
#include "guard/win32/NotificationArea.h"
#include "platform/ChildPrograms.h"
#include "platform/Clock.h"
#include "platform/DynamicLibraries.h"
#include "platform/Files.h"
#include "platform/LocalTime.h"
#include "platform/ProcessWalk.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemVersion.h"
#include "platform/win32/UiThreadWin32.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WinTextSystem.h"
#include "platform/win32/WindowKit.h"

namespace {

// Lets the running guard's process take the foreground, which this process holds as the one
// just started. Windows 98 lacks the function, so it is looked up by name and skipped there.
void LetTakeForeground(DWORD process)
{
    IDynamicLibraries& libraries = SystemLibraries();
    const IDynamicLibraries::THandle user32 = libraries.Load("user32.dll");
    if (!user32) return;
    using TAllow = BOOL(WINAPI*)(DWORD);
    if (auto allow = reinterpret_cast<TAllow>(libraries.Lookup(user32, "AllowSetForegroundWindow")))
        allow(process);
    libraries.Free(user32);
}

// A guard already runs in this session: it comes up with its options, and this one ends.
void BringUpRunningGuard()
{
    HWND running = FindWindowU(kMainWindowClass, "");
    if (!running) return;
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    LetTakeForeground(process);
    PostMessageU(running, RegisterWindowMessageU(kShowGuardMessage), 0, 0);
}

int RunMessageLoop(TMainWindowView& view)
{
    MSG message;
    while (GetMessageU(&message, nullptr, 0, 0) > 0) {
        if (view.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageU(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunGuard(TLanguage language)
{
    TLook look(kGuardLook);
    TWin32UiThread ui;
    TNotificationAreaWin32 area;
    TMainWindowView view(look, language);
    TGuardDialogs dialogs(look, view.Window(), language);
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
                      IsWindows95Family(SystemVersionWord()),
                      SHGetFolderPathU(CSIDL_APPDATA),
                      language};

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
    // The guard's interface is Polish only: the language every text of it is read in.
    const TLanguage language = TLanguage::Polish;
    // The application's title, as every box of the guard.
    SetErrorCaption(kGuardCaption);
    // The name is ASCII: the A form serves every system. The Windows 95 family and NT 4 know
    // no "Local\\" namespace and refuse a name with a backslash: there the plain name, which
    // names the one session they have.
    TKernelHandle guard(CreateMutexA(nullptr, FALSE, kGuardMutexName));
    if (!guard) guard.reset(CreateMutexA(nullptr, FALSE, kGuardMutexName + kLocalPrefixLength));
    if (guard && GetLastError() == ERROR_ALREADY_EXISTS) {
        BringUpRunningGuard();
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        return RunGuard(language);
    } catch (const std::exception& e) {
        ShowErrorBox(nullptr, e.what());
        return 1;
    }
}
