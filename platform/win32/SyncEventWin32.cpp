#include <windows.h>

#include "platform/SyncEvent.h"

namespace {

class TWin32AutoResetEvent : public ISyncEvent {
public:
    explicit TWin32AutoResetEvent(HANDLE handle) : FHandle(handle) {}
    ~TWin32AutoResetEvent() override { CloseHandle(FHandle); }
    TWin32AutoResetEvent(const TWin32AutoResetEvent&) = delete;
    TWin32AutoResetEvent& operator=(const TWin32AutoResetEvent&) = delete;

    void Set() override { SetEvent(FHandle); }
    void Reset() override { ResetEvent(FHandle); }
    bool Wait() override { return WaitForSingleObject(FHandle, INFINITE) == WAIT_OBJECT_0; }
    void* NativeHandle() override { return FHandle; }

private:
    HANDLE FHandle;
};

}  // namespace

std::unique_ptr<ISyncEvent> CreateAutoResetEvent()
{
    HANDLE handle = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    // NULL is CreateEvent's failure value. The all-bits-set value is refused as well: it is no
    // event but the pseudo-handle of the current process.
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<TWin32AutoResetEvent>(handle);
}
