#pragma once
// Text for the command interpreter. A batch file is read in the OEM code page (852 on a Polish
// Windows), which is not the ANSI one, so a path written in any other encoding would name a
// different file.
#include <string>

// Converts UTF-8 to the OEM code page. False when some character has no exact equivalent
// there: the system would put a substitute in its place, and in a command such as Erase a "?"
// is a wildcard. Linux has no OEM code page; its text stays UTF-8.
bool Utf8ToOem(const std::string& text, std::string& oem);
