#include "platform/CloseRequest.h"

#include <algorithm>

#include "common/Paths.h"
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

// One process to close, and the windows of it asked so far in this round.
struct TTarget {
    uint32_t Id;
    std::string Program;
    std::vector<TWindowRef> Asked;
};

// The same messages the system sends at the end of a session, with the flag that says only
// this program is to close: all windows are asked first, and all are told the outcome. Only
// the windows not asked yet: a program started a moment ago may have none yet, and is asked
// once they come.
void AskToClose(IProcessWindows& windows, TTarget& target)
{
    std::vector<TWindowRef> fresh;
    for (TWindowRef window : windows.TopLevelWindows(target.Id))
        if (std::find(target.Asked.begin(), target.Asked.end(), window) == target.Asked.end())
            fresh.push_back(window);
    bool agreed = true;
    for (TWindowRef window : fresh)
        if (!windows.QueryClose(window)) agreed = false;
    for (TWindowRef window : fresh) windows.EndClose(window, agreed);
    target.Asked.insert(target.Asked.end(), fresh.begin(), fresh.end());
}

}  // namespace

std::string ListedProgramOf(const TClosePorts& ports, const TRunningProcess& process,
                            const std::vector<std::string>& programFiles,
                            const std::string& windowClass)
{
    if (!process.FullPath.empty())
        return IsOneOf(process.FullPath, programFiles) ? process.FullPath : "";
    if (windowClass.empty() || process.FileName.empty()) return "";
    for (const std::string& file : programFiles) {
        if (!SameText(ExtractFileName(file), process.FileName)) continue;
        for (TWindowRef window : ports.Windows.TopLevelWindows(process.Id))
            if (ports.Windows.ClassName(window) == windowClass) return file;
        return "";
    }
    return "";
}

namespace {

bool EndsWithin(const TClosePorts& ports, TTarget& target, uint32_t waitMs)
{
    const uint32_t start = ports.Clock.TickCount();
    while (!ports.Windows.HasEnded(target.Id)) {
        AskToClose(ports.Windows, target);
        // Unsigned difference: right across the wrap of the tick count.
        if (ports.Clock.TickCount() - start >= waitMs) return false;
        ports.Clock.Sleep(kPollMs);
    }
    return true;
}

}  // namespace

TCloseResult CloseProgramsUsing(const TClosePorts& ports,
                                const std::vector<std::string>& programFiles,
                                const TRetryQuestion& retry, const std::string& windowClass,
                                uint32_t waitMs)
{
    TCloseResult result;
    const uint32_t self = ports.Processes.CurrentProcessId();
    for (;;) {
        // Listed afresh on every round: a program the user closed by hand is not asked again,
        // and one started meanwhile is.
        std::vector<TTarget> targets;
        for (const TRunningProcess& process : ports.Processes.ListProcesses()) {
            if (process.Id == self) continue;
            std::string program = ListedProgramOf(ports, process, programFiles, windowClass);
            if (!program.empty()) targets.push_back({process.Id, std::move(program), {}});
        }
        // Every program is asked before any is waited for, so that they close side by side.
        for (TTarget& target : targets) {
            Remember(result.WereRunning, target.Program);
            AskToClose(ports.Windows, target);
        }
        const std::string* staying = nullptr;
        for (TTarget& target : targets) {
            if (!EndsWithin(ports, target, waitMs)) {
                staying = &target.Program;
                break;
            }
        }
        if (!staying) {
            result.Closed = true;
            return result;
        }
        if (!retry || !retry(*staying)) return result;
    }
}
