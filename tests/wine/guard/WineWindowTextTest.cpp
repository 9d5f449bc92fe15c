// The guard's controls speak through the text layer in either form: a Polish letter that the
// ANSI code pages 1250 and 1252 both hold goes into each kind of control and comes back as it
// went in, and the control holds the letter itself, not its bytes read in the wrong form. With
// --ansi the program runs as the 95 family would (ANSI windows and messages), else as NT; one
// process per form, since the form is chosen before the first window class is registered.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guard/Layout.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WinTextControls.h"
#include "platform/win32/WindowKit.h"

namespace {

const std::string kText =
        "Pr\xC3\xB3"
        "ba \xC3\xB3";  // "Próba ó"

bool AskedForAnsi()
{
    return std::wstring(GetCommandLineW()).find(L" --ansi") != std::wstring::npos;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcU(window, message, wParam, lParam);
}

// The text as the system holds it, read in the wide form whatever form the control has.
std::string WideItem(HWND view, int row, int column)
{
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return Narrow(text, wcsnlen(text, 64));
}

std::string WideMessageText(HWND control, UINT message, WPARAM index)
{
    wchar_t text[64] = {};
    SendMessageW(control, message, index, reinterpret_cast<LPARAM>(text));
    return Narrow(text, wcsnlen(text, 64));
}

struct TTextCase {
    const char* Name;
    TControlId Control;  // or -1: the window itself
    void (*Set)(HWND, const std::string&);
    std::string (*Get)(HWND);   // through the layer
    std::string (*Seen)(HWND);  // as the system holds it
};

const TTextCase kCases[] = {
        {"caption", static_cast<TControlId>(-1), SetWindowTextU, GetWindowTextU,
         [](HWND w) { return WideMessageText(w, WM_GETTEXT, 64); }},
        {"label", idAppTitle, SetWindowTextU, GetWindowTextU,
         [](HWND w) { return WideMessageText(w, WM_GETTEXT, 64); }},
        {"list box", idNumbers, [](HWND w, const std::string& t) { ListBoxAddU(w, t); },
         [](HWND w) { return ListBoxTextU(w, ListBoxFindExactU(w, kText)); },
         [](HWND w) { return WideMessageText(w, LB_GETTEXT, 0); }},
        {"list view row", idReport,
         [](HWND w, const std::string& t) { ListViewInsertItemU(w, 0, t); },
         [](HWND w) { return ListViewItemTextU(w, 0, 0); },
         [](HWND w) { return WideItem(w, 0, 0); }},
        {"list view cell", idReport,
         [](HWND w, const std::string& t) { ListViewSetItemTextU(w, 0, 1, t); },
         [](HWND w) { return ListViewItemTextU(w, 0, 1); },
         [](HWND w) { return WideItem(w, 0, 1); }},
        {"status bar", idStatusBar,
         [](HWND w, const std::string& t) { StatusBarSetTextU(w, 0, t); },
         [](HWND w) { return StatusBarTextU(w, 0); },
         [](HWND w) { return WideMessageText(w, SB_GETTEXTW, 0); }},
};

TEST(WineWindowText, APolishLetterRoundTripsThroughEveryKindOfControl)
{
    const bool ansi = AskedForAnsi();
    UseAnsiWindowsForTests(ansi);
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    TLook look(kGuardLook);
    RegisterKitClass("LinewardenTextTest", HostProc);
    const TWindowHandle window(CreateWindowExU(0, "LinewardenTextTest", "", WS_OVERLAPPEDWINDOW, 0,
                                               0, 400, 400, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    EXPECT_EQ(IsWindowUnicode(window.get()) == FALSE, ansi);
    const std::vector<HWND> controls = CreateLayoutControls(window.get(), MainWindowLayout(), look);
    // The report's second column, for its cell.
    ListViewInsertColumnU(controls[idReport], 0, kText, 60);
    ListViewInsertColumnU(controls[idReport], 1, kText, 60);

    for (const TTextCase& c : kCases) {
        const HWND target = c.Control < 0 ? window.get() : controls[c.Control];
        c.Set(target, kText);
        EXPECT_EQ(c.Get(target), kText) << c.Name;
        EXPECT_EQ(c.Seen(target), kText) << c.Name;
    }
}

}  // namespace
