#pragma once
// Helpers for tests that involve threads: a watchdog that turns a deadlock into a failure, a
// clock the test controls, and a RAS stand-in that only knows connection notification.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "common/Errors.h"
#include "dialup/RasApi.h"
#include "support/FakeClock.h"

// Aborts the test program when the scope is not left within the limit: a hang must fail the
// run, not stall it.
class TWatchdog {
public:
    explicit TWatchdog(unsigned limitMs, const char* what) : FWhat(what)
    {
        FThread = std::thread([this, limitMs] {
            std::unique_lock<std::mutex> lock(FLock);
            if (!FDone.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return FLeft; })) {
                std::fprintf(stderr, "Watchdog: %s did not finish within %u ms\n", FWhat, limitMs);
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

private:
    const char* FWhat;
    std::mutex FLock;
    std::condition_variable FDone;
    bool FLeft = false;
    std::thread FThread;
};

// Only RasConnectionNotification does anything: it keeps the event so that the test can play
// RAS and signal it, answers with Result, or fails like a RAS library that lacks the function.
class TFakeNotificationRas : public IRasApi {
public:
    static constexpr uint32_t kNotUsed = 120;  // ERROR_CALL_NOT_IMPLEMENTED

    uint32_t Result = 0;
    bool MissingFunction = false;

    int Calls = 0;
    THRasConn Connection = 0;
    ISyncEvent* Event = nullptr;
    uint32_t Flags = 0;

    uint32_t RasConnectionNotification(THRasConn connection, ISyncEvent* event,
                                       uint32_t flags) override
    {
        ++Calls;
        if (MissingFunction)
            throw Exception("Function RasConnectionNotification not found!");
        Connection = connection;
        Event = event;
        Flags = flags;
        return Result;
    }

    uint32_t RasEnumEntries(TRasEntryNameA*, uint32_t*, uint32_t*) override { return kNotUsed; }
    uint32_t RasEnumConnections(TRasConnA*, uint32_t*, uint32_t*) override { return kNotUsed; }
    uint32_t RasGetConnectStatus(THRasConn, TRasConnStatusA*) override { return kNotUsed; }
    uint32_t RasHangUp(THRasConn) override { return kNotUsed; }
    uint32_t RasGetErrorString(uint32_t, char*, uint32_t) override { return kNotUsed; }
    uint32_t RasGetEntryDialParams(TRasDialParamsA*, int32_t*) override { return kNotUsed; }
    uint32_t RasGetEntryProperties(const char*, TRasEntryA*, uint32_t*) override
    {
        return kNotUsed;
    }
    uint32_t RasDeleteEntry(const char*) override { return kNotUsed; }
    uint32_t RasDial(TRasDialParamsA*, TRasDialFunc, THRasConn*) override { return kNotUsed; }
};

inline uint32_t ElapsedMs(std::chrono::steady_clock::time_point since)
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - since).count());
}
