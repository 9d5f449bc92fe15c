// TRasConnThread on the real Win32 layer: the Win32 user-interface thread, a real event, and
// the system's own RAS library.
#include "dialup/RasThread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "dialup/RasLibraryApi.h"
#include "platform/win32/UiThreadWin32.h"
#include "support/FakeClock.h"
#include "support/PumpUntil.h"
#include "support/RasSimulator.h"
#include "support/Watchdog.h"

namespace {

TEST(Win32RasConnThread, SignalOfTheRealEventIsDeliveredOnTheUiThread)
{
    TWatchdog watchdog("delivery");
    TWin32UiThread ui;
    TRasSimulator ras;
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
        TWatchdog watchdog("destruction");
        TWin32UiThread ui;
        TRasSimulator ras;
        auto thread = std::make_unique<TRasConnThread>(ras, ui, SystemClock());
        thread->Resume();
        SetEvent(thread->Event()->NativeHandle());
        // The worker's hand-over, a message sent to this thread, ends the wait.
        ui.WaitForMessages(60000);
        int calls = 0;
        if (!handlerCleared) thread->OnNotify = [&](TRasConnThread&) { ++calls; };
        thread.reset();
        EXPECT_EQ(calls, handlerCleared ? 0 : 1);
    }
}

// The registration goes to the system's own RAS library. Where RAS accepts it, a signal of the
// registered event (what RAS raises on a change of the connections) reaches the owner on the
// user-interface thread. Wine's RAS refuses the registration (result 1): that is the owner's
// "discard the thread" path, and a thread that never ran must then go without waiting.
TEST(Win32RasConnThread, RegistersWithTheSystemRas)
{
    TWatchdog watchdog("system RAS");
    TWin32UiThread ui;
    TFakeClock clock;
    auto thread = std::make_unique<TRasConnThread>(SystemRasApi(), ui, clock);
    if (thread->NotifyResult() != 0) {
        const uint32_t before = clock.TickCount();
        thread.reset();
        EXPECT_EQ(clock.TickCount(), before);
        return;
    }
    int delivered = 0;
    thread->OnNotify = [&](TRasConnThread&) { ++delivered; };
    thread->Resume();
    SetEvent(thread->Event()->NativeHandle());
    EXPECT_TRUE(PumpUntil(ui, [&] { return delivered == 1; }));
    thread->OnNotify = nullptr;
}

}  // namespace
