#pragma once
// A user-interface thread for tests: the test's own thread plays it and pumps with
// ProcessMessages. Timers tick on the next pump after they were started (the interval is not
// waited for); hand-overs from other threads run on the next pump.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/UiThread.h"

class TFakeUiThread : public IUserInterfaceThread {
public:
    class TTimer : public ITimer {
    public:
        TTimer(TFakeUiThread& ui, std::function<void()> onTick) : FUi(ui), FOnTick(onTick) {}
        ~TTimer() override { FUi.Forget(this); }
        void Start(unsigned intervalMs) override
        {
            Interval = intervalMs;
            FEnabled = true;
            ++Starts;
            FUi.Wake();
        }
        void Stop() override { FEnabled = false; }
        bool Enabled() const override { return FEnabled; }
        void Tick() { FOnTick(); }

        std::atomic<unsigned> Interval{0};
        std::atomic<int> Starts{0};

    private:
        TFakeUiThread& FUi;
        std::function<void()> FOnTick;
        std::atomic<bool> FEnabled{false};
    };

    void Synchronize(const std::function<void()>& fn) override
    {
        std::atomic<bool> done{false};
        {
            std::lock_guard<std::mutex> guard(FLock);
            FQueue.push_back([&] { fn(); done = true; });
        }
        FChanged.notify_all();
        std::unique_lock<std::mutex> lock(FLock);
        FChanged.wait(lock, [&] { return done.load(); });
    }

    void ProcessMessages() override
    {
        ++Pumps;
        if (OnPump) OnPump();
        std::deque<std::function<void()>> queue;
        std::vector<TTimer*> due;
        {
            std::lock_guard<std::mutex> guard(FLock);
            queue.swap(FQueue);
            for (TTimer* t : FTimers)
                if (t->Enabled()) due.push_back(t);
        }
        for (auto& fn : queue) fn();
        if (!queue.empty()) FChanged.notify_all();
        for (TTimer* t : due) {
            bool alive;
            {
                std::lock_guard<std::mutex> guard(FLock);
                alive = std::find(FTimers.begin(), FTimers.end(), t) != FTimers.end();
            }
            if (alive && t->Enabled()) t->Tick();
        }
    }

    void WaitForMessages(unsigned timeoutMs) override
    {
        std::unique_lock<std::mutex> lock(FLock);
        FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
            return !FQueue.empty() ||
                   std::any_of(FTimers.begin(), FTimers.end(),
                               [](TTimer* t) { return t->Enabled(); });
        });
    }

    std::unique_ptr<ITimer> CreateTimer(std::function<void()> onTick) override
    {
        auto timer = std::make_unique<TTimer>(*this, onTick);
        std::lock_guard<std::mutex> guard(FLock);
        FTimers.push_back(timer.get());
        LastTimer = timer.get();
        return timer;
    }

    // Pumps until done() holds or about two seconds of real time have passed.
    bool PumpUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 2000 && !done(); ++i) {
            WaitForMessages(1);
            ProcessMessages();
        }
        return done();
    }

    size_t TimerCount()
    {
        std::lock_guard<std::mutex> guard(FLock);
        return FTimers.size();
    }

    std::atomic<int> Pumps{0};
    std::function<void()> OnPump;
    TTimer* LastTimer = nullptr;

private:
    void Wake() { FChanged.notify_all(); }
    void Forget(TTimer* t)
    {
        std::lock_guard<std::mutex> guard(FLock);
        FTimers.erase(std::remove(FTimers.begin(), FTimers.end(), t), FTimers.end());
    }

    std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<std::function<void()>> FQueue;
    std::vector<TTimer*> FTimers;
};
