#include "platform/SyncEvent.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// An auto-reset event built from a mutex and a condition variable: Set leaves the event
// signalled until exactly one Wait has consumed it; setting it again before that changes
// nothing, just as with a Win32 auto-reset event.
class TPosixAutoResetEvent : public ISyncEvent {
public:
    void Set() override
    {
        {
            std::lock_guard<std::mutex> lock(FLock);
            FSignalled = true;
        }
        FChanged.notify_one();
    }

    void Reset() override
    {
        std::lock_guard<std::mutex> lock(FLock);
        FSignalled = false;
    }

    bool Wait() override
    {
        std::unique_lock<std::mutex> lock(FLock);
        FChanged.wait(lock, [this] { return FSignalled; });
        FSignalled = false;
        return true;
    }

    bool WaitFor(uint32_t timeoutMs) override
    {
        std::unique_lock<std::mutex> lock(FLock);
        if (!FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [this] { return FSignalled; }))
            return false;
        FSignalled = false;
        return true;
    }

    // Linux has no handle that RAS could signal; the substitute RAS calls Set instead.
    void* NativeHandle() override { return nullptr; }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FSignalled = false;
};

}  // namespace

std::unique_ptr<ISyncEvent> CreateAutoResetEvent()
{
    return std::make_unique<TPosixAutoResetEvent>();
}
