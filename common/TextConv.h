#pragma once
// Text conversions at the edge of the Win32 layer. Inside the program every string is UTF-8.
// The ANSI code page belongs to the system: platform/AnsiText.h.
#include <string>

// UTF-8 <-> UTF-16. Malformed input never fails: each bad sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
