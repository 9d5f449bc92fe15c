// Tells a test driver where a window or one of its buttons is on the screen, so that the driver
// can click it with the real mouse (xdotool) as a user would, for the Wine runs of the setup.
//
//   lw-control-place <timeout-ms> <caption>                  "WxH+X+Y" of the window
//   lw-control-place <timeout-ms> <caption> <control text>   "X Y" of the control's centre
//   lw-control-place <timeout-ms> <caption> --texts          "class|text" of every child
//
// It waits for a visible top-level window with exactly that caption and, for a control, until a
// visible and enabled child has exactly that text: a button greyed out during the work is not
// there yet. With LW_DESKTOP set it looks into that Wine virtual desktop. Exit code 0, or 2
// when nothing came in time.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "tests/wine/WindowText.h"

namespace {

struct TSearch {
    const std::wstring& Text;
    HWND Found;
};

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM parameter)
{
    TSearch& search = *reinterpret_cast<TSearch*>(parameter);
    if (!IsWindowVisible(window) || TextOf(window) != search.Text) return TRUE;
    search.Found = window;
    return FALSE;
}

BOOL CALLBACK VisitChild(HWND child, LPARAM parameter)
{
    TSearch& search = *reinterpret_cast<TSearch*>(parameter);
    if (!IsWindowVisible(child) || !IsWindowEnabled(child) || TextOf(child) != search.Text)
        return TRUE;
    search.Found = child;
    return FALSE;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM)
{
    wchar_t kind[64] = L"";
    GetClassNameW(child, kind, 64);
    kind[63] = L'\0';
    Print(std::wstring(kind) + L"|" + TextOf(child));
    return TRUE;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3 || argc > 4) {
        Print(L"usage: lw-control-place <timeout-ms> <caption> [<control text>|--texts]");
        return 2;
    }
    const DWORD start = GetTickCount();
    const DWORD timeout = DWORD(_wtoi(argv[1]));
    wchar_t desktopName[64];
    if (GetEnvironmentVariableW(L"LW_DESKTOP", desktopName, 64) - 1u < 63u) {
        // The desktop comes with the program started in it; it may not be there yet.
        HDESK desktop = nullptr;
        while (!(desktop = OpenDesktopW(desktopName, 0, FALSE, GENERIC_ALL))) {
            if (GetTickCount() - start > timeout) return 2;
            Sleep(100);
        }
        if (!SetThreadDesktop(desktop)) return 2;
    }
    const std::wstring caption = argv[2];
    const std::wstring control = argc == 4 ? argv[3] : L"";
    for (;;) {
        TSearch window{caption, nullptr};
        EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&window));
        RECT place = {};
        if (window.Found && control.empty() && GetWindowRect(window.Found, &place)) {
            Print(std::to_wstring(place.right - place.left) + L"x" +
                  std::to_wstring(place.bottom - place.top) + L"+" + std::to_wstring(place.left) +
                  L"+" + std::to_wstring(place.top));
            return 0;
        }
        if (window.Found && control == L"--texts") {
            EnumChildWindows(window.Found, PrintChild, 0);
            return 0;
        }
        if (window.Found && !control.empty()) {
            TSearch child{control, nullptr};
            EnumChildWindows(window.Found, VisitChild, reinterpret_cast<LPARAM>(&child));
            if (child.Found && GetWindowRect(child.Found, &place)) {
                Print(std::to_wstring((place.left + place.right) / 2) + L" " +
                      std::to_wstring((place.top + place.bottom) / 2));
                return 0;
            }
        }
        if (GetTickCount() - start > timeout) return 2;
        Sleep(100);
    }
}
