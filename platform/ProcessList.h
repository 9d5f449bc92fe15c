#pragma once
// Port: what the walk over the running processes needs of the system. The kernel calls that every
// Windows has are the methods of IProcessKernel. The snapshot functions of kernel32.dll and the
// four functions of the process-status library are not linked: they are looked up by name through
// IDynamicLibraries, so that the program starts on systems that lack them. Their records and
// signatures are given here, laid out as the 32-bit system expects them.
#include <cstddef>
#include <cstdint>

// Calling convention of the system's exports (WINAPI). Elsewhere there is only one.
#if defined(_WIN32) && defined(__i386__)
#define PROCAPI_CALL __stdcall
#else
#define PROCAPI_CALL
#endif

using TProcessHandle = void*;  // HANDLE
using TModuleHandle = void*;   // HMODULE

// INVALID_HANDLE_VALUE, which CreateToolhelp32Snapshot returns when it fails.
inline TProcessHandle InvalidProcessHandle()
{
    return reinterpret_cast<TProcessHandle>(intptr_t(-1));
}

constexpr uint32_t kTh32csSnapAll = 15;             // TH32CS_SNAPALL
constexpr uint32_t kProcessTerminate = 0x0001;      // PROCESS_TERMINATE
constexpr uint32_t kProcessAllAccess = 0x001F0FFF;  // PROCESS_ALL_ACCESS of the older systems
constexpr size_t kProcessEntryExeFile = 260;        // MAX_PATH

#pragma pack(push, 4)
struct TProcessEntry32A {  // PROCESSENTRY32 (ANSI)
    uint32_t dwSize;
    uint32_t cntUsage;
    uint32_t th32ProcessID;
    uint32_t th32DefaultHeapID;  // ULONG_PTR of a 32-bit process
    uint32_t th32ModuleID;
    uint32_t cntThreads;
    uint32_t th32ParentProcessID;
    int32_t pcPriClassBase;
    uint32_t dwFlags;
    char szExeFile[kProcessEntryExeFile];
};
#pragma pack(pop)
static_assert(sizeof(TProcessEntry32A) == 296, "PROCESSENTRY32 has 296 bytes");

// The exports looked up by name.
using TCreateToolhelp32SnapshotFn = TProcessHandle(PROCAPI_CALL*)(uint32_t flags,
                                                                  uint32_t processId);
using TProcess32FirstFn = int32_t(PROCAPI_CALL*)(TProcessHandle snapshot, TProcessEntry32A* entry);
using TProcess32NextFn = int32_t(PROCAPI_CALL*)(TProcessHandle snapshot, TProcessEntry32A* entry);
using TEnumProcessesFn = int32_t(PROCAPI_CALL*)(uint32_t* ids, uint32_t byteCount,
                                                uint32_t* bytesReturned);
using TEnumProcessModulesFn = int32_t(PROCAPI_CALL*)(TProcessHandle process, TModuleHandle* modules,
                                                     uint32_t byteCount, uint32_t* bytesNeeded);
using TGetModuleBaseNameAFn = uint32_t(PROCAPI_CALL*)(TProcessHandle process, TModuleHandle module,
                                                      char* name, uint32_t size);
using TGetModuleFileNameExAFn = uint32_t(PROCAPI_CALL*)(TProcessHandle process,
                                                        TModuleHandle module, char* name,
                                                        uint32_t size);

class IProcessKernel {
public:
    virtual ~IProcessKernel() = default;
    // The packed version word of GetVersion.
    virtual uint32_t GetVersion() = 0;
    virtual uint32_t GetCurrentProcessId() = 0;
    // nullptr when the process cannot be opened with that access.
    virtual TProcessHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) = 0;
    virtual bool TerminateProcess(TProcessHandle process, uint32_t exitCode) = 0;
    virtual void CloseHandle(TProcessHandle handle) = 0;
};

// The system's kernel. Linux has neither the snapshot functions nor the process-status library;
// its stand-in opens no process, so the walk there finds nothing.
IProcessKernel& SystemProcessKernel();
