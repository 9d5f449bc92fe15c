#pragma once
// A scripted process table behind the kernel port and fake kernel32.dll and PSAPI.DLL exports.
// The exports are plain functions, as the system's are, so they reach the table that is current;
// one table is current at a time (the tests run on one thread).
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dialers/ProcessApi.h"

class TProcessTable : public IProcessKernel, public IDynamicLibraries {
public:
    struct TProcess {
        uint32_t Id = 0;
        std::string ExeField;         // what the snapshot reports in szExeFile
        std::string BaseName;         // what GetModuleBaseNameA reports
        std::string Path;             // what GetModuleFileNameExA reports
        bool FullAccess = true;       // opens with PROCESS_ALL_ACCESS
        bool TerminateAccess = true;  // opens with PROCESS_TERMINATE
        bool Terminable = true;
        bool ModulesListable = true;
        bool Alive = true;
        uint32_t ExitCode = 0;
    };
    struct TTermination {
        uint32_t Id;
        uint32_t ExitCode;
    };

    TProcessTable();
    ~TProcessTable() override;

    // A process whose file is path; the snapshot reports the path itself (as the Windows 95
    // family does), the process-status library its file-name part and the path.
    TProcess& Add(uint32_t id, const std::string& path);
    TProcess* Find(uint32_t id);
    bool Alive(uint32_t id) { return Find(id) && Find(id)->Alive; }

    uint32_t Version = 0x0A280105;  // Windows XP
    uint32_t SelfId = 4000;
    bool HasKernel32 = true, HasPsapi = true;
    std::set<std::string> MissingExports;
    bool SnapshotFails = false;
    bool EnumProcessesFails = false;
    // Lies the system may tell: a byte count beyond the buffer (or any other), module name
    // lengths beyond the buffer with no NUL in it, a module list with no module in it.
    int64_t ReportedIdBytes = -1;  // -1: the truth
    bool NameLengthLies = false;
    bool NoModules = false;

    // What the walk did.
    std::vector<std::string> Loads, Lookups, Frees;
    std::vector<uint32_t> OpenAccess;  // access of each OpenProcess, in order
    std::vector<TTermination> Terminations;
    std::vector<uint32_t> EnumProcessesSizes;  // byte count of each EnumProcesses call
    std::vector<uint32_t> SnapshotArgs;        // flags, then process id, per snapshot
    int OpenHandles = 0;
    int BadCloses = 0;
    int BadEntrySizes = 0;

    // IProcessKernel
    uint32_t GetVersion() override { return Version; }
    uint32_t GetCurrentProcessId() override { return SelfId; }
    TProcessHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override;
    bool TerminateProcess(TProcessHandle process, uint32_t exitCode) override;
    void CloseHandle(TProcessHandle handle) override;

    // IDynamicLibraries
    THandle Load(const std::string& name) override;
    void* Lookup(THandle library, const std::string& name) override;
    void Free(THandle library) override;

    // The table the exports serve.
    static TProcessTable* Current;

    struct THandleRecord {
        bool Snapshot = false;
        bool Open = true;
        uint32_t ProcessId = 0;
        std::vector<uint32_t> Ids;  // a snapshot's processes
        size_t Cursor = 0;
    };
    THandleRecord* Record(TProcessHandle handle);
    THandleRecord* NewHandle();
    std::vector<uint32_t> AliveIds() const;

private:
    std::deque<TProcess> FProcesses;
    std::deque<THandleRecord> FHandles;
    int FKernel32Tag = 0, FPsapiTag = 0;
};
