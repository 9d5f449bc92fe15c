// The close request over the window manager: the top-level windows of a process, the two
// messages of the end of a session, and a wait handle on the process.
#include <windows.h>

#include "platform/ProcessWindows.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WinText.h"

#ifndef ENDSESSION_CLOSEAPP
#define ENDSESSION_CLOSEAPP 0x00000001
#endif

namespace {

// A window that does not answer within this time is taken as hung; the process's wait decides.
constexpr UINT kAnswerTimeoutMs = 5000;
// A process with more windows than this is asked through the first ones only; the list comes
// from the system and is not to grow without end.
constexpr size_t kMaxWindows = 4096;

struct TWindowSearch {
    DWORD ProcessId;
    std::vector<TWindowRef> Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    TWindowSearch& search = *reinterpret_cast<TWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.ProcessId) search.Found.push_back(reinterpret_cast<TWindowRef>(window));
    return search.Found.size() < kMaxWindows;
}

class TWin32ProcessWindows : public IProcessWindows {
public:
    std::vector<TWindowRef> TopLevelWindows(uint32_t processId) override
    {
        TWindowSearch search{processId, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        return search.Found;
    }

    bool QueryClose(TWindowRef window) override
    {
        DWORD_PTR answer = TRUE;
        if (!SendMessageTimeoutU(reinterpret_cast<HWND>(window), WM_QUERYENDSESSION, 0,
                                 ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                                 kAnswerTimeoutMs, &answer))
            return true;
        return answer != FALSE;
    }

    void EndClose(TWindowRef window, bool ending) override
    {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutU(reinterpret_cast<HWND>(window), WM_ENDSESSION, ending ? TRUE : FALSE,
                            ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG | SMTO_NORMAL, kAnswerTimeoutMs,
                            &ignored);
    }

    bool HasEnded(uint32_t processId) override
    {
        TKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
        // No such process any more. A process that may not be waited on is taken as running:
        // the user is told of it rather than its files pulled from under it.
        if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
        return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
    }

    std::string ClassName(TWindowRef window) override
    {
        return GetClassNameU(reinterpret_cast<HWND>(window));
    }
};

}  // namespace

IProcessWindows& SystemProcessWindows()
{
    static TWin32ProcessWindows windows;
    return windows;
}
