// The contract of the user-interface thread, run against every implementation (see
// UiThreadContract.h). Waits are on events with limits far beyond what any step takes.
#include "tests/platform/UiThreadContract.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

#include "common/Errors.h"
#include "platform/Threads.h"
#include "support/PumpUntil.h"
#include "support/Watchdog.h"

namespace {

// A wait that nothing ends would last this long; one that something ends returns long before.
constexpr unsigned kUnendedWaitMs = 60000;
constexpr std::chrono::seconds kWakeLimit{30};

std::chrono::steady_clock::duration TimeToWake(IUserInterfaceThread& ui)
{
    const auto start = std::chrono::steady_clock::now();
    ui.WaitForMessages(kUnendedWaitMs);
    return std::chrono::steady_clock::now() - start;
}

// From a worker the function runs on the user-interface thread and Synchronize returns after
// it; from the user-interface thread itself it runs at once, since a queued hand-over there
// would wait for a pump that cannot come. Either way an exception from the function leaves
// Synchronize in the caller.
TEST_P(UiThreadContract, HandOverRunsOnTheUiThreadAndHandsBackItsOutcome)
{
    struct TCase {
        bool fromWorker;
        bool throws;
    };
    for (TCase c :
         {TCase{true, false}, TCase{true, true}, TCase{false, false}, TCase{false, true}}) {
        SCOPED_TRACE(testing::Message() << (c.fromWorker ? "worker" : "ui thread")
                                        << (c.throws ? ", throws" : ", returns"));
        TWatchdog watchdog("hand-over");
        TThreadId ranOn = 0;
        bool ran = false;
        std::string outcome;  // what the caller saw when Synchronize ended
        std::atomic<bool> ended{false};
        auto handOver = [&] {
            try {
                Ui->Synchronize([&] {
                    ranOn = CurrentThreadId();
                    ran = true;
                    if (c.throws) throw Exception("handler failed");
                });
                outcome = ran ? "returned after the run" : "returned before the run";
            } catch (const Exception& e) {
                outcome = "threw " + e.Message();
            }
            ended = true;
        };
        if (c.fromWorker) {
            TWorkerThread worker(handOver);
            try {
                EXPECT_TRUE(PumpUntil(*Ui, [&] { return ended.load(); }));
            } catch (const Exception& e) {
                ADD_FAILURE() << "left the pump on the user-interface thread: " << e.Message();
            }
            worker.Join();  // a worker left waiting for ever ends in the watchdog
        } else {
            handOver();  // without a pump
        }
        EXPECT_EQ(ranOn, CurrentThreadId());
        EXPECT_EQ(outcome, c.throws ? "threw handler failed" : "returned after the run");
    }
}

// A hand-over queued while the user-interface thread is on its way into the wait ends that
// wait: over the rounds the worker's hand-over lands both before and after the wait begins.
TEST_P(UiThreadContract, HandOverQueuedAroundTheWaitIsNotLost)
{
    TWatchdog watchdog("hand-over wake-up", std::chrono::seconds(120));
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        std::atomic<bool> ended{false};
        TWorkerThread worker([&] {
            Ui->Synchronize([] {});
            ended = true;
        });
        EXPECT_LT(TimeToWake(*Ui), kWakeLimit);
        EXPECT_TRUE(PumpUntil(*Ui, [&] { return ended.load(); }));
        worker.Join();
    }
}

// A timer started by a worker that finished before the wait began still ends the wait, and
// ticks on the user-interface thread, again and again until stopped.
TEST_P(UiThreadContract, TimerStartedFromAWorkerWakesTheWaitAndTicksOnTheUiThread)
{
    TWatchdog watchdog("timer from a worker");
    int ticks = 0;
    TThreadId tickedOn = 0;
    auto timer = Ui->CreateTimer([&] {
        ++ticks;
        tickedOn = CurrentThreadId();
    });
    TWorkerThread([&] { timer->Start(10); }).Join();
    EXPECT_TRUE(timer->Enabled());
    EXPECT_LT(TimeToWake(*Ui), kWakeLimit);
    EXPECT_TRUE(PumpUntil(*Ui, [&] { return ticks >= 2; }));
    EXPECT_EQ(tickedOn, CurrentThreadId());
    timer->Stop();
    EXPECT_FALSE(timer->Enabled());
}

// A tick that has fallen due but has not run yet never runs once its timer is stopped or
// destroyed, nor does a timer that stops itself in its tick tick again.
TEST_P(UiThreadContract, StoppedOrDestroyedTimerDropsItsPendingTick)
{
    enum class TWay { Stop, Destroy, StopInItsOwnTick };
    for (TWay way : {TWay::Stop, TWay::Destroy, TWay::StopInItsOwnTick}) {
        SCOPED_TRACE(static_cast<int>(way));
        TWatchdog watchdog("stopped timer");
        int ticks = 0;
        std::unique_ptr<ITimer> timer;
        timer = Ui->CreateTimer([&] {
            ++ticks;
            if (way == TWay::StopInItsOwnTick) timer->Stop();
        });
        timer->Start(1);
        if (way == TWay::StopInItsOwnTick) {
            EXPECT_TRUE(PumpUntil(*Ui, [&] { return ticks == 1; }));
        } else {
            // Without pumping: the wait ends once the tick is due.
            Ui->WaitForMessages(kUnendedWaitMs);
            if (way == TWay::Stop)
                timer->Stop();
            else
                timer.reset();
        }
        PumpFor(*Ui, std::chrono::milliseconds(100));
        EXPECT_EQ(ticks, way == TWay::StopInItsOwnTick ? 1 : 0);
        if (timer) {
            EXPECT_FALSE(timer->Enabled());
        }
    }
}

}  // namespace
