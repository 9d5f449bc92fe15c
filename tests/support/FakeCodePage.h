#pragma once
// A code page that lacks the letters a test names, as a Western European Windows lacks "ł" in
// both its ANSI and its OEM code page. It lacks nothing until a test says.
#include <string>
#include <vector>

#include "platform/CodePages.h"

class TFakeCodePage : public ICodePage {
public:
    std::vector<std::string> Lacks;  // letters, in UTF-8

    bool Holds(const std::string& text) override
    {
        for (const std::string& letter : Lacks)
            if (text.find(letter) != std::string::npos) return false;
        return true;
    }
};
