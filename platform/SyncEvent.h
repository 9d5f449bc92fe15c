#pragma once
// Port: an unnamed auto-reset event object, the thing RAS signals on every change of the set of
// connections and the notification worker waits on. It is also how the program's other threads
// wait for one another, since the Windows build has no condition variables.
#include <cstdint>
#include <memory>

class ISyncEvent {
public:
    virtual ~ISyncEvent() = default;
    virtual void Set() = 0;
    virtual void Reset() = 0;
    // Waits without time-out. True when the event was signalled, false when the wait failed.
    virtual bool Wait() = 0;
    // Waits at most timeoutMs. True when the event was signalled, false when the time ran out
    // or the wait failed.
    virtual bool WaitFor(uint32_t timeoutMs) = 0;
    // The platform's own handle (a Win32 HANDLE), handed to RAS; nullptr where there is none.
    virtual void* NativeHandle() = 0;
};

// A new auto-reset, initially unsignalled event; nullptr when the platform cannot make one.
std::unique_ptr<ISyncEvent> CreateAutoResetEvent();
