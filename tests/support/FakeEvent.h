#pragma once
// An event that never blocks and only counts how often it was set; it reports the handle it
// was given as its platform handle.
#include <atomic>

#include "platform/SyncEvent.h"

class TFakeEvent : public ISyncEvent {
public:
    explicit TFakeEvent(void* handle = nullptr) : FHandle(handle) {}
    void Set() override { ++Sets; }
    void Reset() override {}
    bool Wait() override { return true; }
    bool WaitFor(uint32_t) override { return true; }
    void* NativeHandle() override { return FHandle; }

    std::atomic<int> Sets{0};

private:
    void* FHandle;
};
