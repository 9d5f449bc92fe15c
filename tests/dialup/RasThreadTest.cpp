// TRasConnThread over the queue user-interface thread and the RAS simulator: registration, the
// delivery of every change on the user-interface thread, and an end that never deadlocks.
#include "dialup/RasThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/Errors.h"
#include "platform/Threads.h"
#include "platform/posix/QueueUiThread.h"
#include "support/FakeClock.h"
#include "support/PumpUntil.h"
#include "support/RasSimulator.h"
#include "support/Watchdog.h"

namespace {

// Waits, without running anything, until the worker has queued a hand-over.
bool WaitForHandOver(TQueueUiThread& ui)
{
    const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
    while (ui.PendingHandOvers() == 0) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ui.WaitForMessages(50);
    }
    return true;
}

// One notification thread's world: the queue user-interface thread on a clock of the test's
// own, and the RAS simulator.
class RasConnThreadTest : public ::testing::Test {
protected:
    TWatchdog Watchdog{"notification thread"};
    TFakeClock Clock;
    TQueueUiThread Ui{Clock};
    TRasSimulator Ras;
};

TEST(RasConnThread, RegistrationDecidesWhetherChangesAreDelivered)
{
    for (uint32_t result : {0u, 6u, 623u}) {
        SCOPED_TRACE(result);
        TWatchdog watchdog("registration");
        TFakeClock clock;
        TQueueUiThread ui(clock);
        TRasSimulator ras;
        if (result != 0) ras.FailOperation("RasConnectionNotification", result);
        int handlerCalls = 0;
        auto thread = std::make_unique<TRasConnThread>(ras, ui, clock);
        EXPECT_EQ(thread->NotifyResult(), result);
        EXPECT_EQ(thread->NotifyCount(), 0);
        EXPECT_EQ(ras.Calls(), std::vector<std::string>{"RasConnectionNotification 15"});
        ASSERT_NE(thread->Event(), nullptr);
        thread->OnNotify = [&](TRasConnThread&) { ++handlerCalls; };
        if (result == 0) {
            // Registered for every connection, with the thread's own event.
            thread->Resume();
            ras.AddConnection("Dialer", "0700123456");
            EXPECT_TRUE(PumpUntil(ui, [&] { return handlerCalls == 1; }));
            thread->OnNotify = nullptr;
            thread.reset();
        } else {
            // The owner discards a thread that RAS refused without resuming it: there is no
            // worker, so nothing runs and nothing is waited for.
            thread->Event()->Set();
            const uint32_t before = clock.TickCount();
            thread.reset();
            EXPECT_EQ(clock.TickCount(), before);
            ui.ProcessMessages();
            EXPECT_EQ(handlerCalls, 0);
        }
    }
}

TEST_F(RasConnThreadTest, MissingRasFunctionLeavesTheConstructor)
{
    Ras.LackOperation("RasConnectionNotification");
    try {
        TRasConnThread thread(Ras, Ui, Clock);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Function RasConnectionNotification not found!");
    }
    EXPECT_EQ(Ras.Calls().size(), 1u);
}

TEST_F(RasConnThreadTest, DeliversEachChangeOnTheUiThreadWhenItPumps)
{
    TRasConnThread thread(Ras, Ui, Clock);
    std::vector<int32_t> countsSeen;
    std::vector<TThreadId> threadsSeen;
    thread.OnNotify = [&](TRasConnThread& sender) {
        EXPECT_EQ(&sender, &thread);
        countsSeen.push_back(sender.NotifyCount());
        threadsSeen.push_back(CurrentThreadId());
    };
    thread.Resume();

    THRasConn dialer = Ras.AddConnection("Dialer", "0700123456");
    ASSERT_TRUE(WaitForHandOver(Ui));
    EXPECT_TRUE(countsSeen.empty());  // asked for, but not run until the pump
    Ui.ProcessMessages();
    ASSERT_EQ(countsSeen.size(), 1u);
    for (size_t i = 1; i < 3; ++i) {
        if (i == 1)
            Ras.DropConnection(dialer);
        else
            Ras.AddConnection("Provider", "0221234567");
        ASSERT_TRUE(WaitForHandOver(Ui));
        Ui.ProcessMessages();
        ASSERT_EQ(countsSeen.size(), i + 1);
    }
    // The handler sees the count before its own delivery is counted.
    EXPECT_EQ(countsSeen, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(thread.NotifyCount(), 3);
    for (auto id : threadsSeen) EXPECT_EQ(id, CurrentThreadId());
    thread.OnNotify = nullptr;
}

TEST_F(RasConnThreadTest, SignalsDuringADeliveryCollapseIntoOneMore)
{
    TRasConnThread thread(Ras, Ui, Clock);
    int deliveries = 0;
    thread.OnNotify = [&](TRasConnThread& sender) {
        if (++deliveries == 1) {
            sender.Event()->Set();  // two changes while the first delivery still runs
            sender.Event()->Set();
        }
    };
    thread.Resume();
    thread.Event()->Set();
    EXPECT_TRUE(PumpUntil(Ui, [&] { return deliveries == 2; }));
    PumpFor(Ui, std::chrono::milliseconds(200));
    EXPECT_EQ(deliveries, 2);
    EXPECT_EQ(thread.NotifyCount(), 2);
    thread.OnNotify = nullptr;
}

TEST_F(RasConnThreadTest, FailingHandlerDoesNotEndTheWatch)
{
    TRasConnThread thread(Ras, Ui, Clock);
    std::vector<int32_t> countsSeen;
    thread.OnNotify = [&](TRasConnThread& sender) {
        countsSeen.push_back(sender.NotifyCount());
        if (countsSeen.size() == 1) throw Exception("check failed");
    };
    thread.Resume();
    for (int i = 0; i < 2; ++i) {
        thread.Event()->Set();
        ASSERT_TRUE(WaitForHandOver(Ui));
        Ui.ProcessMessages();
    }
    EXPECT_EQ(countsSeen, (std::vector<int32_t>{0, 1}));
    thread.OnNotify = nullptr;
}

TEST(RasConnThread, DestructionRunsAtMostOneLastDeliveryAndNeverDeadlocks)
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
        SCOPED_TRACE(testing::Message()
                     << "pending " << c.handOverPending << ", cleared " << c.handlerCleared);
        TWatchdog watchdog("destruction");
        TFakeClock clock;
        TQueueUiThread ui(clock);
        TRasSimulator ras;
        auto thread = std::make_unique<TRasConnThread>(ras, ui, clock);
        thread->Resume();
        // One delivery first: the worker has surely entered its loop.
        thread->Event()->Set();
        ASSERT_TRUE(WaitForHandOver(ui));
        ui.ProcessMessages();
        if (c.handOverPending) {
            thread->Event()->Set();
            ASSERT_TRUE(WaitForHandOver(ui));
        }
        int calls = 0;
        if (!c.handlerCleared) thread->OnNotify = [&](TRasConnThread&) { ++calls; };
        thread.reset();
        EXPECT_GE(calls, c.minCalls);
        EXPECT_LE(calls, c.maxCalls);
    }
}

TEST_F(RasConnThreadTest, DestroyingRightAfterResumeNeverHangs)
{
    // The worker may not have reached its wait yet when the stop signal comes; it must still
    // see the signal or the flag. The fake clock skips the pause to make that likely.
    for (int i = 0; i < 200; ++i) {
        TRasConnThread thread(Ras, Ui, Clock);
        thread.Resume();
        if (i % 2 == 1) thread.Event()->Set();
        Ras.ClearNotifications();
    }
}

}  // namespace
