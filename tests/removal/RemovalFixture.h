#pragma once
// Removal over the fakes, with both file hooks recording what they are told.
#include <string>
#include <vector>

#include "tests/dialers/ToolsFixture.h"

class RemovalFixture : public ToolsFixture {
protected:
    std::vector<std::string> Events;

    void SetUp() override
    {
        ToolsFixture::SetUp();
        OnFileCopied = [this](const std::string& source, const std::string& destination, bool ok) {
            Events.push_back("copied " + source + " -> " + destination + (ok ? " ok" : " failed"));
        };
        OnFileDeleted = [this](const std::string& path, bool ok) {
            Events.push_back("deleted " + path + (ok ? " ok" : " failed"));
        };
    }
    void TearDown() override
    {
        OnFileCopied = nullptr;
        OnFileDeleted = nullptr;
    }
};
