#pragma once
// For the helper programs that drive another program's windows in the Wine runs: a line of
// UTF-8 on standard output, and the text of a window of any process.
#include <windows.h>

#include <string>

inline void Print(const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return;
    std::string bytes(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(n - 1), &written, nullptr);
}

// Asked of the window itself: GetWindowText gives another program's edit control no text.
inline std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) ||
        length == 0 || length > 32768)
        return L"";
    std::wstring text(size_t(length) + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, WPARAM(text.size()), LPARAM(&text[0]),
                             SMTO_ABORTIFHUNG, 2000, &got))
        return L"";
    text.resize(got < text.size() ? size_t(got) : 0);
    return text;
}
