// Answers message boxes of another program, for the end-to-end runs of uninstall.exe under Wine.
//
//   lw-e2e-click <timeout-ms> <caption> yes|no|ok|retry|cancel [<caption> ... ...]
//
// For each pair in turn it waits for a visible top-level window with exactly that caption,
// prints "<caption>|<text of the box>|<id of the default button>" (UTF-8) and presses the
// button by posting the box the command its button would send; then it waits for the box to
// close. Exit code 0 when every box
// was answered, 2 when one did not come (or did not close) in time; the visible top-level
// captions are then printed to help find out what came instead.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "tests/wine/WindowText.h"

namespace {

struct TSearch {
    const std::wstring* Caption;  // nullptr: list every visible caption
    HWND Found;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter)
{
    TSearch& search = *reinterpret_cast<TSearch*>(parameter);
    if (!IsWindowVisible(window)) return TRUE;
    if (!search.Caption) {
        Print(L"  visible: \"" + TextOf(window) + L"\"");
        return TRUE;
    }
    if (TextOf(window) != *search.Caption) return TRUE;
    search.Found = window;
    return FALSE;
}

HWND FindBox(const std::wstring& caption)
{
    TSearch search{&caption, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The box's text is the one static control with text (the icon is a static without).
BOOL CALLBACK FindText(HWND child, LPARAM parameter)
{
    wchar_t kind[32] = L"";
    GetClassNameW(child, kind, 32);
    if (lstrcmpiW(kind, L"Static") != 0) return TRUE;
    std::wstring& text = *reinterpret_cast<std::wstring*>(parameter);
    text = TextOf(child);
    return text.empty();
}

// The button that Enter would press: the one drawn as the default push button (IDNO = 7 keeps
// a hasty Enter from removing anything).
BOOL CALLBACK FindDefaultButton(HWND child, LPARAM parameter)
{
    wchar_t kind[32] = L"";
    GetClassNameW(child, kind, 32);
    if (lstrcmpiW(kind, L"Button") != 0 ||
        (GetWindowLongW(child, GWL_STYLE) & 0x0F) != BS_DEFPUSHBUTTON)
        return TRUE;
    *reinterpret_cast<int*>(parameter) = GetDlgCtrlID(child);
    return FALSE;
}

bool Answer(const std::wstring& caption, const std::wstring& button, DWORD deadline)
{
    const WORD command = button == L"yes"      ? IDYES
                         : button == L"no"     ? IDNO
                         : button == L"retry"  ? IDRETRY
                         : button == L"cancel" ? IDCANCEL
                                               : IDOK;
    HWND box = nullptr;
    while (!(box = FindBox(caption))) {
        if (GetTickCount() > deadline) return false;
        Sleep(50);
    }
    // The box may still be filling in its controls when it first shows: it is read once its
    // text and its default button are there.
    std::wstring text;
    int pressedByEnter = 0;
    for (;;) {
        text.clear();
        pressedByEnter = 0;
        EnumChildWindows(box, FindText, reinterpret_cast<LPARAM>(&text));
        EnumChildWindows(box, FindDefaultButton, reinterpret_cast<LPARAM>(&pressedByEnter));
        if (!text.empty() && pressedByEnter != 0) break;
        if (GetTickCount() > deadline) return false;
        Sleep(50);
    }
    Print(caption + L"|" + text + L"|" + std::to_wstring(pressedByEnter));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    while (IsWindow(box) && IsWindowVisible(box)) {
        if (GetTickCount() > deadline) return false;
        Sleep(50);
    }
    return true;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4 || argc % 2 != 0) {
        Print(L"usage: lw-e2e-click <timeout-ms> <caption> yes|no|ok [<caption> yes|no|ok ...]");
        return 2;
    }
    const DWORD deadline = GetTickCount() + DWORD(_wtoi(argv[1]));
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!Answer(argv[i], argv[i + 1], deadline)) {
            Print(L"no box \"" + std::wstring(argv[i]) + L"\" answered in time");
            TSearch all{nullptr, nullptr};
            EnumWindows(Visit, reinterpret_cast<LPARAM>(&all));
            return 2;
        }
    }
    return 0;
}
