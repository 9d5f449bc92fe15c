#pragma once
// The user-interface thread on Win32: a hidden window owned by the thread that creates the
// object (message-only where the system has such windows, a hidden top-level one on the
// Windows 95 family). Hand-overs are messages sent to it and timers are its window timers, so
// both run wherever that thread pumps messages, modal loops of the system included.
#include <windows.h>

#include <exception>
#include <map>

#include "platform/UiThread.h"
#include "platform/win32/Win32Handles.h"

class TWin32UiThread : public IUserInterfaceThread {
public:
    // Throws Exception when the window cannot be created.
    TWin32UiThread();
    // Owning thread. Timers still alive afterwards never tick again.
    ~TWin32UiThread() override;
    TWin32UiThread(const TWin32UiThread&) = delete;
    TWin32UiThread& operator=(const TWin32UiThread&) = delete;

    // From a worker: sends fn to the window and returns when the owning thread has run it; an
    // exception thrown by fn is thrown again here. On the owning thread: runs fn at once.
    void Synchronize(const std::function<void()>& fn) override;
    // Dispatches everything queued for the thread. A WM_QUIT is put back and ends the call, so
    // that the program's main loop still sees it. An exception from a timer tick leaves
    // through here (after the tick's dispatch returned).
    void ProcessMessages() override;
    void WaitForMessages(unsigned timeoutMs) override;
    std::unique_ptr<ITimer> CreateTimer(std::function<void()> onTick) override;

    class TTimer;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    TTimer* FindTimer(WPARAM id) const;
    void RethrowTickError();

    TWindowHandle FWindow;
    DWORD FThreadId;
    // Owning thread only: the window procedure finds timers here by their id, so a message for
    // a timer that has gone finds nothing.
    std::map<UINT_PTR, TTimer*> FTimers;
    UINT_PTR FNextTimerId = 1;
    // A timer tick that threw while dispatched: no exception may cross the system's frames.
    std::exception_ptr FTickError;
};
