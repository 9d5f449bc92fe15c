// The program's own threads and locks.
#include "platform/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "support/Watchdog.h"

namespace {

// Workers that change shared data under the lock lose none of their changes, and each runs on
// a thread of its own.
TEST(Threads, WorkersUnderTheLockLoseNoChange)
{
    TWatchdog watchdog("locked workers");
    constexpr int kWorkers = 4;
    constexpr int kRounds = 20000;
    TLock lock;
    long total = 0;
    std::vector<TThreadId> ids(kWorkers);
    std::vector<std::unique_ptr<TWorkerThread>> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.push_back(std::make_unique<TWorkerThread>([&, w] {
            ids[w] = CurrentThreadId();
            for (int i = 0; i < kRounds; ++i) {
                TLockGuard guard(lock);
                long seen = total;
                if (i % 1000 == 0) YieldThread();  // lets another worker try its luck in between
                total = seen + 1;
            }
        }));
    }
    for (auto& worker : workers) worker->Join();
    EXPECT_EQ(total, long{kWorkers} * kRounds);
    ids.push_back(CurrentThreadId());
    for (size_t i = 0; i < ids.size(); ++i)
        for (size_t j = i + 1; j < ids.size(); ++j) EXPECT_NE(ids[i], ids[j]) << i << " " << j;
}

// Join, and the end of a worker that was never joined, return only after the function has.
TEST(Threads, WorkerIsWaitedForByJoinOrByItsEnd)
{
    TWatchdog watchdog("joined workers");
    for (bool join : {true, false}) {
        SCOPED_TRACE(join ? "Join" : "end");
        std::atomic<bool> ran{false};
        {
            TWorkerThread worker([&] {
                SystemClock().Sleep(50);
                ran = true;
            });
            if (join) {
                worker.Join();
                EXPECT_TRUE(ran);
                worker.Join();  // a second Join finds nothing left to wait for
            }
        }
        EXPECT_TRUE(ran);
    }
}

}  // namespace
