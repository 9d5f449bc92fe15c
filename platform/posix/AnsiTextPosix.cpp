// Linux has no ANSI code page of its own: its "ANSI" text is UTF-8 already.
#include "platform/AnsiText.h"

std::string Utf8ToAnsi(const std::string& text)
{
    return text;
}
std::string AnsiToUtf8(const std::string& text)
{
    return text;
}
