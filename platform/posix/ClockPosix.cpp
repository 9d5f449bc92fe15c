#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace {

class TPosixClock : public IClock {
public:
    uint32_t TickCount() override
    {
        using namespace std::chrono;
        return static_cast<uint32_t>(
                duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Sleep(uint32_t ms) override
    {
        if (ms == 0)
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

}  // namespace

IClock& SystemClock()
{
    static TPosixClock clock;
    return clock;
}
