// The user-interface thread of the tests and of Linux, and the auto-reset event: the two things
// the notification thread stands on.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <thread>

#include "platform/SyncEvent.h"
#include "platform/posix/QueueUiThread.h"
#include "rasthread/ThreadTestSupport.h"

namespace {

// Pumps until done() holds or the limit passes (real time).
template <typename Done>
bool PumpUntil(TQueueUiThread& ui, Done done, unsigned limitMs = 3000)
{
    auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (ElapsedMs(start) > limitMs)
            return false;
        ui.WaitForMessages(10);
        ui.ProcessMessages();
    }
    return true;
}

TEST(SyncEvent, OneWaitConsumesOneSetAndSettingTwiceStaysOneSignal)
{
    std::unique_ptr<ISyncEvent> event = CreateAutoResetEvent();
    ASSERT_NE(event, nullptr);
    event->Set();
    event->Set();
    EXPECT_TRUE(event->Wait());

    // The second Set collapsed into the first: this wait must block until the next Set.
    auto second = std::async(std::launch::async, [&] { return event->Wait(); });
    EXPECT_EQ(second.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    event->Set();
    ASSERT_EQ(second.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(second.get());
}

TEST(QueueUiThread, HandOverRunsOnUiThreadWhenPumpedAndReturnsItsError)
{
    TWatchdog watchdog(10000, "hand-over");
    TFakeClock clock;
    TQueueUiThread ui(clock);
    std::thread::id ranOn;
    std::string workerSaw;

    std::thread worker([&] {
        ui.Synchronize([&] { ranOn = std::this_thread::get_id(); });
        try {
            ui.Synchronize([] { throw Exception("handler failed"); });
        } catch (const Exception& e) {
            workerSaw = e.Message();
        }
    });
    // A queued hand-over ends the wait long before its time-out.
    auto start = std::chrono::steady_clock::now();
    ui.WaitForMessages(5000);
    EXPECT_LT(ElapsedMs(start), 2000u);
    EXPECT_EQ(ui.PendingHandOvers(), 1u);
    EXPECT_EQ(ranOn, std::thread::id());  // nothing runs until the UI thread pumps

    EXPECT_TRUE(PumpUntil(ui, [&] { return !workerSaw.empty(); }));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(workerSaw, "handler failed");
}

TEST(QueueUiThread, TimerStartedFromWorkerTicksOnUiThreadOnceDue)
{
    TFakeClock clock;
    TQueueUiThread ui(clock);
    int ticks = 0;
    std::thread::id tickedOn;
    auto timer = ui.CreateTimer([&] {
        ++ticks;
        tickedOn = std::this_thread::get_id();
    });
    std::thread([&] { timer->Start(50); }).join();
    EXPECT_TRUE(timer->Enabled());

    clock.Advance(49);
    ui.ProcessMessages();
    EXPECT_EQ(ticks, 0);

    clock.Advance(1);
    auto start = std::chrono::steady_clock::now();
    ui.WaitForMessages(5000);  // due: returns at once
    EXPECT_LT(ElapsedMs(start), 2000u);
    ui.ProcessMessages();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(tickedOn, std::this_thread::get_id());

    // It repeats, counting from the tick, and late pumps do not pile ticks up.
    clock.Advance(500);
    ui.ProcessMessages();
    ui.ProcessMessages();
    EXPECT_EQ(ticks, 2);
}

TEST(QueueUiThread, StoppedOrDestroyedTimerDoesNotTick)
{
    enum class TWay { StopBeforeDue, StoppedByEarlierTick, DestroyedByEarlierTick };
    for (TWay way : {TWay::StopBeforeDue, TWay::StoppedByEarlierTick,
                     TWay::DestroyedByEarlierTick}) {
        SCOPED_TRACE(static_cast<int>(way));
        TFakeClock clock;
        TQueueUiThread ui(clock);
        int victimTicks = 0;
        std::unique_ptr<ITimer> victim;
        // Created first, so it is served first in the pump where both are due.
        auto first = ui.CreateTimer([&] {
            if (way == TWay::StoppedByEarlierTick)
                victim->Stop();
            if (way == TWay::DestroyedByEarlierTick)
                victim.reset();
        });
        victim = ui.CreateTimer([&] { ++victimTicks; });
        first->Start(10);
        victim->Start(10);
        if (way == TWay::StopBeforeDue)
            victim->Stop();

        clock.Advance(100);
        ui.ProcessMessages();
        clock.Advance(100);
        ui.ProcessMessages();
        EXPECT_EQ(victimTicks, 0);
        if (victim) {
            EXPECT_FALSE(victim->Enabled());
        }
    }
}

}  // namespace
