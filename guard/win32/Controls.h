#pragma once
// What the guard's windows share: the look (system DPI, Tahoma 8, the background colour), the
// controls built from a layout table, and the error box. Every call that binds a window to a
// character set or carries text goes through the text layer (platform/win32/WinText.h).
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "guard/Layout.h"
#include "guard/win32/Owners.h"
#include "platform/win32/WinText.h"

class TGuardLook {
public:
    // Reads the system DPI and creates the fonts and the background brush; throws Exception
    // when they cannot be made.
    TGuardLook();
    int Dpi() const { return FDpi; }
    // A length of the 96-DPI layout at the system DPI, and back.
    int Scale(int pixels) const { return ScaleForDpi(pixels, FDpi); }
    int Unscale(int pixels) const { return MulDiv(pixels, 96, FDpi); }
    HFONT Font(bool bold) const { return bold ? FBold.get() : FNormal.get(); }
    HBRUSH Background() const { return FBackground.get(); }
    COLORREF BackgroundColour() const { return kMainBackground; }

private:
    int FDpi = 96;
    TFontHandle FNormal, FBold;
    TBrushHandle FBackground;
};

// A control's rectangle in its window's client pixels: a control placed in a group box is
// measured from the group box's scaled corner, one in a panel from the panel's client area.
RECT ControlRect(const TWindowLayout& layout, const TControlLayout& control,
                 const TGuardLook& look);

// Creates every control of the layout in window, in table order (which is the tab order), with
// its text, font and identifier kControlIdBase + id, and puts group boxes at the bottom of the
// z-order so that they never paint over the controls inside them. Returns the windows by
// TControlId. Throws Exception when a control cannot be created.
std::vector<HWND> CreateLayoutControls(HWND window, const TWindowLayout& layout,
                                       const TGuardLook& look);

// The window's background under the guard's windows and their labels, check boxes, read-only
// edits and pictures (WM_ERASEBKGND, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN). True when the message
// was one of these; result is then its answer.
bool BackgroundMessage(HWND window, UINT message, WPARAM wParam, const TGuardLook& look,
                       LRESULT& result);

// Registers a window class of the guard once per process; throws Exception when it cannot.
void RegisterGuardClass(const char* name, WNDPROC procedure, HCURSOR cursor);

// Places window centred on the rectangle, kept inside the work area.
void CentreWindow(HWND window, const RECT& on);
RECT WorkArea();

// Loads one of the program's icons at the given size; the caller owns it.
TIconHandle LoadProgramIcon(int resourceId, int size);

// The modal error box of an operation that failed, with the window's caption.
void ShowErrorBox(HWND owner, const std::string& message);

// The object of a window procedure: CreateWindowEx's parameter, kept with the window from its
// first message to its last. Null for messages outside that span. The parameter leads the
// creation record in its ANSI and its Unicode form alike.
template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrU(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    T* self = reinterpret_cast<T*>(GetWindowLongPtrU(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrU(window, GWLP_USERDATA, 0);
    return self;
}

// Runs a handler, showing whatever it throws in the error box: no exception crosses the
// system's message dispatch.
template <typename Handler>
void Guarded(HWND owner, Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        ShowErrorBox(owner, e.what());
    } catch (...) {
        ShowErrorBox(owner, "Unknown error");
    }
}

// A message handler's answer, or 0 when it threw (and the error box has been shown).
template <typename Handler>
LRESULT GuardedAnswer(HWND owner, Handler&& handler)
{
    LRESULT result = 0;
    Guarded(owner, [&] { result = handler(); });
    return result;
}
