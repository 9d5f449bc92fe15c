#pragma once
// The process walk's view of the system: the kernel calls, the snapshot functions of kernel32.dll
// and the four functions of the process-status library, the last two groups bound at run time
// by name. An export that could not be bound makes its call fail, so the walk that needs it
// finds nothing instead of stopping the guard.
#include <cstdint>

#include "platform/DynamicLibraries.h"
#include "platform/ProcessList.h"

extern const char kKernelLibrary[];  // "kernel32.dll"
extern const char kPsapiLibrary[];   // "PSAPI.DLL"

// Whether the walk goes through the snapshot functions: on the Windows 95, 98 and Me family,
// which marks its version word with the top bit. The NT family walks through the process-status
// library. The next three bits are not a family mark but the top of the NT build number, set on
// every system since build 4096 (Vista); they must not pick the snapshot walk, whose entries
// there name the program file without its folder.
bool UsesToolhelp(uint32_t version);

class TProcessApi {
public:
    // Loads the process-status library and binds its four functions when the system's version
    // selects that walk. The library is bound whole or not at all: a walk that could list the
    // processes but not name them, or the reverse, would make list and kill mode disagree.
    TProcessApi(IProcessKernel& kernel, IDynamicLibraries& libraries);
    ~TProcessApi();
    TProcessApi(const TProcessApi&) = delete;
    TProcessApi& operator=(const TProcessApi&) = delete;

    IProcessKernel& Kernel() { return FKernel; }

    // The snapshot functions are bound on the first call; without all three the snapshot fails
    // (InvalidProcessHandle()) and the walk finds nothing.
    TProcessHandle CreateToolhelp32Snapshot(uint32_t flags, uint32_t processId);
    bool Process32First(TProcessHandle snapshot, TProcessEntry32A* entry);
    bool Process32Next(TProcessHandle snapshot, TProcessEntry32A* entry);

    bool PsapiBound() const { return FEnumProcesses != nullptr; }
    // Each fails (false, 0) when the library is not bound.
    bool EnumProcesses(uint32_t* ids, uint32_t byteCount, uint32_t* bytesReturned);
    bool EnumProcessModules(TProcessHandle process, TModuleHandle* modules, uint32_t byteCount,
                            uint32_t* bytesNeeded);
    uint32_t GetModuleBaseNameA(TProcessHandle process, TModuleHandle module, char* name,
                                uint32_t size);
    uint32_t GetModuleFileNameExA(TProcessHandle process, TModuleHandle module, char* name,
                                  uint32_t size);

private:
    void BindPsapi();
    void BindToolhelp();

    IProcessKernel& FKernel;
    IDynamicLibraries& FLibraries;

    IDynamicLibraries::THandle FPsapi = nullptr;
    TEnumProcessesFn FEnumProcesses = nullptr;
    TEnumProcessModulesFn FEnumProcessModules = nullptr;
    TGetModuleBaseNameAFn FGetModuleBaseNameA = nullptr;
    TGetModuleFileNameExAFn FGetModuleFileNameExA = nullptr;

    bool FToolhelpTried = false;
    IDynamicLibraries::THandle FKernel32 = nullptr;
    TCreateToolhelp32SnapshotFn FCreateSnapshot = nullptr;
    TProcess32FirstFn FProcess32First = nullptr;
    TProcess32NextFn FProcess32Next = nullptr;
};

// The process-wide binding over the system. The guard asks for it while it starts, which is when
// the process-status library is loaded.
TProcessApi& SystemProcessApi();
// A binding that sees no process at all: nothing can be loaded or opened through it.
TProcessApi& NoProcessApi();
