// The walk over the running processes, in the two ways the system offers: the snapshot functions
// of kernel32.dll on the Windows 95, 98 and Me family, the four functions of the process-status
// library on the NT family, where Vista and later also give each process's full path from a
// handle with the limited query right (the only way to a 64-bit process's path). The version
// word picks the way on every walk. The NT family's names are read in their wide form: a path
// that the ANSI code page cannot hold would come back as another path (its best fit), which
// names no file. Neither group is linked: both are looked up by name, so that the guard starts
// on a system that lacks them, and a walk whose functions are missing finds nothing instead of
// stopping the guard.
#include <windows.h>
#include <tlhelp32.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "common/Paths.h"
#include "common/StrUtils.h"
#include "common/Trace.h"
#include "platform/AnsiText.h"
#include "platform/SystemVersion.h"
#include "platform/win32/ProcessWalkWin32.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

namespace {

const char kKernelLibrary[] = "kernel32.dll";
const char kPsapiLibrary[] = "PSAPI.DLL";

// The exports as the system declares them. The snapshot's record is the ANSI one on purpose:
// the Windows 95 family has no other, and its text is converted with the ANSI code page. The
// name is spelt out because UNICODE turns PROCESSENTRY32 into the wide record.
using TCreateSnapshotFn = decltype(&CreateToolhelp32Snapshot);
using TProcess32Fn = BOOL(WINAPI*)(HANDLE snapshot, tagPROCESSENTRY32* entry);
using TEnumProcessesFn = BOOL(WINAPI*)(DWORD* ids, DWORD byteCount, DWORD* bytesReturned);
using TEnumProcessModulesFn = BOOL(WINAPI*)(HANDLE process, HMODULE* modules, DWORD byteCount,
                                            DWORD* bytesNeeded);
using TQueryImageNameFn = BOOL(WINAPI*)(HANDLE process, DWORD flags, wchar_t* path, DWORD* size);
// GetModuleBaseNameW and GetModuleFileNameExW alike.
using TModuleTextFn = DWORD(WINAPI*)(HANDLE process, HMODULE module, wchar_t* text, DWORD size);

// The exports bound of each library, in the order of these indexes.
enum TSnapshotExport : size_t { kCreateSnapshot, kProcess32First, kProcess32Next };
enum TPsapiExport : size_t { kEnumProcesses, kEnumProcessModules, kBaseName, kFileName };

// The process-status walk reads this many identifiers at first and asks again with room for
// twice as many while the answer fills the buffer, up to kMaxProcessIds.
constexpr size_t kProcessIdCapacity = 256;
constexpr size_t kMaxProcessIds = 65536;
constexpr DWORD kModuleTextCapacity = 512;  // characters of a module's name or path
// A program's full path as QueryFullProcessImageNameW gives it, long paths included.
constexpr DWORD kImagePathCapacity = 32768;
// PROCESS_QUERY_LIMITED_INFORMATION, which Vista and later grant for processes that refuse full
// access, 64-bit ones and those of other users among them.
constexpr DWORD kLimitedQueryAccess = 0x1000;

// PROCESS_ALL_ACCESS as the systems before Vista know it; they refuse the larger mask of the
// newer headers. The process-status walk opens every process with it to read its names.
constexpr DWORD kFullAccess = STANDARD_RIGHTS_REQUIRED | SYNCHRONIZE | 0xFFF;

// The exit code of a process the guard ended, as each walk has always left it. Nothing reads it.
constexpr UINT kSnapshotWalkExitCode = 0xFFFFFFFFu;
constexpr UINT kPsapiWalkExitCode = 0;

// A library with every export the walk needs of it, or nothing: when the library or one export
// is missing, the library is given back at once and no export is kept. Half a library would be
// worse than none: a walk that could list the processes but not name them, or the reverse,
// would make listing and killing disagree.
class TBoundLibrary {
public:
    TBoundLibrary(IDynamicLibraries& libraries, const char* library,
                  std::initializer_list<const char*> exports)
        : FLibraries(libraries), FHandle(libraries.Load(library))
    {
        if (!FHandle)
            TraceFmt("[ProcessWalk] %s cannot be loaded: no processes will be found", library);
        for (const char* name : exports) {
            if (!FHandle) break;
            if (void* address = FLibraries.Lookup(FHandle, name)) {
                FExports.push_back(address);
                continue;
            }
            TraceFmt("[ProcessWalk] %s lacks %s: no processes will be found", library, name);
            FExports.clear();
            FLibraries.Free(FHandle);
            FHandle = nullptr;
        }
    }
    ~TBoundLibrary()
    {
        if (FHandle) FLibraries.Free(FHandle);
    }
    TBoundLibrary(const TBoundLibrary&) = delete;
    TBoundLibrary& operator=(const TBoundLibrary&) = delete;

    bool Bound() const { return FHandle != nullptr; }
    // The export at that index of the names bound; only while Bound().
    template <typename TFn>
    TFn Export(size_t index) const
    {
        return reinterpret_cast<TFn>(FExports.at(index));
    }

private:
    IDynamicLibraries& FLibraries;
    IDynamicLibraries::THandle FHandle;
    std::vector<void*> FExports;
};

std::vector<TRunningProcess> SnapshotWalk(const TBoundLibrary& kernel)
{
    std::vector<TRunningProcess> found;
    TKernelHandle snapshot(kernel.Export<TCreateSnapshotFn>(kCreateSnapshot)(
            TH32CS_SNAPALL, GetCurrentProcessId()));
    if (!snapshot) return found;
    auto step = kernel.Export<TProcess32Fn>(kProcess32First);
    tagPROCESSENTRY32 entry;
    for (;;) {
        // Cleared for each entry, so that an entry the system leaves unnamed is not taken for the
        // one before it.
        std::memset(&entry, 0, sizeof entry);
        entry.dwSize = sizeof entry;
        if (!step(snapshot.get(), &entry)) break;
        step = kernel.Export<TProcess32Fn>(kProcess32Next);
        // The field holds a full path on the Windows 95 family and the bare file name elsewhere.
        const std::string exe = AnsiToUtf8(FieldText(entry.szExeFile, sizeof entry.szExeFile));
        if (exe.empty()) continue;
        TRunningProcess process;
        process.Id = entry.th32ProcessID;
        process.FileName = ExtractFileName(exe);
        if (!ExtractFilePath(exe).empty()) process.FullPath = exe;
        found.push_back(process);
    }
    return found;
}

// The identifiers of the running processes; false when the system cannot list them. The byte
// count it reports is cut to the buffer; a full buffer may mean that some did not fit.
bool ReadProcessIds(TEnumProcessesFn enumProcesses, std::vector<DWORD>& ids)
{
    ids.assign(kProcessIdCapacity, 0);
    for (;;) {
        const DWORD size = static_cast<DWORD>(ids.size() * sizeof(DWORD));
        DWORD returned = 0;
        if (!enumProcesses(ids.data(), size, &returned)) return false;
        returned = std::min(returned, size);
        if (returned < size || ids.size() >= kMaxProcessIds) {
            ids.resize(returned / sizeof(DWORD));
            return true;
        }
        ids.assign(ids.size() * 2, 0);
    }
}

// A module's name or path as the system writes it: at most the length it reports, never past
// the buffer, and only up to a NUL within it.
std::string ModuleText(TModuleTextFn read, HANDLE process, HMODULE module)
{
    wchar_t buffer[kModuleTextCapacity] = {};
    const DWORD reported = read(process, module, buffer, kModuleTextCapacity);
    const wchar_t* const text = buffer;
    const wchar_t* const end =
            std::find(text, text + std::min(reported, kModuleTextCapacity), L'\0');
    return Narrow(text, static_cast<size_t>(end - text));
}

// The program's full path through the call of Vista and later; "" when the call is missing or
// the process refuses. A 32-bit program gets no module list of a 64-bit process, but this.
std::string ImagePath(TQueryImageNameFn query, DWORD id)
{
    if (!query) return std::string();
    TKernelHandle process(OpenProcess(kLimitedQueryAccess, FALSE, id));
    if (!process) return std::string();
    std::vector<wchar_t> buffer(kImagePathCapacity, L'\0');
    DWORD size = kImagePathCapacity;
    if (!query(process.get(), 0, buffer.data(), &size)) return std::string();
    return Narrow(buffer.data(), std::min(size, kImagePathCapacity - 1));
}

std::vector<TRunningProcess> PsapiWalk(const TBoundLibrary& psapi, TQueryImageNameFn imagePath)
{
    std::vector<TRunningProcess> found;
    std::vector<DWORD> ids;
    if (!ReadProcessIds(psapi.Export<TEnumProcessesFn>(kEnumProcesses), ids)) return found;
    const auto enumModules = psapi.Export<TEnumProcessModulesFn>(kEnumProcessModules);
    const auto baseName = psapi.Export<TModuleTextFn>(kBaseName);
    const auto fileName = psapi.Export<TModuleTextFn>(kFileName);
    for (DWORD id : ids) {
        if (id == 0) continue;  // the idle process
        TRunningProcess running;
        running.Id = id;
        running.FullPath = ImagePath(imagePath, id);
        if (!running.FullPath.empty()) {
            running.FileName = ExtractFileName(running.FullPath);
            found.push_back(running);
            continue;
        }
        // Processes that refuse full access (the system's, other users') are passed over.
        TKernelHandle process(OpenProcess(kFullAccess, FALSE, id));
        if (!process) continue;
        // The first module is the program itself; a process that reports none is passed over.
        HMODULE program = nullptr;
        DWORD needed = 0;
        if (!enumModules(process.get(), &program, sizeof program, &needed) ||
            needed < sizeof program)
            continue;
        running.FileName = ModuleText(baseName, process.get(), program);
        if (running.FileName.empty()) continue;
        running.FullPath = ModuleText(fileName, process.get(), program);
        running.PathUnreadable = running.FullPath.empty();
        found.push_back(running);
    }
    return found;
}

class TWin32ProcessWalk : public IProcessWalk {
public:
    // The process-status library is loaded here, when the guard starts, on the systems that walk
    // through it.
    TWin32ProcessWalk(IDynamicLibraries& libraries, TVersionWordFn versionWord)
        : FLibraries(libraries), FVersionWord(versionWord)
    {
        if (IsWindows95Family(FVersionWord())) return;
        FPsapi.reset(new TBoundLibrary(FLibraries, kPsapiLibrary,
                                       {"EnumProcesses", "EnumProcessModules", "GetModuleBaseNameW",
                                        "GetModuleFileNameExW"}));
        // Optional: the systems before Vista lack it and walk by the modules alone.
        FKernel = FLibraries.Load(kKernelLibrary);
        if (FKernel)
            FImagePath = reinterpret_cast<TQueryImageNameFn>(
                    FLibraries.Lookup(FKernel, "QueryFullProcessImageNameW"));
    }
    ~TWin32ProcessWalk() override
    {
        if (FKernel) FLibraries.Free(FKernel);
    }

    std::vector<TRunningProcess> ListProcesses() override
    {
        if (IsWindows95Family(FVersionWord())) {
            // Looked up on the first walk that needs them, once.
            if (!FSnapshot)
                FSnapshot.reset(new TBoundLibrary(
                        FLibraries, kKernelLibrary,
                        {"CreateToolhelp32Snapshot", "Process32First", "Process32Next"}));
            if (FSnapshot->Bound()) return SnapshotWalk(*FSnapshot);
        } else if (FPsapi && FPsapi->Bound()) {
            return PsapiWalk(*FPsapi, FImagePath);
        }
        return {};
    }

    bool EndProcess(uint32_t processId) override
    {
        const UINT exitCode =
                IsWindows95Family(FVersionWord()) ? kSnapshotWalkExitCode : kPsapiWalkExitCode;
        TKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
        return process && TerminateProcess(process.get(), exitCode);
    }

    uint32_t CurrentProcessId() override { return GetCurrentProcessId(); }

private:
    IDynamicLibraries& FLibraries;
    TVersionWordFn FVersionWord;
    std::unique_ptr<TBoundLibrary> FPsapi, FSnapshot;
    IDynamicLibraries::THandle FKernel = nullptr;
    TQueryImageNameFn FImagePath = nullptr;
};

}  // namespace

std::unique_ptr<IProcessWalk> MakeWin32ProcessWalk(IDynamicLibraries& libraries,
                                                   TVersionWordFn versionWord)
{
    return std::unique_ptr<IProcessWalk>(new TWin32ProcessWalk(libraries, versionWord));
}

IProcessWalk& SystemProcessWalk()
{
    static const std::unique_ptr<IProcessWalk> walk =
            MakeWin32ProcessWalk(SystemLibraries(), SystemVersionWord);
    return *walk;
}
