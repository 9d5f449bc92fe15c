#pragma once
// A clock whose time moves only when the code under test waits on it or the test moves it, so
// that waiting loops and timers run without real time passing. Workers may read and sleep on
// it while the test thread moves it.
#include <atomic>
#include <cstdint>

#include "platform/Clock.h"
#include "platform/Threads.h"

class TFakeClock : public IClock {
public:
    // Starts close to the wrap of the tick count, as GetTickCount is after 49 days, so that
    // every interval the code measures crosses it.
    static constexpr uint32_t kStart = 0xFFFFF000u;

    uint32_t TickCount() override { return FNow; }
    // Every wait lets time pass, even a yield (one millisecond), so that a loop that only
    // yields still reaches its limit.
    void Sleep(uint32_t ms) override
    {
        FNow += ms ? ms : 1;
        YieldThread();
    }
    void Advance(uint32_t ms) { FNow += ms; }

private:
    std::atomic<uint32_t> FNow{kStart};
};
