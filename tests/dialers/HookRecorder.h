#pragma once
// Installs both file hooks of the removal code for as long as it lives and records every call
// as a line ("copied A -> B ok", "deleted A failed"), in the order the hooks fire.
#include <string>
#include <vector>

#include "dialers/Removal.h"

class THookRecorder {
public:
    THookRecorder()
    {
        OnFileCopied = [this](const std::string& source, const std::string& destination, bool ok) {
            Events.push_back("copied " + source + " -> " + destination + (ok ? " ok" : " failed"));
        };
        OnFileDeleted = [this](const std::string& path, bool ok) {
            Events.push_back("deleted " + path + (ok ? " ok" : " failed"));
        };
    }
    ~THookRecorder()
    {
        OnFileCopied = nullptr;
        OnFileDeleted = nullptr;
    }
    THookRecorder(const THookRecorder&) = delete;
    THookRecorder& operator=(const THookRecorder&) = delete;

    std::vector<std::string> Events;
};
