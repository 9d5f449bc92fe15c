#pragma once
// Port: the walk over the running processes, as the dialer sweep needs it: it lists them with
// the program file each runs and ends one of them by its identifier. How the system is asked
// (which of its ways of listing processes, which handles) stays inside the platform layer.
#include <cstdint>
#include <string>
#include <vector>

// One running process as the walk found it. Texts are UTF-8.
struct TRunningProcess {
    uint32_t Id = 0;
    // The file name of its program.
    std::string FileName;
    // The full path of its program; empty where the system gives only the file name.
    std::string FullPath;
    // The walk asks every process for its path, and this one would not give it: the process is
    // known by its file name alone. A list of program files leaves such a process out, since its
    // bare name names no file; a program file can still match it by that name.
    bool PathUnreadable = false;
};

class IProcessWalk {
public:
    virtual ~IProcessWalk() = default;
    // The running processes in the system's order; empty when the system cannot list them.
    // Processes the guard may not open are passed over where the walk must open them to name
    // them.
    virtual std::vector<TRunningProcess> ListProcesses() = 0;
    // Ends the process; false when it cannot be opened for that or refuses to end.
    virtual bool EndProcess(uint32_t processId) = 0;
    // The guard's own process, which it must never end.
    virtual uint32_t CurrentProcessId() = 0;
};

// The system's walk. On Windows it is made when first asked for, which the guard does while it
// starts. Linux has no counterpart: its stand-in lists nothing and ends nothing.
IProcessWalk& SystemProcessWalk();

// A walk that sees no process at all.
class TNoProcessWalk : public IProcessWalk {
public:
    std::vector<TRunningProcess> ListProcesses() override { return {}; }
    bool EndProcess(uint32_t) override { return false; }
    uint32_t CurrentProcessId() override { return 0; }
};

inline IProcessWalk& NoProcessWalk()
{
    static TNoProcessWalk walk;
    return walk;
}
