#include "dialup/RasThread.h"

#include <exception>

#include "common/Trace.h"

namespace {

// After a wait that failed, the worker pauses before it tries again rather than spin.
constexpr uint32_t kFailedWaitPauseMs = 20;
// Time the worker gets to wake from the stop signal before the owner starts waiting for it.
constexpr uint32_t kStopSignalPauseMs = 100;
// Longest sleep of the owner between two pumps while it waits for the worker to end.
constexpr unsigned kStopPumpMs = 10;

}  // namespace

TRasConnThread::TRasConnThread(IRasApi& ras, IUserInterfaceThread& ui, IClock& clock)
    : FRas(ras), FUi(ui), FClock(clock), FEvent(CreateAutoResetEvent())
{
    // Without an event RAS is asked anyway; it refuses, and the owner learns it from the result.
    FNotifyResult = FRas.RasConnectionNotification(kAllRasConnections, FEvent.get(), kNotifyFlags);
}

void TRasConnThread::Resume()
{
    if (FWorker) return;
    FWorker = std::make_unique<TWorkerThread>([this] { Execute(); });
}

void TRasConnThread::Execute()
{
    while (!FTerminated && FEvent) {
        if (FEvent->Wait()) {
            try {
                FUi.Synchronize([this] { DoNotify(); });
            } catch (const std::exception& e) {
                // A failing handler must not end the guard's only live watch on the connections.
                TraceFmt("[TRasConnThread.Execute] OnNotify failed: %s", e.what());
            } catch (...) {
                Trace("[TRasConnThread.Execute] OnNotify failed");
            }
        } else if (!FTerminated) {
            FClock.Sleep(kFailedWaitPauseMs);
        }
    }
    FFinished = true;
}

void TRasConnThread::DoNotify()
{
    // Counted even when the handler throws: the delivery happened, and the next one must not
    // carry the same number.
    struct TCountOnExit {
        int32_t& Count;
        ~TCountOnExit() { ++Count; }
    } countOnExit{FNotifyCount};
    if (OnNotify) OnNotify(*this);
}

TRasConnThread::~TRasConnThread()
{
    FTerminated = true;
    if (FWorker) {
        if (FEvent) FEvent->Set();
        FClock.Sleep(kStopSignalPauseMs);
        WaitForWorker();
    }
    // The event goes only after the worker has ended: released earlier, a worker that had not
    // yet reached its wait would wait on a freed object, or for ever on a reset one.
    if (FEvent) FEvent->Reset();
    FEvent.reset();
}

void TRasConnThread::WaitForWorker()
{
    // The worker may be blocked in a hand-over to this very thread (the signal above, or one
    // from RAS, woke it), so the hand-overs are run while waiting instead of a plain join.
    while (!FFinished) {
        try {
            FUi.ProcessMessages();
            if (!FFinished) FUi.WaitForMessages(kStopPumpMs);
        } catch (const std::exception& e) {
            TraceFmt("[TRasConnThread.Destroy] %s", e.what());
        } catch (...) {
            Trace("[TRasConnThread.Destroy] pumping failed");
        }
    }
    FWorker->Join();
}
