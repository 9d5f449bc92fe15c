#pragma once
// Conversions between the program's UTF-8 strings and the wide strings of Win32 (the ANSI code
// page: platform/AnsiText.h).
#include <windows.h>

#include <string>

#include "common/TextConv.h"

inline std::wstring Wide(const std::string& text)
{
    std::u16string u = Utf8ToUtf16(text);
    return std::wstring(u.begin(), u.end());
}

inline std::string Narrow(const wchar_t* text, size_t length)
{
    return Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(text), length));
}

inline std::string Narrow(const std::wstring& text)
{
    return Narrow(text.data(), text.size());
}
