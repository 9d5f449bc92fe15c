#pragma once
// The one place where a Win32 call that takes or returns text, or that binds a window to a
// character set, chooses between its "A" and its "W" form.
//
// The NT family gets the W functions, so that Polish texts show whatever the ANSI code page. On
// the Windows 95 family (95, 98, Me) the W functions are stubs that fail, a handful aside
// (MessageBoxW, lstrlenW, MultiByteToWideChar, WideCharToMultiByte, TextOutW, ExtTextOutW, the
// text-extent and character-width functions, the resource enumerations and look-ups, and
// GetCommandLineW); there the A functions are called, with the text converted through the ANSI
// code page, and every window is registered, created, subclassed and fed messages as an ANSI
// window. The choice is made once, from the version word, the first time it is asked; no other
// file asks the version for it. Callers pass and receive UTF-8 and call the functions below,
// whose names end in U, instead of the A or W forms.
//
// A call that carries no text (a nameless event, a resource by number, a message without text
// sent to one of our own windows through SendMessageU) needs no wrapper of its own.
#include <windows.h>

#include <string>

// True when the program talks to Win32 in ANSI (the Windows 95 family).
bool AnsiWindows();

// Tests only: runs the rest of the process as the given family would. Must come before the
// first window class is registered.
void UseAnsiWindowsForTests(bool ansi);

// Text converted for the chosen form: ANSI (best fit, the system's own rule) on the 95 family,
// UTF-16 on NT. The pointers live as long as the object.
class TSysText {
public:
    explicit TSysText(const std::string& utf8);
    const char* A() const { return FAnsi.c_str(); }
    const wchar_t* W() const { return FWide.c_str(); }

private:
    std::string FAnsi;
    std::wstring FWide;
};

// Text that Win32 gave back, into UTF-8.
std::string FromSystemA(const char* text, size_t length);
std::string FromSystemW(const wchar_t* text, size_t length);
// A NUL-terminated buffer of either form, read up to its NUL or its capacity.
std::string FromSystemA(const char* buffer);
std::string FromSystemW(const wchar_t* buffer);

// A wide function of the shell, looked up by name; nullptr where the shell lacks it. The shell
// of the 95 family is not known to export its wide functions even as stubs, and the program
// must load there: they are called on NT only, and never imported.
template <typename Function>
Function ShellWideFunction(const char* name)
{
    const HMODULE shell = GetModuleHandleA("shell32.dll");
    return shell ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(shell, name)))
                 : nullptr;
}

// --- Windows and their messages ---------------------------------------------------------

// A window class of the program: name, procedure, cursor, icon (either may be null),
// background brush (null: the window paints its own) and class style.
struct TWindowClassU {
    std::string Name;
    WNDPROC Procedure = nullptr;
    HCURSOR Cursor = nullptr;
    HICON Icon = nullptr;
    HBRUSH Background = nullptr;
    UINT Style = 0;
};
// Registers the class unless this process already has one of that name. False when it cannot.
bool RegisterClassU(const TWindowClassU& windowClass);

HWND CreateWindowExU(DWORD exStyle, const std::string& className, const std::string& text,
                     DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                     void* param);
LRESULT DefWindowProcU(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcU(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam);
LONG_PTR GetWindowLongPtrU(HWND window, int index);
LONG_PTR SetWindowLongPtrU(HWND window, int index, LONG_PTR value);
// Classic subclassing, which every system has: puts procedure in the window's place and returns
// the one it replaced, for CallWindowProcU.
WNDPROC SubclassWindowU(HWND window, WNDPROC procedure);

// Messages without text, or whose text the caller has already put in the right form for
// AnsiWindows() (the Text* functions below do that).
LRESULT SendMessageU(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageU(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageTimeoutU(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, DWORD_PTR* result);
BOOL GetMessageU(MSG* msg, HWND window, UINT first, UINT last);
BOOL PeekMessageU(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
LRESULT DispatchMessageU(const MSG* msg);
BOOL IsDialogMessageU(HWND dialog, MSG* msg);
UINT RegisterWindowMessageU(const std::string& name);
HWND FindWindowU(const std::string& className, const std::string& title);

// A window's text (its caption, a control's contents).
void SetWindowTextU(HWND window, const std::string& text);
std::string GetWindowTextU(HWND window);
// The name of the window's class.
std::string GetClassNameU(HWND window);

int MessageBoxU(HWND owner, const std::string& text, const std::string& caption, UINT style);

// The control messages, menus and GDI calls with text: platform/win32/WinTextControls.h; files,
// the registry, profiles, processes and the shell: platform/win32/WinTextSystem.h.
