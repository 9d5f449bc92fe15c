#include "platform/posix/QueueUiThread.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <exception>
#include <vector>

#include "common/Errors.h"
#include "platform/SyncEvent.h"

namespace {

// One Synchronize call waiting for the user-interface thread. It lives on the worker's stack;
// the worker does not return before it has seen Done set.
struct THandOver {
    const std::function<void()>* Fn = nullptr;
    bool Done = false;  // guarded by TQueueUiThread::TState::Lock, like Error
    std::exception_ptr Error;
    // Wakes the worker once Done is set; its own, as one Set wakes only one waiter.
    std::unique_ptr<ISyncEvent> Finished;

    // Lock held. Finished is set with the lock held too: the worker leaves only after it has
    // seen Done under the lock, so the event it then frees is no longer in use here.
    void Finish(std::exception_ptr error)
    {
        Error = std::move(error);
        Done = true;
        Finished->Set();
    }
};

struct TTimerState {
    std::function<void()> OnTick;
    bool Enabled = false;  // fields guarded by TQueueUiThread::TState::Lock
    unsigned Interval = 0;
    uint32_t StartedAt = 0;
};

}  // namespace

// Everything that workers and timers share with the pump, behind one lock.
struct TQueueUiThread::TState {
    explicit TState(IClock& clock) : Clock(clock), Wake(CreateAutoResetEvent())
    {
        if (!Wake) throw Exception("Error creating the user-interface thread's event");
    }

    IClock& Clock;
    TLock Lock;
    // Wakes the pump when a hand-over arrives or a timer starts. A signal left over from work
    // the pump has already seen only makes it look once more.
    std::unique_ptr<ISyncEvent> Wake;
    std::deque<THandOver*> HandOvers;
    std::vector<std::shared_ptr<TTimerState>> Timers;
    bool Closed = false;

    // Milliseconds until the timer is due (0: due now). Lock held. Tick counts wrap, so the
    // elapsed time is taken as an unsigned difference.
    static uint32_t TimeToTick(const TTimerState& timer, uint32_t now)
    {
        uint32_t elapsed = now - timer.StartedAt;
        return elapsed >= timer.Interval ? 0 : timer.Interval - elapsed;
    }
};

namespace {

class TQueueTimer : public ITimer {
public:
    TQueueTimer(std::shared_ptr<TQueueUiThread::TState> state, std::shared_ptr<TTimerState> timer)
        : FState(std::move(state)), FTimer(std::move(timer))
    {
    }

    ~TQueueTimer() override
    {
        TLockGuard lock(FState->Lock);
        // A pump that already picked this timer up re-checks Enabled before the tick.
        FTimer->Enabled = false;
        auto& timers = FState->Timers;
        timers.erase(std::remove(timers.begin(), timers.end(), FTimer), timers.end());
    }

    void Start(unsigned intervalMs) override
    {
        {
            TLockGuard lock(FState->Lock);
            FTimer->Enabled = true;
            FTimer->Interval = intervalMs;
            FTimer->StartedAt = FState->Clock.TickCount();
        }
        // A pump asleep in WaitForMessages must recompute when it has to wake.
        FState->Wake->Set();
    }

    void Stop() override
    {
        TLockGuard lock(FState->Lock);
        FTimer->Enabled = false;
    }

    bool Enabled() const override
    {
        TLockGuard lock(FState->Lock);
        return FTimer->Enabled;
    }

private:
    std::shared_ptr<TQueueUiThread::TState> FState;
    std::shared_ptr<TTimerState> FTimer;
};

}  // namespace

TQueueUiThread::TQueueUiThread(IClock& clock)
    : FState(std::make_shared<TState>(clock)), FOwner(CurrentThreadId())
{
}

TQueueUiThread::~TQueueUiThread()
{
    {
        TLockGuard lock(FState->Lock);
        FState->Closed = true;
        for (THandOver* handOver : FState->HandOvers) handOver->Finish(nullptr);
        FState->HandOvers.clear();
    }
}

void TQueueUiThread::Synchronize(const std::function<void()>& fn)
{
    if (CurrentThreadId() == FOwner) {
        fn();
        return;
    }
    // The worker keeps the state alive itself: the thread object may go while it waits.
    std::shared_ptr<TState> state = FState;
    THandOver handOver;
    handOver.Fn = &fn;
    handOver.Finished = CreateAutoResetEvent();
    if (!handOver.Finished) throw Exception("Error creating a hand-over's event");
    {
        TLockGuard lock(state->Lock);
        if (state->Closed) return;
        state->HandOvers.push_back(&handOver);
    }
    state->Wake->Set();
    for (;;) {
        {
            TLockGuard lock(state->Lock);
            if (handOver.Done) break;
        }
        handOver.Finished->Wait();
    }
    if (handOver.Error) std::rethrow_exception(handOver.Error);
}

void TQueueUiThread::ProcessMessages()
{
    LW_ASSERT(CurrentThreadId() == FOwner);
    RunHandOvers();
    RunDueTimers();
}

void TQueueUiThread::RunHandOvers()
{
    // Only what was queued before the call: a worker that is signalled again and again must
    // not keep the pump from returning.
    std::deque<THandOver*> batch;
    {
        TLockGuard lock(FState->Lock);
        batch.swap(FState->HandOvers);
    }
    for (THandOver* handOver : batch) {
        std::exception_ptr error;
        try {
            (*handOver->Fn)();
        } catch (...) {
            error = std::current_exception();
        }
        TLockGuard lock(FState->Lock);
        handOver->Finish(error);
    }
}

void TQueueUiThread::RunDueTimers()
{
    std::vector<std::shared_ptr<TTimerState>> timers;
    {
        TLockGuard lock(FState->Lock);
        timers = FState->Timers;
    }
    for (const auto& timer : timers) {
        {
            // Checked again right before the tick: an earlier tick of this pump may have
            // stopped, restarted or destroyed this timer.
            TLockGuard lock(FState->Lock);
            uint32_t now = FState->Clock.TickCount();
            if (!timer->Enabled || TState::TimeToTick(*timer, now) != 0) continue;
            timer->StartedAt = now;
        }
        // The local copy of the pointer keeps OnTick alive should the tick destroy its timer.
        timer->OnTick();
    }
}

void TQueueUiThread::WaitForMessages(unsigned timeoutMs)
{
    LW_ASSERT(CurrentThreadId() == FOwner);
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    for (;;) {
        uint32_t waitMs;
        {
            TLockGuard lock(FState->Lock);
            if (!FState->HandOvers.empty()) return;
            uint32_t now = FState->Clock.TickCount();
            bool anyTimer = false;
            uint32_t nextTick = 0;
            for (const auto& timer : FState->Timers) {
                if (!timer->Enabled) continue;
                uint32_t toTick = TState::TimeToTick(*timer, now);
                if (toTick == 0) return;
                nextTick = anyTimer ? std::min(nextTick, toTick) : toTick;
                anyTimer = true;
            }
            auto remaining = deadline - steady_clock::now();
            if (remaining <= steady_clock::duration::zero()) return;
            // Rounded up, or the last fraction of a millisecond would be spent spinning.
            auto remainingMs = std::chrono::ceil<milliseconds>(remaining).count();
            waitMs = static_cast<uint32_t>(std::min<decltype(remainingMs)>(remainingMs, timeoutMs));
            if (anyTimer) waitMs = std::min(waitMs, nextTick);
        }
        // A hand-over or a start that comes after the look above has set the event already, so
        // this wait ends at once rather than miss it.
        FState->Wake->WaitFor(waitMs);
    }
}

std::unique_ptr<ITimer> TQueueUiThread::CreateTimer(std::function<void()> onTick)
{
    auto timer = std::make_shared<TTimerState>();
    timer->OnTick = std::move(onTick);
    {
        TLockGuard lock(FState->Lock);
        FState->Timers.push_back(timer);
    }
    return std::make_unique<TQueueTimer>(FState, timer);
}

size_t TQueueUiThread::PendingHandOvers() const
{
    TLockGuard lock(FState->Lock);
    return FState->HandOvers.size();
}
