// The auto-reset event the notification thread waits on.
#include "platform/SyncEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "platform/Clock.h"
#include "platform/Threads.h"
#include "support/Watchdog.h"

namespace {

TEST(SyncEvent, OneWaitConsumesOneSetAndSettingTwiceStaysOneSignal)
{
    TWatchdog watchdog("event");
    std::unique_ptr<ISyncEvent> event = CreateAutoResetEvent();
    ASSERT_NE(event, nullptr);
    event->Set();
    event->Set();
    EXPECT_TRUE(event->Wait());

    // The second Set collapsed into the first: this wait runs out. A short look can only miss
    // a fault here, never fail a sound event.
    EXPECT_FALSE(event->WaitFor(100));

    // A Set ends a wait already under way in another thread, and is consumed by it.
    std::atomic<bool> woke{false};
    TWorkerThread waiter([&] { woke = event->Wait(); });
    SystemClock().Sleep(50);
    event->Set();
    waiter.Join();
    EXPECT_TRUE(woke);
    EXPECT_FALSE(event->WaitFor(0));
}

}  // namespace
