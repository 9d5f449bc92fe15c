#pragma once
// Removal over the fakes, with both file hooks recording what they are told.
#include <string>
#include <vector>

#include "tests/dialers/ToolsFixture.h"
#include "tests/dialers/HookRecorder.h"

class RemovalFixture : public ToolsFixture {
protected:
    THookRecorder Hooks{Ports};
    std::vector<std::string>& Events = Hooks.Events;

    // A bundle over another file system that reports to the same recorder.
    TToolsPorts PortsOver(IFileSystem& files)
    {
        TToolsPorts ports{Registry, files, Processes, Shell, Ports.ProgramPath};
        ports.OnFileCopied = Ports.OnFileCopied;
        ports.OnFileDeleted = Ports.OnFileDeleted;
        return ports;
    }
};
