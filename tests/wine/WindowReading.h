#pragma once
// The text and the class of a window of any process, in UTF-8, for the Wine tests that read
// windows the program under test built.
#include <windows.h>

#include <string>

#include "platform/win32/Win32Text.h"

// Asked of the window itself, which works across processes.
inline std::string TextOf(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &length);
    return Narrow(text, wcsnlen(text, 1024));
}

inline std::string ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name, wcsnlen(name, 64));
}
