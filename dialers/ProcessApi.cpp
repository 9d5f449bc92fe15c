#include "dialers/ProcessApi.h"

#include "common/Trace.h"

const char kKernelLibrary[] = "kernel32.dll";
const char kPsapiLibrary[] = "PSAPI.DLL";

bool UsesToolhelp(uint32_t version)
{
    return (version & 0x80000000u) != 0;
}

namespace {

template <typename TFn>
TFn Bind(IDynamicLibraries& libraries, IDynamicLibraries::THandle library, const char* name)
{
    return reinterpret_cast<TFn>(libraries.Lookup(library, name));
}

}  // namespace

TProcessApi::TProcessApi(IProcessKernel& kernel, IDynamicLibraries& libraries)
    : FKernel(kernel), FLibraries(libraries)
{
    if (!UsesToolhelp(FKernel.GetVersion())) BindPsapi();
}

TProcessApi::~TProcessApi()
{
    if (FPsapi) FLibraries.Free(FPsapi);
    if (FKernel32) FLibraries.Free(FKernel32);
}

void TProcessApi::BindPsapi()
{
    IDynamicLibraries::THandle library = FLibraries.Load(kPsapiLibrary);
    if (!library) {
        Trace("[TProcessApi.BindPsapi] PSAPI.DLL cannot be loaded: no processes will be found");
        return;
    }
    auto enumProcesses = Bind<TEnumProcessesFn>(FLibraries, library, "EnumProcesses");
    auto enumModules = Bind<TEnumProcessModulesFn>(FLibraries, library, "EnumProcessModules");
    auto baseName = Bind<TGetModuleBaseNameAFn>(FLibraries, library, "GetModuleBaseNameA");
    auto fileName = Bind<TGetModuleFileNameExAFn>(FLibraries, library, "GetModuleFileNameExA");
    if (!enumProcesses || !enumModules || !baseName || !fileName) {
        Trace("[TProcessApi.BindPsapi] PSAPI.DLL lacks a function: no processes will be found");
        FLibraries.Free(library);
        return;
    }
    FPsapi = library;
    FEnumProcesses = enumProcesses;
    FEnumProcessModules = enumModules;
    FGetModuleBaseNameA = baseName;
    FGetModuleFileNameExA = fileName;
}

void TProcessApi::BindToolhelp()
{
    FToolhelpTried = true;
    IDynamicLibraries::THandle library = FLibraries.Load(kKernelLibrary);
    if (!library) return;
    auto create =
            Bind<TCreateToolhelp32SnapshotFn>(FLibraries, library, "CreateToolhelp32Snapshot");
    auto first = Bind<TProcess32FirstFn>(FLibraries, library, "Process32First");
    auto next = Bind<TProcess32NextFn>(FLibraries, library, "Process32Next");
    if (!create || !first || !next) {
        Trace("[TProcessApi.BindToolhelp] kernel32.dll lacks the snapshot functions");
        FLibraries.Free(library);
        return;
    }
    FKernel32 = library;
    FCreateSnapshot = create;
    FProcess32First = first;
    FProcess32Next = next;
}

TProcessHandle TProcessApi::CreateToolhelp32Snapshot(uint32_t flags, uint32_t processId)
{
    if (!FToolhelpTried) BindToolhelp();
    if (!FCreateSnapshot) return InvalidProcessHandle();
    return FCreateSnapshot(flags, processId);
}

bool TProcessApi::Process32First(TProcessHandle snapshot, TProcessEntry32A* entry)
{
    return FProcess32First && FProcess32First(snapshot, entry) != 0;
}

bool TProcessApi::Process32Next(TProcessHandle snapshot, TProcessEntry32A* entry)
{
    return FProcess32Next && FProcess32Next(snapshot, entry) != 0;
}

bool TProcessApi::EnumProcesses(uint32_t* ids, uint32_t byteCount, uint32_t* bytesReturned)
{
    return FEnumProcesses && FEnumProcesses(ids, byteCount, bytesReturned) != 0;
}

bool TProcessApi::EnumProcessModules(TProcessHandle process, TModuleHandle* modules,
                                     uint32_t byteCount, uint32_t* bytesNeeded)
{
    return FEnumProcessModules &&
           FEnumProcessModules(process, modules, byteCount, bytesNeeded) != 0;
}

uint32_t TProcessApi::GetModuleBaseNameA(TProcessHandle process, TModuleHandle module, char* name,
                                         uint32_t size)
{
    return FGetModuleBaseNameA ? FGetModuleBaseNameA(process, module, name, size) : 0;
}

uint32_t TProcessApi::GetModuleFileNameExA(TProcessHandle process, TModuleHandle module, char* name,
                                           uint32_t size)
{
    return FGetModuleFileNameExA ? FGetModuleFileNameExA(process, module, name, size) : 0;
}

TProcessApi& SystemProcessApi()
{
    static TProcessApi api(SystemProcessKernel(), SystemLibraries());
    return api;
}

namespace {

class TNoKernel : public IProcessKernel {
public:
    uint32_t GetVersion() override { return 0; }
    uint32_t GetCurrentProcessId() override { return 0; }
    TProcessHandle OpenProcess(uint32_t, bool, uint32_t) override { return nullptr; }
    bool TerminateProcess(TProcessHandle, uint32_t) override { return false; }
    void CloseHandle(TProcessHandle) override {}
};

class TNoLibraries : public IDynamicLibraries {
public:
    THandle Load(const std::string&) override { return nullptr; }
    void* Lookup(THandle, const std::string&) override { return nullptr; }
    void Free(THandle) override {}
};

}  // namespace

TProcessApi& NoProcessApi()
{
    static TNoKernel kernel;
    static TNoLibraries libraries;
    static TProcessApi api(kernel, libraries);
    return api;
}
