#pragma once
// Text conversions at the edge of the Win32 layer. Inside the program every string is UTF-8.
#include <string>

// UTF-8 <-> UTF-16. Malformed input never fails: each bad sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

// UTF-8 <-> the system's ANSI code page, for records and functions that are ANSI by nature
// (the RAS "A" functions, process entries, IShellLinkA). Implemented per platform: the Win32
// layer uses the ANSI code page, Linux keeps UTF-8 as its "ANSI" text.
std::string Utf8ToAnsi(const std::string& text);
std::string AnsiToUtf8(const std::string& text);
