#include <windows.h>

#include <utility>

#include "platform/SyncEvent.h"
#include "platform/win32/Win32Handles.h"

namespace {

class TWin32AutoResetEvent : public ISyncEvent {
public:
    explicit TWin32AutoResetEvent(TKernelHandle handle) : FHandle(std::move(handle)) {}

    void Set() override { SetEvent(FHandle.get()); }
    void Reset() override { ResetEvent(FHandle.get()); }
    bool Wait() override { return WaitFor(INFINITE); }
    bool WaitFor(uint32_t timeoutMs) override
    {
        return WaitForSingleObject(FHandle.get(), timeoutMs) == WAIT_OBJECT_0;
    }
    void* NativeHandle() override { return FHandle.get(); }

private:
    TKernelHandle FHandle;
};

}  // namespace

std::unique_ptr<ISyncEvent> CreateAutoResetEvent()
{
    // The owner counts as empty both NULL, CreateEvent's failure value, and the all-bits-set
    // value, which is no event but the pseudo-handle of the current process: neither is kept.
    // The event has no name, so the ANSI form serves every system.
    TKernelHandle handle(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!handle) return nullptr;
    return std::make_unique<TWin32AutoResetEvent>(std::move(handle));
}
