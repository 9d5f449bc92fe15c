// The walk over the running processes, in both variants, against a scripted process table.
#include "dialers/RunningProcesses.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ProcessTable.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"

namespace {

constexpr uint32_t kWindowsXp = 0x0A280105;
constexpr uint32_t kWindows98 = 0xC0000A04;

struct TVariant {
    const char* Name;
    uint32_t Version;
    uint32_t KillExitCode;
    uint32_t KillAccess;  // how the walk opens the process it terminates
};
const TVariant kToolhelp{"snapshot walk", kWindows98, kToolhelpKillExitCode, kProcessTerminate};
const TVariant kPsapi{"process-status walk", kWindowsXp, kPsapiKillExitCode, kProcessAllAccess};

class ProcessWalk : public ::testing::Test {
protected:
    std::unique_ptr<TProcessTable> Table;
    TMemoryRegistry Registry;
    TMemoryFileSystem Files;
    TFakeProcesses Processes;
    TFakeShell Shell;
    std::unique_ptr<TProcessApi> Api;
    std::unique_ptr<TToolsPorts> Ports;

    void SetUp() override { Table.reset(new TProcessTable); }

    // Binds the walk as the guard does when it starts on a system of that version.
    void Start(uint32_t version)
    {
        Ports.reset();
        Api.reset();
        Table->Version = version;
        Api.reset(new TProcessApi(*Table, *Table));
        Ports.reset(new TToolsPorts{Registry, Files, Processes, Shell, "C:\\Guard\\MLinewarden.exe",
                                    kUnpackerTimeLimitMs, *Api});
    }
    void Reset()
    {
        Ports.reset();
        Api.reset();
        Table.reset();
        Table.reset(new TProcessTable);
    }

    // List mode on a list that held an entry before; checks that the result says whether the
    // list is empty.
    std::vector<std::string> List()
    {
        TFiles list(*Ports);
        list.Add("left over");
        const bool found = list.AddRunningProcesses();
        EXPECT_EQ(found, list.Count() > 0);
        return list.Items();
    }

    std::vector<uint32_t> Killed() const
    {
        std::vector<uint32_t> ids;
        for (const auto& t : Table->Terminations) ids.push_back(t.Id);
        return ids;
    }

    // Every handle the walk opened was closed once.
    void ExpectHandlesClosed()
    {
        EXPECT_EQ(0, Table->OpenHandles);
        EXPECT_EQ(0, Table->BadCloses);
    }
};

using TStrings = std::vector<std::string>;

TEST_F(ProcessWalk, ListModeCollectsProgramFilesInWalkOrder)
{
    struct TCase {
        TVariant variant;
        TStrings expected;
    };
    const TCase cases[] = {
            // The snapshot names every process it holds, whatever access the guard has to it.
            {kToolhelp,
             {"C:\\WINDOWS\\EXPLORER.EXE", "C:\\X\\dialer.exe", "C:\\X\\dialer.exe",
              "[System Process]", "C:\\Sys\\locked.exe", "C:\\Y\\nomodules.exe",
              "C:\\Z\\nopath.exe", "C:\\Z\\nobase.exe"}},
            // The process-status walk names only processes it can open and read; identifier 0 is
            // passed over.
            {kPsapi, {"C:\\WINDOWS\\EXPLORER.EXE", "C:\\X\\dialer.exe", "C:\\X\\dialer.exe"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.variant.Name);
        Reset();
        Table->Add(8, "C:\\WINDOWS\\EXPLORER.EXE");
        Table->Add(12, "C:\\X\\dialer.exe");
        Table->Add(13, "C:\\X\\dialer.exe");
        Table->Add(0, "[System Process]");
        Table->Add(20, "C:\\Sys\\locked.exe").FullAccess = false;
        Table->Add(21, "C:\\Y\\nomodules.exe").ModulesListable = false;
        Table->Add(22, "");
        Table->Add(23, "C:\\Z\\nopath.exe").Path = "";
        Table->Add(24, "C:\\Z\\nobase.exe").BaseName = "";
        Start(c.variant.Version);

        EXPECT_EQ(c.expected, List());
        EXPECT_TRUE(Table->Terminations.empty());
        ExpectHandlesClosed();
        if (c.variant.Version == kWindows98) {
            EXPECT_EQ((std::vector<uint32_t>{kTh32csSnapAll, Table->SelfId}), Table->SnapshotArgs);
            EXPECT_TRUE(Table->OpenAccess.empty());
            EXPECT_EQ(0, Table->BadEntrySizes);
        } else {
            EXPECT_TRUE(Table->SnapshotArgs.empty());
            for (uint32_t access : Table->OpenAccess) EXPECT_EQ(kProcessAllAccess, access);
        }
    }
}

TEST_F(ProcessWalk, NothingFoundEmptiesTheList)
{
    const std::function<void(TProcessTable&)> failures[] = {
            [](TProcessTable&) {},  // no process at all
            [](TProcessTable& t) { t.SnapshotFails = t.EnumProcessesFails = true; },
            [](TProcessTable& t) { t.NoModules = true; },
    };
    for (const TVariant& variant : {kToolhelp, kPsapi}) {
        for (size_t i = 0; i < sizeof failures / sizeof failures[0]; ++i) {
            SCOPED_TRACE(std::string(variant.Name) + " case " + std::to_string(i));
            Reset();
            if (i > 0) Table->Add(8, "C:\\X\\a.exe");
            failures[i](*Table);
            Start(variant.Version);
            const TStrings found = List();
            if (i == 2 && variant.Version == kWindows98)
                EXPECT_EQ(TStrings{"C:\\X\\a.exe"}, found);  // the snapshot needs no modules
            else
                EXPECT_TRUE(found.empty());
            ExpectHandlesClosed();
        }
    }
}

TEST_F(ProcessWalk, KillModeRules)
{
    using TSetup = std::function<void(TProcessTable&)>;
    struct TCase {
        const char* title;
        TSetup setup;
        const char* path;
        bool toolhelpResult;
        std::vector<uint32_t> toolhelpKilled;
        bool psapiResult;
        std::vector<uint32_t> psapiKilled;
    };
    const TCase cases[] = {
            {"the whole path decides, ASCII case ignored on both sides",
             [](TProcessTable& t) {
                 t.Add(5, "C:\\WINDOWS\\EXPLORER.EXE");
                 t.Add(30, "C:\\Temp\\EXPLORER.EXE");
             },
             "c:\\TEMP\\explorer.exe",
             true,
             {30},
             true,
             {30}},
            {"same file name in another folder is left alone",
             [](TProcessTable& t) { t.Add(30, "D:\\Other\\Dialer.exe"); },
             "C:\\X\\dialer.exe",
             false,
             {},
             false,
             {}},
            // Where the system names no folder, the file name decides alone.
            {"snapshot entry without a folder",
             [](TProcessTable& t) { t.Add(30, "D:\\Other\\dialer.exe").ExeField = "DIALER.EXE"; },
             "C:\\X\\dialer.exe",
             true,
             {30},
             false,
             {}},
            {"process-status path unreadable",
             [](TProcessTable& t) { t.Add(30, "D:\\Other\\dialer.exe").Path = ""; },
             "C:\\X\\dialer.exe",
             false,
             {},
             true,
             {30}},
            {"a target without a folder",
             [](TProcessTable& t) { t.Add(30, "D:\\Other\\Dialer.exe"); },
             "DIALER.exe",
             true,
             {30},
             true,
             {30}},
            {"two copies: the first one only",
             [](TProcessTable& t) {
                 t.Add(31, "C:\\X\\dialer.exe");
                 t.Add(32, "C:\\X\\dialer.exe");
             },
             "C:\\X\\dialer.exe",
             true,
             {31},
             true,
             {31}},
            {"no match",
             [](TProcessTable& t) { t.Add(30, "C:\\X\\other.exe"); },
             "C:\\X\\dialer.exe",
             false,
             {},
             false,
             {}},
            {"a name is matched whole",
             [](TProcessTable& t) {
                 t.Add(30, "C:\\X\\dialer.exe.bak");
                 t.Add(31, "C:\\X\\mydialer.exe");
             },
             "C:\\X\\dialer.exe",
             false,
             {},
             false,
             {}},
            {"empty target name",
             [](TProcessTable& t) {
                 t.Add(30, "C:\\X\\");
                 t.Add(31, "C:\\X\\dialer.exe");
             },
             "C:\\X\\",
             false,
             {},
             false,
             {}},
            {"the guard's own process is never terminated",
             [](TProcessTable& t) {
                 t.Add(t.SelfId, "C:\\X\\dialer.exe");
                 t.Add(33, "C:\\X\\dialer.exe");
             },
             "C:\\X\\dialer.exe",
             true,
             {33},
             true,
             {33}},
            {"a process that refuses termination stays and ends the walk",
             [](TProcessTable& t) {
                 t.Add(30, "C:\\X\\dialer.exe").Terminable = false;
                 t.Add(31, "C:\\X\\dialer.exe");
             },
             "C:\\X\\dialer.exe",
             false,
             {},
             false,
             {}},
            // The snapshot walk opens its match only to terminate it; the process-status walk must
            // open every process to read its name, and passes over the ones it cannot.
            {"a process that cannot be opened",
             [](TProcessTable& t) {
                 TProcessTable::TProcess& p = t.Add(30, "C:\\X\\dialer.exe");
                 p.FullAccess = p.TerminateAccess = false;
                 t.Add(31, "C:\\X\\dialer.exe");
             },
             "C:\\X\\dialer.exe",
             false,
             {},
             true,
             {31}},
    };
    for (const TVariant& variant : {kToolhelp, kPsapi}) {
        const bool toolhelp = variant.Version == kWindows98;
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(variant.Name) + ": " + c.title);
            Reset();
            c.setup(*Table);
            Start(variant.Version);
            EXPECT_EQ(toolhelp ? c.toolhelpResult : c.psapiResult,
                      KillProcessByFile(*Ports, c.path));
            EXPECT_EQ(toolhelp ? c.toolhelpKilled : c.psapiKilled, Killed());
            for (const auto& t : Table->Terminations) EXPECT_EQ(variant.KillExitCode, t.ExitCode);
            if (toolhelp)
                for (uint32_t access : Table->OpenAccess) EXPECT_EQ(kProcessTerminate, access);
            else
                for (uint32_t access : Table->OpenAccess) EXPECT_EQ(kProcessAllAccess, access);
            EXPECT_TRUE(Table->Alive(Table->SelfId) || !Table->Find(Table->SelfId));
            ExpectHandlesClosed();
        }
    }
}

TEST_F(ProcessWalk, EachCallTerminatesOneCopy)
{
    for (const TVariant& variant : {kToolhelp, kPsapi}) {
        SCOPED_TRACE(variant.Name);
        Reset();
        Table->Add(40, "C:\\A\\dialer.exe");
        Table->Add(41, "C:\\B\\DIALER.exe");
        Table->Add(42, "C:\\A\\dialer.exe");
        Start(variant.Version);
        EXPECT_TRUE(KillProcessByFile(*Ports, "c:\\a\\DIALER.exe"));
        EXPECT_TRUE(KillProcessByFile(*Ports, "C:\\A\\dialer.exe"));
        EXPECT_FALSE(KillProcessByFile(*Ports, "C:\\A\\dialer.exe"));
        EXPECT_TRUE(KillProcessByFile(*Ports, "dialer.exe"));
        EXPECT_EQ((std::vector<uint32_t>{40, 42, 41}), Killed());
    }
}

TEST_F(ProcessWalk, ScanProcessesLowerCasesItsTarget)
{
    Table->Add(40, "C:\\A\\dialer.exe");
    Start(kWindowsXp);
    EXPECT_TRUE(ScanProcesses(*Ports, "DiAlEr.ExE", nullptr));
    EXPECT_EQ(std::vector<uint32_t>{40}, Killed());
}

TEST_F(ProcessWalk, TerminateProcessById)
{
    Table->Add(50, "C:\\A\\a.exe");
    Table->Add(51, "C:\\A\\b.exe").TerminateAccess = false;
    Table->Add(52, "C:\\A\\c.exe").Terminable = false;
    Start(kWindowsXp);
    EXPECT_TRUE(TerminateProcessById(*Ports, 50));
    EXPECT_FALSE(TerminateProcessById(*Ports, 51));
    EXPECT_FALSE(TerminateProcessById(*Ports, 52));
    EXPECT_FALSE(TerminateProcessById(*Ports, 99));
    ASSERT_EQ(1u, Table->Terminations.size());
    EXPECT_EQ(kToolhelpKillExitCode, Table->Terminations[0].ExitCode);
    EXPECT_EQ(std::vector<uint32_t>(4, kProcessTerminate), Table->OpenAccess);
    ExpectHandlesClosed();
}

// A library or function that cannot be bound is a walk that finds nothing, in both modes.
TEST_F(ProcessWalk, MissingFunctionsFindNothing)
{
    struct TCase {
        const TVariant* variant;
        const char* missing;  // an export, or a library
    };
    const TCase cases[] = {
            {&kPsapi, "PSAPI.DLL"},
            {&kPsapi, "EnumProcesses"},
            {&kPsapi, "EnumProcessModules"},
            {&kPsapi, "GetModuleBaseNameA"},
            {&kPsapi, "GetModuleFileNameExA"},
            {&kToolhelp, "kernel32.dll"},
            {&kToolhelp, "CreateToolhelp32Snapshot"},
            {&kToolhelp, "Process32First"},
            {&kToolhelp, "Process32Next"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.missing);
        Reset();
        Table->Add(60, "C:\\X\\dialer.exe");
        const std::string missing = c.missing;
        if (missing == kPsapiLibrary)
            Table->HasPsapi = false;
        else if (missing == kKernelLibrary)
            Table->HasKernel32 = false;
        else
            Table->MissingExports.insert(missing);
        Start(c.variant->Version);

        EXPECT_TRUE(List().empty());
        EXPECT_FALSE(KillProcessByFile(*Ports, "C:\\X\\dialer.exe"));
        EXPECT_TRUE(Table->Alive(60));
        EXPECT_TRUE(Table->OpenAccess.empty());
        EXPECT_FALSE(Api->PsapiBound());
        // A library that lacks a function is not kept.
        if (missing != kPsapiLibrary && missing != kKernelLibrary) {
            const TStrings frees = Table->Frees;
            Api.reset();
            Ports.reset();
            EXPECT_EQ(frees, Table->Frees);
            EXPECT_EQ(1u, frees.size());
        }
    }
}

// The process-status library is loaded when the guard starts, only on the systems that walk
// through it; the snapshot functions are looked up on the first walk that needs them, once.
TEST_F(ProcessWalk, LibrariesAreBoundWhenTheirWalkIsChosen)
{
    Table->Add(70, "C:\\X\\a.exe");
    Start(kWindowsXp);
    EXPECT_EQ(TStrings{kPsapiLibrary}, Table->Loads);
    EXPECT_TRUE(Api->PsapiBound());
    List();
    KillProcessByFile(*Ports, "none.exe");
    EXPECT_EQ(TStrings{kPsapiLibrary}, Table->Loads);
    Ports.reset();
    Api.reset();
    EXPECT_EQ(TStrings{kPsapiLibrary}, Table->Frees);

    // The top bit marks the Windows 95 family; the bits below it are the NT build number.
    for (uint32_t version : {kWindows98, 0x80000000u, 0xC0000004u}) {
        SCOPED_TRACE(version);
        Reset();
        Table->Add(70, "C:\\X\\a.exe");
        Start(version);
        EXPECT_TRUE(Table->Loads.empty());
        EXPECT_EQ(TStrings{"C:\\X\\a.exe"}, List());
        EXPECT_FALSE(KillProcessByFile(*Ports, "none.exe"));
        EXPECT_EQ(TStrings{kKernelLibrary}, Table->Loads);
        EXPECT_EQ(4u, Table->SnapshotArgs.size());
    }
    for (uint32_t version : {0x05650004u, 0x17700006u, 0x4A61000Au, 0x7FFFFFFFu}) {
        SCOPED_TRACE(version);  // NT 4, Vista, Windows 10, any NT build
        Reset();
        Table->Add(70, "C:\\X\\a.exe");
        Start(version);
        EXPECT_EQ(TStrings{kPsapiLibrary}, Table->Loads);
        EXPECT_EQ(TStrings{"C:\\X\\a.exe"}, List());
        EXPECT_TRUE(Table->SnapshotArgs.empty());
    }
}

// Counts and lengths the system reports are never trusted beyond the buffers they describe.
TEST_F(ProcessWalk, ReportedCountsStayWithinTheBuffers)
{
    // More processes than the first buffer holds: the walk asks again with more room.
    for (uint32_t id = 1; id <= 600; ++id) Table->Add(id, "C:\\P\\p" + std::to_string(id) + ".exe");
    Start(kWindowsXp);
    TStrings found = List();
    ASSERT_EQ(600u, found.size());
    EXPECT_EQ("C:\\P\\p600.exe", found.back());
    EXPECT_EQ((std::vector<uint32_t>{1024, 2048, 4096}), Table->EnumProcessesSizes);

    struct TCase {
        int64_t reportedBytes;
        size_t expected;
    };
    // A count beyond any buffer, one that is not a whole number of identifiers, one below the truth.
    for (const TCase& c : {TCase{0xFFFFFFFF, 3}, TCase{14, 3}, TCase{8, 2}}) {
        SCOPED_TRACE(c.reportedBytes);
        Reset();
        for (uint32_t id = 1; id <= 3; ++id) Table->Add(id, "C:\\P\\p.exe");
        Table->ReportedIdBytes = c.reportedBytes;
        Start(kWindowsXp);
        EXPECT_EQ(c.expected, List().size());
    }

    // Names that fill their buffers without a terminating NUL, with lengths beyond them.
    Reset();
    const std::string longName(700, 'n');
    TProcessTable::TProcess& p = Table->Add(1, "C:\\" + longName);
    p.BaseName = longName;
    Table->NameLengthLies = true;
    Start(kWindowsXp);
    EXPECT_EQ(TStrings{("C:\\" + longName).substr(0, kModuleNameCapacity)}, List());
    Start(kWindows98);
    EXPECT_EQ(TStrings{("C:\\" + longName).substr(0, kProcessEntryExeFile)}, List());
}

}  // namespace
