// TRasConnThread over the queue user-interface thread and a RAS stand-in that the test signals.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "dialup/RasThread.h"
#include "platform/posix/QueueUiThread.h"
#include "rasthread/ThreadTestSupport.h"

namespace {

// Waits (without running anything) until the worker has asked for a hand-over.
bool WaitForHandOver(TQueueUiThread& ui, unsigned limitMs = 3000)
{
    auto start = std::chrono::steady_clock::now();
    while (ui.PendingHandOvers() == 0) {
        if (ElapsedMs(start) > limitMs)
            return false;
        ui.WaitForMessages(10);
    }
    return true;
}

void PumpFor(TQueueUiThread& ui, unsigned ms)
{
    auto start = std::chrono::steady_clock::now();
    while (ElapsedMs(start) < ms) {
        ui.WaitForMessages(10);
        ui.ProcessMessages();
    }
}

TEST(RasConnThread, RegistersForAllConnectionsAndReportsTheResult)
{
    for (uint32_t result : {0u, 6u, 623u}) {
        SCOPED_TRACE(result);
        TQueueUiThread ui(SystemClock());
        TFakeNotificationRas ras;
        ras.Result = result;
        int handlerCalls = 0;
        auto start = std::chrono::steady_clock::now();
        {
            TRasConnThread thread(ras, ui, SystemClock());
            EXPECT_EQ(thread.NotifyResult(), result);
            EXPECT_EQ(thread.NotifyCount(), 0);
            EXPECT_EQ(ras.Calls, 1);
            EXPECT_EQ(ras.Connection, kAllRasConnections);
            EXPECT_EQ(ras.Flags, 15u);
            ASSERT_NE(thread.Event(), nullptr);
            EXPECT_EQ(ras.Event, thread.Event());
            // The owner discards a thread that RAS refused without resuming it; nothing runs,
            // and there is no worker to wait for.
            thread.OnNotify = [&](TRasConnThread&) { ++handlerCalls; };
            ras.Event->Set();
        }
        EXPECT_LT(ElapsedMs(start), 90u);
        ui.ProcessMessages();
        EXPECT_EQ(handlerCalls, 0);
    }
}

TEST(RasConnThread, MissingRasFunctionLeavesTheConstructor)
{
    TFakeClock clock;
    TQueueUiThread ui(clock);
    TFakeNotificationRas ras;
    ras.MissingFunction = true;
    try {
        TRasConnThread thread(ras, ui, clock);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Function RasConnectionNotification not found!");
    }
    EXPECT_EQ(ras.Calls, 1);
}

TEST(RasConnThread, DeliversEachSignalOnTheUiThreadWhenItPumps)
{
    TWatchdog watchdog(10000, "deliveries");
    TFakeClock clock;
    TQueueUiThread ui(clock);
    TFakeNotificationRas ras;
    TRasConnThread thread(ras, ui, clock);
    std::vector<int32_t> countsSeen;
    std::vector<std::thread::id> threadsSeen;
    thread.OnNotify = [&](TRasConnThread& sender) {
        EXPECT_EQ(&sender, &thread);
        countsSeen.push_back(sender.NotifyCount());
        threadsSeen.push_back(std::this_thread::get_id());
    };
    thread.Resume();

    for (size_t i = 0; i < 3; ++i) {
        ras.Event->Set();
        ASSERT_TRUE(WaitForHandOver(ui));
        EXPECT_EQ(countsSeen.size(), i);  // asked for, but not run until the pump
        ui.ProcessMessages();
        ASSERT_EQ(countsSeen.size(), i + 1);
    }
    // The handler sees the count before its own delivery is counted.
    EXPECT_EQ(countsSeen, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(thread.NotifyCount(), 3);
    for (auto id : threadsSeen)
        EXPECT_EQ(id, std::this_thread::get_id());
    thread.OnNotify = nullptr;
}

TEST(RasConnThread, SignalsDuringADeliveryCollapseIntoOneMore)
{
    TWatchdog watchdog(10000, "collapsing signals");
    TFakeClock clock;
    TQueueUiThread ui(clock);
    TFakeNotificationRas ras;
    TRasConnThread thread(ras, ui, clock);
    int deliveries = 0;
    thread.OnNotify = [&](TRasConnThread&) {
        if (++deliveries == 1) {
            ras.Event->Set();  // two changes while the first delivery still runs
            ras.Event->Set();
        }
    };
    thread.Resume();
    ras.Event->Set();
    PumpFor(ui, 300);
    EXPECT_EQ(deliveries, 2);
    EXPECT_EQ(thread.NotifyCount(), 2);
    thread.OnNotify = nullptr;
}

TEST(RasConnThread, FailingHandlerDoesNotEndTheWatch)
{
    TWatchdog watchdog(10000, "failing handler");
    TFakeClock clock;
    TQueueUiThread ui(clock);
    TFakeNotificationRas ras;
    TRasConnThread thread(ras, ui, clock);
    std::vector<int32_t> countsSeen;
    thread.OnNotify = [&](TRasConnThread& sender) {
        countsSeen.push_back(sender.NotifyCount());
        if (countsSeen.size() == 1)
            throw Exception("check failed");
    };
    thread.Resume();
    for (int i = 0; i < 2; ++i) {
        ras.Event->Set();
        ASSERT_TRUE(WaitForHandOver(ui));
        ui.ProcessMessages();
    }
    EXPECT_EQ(countsSeen, (std::vector<int32_t>{0, 1}));
    thread.OnNotify = nullptr;
}

TEST(RasConnThread, DestructionPausesThenRunsAtMostOneLastDelivery)
{
    struct TCase {
        bool handOverPending;  // else the worker is back waiting on the event
        bool handlerCleared;
        int minCalls, maxCalls;
    };
    const TCase cases[] = {
        {false, true, 0, 0},
        {false, false, 0, 1},
        // The worker is blocked handing over to the very thread that destroys it.
        {true, true, 0, 0},
        {true, false, 1, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "pending " << c.handOverPending << ", cleared "
                                        << c.handlerCleared);
        TWatchdog watchdog(10000, "destruction");
        TQueueUiThread ui(SystemClock());
        TFakeNotificationRas ras;
        auto thread = std::make_unique<TRasConnThread>(ras, ui, SystemClock());
        thread->Resume();
        // One delivery first: the worker has surely entered its loop.
        ras.Event->Set();
        ASSERT_TRUE(WaitForHandOver(ui));
        ui.ProcessMessages();
        if (c.handOverPending) {
            ras.Event->Set();
            ASSERT_TRUE(WaitForHandOver(ui));
        }
        int calls = 0;
        if (!c.handlerCleared)
            thread->OnNotify = [&](TRasConnThread&) { ++calls; };

        auto start = std::chrono::steady_clock::now();
        thread.reset();
        uint32_t elapsed = ElapsedMs(start);
        EXPECT_GE(elapsed, 100u);
        EXPECT_LT(elapsed, 2000u);
        EXPECT_GE(calls, c.minCalls);
        EXPECT_LE(calls, c.maxCalls);
    }
}

TEST(RasConnThread, DestroyingRightAfterResumeNeverHangs)
{
    // The worker may not have reached its wait yet when the stop signal comes; it must still
    // see the signal or the flag. The fake clock skips the pause to make that likely.
    TWatchdog watchdog(30000, "destroy after resume");
    TFakeClock clock;
    TQueueUiThread ui(clock);
    TFakeNotificationRas ras;
    for (int i = 0; i < 200; ++i) {
        TRasConnThread thread(ras, ui, clock);
        thread.Resume();
        if (i % 2 == 1)
            ras.Event->Set();
    }
}

}  // namespace
