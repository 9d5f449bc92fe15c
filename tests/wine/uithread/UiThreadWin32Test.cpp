// The Win32 user-interface thread (hidden window, sent messages, window timers) and the
// notification thread over a real Win32 event.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "dialup/RasLibraryApi.h"
#include "dialup/RasThread.h"
#include "platform/win32/UiThreadWin32.h"
#include "rasthread/ThreadTestSupport.h"

namespace {

template <typename Done>
bool PumpUntil(TWin32UiThread& ui, Done done, unsigned limitMs = 5000)
{
    auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (ElapsedMs(start) > limitMs)
            return false;
        ui.WaitForMessages(20);
        ui.ProcessMessages();
    }
    return true;
}

void PumpFor(TWin32UiThread& ui, unsigned ms)
{
    PumpUntil(ui, [] { return false; }, ms);
}

TEST(Win32UiThread, HandOverFromWorkerRunsOnTheOwningThread)
{
    TWatchdog watchdog(20000, "hand-over");
    TWin32UiThread ui;
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> workerDone{false};
    std::string workerSaw;

    std::thread worker([&] {
        ui.Synchronize([&] { ranOn = GetCurrentThreadId(); });
        try {
            ui.Synchronize([] { throw Exception("handler failed"); });
        } catch (const Exception& e) {
            workerSaw = e.Message();
        }
        workerDone = true;
    });
    // The sent message wakes the wait.
    auto start = std::chrono::steady_clock::now();
    ui.WaitForMessages(10000);
    EXPECT_LT(ElapsedMs(start), 5000u);
    EXPECT_EQ(ranOn, 0u);  // not before the owning thread pumps

    EXPECT_TRUE(PumpUntil(ui, [&] { return workerDone.load(); }));
    worker.join();
    EXPECT_EQ(ranOn, GetCurrentThreadId());
    EXPECT_EQ(workerSaw, "handler failed");

    // On the owning thread itself it simply runs.
    bool ranHere = false;
    ui.Synchronize([&] { ranHere = true; });
    EXPECT_TRUE(ranHere);
}

TEST(Win32UiThread, TimerStartedFromWorkerTicksOnTheOwningThread)
{
    TWatchdog watchdog(20000, "timer");
    TWin32UiThread ui;
    int ticks = 0;
    DWORD tickedOn = 0;
    std::unique_ptr<ITimer> timer;
    timer = ui.CreateTimer([&] {
        ++ticks;
        tickedOn = GetCurrentThreadId();
        timer->Stop();  // one-shot, as the guard's start-up timer
    });
    std::thread([&] { timer->Start(20); }).join();
    EXPECT_TRUE(timer->Enabled());
    EXPECT_TRUE(PumpUntil(ui, [&] { return ticks > 0; }));
    EXPECT_EQ(tickedOn, GetCurrentThreadId());
    PumpFor(ui, 150);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer->Enabled());
}

TEST(Win32UiThread, StoppedOrDestroyedTimerNeverTicks)
{
    enum class TWay { StopDropsWorkerStart, StopAfterTickQueued, DestroyAfterTickQueued };
    for (TWay way : {TWay::StopDropsWorkerStart, TWay::StopAfterTickQueued,
                     TWay::DestroyAfterTickQueued}) {
        SCOPED_TRACE(static_cast<int>(way));
        TWatchdog watchdog(20000, "stopped timer");
        TWin32UiThread ui;
        int ticks = 0;
        auto timer = ui.CreateTimer([&] { ++ticks; });
        if (way == TWay::StopDropsWorkerStart) {
            // The start is still a posted message when the owning thread stops the timer.
            std::thread([&] { timer->Start(10); }).join();
            timer->Stop();
        } else {
            timer->Start(10);
            Sleep(100);  // due several times over before the owning thread next looks
            if (way == TWay::StopAfterTickQueued)
                timer->Stop();
            else
                timer.reset();
        }
        PumpFor(ui, 200);
        EXPECT_EQ(ticks, 0);
    }
}

TEST(Win32RasConnThread, SignalOfTheRealEventIsDeliveredOnTheUiThread)
{
    TWatchdog watchdog(20000, "delivery");
    TWin32UiThread ui;
    TFakeNotificationRas ras;
    TRasConnThread thread(ras, ui, SystemClock());
    ASSERT_EQ(thread.NotifyResult(), 0u);
    ASSERT_NE(thread.Event(), nullptr);
    HANDLE handle = thread.Event()->NativeHandle();
    ASSERT_NE(handle, nullptr);

    std::vector<int32_t> countsSeen;
    DWORD deliveredOn = 0;
    thread.OnNotify = [&](TRasConnThread& sender) {
        countsSeen.push_back(sender.NotifyCount());
        deliveredOn = GetCurrentThreadId();
    };
    thread.Resume();
    for (int i = 0; i < 2; ++i) {
        SetEvent(handle);  // what RAS does on a change of the connections
        size_t expected = i + 1;
        EXPECT_TRUE(PumpUntil(ui, [&] { return countsSeen.size() == expected; }));
    }
    EXPECT_EQ(countsSeen, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(deliveredOn, GetCurrentThreadId());
    thread.OnNotify = nullptr;
}

TEST(Win32RasConnThread, DestructionDuringAPendingHandOverDoesNotDeadlock)
{
    for (bool handlerCleared : {true, false}) {
        SCOPED_TRACE(handlerCleared);
        TWatchdog watchdog(20000, "destruction");
        TWin32UiThread ui;
        TFakeNotificationRas ras;
        auto thread = std::make_unique<TRasConnThread>(ras, ui, SystemClock());
        thread->Resume();
        SetEvent(thread->Event()->NativeHandle());
        Sleep(200);  // the worker is blocked in SendMessage to this thread by now
        int calls = 0;
        if (!handlerCleared)
            thread->OnNotify = [&](TRasConnThread&) { ++calls; };

        auto start = std::chrono::steady_clock::now();
        thread.reset();
        uint32_t elapsed = ElapsedMs(start);
        EXPECT_GE(elapsed, 90u);
        EXPECT_LT(elapsed, 5000u);
        EXPECT_EQ(calls, handlerCleared ? 0 : 1);
    }
}

}  // namespace

// The registration goes to the system's own RAS library. Where RAS accepts it, a signal of the
// registered event (what RAS raises on a change of the connections) reaches the owner on the
// user-interface thread. Wine's RAS refuses the registration (result 1): that is the owner's
// "discard the thread" path, and a thread that never ran must then go at once.
TEST(Win32RasConnThread, RegistersWithTheSystemRas)
{
    TWatchdog watchdog(20000, "system RAS");
    TWin32UiThread ui;
    auto thread = std::make_unique<TRasConnThread>(SystemRasApi(), ui, SystemClock());
    if (thread->NotifyResult() != 0) {
        auto started = std::chrono::steady_clock::now();
        thread.reset();
        EXPECT_LT(ElapsedMs(started), 100u);
        return;
    }
    int delivered = 0;
    thread->OnNotify = [&](TRasConnThread&) { ++delivered; };
    thread->Resume();
    SetEvent(thread->Event()->NativeHandle());
    EXPECT_TRUE(PumpUntil(ui, [&] { return delivered == 1; }));
    thread->OnNotify = nullptr;
}
