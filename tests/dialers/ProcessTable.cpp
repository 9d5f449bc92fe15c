#include "ProcessTable.h"

#include <algorithm>
#include <cstring>

#include "common/Paths.h"

TProcessTable* TProcessTable::Current = nullptr;

namespace {

TProcessTable& Table()
{
    return *TProcessTable::Current;
}

// Copies text into a buffer of size characters as the system does: truncated to fit with its
// NUL, or, when the table lies, truncated without one and reported with its whole length.
uint32_t CopyName(const std::string& text, char* buffer, uint32_t size)
{
    if (size == 0) return 0;
    if (Table().NameLengthLies) {
        size_t n = std::min<size_t>(text.size(), size);
        std::memcpy(buffer, text.data(), n);
        return static_cast<uint32_t>(text.size() + 100);
    }
    size_t n = std::min<size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

TProcessTable::TProcess* ProcessOf(TProcessHandle handle)
{
    TProcessTable::THandleRecord* record = Table().Record(handle);
    if (!record || record->Snapshot || !record->Open) return nullptr;
    return Table().Find(record->ProcessId);
}

TProcessHandle PROCAPI_CALL FakeCreateSnapshot(uint32_t flags, uint32_t processId)
{
    TProcessTable& table = Table();
    table.SnapshotArgs.push_back(flags);
    table.SnapshotArgs.push_back(processId);
    if (table.SnapshotFails) return InvalidProcessHandle();
    TProcessTable::THandleRecord* record = table.NewHandle();
    record->Snapshot = true;
    record->Ids = table.AliveIds();
    return record;
}

int32_t FillEntry(TProcessHandle snapshot, TProcessEntry32A* entry, bool first)
{
    TProcessTable& table = Table();
    TProcessTable::THandleRecord* record = table.Record(snapshot);
    if (!record || !record->Snapshot || !record->Open) return 0;
    if (entry->dwSize != sizeof(TProcessEntry32A)) {
        ++table.BadEntrySizes;
        return 0;
    }
    if (first)
        record->Cursor = 0;
    else
        ++record->Cursor;
    if (record->Cursor >= record->Ids.size()) return 0;
    const TProcessTable::TProcess* process = table.Find(record->Ids[record->Cursor]);
    entry->th32ProcessID = process->Id;
    // The field is filled to its end without a NUL when the name is that long.
    size_t n = std::min(process->ExeField.size(), sizeof entry->szExeFile);
    std::memcpy(entry->szExeFile, process->ExeField.data(), n);
    if (n < sizeof entry->szExeFile) entry->szExeFile[n] = '\0';
    return 1;
}

int32_t PROCAPI_CALL FakeProcess32First(TProcessHandle snapshot, TProcessEntry32A* entry)
{
    return FillEntry(snapshot, entry, true);
}

int32_t PROCAPI_CALL FakeProcess32Next(TProcessHandle snapshot, TProcessEntry32A* entry)
{
    return FillEntry(snapshot, entry, false);
}

int32_t PROCAPI_CALL FakeEnumProcesses(uint32_t* ids, uint32_t byteCount, uint32_t* bytesReturned)
{
    TProcessTable& table = Table();
    table.EnumProcessesSizes.push_back(byteCount);
    if (table.EnumProcessesFails) return 0;
    const std::vector<uint32_t> alive = table.AliveIds();
    const size_t n = std::min<size_t>(alive.size(), byteCount / sizeof(uint32_t));
    std::copy(alive.begin(), alive.begin() + static_cast<std::ptrdiff_t>(n), ids);
    *bytesReturned = table.ReportedIdBytes >= 0 ? static_cast<uint32_t>(table.ReportedIdBytes)
                                                : static_cast<uint32_t>(n * sizeof(uint32_t));
    return 1;
}

int32_t PROCAPI_CALL FakeEnumProcessModules(TProcessHandle process, TModuleHandle* modules,
                                            uint32_t byteCount, uint32_t* bytesNeeded)
{
    TProcessTable::TProcess* p = ProcessOf(process);
    if (!p || !p->ModulesListable) return 0;
    if (Table().NoModules) {
        *bytesNeeded = 0;
        return 1;
    }
    // The program and two libraries.
    if (byteCount >= sizeof(TModuleHandle))
        modules[0] = reinterpret_cast<TModuleHandle>(static_cast<uintptr_t>(0x400000 + p->Id));
    *bytesNeeded = 3 * sizeof(TModuleHandle);
    return 1;
}

// As the system does, no module (NULL) stands for the program.
bool IsProgramModule(const TProcessTable::TProcess& p, TModuleHandle module)
{
    return !module ||
           module == reinterpret_cast<TModuleHandle>(static_cast<uintptr_t>(0x400000 + p.Id));
}

uint32_t PROCAPI_CALL FakeGetModuleBaseNameA(TProcessHandle process, TModuleHandle module,
                                             char* name, uint32_t size)
{
    TProcessTable::TProcess* p = ProcessOf(process);
    if (!p || !IsProgramModule(*p, module)) return 0;
    return CopyName(p->BaseName, name, size);
}

uint32_t PROCAPI_CALL FakeGetModuleFileNameExA(TProcessHandle process, TModuleHandle module,
                                               char* name, uint32_t size)
{
    TProcessTable::TProcess* p = ProcessOf(process);
    if (!p || !IsProgramModule(*p, module)) return 0;
    return CopyName(p->Path, name, size);
}

const std::map<std::string, void*>& Exports()
{
    static const std::map<std::string, void*> exports = {
            {"CreateToolhelp32Snapshot", reinterpret_cast<void*>(&FakeCreateSnapshot)},
            {"Process32First", reinterpret_cast<void*>(&FakeProcess32First)},
            {"Process32Next", reinterpret_cast<void*>(&FakeProcess32Next)},
            {"EnumProcesses", reinterpret_cast<void*>(&FakeEnumProcesses)},
            {"EnumProcessModules", reinterpret_cast<void*>(&FakeEnumProcessModules)},
            {"GetModuleBaseNameA", reinterpret_cast<void*>(&FakeGetModuleBaseNameA)},
            {"GetModuleFileNameExA", reinterpret_cast<void*>(&FakeGetModuleFileNameExA)},
    };
    return exports;
}

}  // namespace

TProcessTable::TProcessTable()
{
    Current = this;
}

TProcessTable::~TProcessTable()
{
    if (Current == this) Current = nullptr;
}

TProcessTable::TProcess& TProcessTable::Add(uint32_t id, const std::string& path)
{
    TProcess process;
    process.Id = id;
    process.ExeField = path;
    process.BaseName = ExtractFileName(path);
    process.Path = path;
    FProcesses.push_back(process);
    return FProcesses.back();
}

TProcessTable::TProcess* TProcessTable::Find(uint32_t id)
{
    for (TProcess& p : FProcesses)
        if (p.Id == id) return &p;
    return nullptr;
}

std::vector<uint32_t> TProcessTable::AliveIds() const
{
    std::vector<uint32_t> ids;
    for (const TProcess& p : FProcesses)
        if (p.Alive) ids.push_back(p.Id);
    return ids;
}

TProcessTable::THandleRecord* TProcessTable::NewHandle()
{
    FHandles.emplace_back();
    ++OpenHandles;
    return &FHandles.back();
}

TProcessTable::THandleRecord* TProcessTable::Record(TProcessHandle handle)
{
    for (THandleRecord& record : FHandles)
        if (&record == handle) return &record;
    return nullptr;
}

TProcessHandle TProcessTable::OpenProcess(uint32_t access, bool, uint32_t processId)
{
    OpenAccess.push_back(access);
    TProcess* p = Find(processId);
    if (!p || !p->Alive) return nullptr;
    if (access == kProcessAllAccess && !p->FullAccess) return nullptr;
    if (access == kProcessTerminate && !p->TerminateAccess) return nullptr;
    THandleRecord* record = NewHandle();
    record->ProcessId = processId;
    return record;
}

bool TProcessTable::TerminateProcess(TProcessHandle process, uint32_t exitCode)
{
    TProcess* p = ProcessOf(process);
    if (!p || !p->Alive || !p->Terminable) return false;
    Terminations.push_back({p->Id, exitCode});
    p->Alive = false;
    p->ExitCode = exitCode;
    return true;
}

void TProcessTable::CloseHandle(TProcessHandle handle)
{
    THandleRecord* record = Record(handle);
    if (!record || !record->Open) {
        ++BadCloses;
        return;
    }
    record->Open = false;
    --OpenHandles;
}

IDynamicLibraries::THandle TProcessTable::Load(const std::string& name)
{
    Loads.push_back(name);
    if (name == kKernelLibrary && HasKernel32) return &FKernel32Tag;
    if (name == kPsapiLibrary && HasPsapi) return &FPsapiTag;
    return nullptr;
}

void* TProcessTable::Lookup(THandle library, const std::string& name)
{
    Lookups.push_back(name);
    if (library != &FKernel32Tag && library != &FPsapiTag) return nullptr;
    if (MissingExports.count(name)) return nullptr;
    const bool psapi = library == &FPsapiTag;
    const bool psapiName = name.rfind("Enum", 0) == 0 || name.rfind("GetModule", 0) == 0;
    if (psapi != psapiName) return nullptr;
    auto it = Exports().find(name);
    return it == Exports().end() ? nullptr : it->second;
}

void TProcessTable::Free(THandle library)
{
    Frees.push_back(library == &FPsapiTag ? kPsapiLibrary : kKernelLibrary);
}
