// Menus, fonts, drawing, the resources by number, and the parent of message windows.
#include "platform/win32/WinTextControls.h"

HWND MessageWindowParent()
{
    return AnsiWindows() ? nullptr : HWND_MESSAGE;
}

bool AppendMenuU(HMENU menu, UINT flags, UINT_PTR id, const std::string& text)
{
    // A separator carries no text.
    if (flags & MF_SEPARATOR) return AppendMenuA(menu, flags, id, nullptr) != FALSE;
    const TSysText sys(text);
    return (AnsiWindows() ? AppendMenuA(menu, flags, id, sys.A())
                          : AppendMenuW(menu, flags, id, sys.W())) != FALSE;
}

HFONT CreateFontU(int height, int weight, const std::string& face)
{
    const TSysText sys(face);
    if (AnsiWindows())
        return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, sys.A());
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, sys.W());
}

int DrawTextU(HDC dc, const std::string& text, RECT& rect, UINT format)
{
    const TSysText sys(text);
    if (AnsiWindows()) return DrawTextA(dc, sys.A(), -1, &rect, format);
    return DrawTextW(dc, sys.W(), -1, &rect, format);
}

int TextHeightU(HDC dc)
{
    if (AnsiWindows()) {
        TEXTMETRICA metrics{};
        return GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : 0;
    }
    TEXTMETRICW metrics{};
    return GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
}

HCURSOR SystemCursorU(LPCWSTR id)
{
    // IDC_* are numbers dressed as pointers; the number is the same in either form.
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(id));
}

HICON ProgramIconU(int resourceId, int width, int height, UINT flags)
{
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                         IMAGE_ICON, width, height, flags));
}
