// One piece of work at a time: what arrives meanwhile waits, once per kind, in order; a failed
// piece is shown and the rest goes on; a close asked for meanwhile comes when all has run.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "guard/WorkQueue.h"

namespace {

TEST(WorkQueue, WorkArrivingMeanwhileRunsAfterOnceInOrder)
{
    std::vector<std::string> log;
    TWorkQueue* self = nullptr;
    TWorkQueue queue(
            [&](TWork work) {
                log.push_back("run " + std::to_string(static_cast<int>(work)));
                if (work == TWork::StartupTick) {
                    // A question is open here: notifications and commands arrive.
                    for (TWork w : {TWork::Notification, TWork::Dialers, TWork::Notification,
                                    TWork::Phonebook})
                        self->Run(w);
                    self->CloseWhenIdle();
                    EXPECT_TRUE(self->Busy());
                }
                if (work == TWork::Dialers) throw std::runtime_error("registry");
            },
            [&](const std::string& message) { log.push_back("error " + message); },
            [&] { log.push_back("close"); });
    self = &queue;
    queue.Run(TWork::StartupTick);
    EXPECT_FALSE(queue.Busy());
    EXPECT_EQ(log, (std::vector<std::string>{"run 0", "run 1", "run 4", "error registry", "run 3",
                                             "close"}));
    log.clear();
    queue.Run(TWork::Connections);  // idle again: runs at once and closes nothing
    EXPECT_EQ(log, std::vector<std::string>{"run 2"});
}

}  // namespace
