#include "dialers/RunningProcesses.h"

#include "common/Paths.h"
#include "common/StrUtils.h"

namespace {

// What the walk names the process by: its full path, or its bare file name where the system
// gives only that.
const std::string& ProgramFile(const TRunningProcess& process)
{
    return process.FullPath.empty() ? process.FileName : process.FullPath;
}

// The whole paths decide wherever both sides have one, so that a dialer saved under the name of
// a system program (explorer.exe, svchost.exe) in a folder of its own does not take the system's
// process of that name down with it. Only where one side names no folder does the file name
// decide alone. Both sides are compared ignoring ASCII case.
bool RunsFile(const TRunningProcess& process, const std::string& file)
{
    const std::string& running = ProgramFile(process);
    if (!ExtractFilePath(file).empty() && !ExtractFilePath(running).empty())
        return SameText(running, file);
    return SameText(ExtractFileName(running), ExtractFileName(file));
}

}  // namespace

bool ListProcessFiles(const TToolsPorts& ports, TFiles& list)
{
    list.Clear();
    for (const TRunningProcess& process : ports.ProcessWalk.ListProcesses())
        if (!process.PathUnreadable) list.Add(ProgramFile(process));
    return list.Count() > 0;
}

bool KillProcessByFile(const TToolsPorts& ports, const std::string& path)
{
    if (ExtractFileName(path).empty()) return false;
    IProcessWalk& walk = ports.ProcessWalk;
    const uint32_t self = walk.CurrentProcessId();
    for (const TRunningProcess& process : walk.ListProcesses())
        if (process.Id != self && RunsFile(process, path)) return walk.EndProcess(process.Id);
    return false;
}

bool TerminateProcessById(const TToolsPorts& ports, uint32_t processId)
{
    return ports.ProcessWalk.EndProcess(processId);
}
