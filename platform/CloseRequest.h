#pragma once
// Asks the running programs that a setup or an uninstaller is about to replace or remove to
// close, and waits a bounded time for each to end. No process is ever ended by force: one that
// stays is named to the caller, who asks the user whether to try again.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/ProcessWalk.h"
#include "platform/ProcessWindows.h"

struct TClosePorts {
    IProcessWalk& Processes;
    IProcessWindows& Windows;
    IClock& Clock;
};

// How long one process is given to end after it was asked.
constexpr uint32_t kCloseWaitMs = 10000;

struct TCloseResult {
    // True when none of the programs runs any more; false when the user gave up.
    bool Closed = false;
    // The program files of the processes that were asked to close (each once, as first given),
    // so that a setup can start again what was running.
    std::vector<std::string> WereRunning;
};

// Called with the full path of a program that is still running after its wait; true to ask
// every remaining one again, false to give up (a silent run gives up at once).
using TRetryQuestion = std::function<bool(const std::string& program)>;

// Asks every process whose program file is one of programFiles (full paths, compared without
// regard to case) to close, the caller's own process excepted, and waits up to waitMs for each.
// Where the walk names a process by its file alone (its path could not be read), a bare name
// names no file and the process is left alone, unless it owns a top-level window of
// windowClass: a program of that name with our main window is the program of the list, and is
// asked to close as such.
TCloseResult CloseProgramsUsing(const TClosePorts& ports,
                                const std::vector<std::string>& programFiles,
                                const TRetryQuestion& retry, const std::string& windowClass = "",
                                uint32_t waitMs = kCloseWaitMs);

// The program file of programFiles that a process stands for, as CloseProgramsUsing finds it:
// its own path, or, known by its file name alone, the listed file of that name when the process
// owns a top-level window of windowClass. "" for none.
std::string ListedProgramOf(const TClosePorts& ports, const TRunningProcess& process,
                            const std::vector<std::string>& programFiles,
                            const std::string& windowClass);
