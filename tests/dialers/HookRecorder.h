#pragma once
// Sets both file hooks of a ports bundle and records every call as a line
// ("copied A -> B ok", "deleted A failed"), in the order the hooks fire.
#include <string>
#include <vector>

#include "dialers/ToolsPorts.h"

class THookRecorder {
public:
    explicit THookRecorder(TToolsPorts& ports)
    {
        ports.OnFileCopied = [this](const std::string& source, const std::string& destination,
                                    bool ok) {
            Events.push_back("copied " + source + " -> " + destination + (ok ? " ok" : " failed"));
        };
        ports.OnFileDeleted = [this](const std::string& path, bool ok) {
            Events.push_back("deleted " + path + (ok ? " ok" : " failed"));
        };
    }
    THookRecorder(const THookRecorder&) = delete;
    THookRecorder& operator=(const THookRecorder&) = delete;

    std::vector<std::string> Events;
};
