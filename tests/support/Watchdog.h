#pragma once
// Turns a deadlock into a failure: a test that involves threads keeps one alive for as long as
// it may block, and the test program aborts when the scope is not left within the limit. The
// limit is far beyond any event a test waits for (see PumpUntil.h), so only a real hang
// reaches it.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

class TWatchdog {
public:
    explicit TWatchdog(const char* what, std::chrono::seconds limit = std::chrono::seconds(60))
        : FWhat(what)
    {
        FThread = std::thread([this, limit] {
            std::unique_lock<std::mutex> lock(FLock);
            if (!FDone.wait_for(lock, limit, [this] { return FLeft; })) {
                std::fprintf(stderr, "Watchdog: %s did not finish within %d s\n", FWhat,
                             static_cast<int>(limit.count()));
                std::fflush(stderr);
                std::abort();
            }
        });
    }
    ~TWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(FLock);
            FLeft = true;
        }
        FDone.notify_all();
        FThread.join();
    }
    TWatchdog(const TWatchdog&) = delete;
    TWatchdog& operator=(const TWatchdog&) = delete;

private:
    const char* FWhat;
    std::mutex FLock;
    std::condition_variable FDone;
    bool FLeft = false;
    std::thread FThread;
};
