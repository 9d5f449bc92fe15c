#pragma once
// The one window kit of the programs: the look (system DPI, the program's font and colours),
// windows and controls built from a layout table (common/WindowLayout.h), the background they
// paint, the window's object, and the error box that no exception gets past. Every call that
// binds a window to a character set or carries text goes through the text layer
// (platform/win32/WinText.h), so every window is an ANSI window on the Windows 95 family.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "common/WindowLayout.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WindowOwners.h"

class TLook {
public:
    // Reads the system DPI and creates the fonts and the background brush; throws Exception
    // when they cannot be made.
    explicit TLook(const TWindowLook& look);
    int Dpi() const { return FDpi; }
    // A length of the 96-DPI layout at the system DPI, and back.
    int Scale(int pixels) const { return ScaleForDpi(pixels, FDpi); }
    int Unscale(int pixels) const { return MulDiv(pixels, 96, FDpi); }
    HFONT Font(bool bold) const;
    HBRUSH Background() const { return FBackground.get(); }
    COLORREF BackgroundColour() const { return FBackgroundColour; }
    COLORREF GroupCaptionColour() const { return FGroupCaption; }

private:
    int FDpi = 96;
    COLORREF FBackgroundColour;
    COLORREF FGroupCaption;
    // None for the system's font of dialogs, which is lent.
    TFontHandle FNormal, FBold;
    TBrushHandle FBackground;
};

// A control's rectangle in its window's client pixels: a control placed in a group box is
// measured from the group box's scaled corner, one in a panel from the panel's client area.
RECT ControlRect(const TWindowLayout& layout, const TControlLayout& control, const TLook& look);

// Creates every control of the layout in window, in table order (which is the tab order), with
// its text, font and identifier kControlIdBase + id, and puts group boxes at the bottom of the
// z-order so that they never paint over the controls inside them. Returns the windows by
// identifier. Throws Exception when a control cannot be created.
std::vector<HWND> CreateLayoutControls(HWND window, const TWindowLayout& layout, const TLook& look);

// Creates a top-level window of a class registered with RegisterKitClass, whose client area has
// the layout's size at the look's DPI, with the layout's caption; param goes to WindowObject.
// Throws Exception when it cannot.
HWND CreateLayoutWindow(const char* className, const TWindowLayout& layout, const TLook& look,
                        DWORD style, DWORD exStyle, HWND owner, void* param);

// The window's background under the kit's windows and their labels, check boxes, read-only
// edits and pictures (WM_ERASEBKGND, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN). True when the message
// was one of these; result is then its answer.
bool BackgroundMessage(HWND window, UINT message, WPARAM wParam, const TLook& look,
                       LRESULT& result);

// Registers a window class of the program once per process, with the program's icon; throws
// Exception when it cannot.
void RegisterKitClass(const char* name, WNDPROC procedure);

// Places window centred on the rectangle, kept inside the work area.
void CentreWindow(HWND window, const RECT& on);
RECT WorkArea();

// Loads one of the program's icons at the given size; the caller owns it.
TIconHandle LoadProgramIcon(int resourceId, int size);

// The caption of the program's error boxes, set once at its start.
void SetErrorCaption(const std::string& caption);
// The modal error box of an operation that failed.
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

// The procedure of a kit window whose object keeps the window in an owner, taken on the first
// message and given up on the last (the system destroys the window itself), and answers every
// other message in handler, whatever that throws shown in the error box.
template <typename T>
LRESULT ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         TWindowHandle T::*owner, LRESULT (T::*handler)(UINT, WPARAM, LPARAM))
{
    T* self = WindowObject<T>(window, message, lParam);
    if (!self) return DefWindowProcU(window, message, wParam, lParam);
    if (message == WM_NCCREATE) (self->*owner).reset(window);
    if (message == WM_NCDESTROY) {
        (self->*owner).release();
        return DefWindowProcU(window, message, wParam, lParam);
    }
    return GuardedAnswer(window, [&] { return (self->*handler)(message, wParam, lParam); });
}
