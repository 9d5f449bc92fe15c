// The program's own process and its children.
#include "platform/ChildPrograms.h"
#include "platform/SystemVersion.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WinTextSystem.h"

namespace {

// Milliseconds left of a limit that started at start (GetTickCount wraps; the difference does not).
DWORD Remaining(DWORD start, DWORD limit)
{
    DWORD spent = GetTickCount() - start;
    return spent >= limit ? 0 : limit - spent;
}

// The command interpreter the system names; "" when it names none.
std::string Comspec()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("COMSPEC", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? FromSystemA(path, length) : std::string();
}

// A started child: its process and its first thread.
struct TChild {
    TKernelHandle Process, Thread;
};

class TWin32Processes : public IProcesses {
public:
    std::string ProgramPath() override { return GetModuleFileNameU(nullptr); }

    bool Start(const std::string& commandLine, int showCommand) override
    {
        TChild child;
        return Create(commandLine, showCommand, child);
    }

    int RunAndWait(const std::string& commandLine, int showCommand, uint32_t timeoutMs) override
    {
        TChild child;
        if (!Create(commandLine, showCommand, child)) return kRunNotStarted;
        const HANDLE process = child.Process.get();

        const DWORD start = GetTickCount();
        // A console program has no input queue: WaitForInputIdle then fails at once, which is fine.
        WaitForInputIdle(process, Remaining(start, timeoutMs));
        if (WaitForSingleObject(process, Remaining(start, timeoutMs)) != WAIT_OBJECT_0) {
            TerminateProcess(process, 0xFFFFFFFF);
            WaitForSingleObject(process, 5000);
            return kRunTimedOut;
        }
        WaitForSingleObject(child.Thread.get(), Remaining(start, timeoutMs));
        DWORD code = 0;
        return GetExitCodeProcess(process, &code) ? static_cast<int>(code) : kRunNoExitCode;
    }

private:
    static bool Create(const std::string& commandLine, int showCommand, TChild& child)
    {
        PROCESS_INFORMATION info;
        const std::string line =
                CommandLineForStart(commandLine, IsWindows95Family(SystemVersionWord()), Comspec());
        if (!CreateProcessU(line, NORMAL_PRIORITY_CLASS, static_cast<WORD>(showCommand), info))
            return false;
        child.Process.reset(info.hProcess);
        child.Thread.reset(info.hThread);
        return true;
    }
};

}  // namespace

IProcesses& SystemProcesses()
{
    static TWin32Processes processes;
    return processes;
}
