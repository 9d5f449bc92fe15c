// The auto-reset event the notification thread waits on.
#include "platform/SyncEvent.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>

#include "support/PumpUntil.h"

namespace {

TEST(SyncEvent, OneWaitConsumesOneSetAndSettingTwiceStaysOneSignal)
{
    std::unique_ptr<ISyncEvent> event = CreateAutoResetEvent();
    ASSERT_NE(event, nullptr);
    event->Set();
    event->Set();
    EXPECT_TRUE(event->Wait());

    // The second Set collapsed into the first: this wait must block until the next Set. A
    // short look can only miss a fault here, never fail a sound event.
    auto second = std::async(std::launch::async, [&] { return event->Wait(); });
    EXPECT_EQ(second.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    event->Set();
    ASSERT_EQ(second.wait_for(kEventLimit), std::future_status::ready);
    EXPECT_TRUE(second.get());
}

}  // namespace
