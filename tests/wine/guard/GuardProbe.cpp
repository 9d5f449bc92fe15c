// Drives the running guard from outside, for scripts/run.sh and by hand:
//
//   lw-guard-probe wait-window <timeout-ms>   waits until the guard's main window exists
//   lw-guard-probe wait-shown <timeout-ms>    ... until it is visible
//   lw-guard-probe wait-hidden <timeout-ms>   ... until it is hidden (the start-up tick ran)
//   lw-guard-probe menu <item>                posts a menu command: configuration, report, exit
//   lw-guard-probe wait-gone <timeout-ms>     waits until no guard window is left
//   lw-guard-probe geometry <margin>          prints the window's rectangle, widened by the
//                                             margin, as ImageMagick's WxH+X+Y
//
// Exit code 0 on success, 2 on a time-out or an unknown command. With LW_DESKTOP set in the
// environment it looks into that desktop (a Wine virtual desktop) rather than its own.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "guard/win32/GuardIds.h"

namespace {

template <typename Condition>
bool WaitFor(DWORD timeoutMs, Condition condition)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

HWND Guard()
{
    return FindWindowW(kMainWindowClass, nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    wchar_t desktopName[64];
    if (GetEnvironmentVariableW(L"LW_DESKTOP", desktopName, 64) - 1u < 63u) {
        // The desktop comes with the program started in it; it may not be there yet.
        HDESK desktop = nullptr;
        WaitFor(30000, [&] {
            return (desktop = OpenDesktopW(desktopName, 0, FALSE, GENERIC_ALL)) != nullptr;
        });
        if (!desktop || !SetThreadDesktop(desktop)) return 2;
    }
    const char* command = argv[1];
    const DWORD timeout = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    if (!std::strcmp(command, "wait-window"))
        return WaitFor(timeout, [] { return Guard() != nullptr; }) ? 0 : 2;
    if (!std::strcmp(command, "wait-shown"))
        return WaitFor(timeout, [] { return Guard() && IsWindowVisible(Guard()); }) ? 0 : 2;
    if (!std::strcmp(command, "wait-hidden"))
        return WaitFor(timeout, [] { return Guard() && !IsWindowVisible(Guard()); }) ? 0 : 2;
    if (!std::strcmp(command, "wait-gone"))
        return WaitFor(timeout, [] { return Guard() == nullptr; }) ? 0 : 2;
    if (!std::strcmp(command, "geometry")) {
        RECT r;
        if (!Guard() || !GetWindowRect(Guard(), &r)) return 2;
        const int margin = static_cast<int>(timeout);
        const long left = r.left > margin ? r.left - margin : 0,
                   top = r.top > margin ? r.top - margin : 0;
        std::printf("%ldx%ld+%ld+%ld\n", r.right + margin - left, r.bottom + margin - top, left,
                    top);
        return 0;
    }
    if (!std::strcmp(command, "menu")) {
        const struct {
            const char* Name;
            TMenuItem Item;
        } items[] = {{"configuration", TMenuItem::Configuration},
                     {"report", TMenuItem::Report},
                     {"exit", TMenuItem::Exit}};
        for (const auto& item : items)
            if (!std::strcmp(argv[2], item.Name))
                return PostMessageW(Guard(), WM_COMMAND, MenuCommandId(item.Item), 0) ? 0 : 2;
    }
    return 2;
}
