#include "platform/CloseRequest.h"

#include "common/StrUtils.h"

namespace {

// How often a waiting loop looks whether the process has gone.
constexpr uint32_t kPollMs = 100;

bool IsOneOf(const std::string& path, const std::vector<std::string>& programFiles)
{
    for (const std::string& file : programFiles)
        if (SameText(path, file)) return true;
    return false;
}

void Remember(std::vector<std::string>& list, const std::string& path)
{
    if (!IsOneOf(path, list)) list.push_back(path);
}

// The same messages the system sends at the end of a session, with the flag that says only
// this program is to close: all windows are asked first, and all are told the outcome.
void AskToClose(IProcessWindows& windows, uint32_t processId)
{
    const std::vector<TWindowRef> list = windows.TopLevelWindows(processId);
    bool agreed = true;
    for (TWindowRef window : list)
        if (!windows.QueryClose(window)) agreed = false;
    for (TWindowRef window : list) windows.EndClose(window, agreed);
}

bool EndsWithin(const TClosePorts& ports, uint32_t processId, uint32_t waitMs)
{
    const uint32_t start = ports.Clock.TickCount();
    while (!ports.Windows.HasEnded(processId)) {
        // Unsigned difference: right across the wrap of the tick count.
        if (ports.Clock.TickCount() - start >= waitMs) return false;
        ports.Clock.Sleep(kPollMs);
    }
    return true;
}

}  // namespace

TCloseResult CloseProgramsUsing(const TClosePorts& ports,
                                const std::vector<std::string>& programFiles,
                                const TRetryQuestion& retry, uint32_t waitMs)
{
    TCloseResult result;
    const uint32_t self = ports.Processes.CurrentProcessId();
    for (;;) {
        // Listed afresh on every round: a program the user closed by hand is not asked again,
        // and one started meanwhile is.
        std::vector<TRunningProcess> targets;
        for (const TRunningProcess& process : ports.Processes.ListProcesses()) {
            // A bare file name names no file, so such a process is left alone.
            if (process.Id == self || process.FullPath.empty()) continue;
            if (IsOneOf(process.FullPath, programFiles)) targets.push_back(process);
        }
        // Every program is asked before any is waited for, so that they close side by side.
        for (const TRunningProcess& process : targets) {
            Remember(result.WereRunning, process.FullPath);
            AskToClose(ports.Windows, process.Id);
        }
        const TRunningProcess* staying = nullptr;
        for (const TRunningProcess& process : targets) {
            if (!EndsWithin(ports, process.Id, waitMs)) {
                staying = &process;
                break;
            }
        }
        if (!staying) {
            result.Closed = true;
            return result;
        }
        if (!retry || !retry(staying->FullPath)) return result;
    }
}
