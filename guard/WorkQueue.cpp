#include "guard/WorkQueue.h"

#include <algorithm>
#include <exception>

void TWorkQueue::Run(TWork work)
{
    if (FBusy) {
        if (std::find(FPending.begin(), FPending.end(), work) == FPending.end())
            FPending.push_back(work);
        return;
    }
    FBusy = true;
    FPending.push_back(work);
    while (!FPending.empty()) {
        const TWork next = FPending.front();
        FPending.erase(FPending.begin());
        try {
            FRun(next);
        } catch (const std::exception& e) {
            // The checks have ended the progress display on their way out; the guard goes on.
            FShowError(e.what());
        }
    }
    FBusy = false;
    if (FCloseWhenIdle) {
        FCloseWhenIdle = false;
        FCloseWindow();
    }
}
