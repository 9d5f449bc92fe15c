#pragma once
// Port: the clock. Waiting loops take their time from here so that tests can run them fast.
#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since an arbitrary start; wraps like GetTickCount.
    virtual uint32_t TickCount() = 0;
    // Gives up the processor for at least ms milliseconds (0: yield the rest of the time slice).
    virtual void Sleep(uint32_t ms) = 0;
};

IClock& SystemClock();
