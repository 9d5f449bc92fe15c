// The queue user-interface thread of Linux and of the tests: the contract of every
// user-interface thread, then what only the queue does, its timers measured on a clock of the
// test's own and its release of waiting workers when it goes.
#include "platform/posix/QueueUiThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "platform/Threads.h"
#include "support/FakeClock.h"
#include "support/Watchdog.h"
#include "tests/platform/UiThreadContract.h"

namespace {

std::unique_ptr<IUserInterfaceThread> MakeQueueUiThread()
{
    return std::make_unique<TQueueUiThread>(SystemClock());
}

INSTANTIATE_TEST_SUITE_P(Queue, UiThreadContract,
                         ::testing::Values(TUiThreadMaker{"queue", &MakeQueueUiThread}));

TEST(QueueUiThread, TimerFallsDueByItsClockAndLatePumpsDoNotPileTicksUp)
{
    TFakeClock clock;
    TQueueUiThread ui(clock);
    int ticks = 0;
    auto timer = ui.CreateTimer([&] { ++ticks; });
    timer->Start(50);

    clock.Advance(49);
    ui.ProcessMessages();
    EXPECT_EQ(ticks, 0);
    clock.Advance(1);
    ui.ProcessMessages();
    EXPECT_EQ(ticks, 1);

    // It repeats, counting from the tick, and a pump long overdue runs one tick only.
    clock.Advance(500);
    ui.ProcessMessages();
    ui.ProcessMessages();
    EXPECT_EQ(ticks, 2);
}

TEST(QueueUiThread, TickOfAnEarlierTimerCanStopOrDestroyALaterOneDueInTheSamePump)
{
    enum class TWay { Stop, Destroy };
    for (TWay way : {TWay::Stop, TWay::Destroy}) {
        SCOPED_TRACE(static_cast<int>(way));
        TFakeClock clock;
        TQueueUiThread ui(clock);
        int victimTicks = 0;
        std::unique_ptr<ITimer> victim;
        // Created first, so it is served first in the pump where both are due.
        auto first = ui.CreateTimer([&] {
            if (way == TWay::Stop)
                victim->Stop();
            else
                victim.reset();
        });
        victim = ui.CreateTimer([&] { ++victimTicks; });
        first->Start(10);
        victim->Start(10);

        clock.Advance(100);
        ui.ProcessMessages();
        clock.Advance(100);
        ui.ProcessMessages();
        EXPECT_EQ(victimTicks, 0);
    }
}

// A worker blocked in a hand-over is released when the user-interface thread goes, so that a
// worker being torn down never waits for a pump that will not come.
TEST(QueueUiThread, GoingAwayReleasesWorkersWaitingForAHandOver)
{
    TWatchdog watchdog("release");
    TFakeClock clock;
    auto ui = std::make_unique<TQueueUiThread>(clock);
    std::atomic<bool> ran{false};
    TWorkerThread worker([&] { ui->Synchronize([&] { ran = true; }); });
    while (ui->PendingHandOvers() == 0) ui->WaitForMessages(50);
    ui.reset();
    worker.Join();
    EXPECT_FALSE(ran);
}

}  // namespace
