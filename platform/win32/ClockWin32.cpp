#include <windows.h>

#include "platform/Clock.h"

namespace {

class TWin32Clock : public IClock {
public:
    uint32_t TickCount() override { return GetTickCount(); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }
};

}  // namespace

IClock& SystemClock()
{
    static TWin32Clock clock;
    return clock;
}
