#pragma once
// The user-interface thread where there is no window system (Linux) and in the tests: a queue of
// hand-overs and a list of timers, both served only when the owning thread pumps them. It is
// built on the program's own locks and events, so the Windows build's tests use it too.
#include <cstddef>
#include <memory>

#include "platform/Clock.h"
#include "platform/Threads.h"
#include "platform/UiThread.h"

class TQueueUiThread : public IUserInterfaceThread {
public:
    // The calling thread becomes the user-interface thread. Timers measure their intervals with
    // clock, so a test can drive them with a clock of its own.
    explicit TQueueUiThread(IClock& clock);
    // Workers still blocked in Synchronize are released without their function having run.
    ~TQueueUiThread() override;
    TQueueUiThread(const TQueueUiThread&) = delete;
    TQueueUiThread& operator=(const TQueueUiThread&) = delete;

    // From a worker: queues fn and blocks until ProcessMessages has run it; an exception thrown
    // by fn is thrown again here, in the worker. On the user-interface thread: runs fn at once.
    void Synchronize(const std::function<void()>& fn) override;
    // Runs the hand-overs queued before the call, then the ticks of the timers that are due. An
    // exception from a timer tick leaves through here.
    void ProcessMessages() override;
    // Returns at once when a hand-over is queued or a timer is due, else waits (real time) until
    // one is or timeoutMs has passed.
    void WaitForMessages(unsigned timeoutMs) override;
    std::unique_ptr<ITimer> CreateTimer(std::function<void()> onTick) override;

    // Number of hand-overs that workers are waiting on. Any thread.
    size_t PendingHandOvers() const;

    struct TState;  // shared with the timers, which may outlive a pump

private:
    void RunHandOvers();
    void RunDueTimers();

    std::shared_ptr<TState> FState;
    TThreadId FOwner;
};
