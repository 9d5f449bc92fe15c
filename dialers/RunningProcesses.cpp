#include "dialers/RunningProcesses.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/Errors.h"
#include "common/Paths.h"
#include "common/StrUtils.h"
#include "platform/AnsiText.h"

namespace {

// What one walk looks for: a program file (kill mode) or everything (list mode). Kill mode
// matches on the whole path wherever both sides have one, so that a dialer saved under the name
// of a system program (explorer.exe, svchost.exe) in a folder of its own does not take the
// system's process of that name down with it. Only where one side names no folder does the file
// name decide alone.
struct TScan {
    std::string Target;  // the program file looked for; empty in list mode
    TFiles* List;
    uint32_t Self;

    // processFile: the process's full path, or its bare file name where the system gives only
    // that. Both sides are compared ignoring ASCII case.
    bool Matches(const std::string& processFile, uint32_t processId) const
    {
        if (processId == Self) return false;
        if (!ExtractFilePath(Target).empty() && !ExtractFilePath(processFile).empty())
            return SameText(processFile, Target);
        return SameText(ExtractFileName(processFile), ExtractFileName(Target));
    }
};

// A name the system wrote into buffer: at most the length it reports, never past the buffer,
// and only up to a NUL within it.
std::string ModuleText(const char* buffer, uint32_t reported, uint32_t capacity)
{
    return AnsiToUtf8(FieldText(buffer, std::min(reported, capacity)));
}

bool ToolhelpWalk(const TToolsPorts& ports, const TScan& scan)
{
    TProcessApi& api = ports.ProcessApi;
    TProcessHandle snapshot =
            api.CreateToolhelp32Snapshot(kTh32csSnapAll, api.Kernel().GetCurrentProcessId());
    if (snapshot == InvalidProcessHandle() || !snapshot) return false;

    TProcessEntry32A entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    bool found = api.Process32First(snapshot, &entry);
    while (found) {
        // The field holds a full path on the Windows 95 family and the bare file name elsewhere.
        const std::string exe = AnsiToUtf8(FieldText(entry.szExeFile, sizeof entry.szExeFile));
        const uint32_t processId = entry.th32ProcessID;
        if (!exe.empty()) {
            if (scan.List) {
                scan.List->Add(exe);
            } else if (scan.Matches(exe, processId)) {
                const bool terminated = TerminateProcessById(ports, processId);
                api.Kernel().CloseHandle(snapshot);
                return terminated;
            }
        }
        // Cleared for each entry, so that an entry the system leaves unnamed is not taken for
        // the one before it.
        std::memset(&entry, 0, sizeof entry);
        entry.dwSize = sizeof entry;
        found = api.Process32Next(snapshot, &entry);
    }
    api.Kernel().CloseHandle(snapshot);
    return false;
}

// The identifiers of the running processes; false when the system cannot list them. The byte
// count it reports is cut to the buffer; a full buffer may mean that some did not fit.
bool ReadProcessIds(TProcessApi& api, std::vector<uint32_t>& ids)
{
    ids.assign(kProcessIdCapacity, 0);
    for (;;) {
        const uint32_t size = static_cast<uint32_t>(ids.size() * sizeof(uint32_t));
        uint32_t returned = 0;
        if (!api.EnumProcesses(ids.data(), size, &returned)) return false;
        returned = std::min(returned, size);
        if (returned < size || ids.size() >= kMaxProcessIds) {
            ids.resize(returned / sizeof(uint32_t));
            return true;
        }
        ids.assign(ids.size() * 2, 0);
    }
}

// Handles one process of the process-status walk. True when the walk ends here (kill mode
// found its process), with the outcome of the termination in terminated.
bool PsapiVisit(TProcessApi& api, const TScan& scan, TProcessHandle process, uint32_t processId,
                bool& terminated)
{
    TModuleHandle modules[kModuleCapacity] = {};
    uint32_t needed = 0;
    // The first module is the program itself; a process that reports none is passed over.
    if (!api.EnumProcessModules(process, modules, sizeof modules, &needed) ||
        needed < sizeof(TModuleHandle))
        return false;

    char buffer[kModuleNameCapacity];
    std::memset(buffer, 0, sizeof buffer);
    const std::string baseName = ModuleText(
            buffer, api.GetModuleBaseNameA(process, modules[0], buffer, kModuleNameCapacity),
            kModuleNameCapacity);
    if (baseName.empty()) return false;

    std::memset(buffer, 0, sizeof buffer);
    const std::string path = ModuleText(
            buffer, api.GetModuleFileNameExA(process, modules[0], buffer, kModuleNameCapacity),
            kModuleNameCapacity);
    if (scan.List) {
        if (!path.empty()) scan.List->Add(path);
        return false;
    }
    if (!scan.Matches(path.empty() ? baseName : path, processId)) return false;
    terminated = api.Kernel().TerminateProcess(process, kPsapiKillExitCode);
    return true;
}

bool PsapiWalk(const TToolsPorts& ports, const TScan& scan)
{
    TProcessApi& api = ports.ProcessApi;
    std::vector<uint32_t> ids;
    if (!ReadProcessIds(api, ids)) return false;
    for (uint32_t processId : ids) {
        if (processId == 0) continue;
        // Processes that refuse full access (the system's, other users') are passed over.
        TProcessHandle process = api.Kernel().OpenProcess(kProcessAllAccess, false, processId);
        if (!process) continue;
        bool terminated = false;
        const bool done = PsapiVisit(api, scan, process, processId, terminated);
        api.Kernel().CloseHandle(process);
        if (done) return terminated;
    }
    return false;
}

}  // namespace

bool ScanProcesses(const TToolsPorts& ports, const std::string& target, TFiles* list)
{
    LW_ASSERT(!list || target.empty(), "LinewardenTools");
    const std::string targetName = ExtractFileName(target);
    if (list) {
        list->Clear();
    } else if (targetName.empty()) {
        return false;
    }
    TProcessApi& api = ports.ProcessApi;
    const TScan scan{target, list, api.Kernel().GetCurrentProcessId()};
    const bool terminated = UsesToolhelp(api.Kernel().GetVersion()) ? ToolhelpWalk(ports, scan)
                                                                    : PsapiWalk(ports, scan);
    return list ? list->Count() > 0 : terminated;
}

bool KillProcessByFile(const TToolsPorts& ports, const std::string& path)
{
    return ScanProcesses(ports, path, nullptr);
}

bool TerminateProcessById(const TToolsPorts& ports, uint32_t processId)
{
    IProcessKernel& kernel = ports.ProcessApi.Kernel();
    TProcessHandle process = kernel.OpenProcess(kProcessTerminate, false, processId);
    if (!process) return false;
    const bool terminated = kernel.TerminateProcess(process, kToolhelpKillExitCode);
    kernel.CloseHandle(process);
    return terminated;
}
