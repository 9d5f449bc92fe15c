// The program's own process and its children over the wide Win32 functions.
#include <vector>

#include "platform/Processes.h"
#include "platform/win32/Win32Text.h"

namespace {

// Milliseconds left of a limit that started at start (GetTickCount wraps; the difference does not).
DWORD Remaining(DWORD start, DWORD limit)
{
    DWORD spent = GetTickCount() - start;
    return spent >= limit ? 0 : limit - spent;
}

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
        PROCESS_INFORMATION info;
        if (!Create(commandLine, showCommand, info)) return false;
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return true;
    }

    int RunAndWait(const std::string& commandLine, int showCommand, uint32_t timeoutMs) override
    {
        PROCESS_INFORMATION info;
        if (!Create(commandLine, showCommand, info)) return kRunNotStarted;

        const DWORD start = GetTickCount();
        // A console program has no input queue: WaitForInputIdle then fails at once, which is fine.
        WaitForInputIdle(info.hProcess, Remaining(start, timeoutMs));
        int result;
        if (WaitForSingleObject(info.hProcess, Remaining(start, timeoutMs)) != WAIT_OBJECT_0) {
            TerminateProcess(info.hProcess, 0xFFFFFFFF);
            WaitForSingleObject(info.hProcess, 5000);
            result = kRunTimedOut;
        } else {
            WaitForSingleObject(info.hThread, Remaining(start, timeoutMs));
            DWORD code = 0;
            result = GetExitCodeProcess(info.hProcess, &code) ? static_cast<int>(code) : kRunNoExitCode;
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return result;
    }

private:
    static bool Create(const std::string& commandLine, int showCommand, PROCESS_INFORMATION& info)
    {
        STARTUPINFOW startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        ZeroMemory(&info, sizeof info);
        // CreateProcessW may write into the command line: it gets a copy of its own.
        std::wstring line = Wide(commandLine);
        std::vector<wchar_t> buffer(line.begin(), line.end());
        buffer.push_back(L'\0');
        return CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                              nullptr, nullptr, &startup, &info) != 0;
    }
};

}  // namespace

IProcesses& SystemProcesses()
{
    static TWin32Processes processes;
    return processes;
}
