#pragma once
// Scripted child processes and shell: they record what the program asked for and answer as the
// test says.
#include <functional>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/Shell.h"

class TFakeProcesses : public IProcesses {
public:
    struct TRun {
        std::string CommandLine;
        int ShowCommand;
        uint32_t TimeoutMs;
    };

    std::string Program = "C:\\Guard\\MLinewarden.exe";
    // Answers each run; without one every run fails to start.
    std::function<int(const std::string& commandLine)> OnRun;
    std::vector<TRun> Runs;

    std::string ProgramPath() override { return Program; }
    int RunAndWait(const std::string& commandLine, int showCommand, uint32_t timeoutMs) override
    {
        Runs.push_back({commandLine, showCommand, timeoutMs});
        return OnRun ? OnRun(commandLine) : kRunNotStarted;
    }
};

class TFakeShell : public IShell {
public:
    struct TCall {
        void* Owner;
        std::string Verb, File, Parameters, Folder;
        int ShowCommand;
    };
    std::vector<TCall> Calls;

    bool Execute(void* owner, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& folder, int showCommand) override
    {
        Calls.push_back({owner, verb, file, parameters, folder, showCommand});
        return true;
    }
};
