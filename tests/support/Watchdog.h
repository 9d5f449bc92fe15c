#pragma once
// Turns a deadlock into a failure: a test that involves threads keeps one alive for as long as
// it may block, and the test program aborts when the scope is not left within the limit. The
// limit is far beyond any event a test waits for (see PumpUntil.h), so only a real hang
// reaches it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/SyncEvent.h"
#include "platform/Threads.h"

class TWatchdog {
public:
    explicit TWatchdog(const char* what, std::chrono::seconds limit = std::chrono::seconds(60))
        : FWhat(what), FLeft(CreateAutoResetEvent())
    {
        if (!FLeft) std::abort();
        const auto limitMs = static_cast<uint32_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(limit).count());
        FThread = std::make_unique<TWorkerThread>([this, limitMs] {
            if (!FLeft->WaitFor(limitMs)) {
                std::fprintf(stderr, "Watchdog: %s did not finish within %u s\n", FWhat,
                             static_cast<unsigned>(limitMs / 1000));
                std::fflush(stderr);
                std::abort();
            }
        });
    }
    ~TWatchdog()
    {
        FLeft->Set();
        FThread->Join();
    }
    TWatchdog(const TWatchdog&) = delete;
    TWatchdog& operator=(const TWatchdog&) = delete;

private:
    const char* FWhat;
    std::unique_ptr<ISyncEvent> FLeft;
    std::unique_ptr<TWorkerThread> FThread;
};
