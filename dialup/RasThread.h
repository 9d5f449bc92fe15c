#pragma once
// TRasConnThread: waits on a worker thread for the RAS connection-change event and hands every
// signal over to the user-interface thread, where the owner runs its checks.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "dialup/RasApi.h"
#include "platform/Clock.h"
#include "platform/SyncEvent.h"
#include "platform/Threads.h"
#include "platform/UiThread.h"

class TRasConnThread {
public:
    // What RAS is asked to report: connection created, connection ended, bandwidth added,
    // bandwidth removed.
    static constexpr uint32_t kNotifyFlags = 15;

    using TNotifyEvent = std::function<void(TRasConnThread& sender)>;

    // Creates the worker suspended and registers the event with RAS. RAS refusing is not an
    // error here (see NotifyResult); a RAS binding that cannot be loaded throws out of here.
    TRasConnThread(IRasApi& ras, IUserInterfaceThread& ui, IClock& clock);
    // User-interface thread. Stops the worker and waits for it, running its last hand-over
    // meanwhile. Must not run from inside OnNotify: the worker is blocked on that very call.
    ~TRasConnThread();
    TRasConnThread(const TRasConnThread&) = delete;
    TRasConnThread& operator=(const TRasConnThread&) = delete;

    // Starts the waiting loop; later calls do nothing.
    void Resume();

    // Result of the registration with RAS: 0 when registered; anything else means no signal
    // will ever come and the owner should discard the thread.
    uint32_t NotifyResult() const { return FNotifyResult; }
    // Notifications delivered so far.
    int32_t NotifyCount() const { return FNotifyCount; }
    // The event RAS signals; nullptr when none could be created.
    ISyncEvent* Event() const { return FEvent.get(); }

    // Runs on the user-interface thread for every delivered signal and sees NotifyCount before
    // the delivery is counted. Set before Resume; clear before destroying the thread.
    TNotifyEvent OnNotify;

private:
    void Execute();
    void DoNotify();
    void WaitForWorker();

    IRasApi& FRas;
    IUserInterfaceThread& FUi;
    IClock& FClock;
    std::unique_ptr<ISyncEvent> FEvent;
    uint32_t FNotifyResult = 0;
    int32_t FNotifyCount = 0;  // user-interface thread only
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::unique_ptr<TWorkerThread> FWorker;  // none before Resume
};
