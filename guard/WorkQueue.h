#pragma once
// One piece of the guard's work at a time. A check can open a question, and while a question is
// open the user-interface thread goes on delivering notifications and menu commands; running
// those at once would walk lists that the open check is still walking. What arrives meanwhile
// waits here, once per kind, and runs in its turn when the running piece has ended.
#include <functional>
#include <string>
#include <vector>

// The pieces of work: the start-up tick, a RAS notification, the menu's commands, and the short
// look at the connections.
enum class TWork { StartupTick, Notification, Connections, Phonebook, Dialers, TestDialers, Look };

class TWorkQueue {
public:
    using TRunWork = std::function<void(TWork)>;
    using TShowError = std::function<void(const std::string& message)>;
    using TCloseWindow = std::function<void()>;

    // run does one piece; an exception that ends it is shown through showError and the queue
    // goes on; closeWindow is called when the queue empties after CloseWhenIdle.
    TWorkQueue(TRunWork run, TShowError showError, TCloseWindow closeWindow)
        : FRun(std::move(run)),
          FShowError(std::move(showError)),
          FCloseWindow(std::move(closeWindow))
    {
    }

    // Runs the work now, with whatever arrives meanwhile after it; or, while a piece runs
    // further up the call stack, queues it unless that kind is already waiting.
    void Run(TWork work);
    bool Busy() const { return FBusy; }
    // The window is closed as soon as the running work has ended.
    void CloseWhenIdle() { FCloseWhenIdle = true; }

private:
    TRunWork FRun;
    TShowError FShowError;
    TCloseWindow FCloseWindow;
    bool FBusy = false;
    std::vector<TWork> FPending;
    bool FCloseWhenIdle = false;
};
