#include "platform/posix/QueueUiThread.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <vector>

#include "common/Errors.h"

namespace {

// One Synchronize call waiting for the user-interface thread. It lives on the worker's stack;
// the worker does not return before Done is set.
struct THandOver {
    const std::function<void()>* Fn = nullptr;
    bool Done = false;
    std::exception_ptr Error;
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
    explicit TState(IClock& clock) : Clock(clock) {}

    IClock& Clock;
    std::mutex Lock;
    // Wakes the pump when work arrives and workers when their hand-over is done.
    std::condition_variable Changed;
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
        std::lock_guard<std::mutex> lock(FState->Lock);
        // A pump that already picked this timer up re-checks Enabled before the tick.
        FTimer->Enabled = false;
        auto& timers = FState->Timers;
        timers.erase(std::remove(timers.begin(), timers.end(), FTimer), timers.end());
    }

    void Start(unsigned intervalMs) override
    {
        {
            std::lock_guard<std::mutex> lock(FState->Lock);
            FTimer->Enabled = true;
            FTimer->Interval = intervalMs;
            FTimer->StartedAt = FState->Clock.TickCount();
        }
        // A pump asleep in WaitForMessages must recompute when it has to wake.
        FState->Changed.notify_all();
    }

    void Stop() override
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        FTimer->Enabled = false;
    }

    bool Enabled() const override
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        return FTimer->Enabled;
    }

private:
    std::shared_ptr<TQueueUiThread::TState> FState;
    std::shared_ptr<TTimerState> FTimer;
};

}  // namespace

TQueueUiThread::TQueueUiThread(IClock& clock)
    : FState(std::make_shared<TState>(clock)), FOwner(std::this_thread::get_id())
{
}

TQueueUiThread::~TQueueUiThread()
{
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        FState->Closed = true;
        for (THandOver* handOver : FState->HandOvers) handOver->Done = true;
        FState->HandOvers.clear();
    }
    FState->Changed.notify_all();
}

void TQueueUiThread::Synchronize(const std::function<void()>& fn)
{
    if (std::this_thread::get_id() == FOwner) {
        fn();
        return;
    }
    // The worker keeps the state alive itself: the thread object may go while it waits.
    std::shared_ptr<TState> state = FState;
    THandOver handOver;
    handOver.Fn = &fn;
    std::unique_lock<std::mutex> lock(state->Lock);
    if (state->Closed) return;
    state->HandOvers.push_back(&handOver);
    state->Changed.notify_all();
    state->Changed.wait(lock, [&handOver] { return handOver.Done; });
    if (handOver.Error) std::rethrow_exception(handOver.Error);
}

void TQueueUiThread::ProcessMessages()
{
    LW_ASSERT(std::this_thread::get_id() == FOwner);
    RunHandOvers();
    RunDueTimers();
}

void TQueueUiThread::RunHandOvers()
{
    // Only what was queued before the call: a worker that is signalled again and again must
    // not keep the pump from returning.
    std::deque<THandOver*> batch;
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        batch.swap(FState->HandOvers);
    }
    for (THandOver* handOver : batch) {
        std::exception_ptr error;
        try {
            (*handOver->Fn)();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(FState->Lock);
            handOver->Error = error;
            handOver->Done = true;
        }
        FState->Changed.notify_all();
    }
}

void TQueueUiThread::RunDueTimers()
{
    std::vector<std::shared_ptr<TTimerState>> timers;
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        timers = FState->Timers;
    }
    for (const auto& timer : timers) {
        {
            // Checked again right before the tick: an earlier tick of this pump may have
            // stopped, restarted or destroyed this timer.
            std::lock_guard<std::mutex> lock(FState->Lock);
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
    LW_ASSERT(std::this_thread::get_id() == FOwner);
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(FState->Lock);
    for (;;) {
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
        if (anyTimer)
            remaining = std::min<steady_clock::duration>(remaining, milliseconds(nextTick));
        FState->Changed.wait_for(lock, remaining);
    }
}

std::unique_ptr<ITimer> TQueueUiThread::CreateTimer(std::function<void()> onTick)
{
    auto timer = std::make_shared<TTimerState>();
    timer->OnTick = std::move(onTick);
    {
        std::lock_guard<std::mutex> lock(FState->Lock);
        FState->Timers.push_back(timer);
    }
    return std::make_unique<TQueueTimer>(FState, timer);
}

size_t TQueueUiThread::PendingHandOvers() const
{
    std::lock_guard<std::mutex> lock(FState->Lock);
    return FState->HandOvers.size();
}
