#pragma once
// Port: the top-level windows of another process, through which it is asked to close the way
// the system asks at the end of a session, and whether a process has ended. A setup or an
// uninstaller uses it before it replaces or removes a program that is running.
#include <cstdint>
#include <string>
#include <vector>

// A window of another process, as the system names it.
using TWindowRef = uintptr_t;

class IProcessWindows {
public:
    virtual ~IProcessWindows() = default;
    // The process's top-level windows, hidden ones too (a tray program's only window is one).
    virtual std::vector<TWindowRef> TopLevelWindows(uint32_t processId) = 0;
    // Asks the window whether its program may close; a window that does not answer in time
    // counts as agreeing, since the wait for the process's end decides anyway.
    virtual bool QueryClose(TWindowRef window) = 0;
    // Tells the window that its program is to close now (ending), or that it stays (not ending,
    // because one of its windows declined).
    virtual void EndClose(TWindowRef window, bool ending) = 0;
    // True when the process is gone (also when it never existed).
    virtual bool HasEnded(uint32_t processId) = 0;
    // The name of the window's class; "" when the window is gone.
    virtual std::string ClassName(TWindowRef window) = 0;
};

// The system's windows. Linux has no counterpart: its stand-in lists no window and takes every
// process for ended.
IProcessWindows& SystemProcessWindows();
