#pragma once
// Port: text in the system's ANSI code page, for records and functions that are ANSI by nature
// (the RAS "A" functions, process entries, the uninstall log). Inside the program
// every string is UTF-8; these convert at that edge. Linux has no ANSI code page of its own:
// its "ANSI" text is UTF-8 already.
#include <string>

std::string Utf8ToAnsi(const std::string& text);
std::string AnsiToUtf8(const std::string& text);
