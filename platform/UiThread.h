#pragma once
// Port: the user-interface thread. Everything but the RAS notification worker and the RAS dial
// callback runs on it; those two hand their work over through this port.
#include <functional>
#include <memory>

// A one-shot or repeating timer whose tick runs on the user-interface thread.
class ITimer {
public:
    virtual ~ITimer() = default;
    // Starts (or restarts) the timer. May be called from any thread: the tick still runs on the
    // user-interface thread.
    virtual void Start(unsigned intervalMs) = 0;
    // Stops the timer; a tick that has not run yet will not run. User-interface thread only.
    virtual void Stop() = 0;
    virtual bool Enabled() const = 0;
};

class IUserInterfaceThread {
public:
    virtual ~IUserInterfaceThread() = default;
    // Called from a worker thread: runs fn on the user-interface thread and returns when it has
    // run; an exception thrown by fn is thrown again in the worker. Called on the user-interface
    // thread itself, it simply runs fn.
    virtual void Synchronize(const std::function<void()>& fn) = 0;
    // User-interface thread: runs everything that is pending (hand-overs, timer ticks, window
    // messages) and returns.
    virtual void ProcessMessages() = 0;
    // User-interface thread: blocks for at most timeoutMs or until something is pending.
    virtual void WaitForMessages(unsigned timeoutMs) = 0;
    // A timer bound to this thread. onTick runs on the user-interface thread.
    virtual std::unique_ptr<ITimer> CreateTimer(std::function<void()> onTick) = 0;
};
