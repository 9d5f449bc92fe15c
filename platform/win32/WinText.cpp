#include "platform/win32/WinText.h"

#include <vector>

#include "platform/AnsiText.h"
#include "platform/SystemVersion.h"
#include "platform/win32/Win32Text.h"

namespace {

// -1 until the first question; then 0 (NT) or 1 (the 95 family) for the rest of the run.
int gAnsi = -1;

const char* OrNull(const TSysText& text, const std::string& utf8)
{
    return utf8.empty() ? nullptr : text.A();
}

const wchar_t* OrNullW(const TSysText& text, const std::string& utf8)
{
    return utf8.empty() ? nullptr : text.W();
}

}  // namespace

bool AnsiWindows()
{
    if (gAnsi < 0) gAnsi = IsWindows95Family(SystemVersionWord()) ? 1 : 0;
    return gAnsi == 1;
}

void UseAnsiWindowsForTests(bool ansi)
{
    gAnsi = ansi ? 1 : 0;
}

TSysText::TSysText(const std::string& utf8)
{
    if (AnsiWindows())
        FAnsi = Utf8ToAnsi(utf8);
    else
        FWide = Wide(utf8);
}

std::string FromSystemA(const char* text, size_t length)
{
    return AnsiToUtf8(std::string(text, length));
}

std::string FromSystemW(const wchar_t* text, size_t length)
{
    return Narrow(text, length);
}

std::string FromSystemA(const char* buffer)
{
    return FromSystemA(buffer, buffer ? lstrlenA(buffer) : 0);
}

std::string FromSystemW(const wchar_t* buffer)
{
    return FromSystemW(buffer, buffer ? static_cast<size_t>(lstrlenW(buffer)) : 0);
}

namespace {

// The class record of either form, which differ only in the type of the name.
template <typename Record, typename Char>
Record ClassRecord(const TWindowClassU& windowClass, HINSTANCE instance, const Char* name)
{
    Record wc{};
    wc.style = windowClass.Style;
    wc.lpfnWndProc = windowClass.Procedure;
    wc.hInstance = instance;
    wc.hIcon = windowClass.Icon;
    wc.hCursor = windowClass.Cursor;
    wc.hbrBackground = windowClass.Background;
    wc.lpszClassName = name;
    return wc;
}

}  // namespace

bool RegisterClassU(const TWindowClassU& windowClass)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const TSysText name(windowClass.Name);
    if (AnsiWindows()) {
        WNDCLASSA existing{};
        if (GetClassInfoA(instance, name.A(), &existing)) return true;
        const WNDCLASSA wc = ClassRecord<WNDCLASSA>(windowClass, instance, name.A());
        return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, name.W(), &existing)) return true;
    const WNDCLASSW wc = ClassRecord<WNDCLASSW>(windowClass, instance, name.W());
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateWindowExU(DWORD exStyle, const std::string& className, const std::string& text,
                     DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                     void* param)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const TSysText classText(className);
    const TSysText windowText(text);
    if (AnsiWindows())
        return CreateWindowExA(exStyle, classText.A(), OrNull(windowText, text), style, x, y,
                               width, height, parent, menu, instance, param);
    return CreateWindowExW(exStyle, classText.W(), OrNullW(windowText, text), style, x, y, width,
                           height, parent, menu, instance, param);
}

LRESULT DefWindowProcU(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return AnsiWindows() ? DefWindowProcA(window, message, wParam, lParam)
                         : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CallWindowProcU(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam)
{
    return AnsiWindows() ? CallWindowProcA(procedure, window, message, wParam, lParam)
                         : CallWindowProcW(procedure, window, message, wParam, lParam);
}

LONG_PTR GetWindowLongPtrU(HWND window, int index)
{
    return AnsiWindows() ? GetWindowLongPtrA(window, index) : GetWindowLongPtrW(window, index);
}

LONG_PTR SetWindowLongPtrU(HWND window, int index, LONG_PTR value)
{
    return AnsiWindows() ? SetWindowLongPtrA(window, index, value)
                         : SetWindowLongPtrW(window, index, value);
}

WNDPROC SubclassWindowU(HWND window, WNDPROC procedure)
{
    return reinterpret_cast<WNDPROC>(
            SetWindowLongPtrU(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

LRESULT SendMessageU(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return AnsiWindows() ? SendMessageA(window, message, wParam, lParam)
                         : SendMessageW(window, message, wParam, lParam);
}

BOOL PostMessageU(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return AnsiWindows() ? PostMessageA(window, message, wParam, lParam)
                         : PostMessageW(window, message, wParam, lParam);
}

LRESULT SendMessageTimeoutU(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, DWORD_PTR* result)
{
    return AnsiWindows()
                   ? SendMessageTimeoutA(window, message, wParam, lParam, flags, timeoutMs, result)
                   : SendMessageTimeoutW(window, message, wParam, lParam, flags, timeoutMs,
                                         result);
}

BOOL GetMessageU(MSG* msg, HWND window, UINT first, UINT last)
{
    return AnsiWindows() ? GetMessageA(msg, window, first, last)
                         : GetMessageW(msg, window, first, last);
}

BOOL PeekMessageU(MSG* msg, HWND window, UINT first, UINT last, UINT remove)
{
    return AnsiWindows() ? PeekMessageA(msg, window, first, last, remove)
                         : PeekMessageW(msg, window, first, last, remove);
}

LRESULT DispatchMessageU(const MSG* msg)
{
    return AnsiWindows() ? DispatchMessageA(msg) : DispatchMessageW(msg);
}

BOOL IsDialogMessageU(HWND dialog, MSG* msg)
{
    return AnsiWindows() ? IsDialogMessageA(dialog, msg) : IsDialogMessageW(dialog, msg);
}

UINT RegisterWindowMessageU(const std::string& name)
{
    const TSysText text(name);
    return AnsiWindows() ? RegisterWindowMessageA(text.A()) : RegisterWindowMessageW(text.W());
}

HWND FindWindowU(const std::string& className, const std::string& title)
{
    const TSysText classText(className);
    const TSysText titleText(title);
    if (AnsiWindows())
        return FindWindowA(OrNull(classText, className), OrNull(titleText, title));
    return FindWindowW(OrNullW(classText, className), OrNullW(titleText, title));
}

void SetWindowTextU(HWND window, const std::string& text)
{
    const TSysText sys(text);
    if (AnsiWindows())
        SetWindowTextA(window, sys.A());
    else
        SetWindowTextW(window, sys.W());
}

std::string GetWindowTextU(HWND window)
{
    if (AnsiWindows()) {
        const int length = GetWindowTextLengthA(window);
        if (length <= 0) return "";
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        const int copied = GetWindowTextA(window, text.data(), length + 1);
        return FromSystemA(text.data(), copied > 0 && copied <= length ? copied : 0);
    }
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return "";
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    return FromSystemW(text.data(), copied > 0 && copied <= length ? copied : 0);
}

std::string GetClassNameU(HWND window)
{
    // A class name has at most 256 characters.
    if (AnsiWindows()) {
        char name[257] = {};
        const int length = GetClassNameA(window, name, 257);
        return FromSystemA(name, length > 0 && length <= 256 ? length : 0);
    }
    wchar_t name[257] = {};
    const int length = GetClassNameW(window, name, 257);
    return FromSystemW(name, length > 0 && length <= 256 ? length : 0);
}

int MessageBoxU(HWND owner, const std::string& text, const std::string& caption, UINT style)
{
    // MessageBoxW is one of the few wide functions the 95 family really has; it converts
    // through the ANSI code page itself.
    return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), style);
}
