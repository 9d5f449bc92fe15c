// The program's own process and its children over the wide Win32 functions.
#include <vector>

#include "platform/ChildPrograms.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

namespace {

// Milliseconds left of a limit that started at start (GetTickCount wraps; the difference does not).
DWORD Remaining(DWORD start, DWORD limit)
{
    DWORD spent = GetTickCount() - start;
    return spent >= limit ? 0 : limit - spent;
}

// A started child: its process and its first thread.
struct TChild {
    TKernelHandle Process, Thread;
};

class TWin32Processes : public IProcesses {
public:
    std::string ProgramPath() override
    {
        std::vector<wchar_t> buffer(MAX_PATH);
        for (;;) {
            DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (n == 0) return std::string();
            if (n < buffer.size()) return Narrow(buffer.data(), n);
            if (buffer.size() >= 32768) return std::string();
            buffer.resize(buffer.size() * 2);
        }
    }

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
        STARTUPINFOW startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION info;
        ZeroMemory(&info, sizeof info);
        // CreateProcessW may write into the command line: it gets a copy of its own.
        std::wstring line = Wide(commandLine);
        std::vector<wchar_t> buffer(line.begin(), line.end());
        buffer.push_back(L'\0');
        if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                            nullptr, nullptr, &startup, &info))
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
