// The system's process walk under Wine, in both of its ways: a helper process started by the
// test, under a Polish file name, is listed and then killed by its program file, while a copy of
// the same name in another folder is spared where the walk knows the paths. What each way binds,
// and when, is watched through a loader that hands out the system's own exports.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/LinewardenTools.h"
#include "platform/SystemVersion.h"
#include "platform/win32/ProcessWalkWin32.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"
#include "support/FakeLibraries.h"
#include "wine/WineTestSupport.h"

namespace {

uint32_t Windows98()
{
    return 0xC0000A04;
}
uint32_t WindowsXp()
{
    return 0x0A280105;
}

struct TVariant {
    const char* Name;
    TVersionWordFn Version;
    uint32_t KillExitCode;
    bool FullPaths;  // names every process by its full path (the snapshot may give bare names)
};
const TVariant kVariants[] = {
        {"snapshot walk", Windows98, 0xFFFFFFFFu, false},
        {"process-status walk", WindowsXp, 0, true},
};

bool IsTestProgram(const TRunningProcess& process)
{
    const std::string own = SystemProcesses().ProgramPath();
    return process.FullPath.empty() ? SameText(process.FileName, ExtractFileName(own))
                                    : SameText(process.FullPath, own);
}

// Copies of the sleeping helper under a name of their own, in a folder of their own.
class WineProcesses : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH + 1] = {};
        DWORD n = GetTempPathW(MAX_PATH, temp);
        Folder = Narrow(temp, n) + Unique("lw-processes");
        ASSERT_TRUE(CreateDirectoryW(Wide(Folder).c_str(), nullptr));
        // "Ś" is a letter of the Central European ANSI code page only: the names the system
        // reports in that code page must come back as the same UTF-8 text.
        Name = Unique("LwŚpioch") + ".exe";
        Program = Folder + "\\" + Name;
        const std::string helper =
                ExtractFilePath(SystemProcesses().ProgramPath()) + "lw_sleeper.exe";
        ASSERT_TRUE(CopyFileW(Wide(helper).c_str(), Wide(Program).c_str(), FALSE)) << helper;
    }

    void TearDown() override
    {
        for (TStarted& copy : Started) {
            if (WaitForSingleObject(copy.Process.get(), 0) != WAIT_OBJECT_0) {
                TerminateProcess(copy.Process.get(), 1);
                WaitForSingleObject(copy.Process.get(), 5000);
            }
        }
        Started.clear();
        // Sub-folders hold the namesake copies; nothing here is read-only.
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::u8path(Folder), ignored);
    }

    // Starts one more copy of the program; its process handle.
    HANDLE Start() { return Start(Program); }
    HANDLE Start(const std::string& program)
    {
        STARTUPINFOW startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info;
        ZeroMemory(&info, sizeof info);
        std::wstring line = L"\"" + Wide(program) + L"\"";
        std::vector<wchar_t> buffer(line.begin(), line.end());
        buffer.push_back(L'\0');
        if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info)) {
            ADD_FAILURE() << "cannot start " << program;
            return nullptr;
        }
        Started.push_back(
                {TKernelHandle(info.hProcess), TKernelHandle(info.hThread), info.dwProcessId});
        return info.hProcess;
    }

    void Bind(const TVariant& variant)
    {
        Ports.reset();
        Walk = MakeWin32ProcessWalk(SystemLibraries(), variant.Version);
        Ports.reset(new TToolsPorts{SystemRegistry(), SystemFileSystem(), SystemProcesses(),
                                    SystemShell(), Folder + "\\MLinewarden.exe",
                                    kUnpackerTimeLimitMs, *Walk});
    }

    // How many entries of the list name the helper: by its full path, or by its file name
    // where the system's snapshot gives only that.
    int Listed(const std::vector<std::string>& list)
    {
        int count = 0;
        for (const std::string& entry : list)
            if (SameText(entry, Program) || entry == Name) ++count;
        return count;
    }

    static bool Ended(HANDLE process, uint32_t exitCode)
    {
        if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) return false;
        DWORD code = 0;
        return GetExitCodeProcess(process, &code) && code == exitCode;
    }

    std::string Folder, Name, Program;
    struct TStarted {
        TKernelHandle Process, Thread;
        DWORD Id;
    };
    std::vector<TStarted> Started;
    std::unique_ptr<IProcessWalk> Walk;
    std::unique_ptr<TToolsPorts> Ports;
};

TEST_F(WineProcesses, BothWalksListTheHelperOncePerCopy)
{
    Start();
    Start();
    for (const TVariant& variant : kVariants) {
        SCOPED_TRACE(variant.Name);
        Bind(variant);
        TFiles list(*Ports);
        ASSERT_TRUE(list.ListRunningProcesses());
        EXPECT_EQ(2, Listed(list.Items()));
        // The process-status walk gives full paths; so does the test program's own entry.
        if (variant.FullPaths) {
            int ownCount = 0;
            for (const std::string& entry : list.Items())
                if (SameText(entry, SystemProcesses().ProgramPath())) ++ownCount;
            EXPECT_EQ(1, ownCount);
        }
    }
}

TEST_F(WineProcesses, KillingByFileEndsOneCopyPerCallWithTheWalksExitCode)
{
    for (const TVariant& variant : kVariants) {
        SCOPED_TRACE(variant.Name);
        HANDLE first = Start();
        HANDLE second = Start();
        ASSERT_TRUE(first && second);
        Bind(variant);
        // ASCII letter case is ignored.
        ASSERT_TRUE(KillProcessByFile(*Ports, UpperCase(Program)));
        const bool firstEnded = WaitForSingleObject(first, 10000) == WAIT_OBJECT_0;
        const bool secondEnded = WaitForSingleObject(second, 0) == WAIT_OBJECT_0;
        EXPECT_NE(firstEnded, secondEnded) << "exactly one copy ends per call";
        ASSERT_TRUE(KillProcessByFile(*Ports, Program));
        EXPECT_TRUE(Ended(first, variant.KillExitCode));
        EXPECT_TRUE(Ended(second, variant.KillExitCode));
        EXPECT_FALSE(KillProcessByFile(*Ports, Program));

        TFiles list(*Ports);
        list.ListRunningProcesses();
        EXPECT_EQ(0, Listed(list.Items()));
    }
}

TEST_F(WineProcesses, KillingByPathSparesANamesakeInAnotherFolder)
{
    const std::string namesake = Folder + "\\other\\" + Name;
    ASSERT_TRUE(CreateDirectoryW(Wide(ExtractFilePath(namesake)).c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(Wide(Program).c_str(), Wide(namesake).c_str(), FALSE));
    for (const TVariant& variant : kVariants) {
        SCOPED_TRACE(variant.Name);
        // The namesake starts first, so a walk that went by the name would come to it first.
        HANDLE other = Start(namesake);
        HANDLE mine = Start();
        ASSERT_TRUE(mine && other);
        Bind(variant);
        TFiles list(*Ports);
        list.ListRunningProcesses();
        bool pathsKnown = false;
        for (const std::string& entry : list.Items())
            pathsKnown = pathsKnown || SameText(entry, namesake);
        EXPECT_TRUE(pathsKnown || !variant.FullPaths);

        ASSERT_TRUE(KillProcessByFile(*Ports, UpperCase(Program)));
        if (pathsKnown) {
            EXPECT_TRUE(Ended(mine, variant.KillExitCode));
            EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(other, 0));
            EXPECT_FALSE(KillProcessByFile(*Ports, Program));
            EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(other, 0));
            EXPECT_TRUE(KillProcessByFile(*Ports, namesake));
        } else {
            // The snapshot names no folder here: the file name decides, one process per call.
            ASSERT_TRUE(KillProcessByFile(*Ports, Program));
        }
        EXPECT_TRUE(Ended(mine, variant.KillExitCode));
        EXPECT_TRUE(Ended(other, variant.KillExitCode));
    }
}

TEST_F(WineProcesses, TheGuardNeverKillsItselfButEndsAnotherProcessById)
{
    for (const TVariant& variant : kVariants) {
        SCOPED_TRACE(variant.Name);
        Start();
        Bind(variant);
        EXPECT_FALSE(KillProcessByFile(*Ports, SystemProcesses().ProgramPath()));
        EXPECT_TRUE(TerminateProcessById(*Ports, Started.back().Id));
        EXPECT_TRUE(Ended(Started.back().Process.get(), variant.KillExitCode));
    }
}

// The loader the walk binds through, holding the system's own exports of kernel32.dll and
// PSAPI.DLL; a test may leave one out or put a stand-in in its place.
class TWatchedExports {
public:
    explicit TWatchedExports(const std::string& leftOut = "", const std::string& replaced = "",
                             void* standIn = nullptr)
    {
        const std::pair<const char*, std::vector<const char*>> libraries[] = {
                {"kernel32.dll",
                 {"CreateToolhelp32Snapshot", "Process32First", "Process32Next",
                  "QueryFullProcessImageNameW"}},
                {"PSAPI.DLL",
                 {"EnumProcesses", "EnumProcessModules", "GetModuleBaseNameW",
                  "GetModuleFileNameExW"}},
        };
        for (const auto& library : libraries) {
            if (leftOut == library.first) continue;
            std::map<std::string, void*> exports;
            for (const char* name : library.second)
                if (leftOut != name)
                    exports[name] = replaced == name ? standIn : SystemExport(library.first, name);
            Loader.Add(library.first, exports);
        }
    }

    static void* SystemExport(const char* library, const char* name)
    {
        // Loaded once and kept while the test program runs, as the walk keeps its own binding.
        HMODULE module = GetModuleHandleA(library);
        if (!module) module = LoadLibraryA(library);
        return reinterpret_cast<void*>(GetProcAddress(module, name));
    }

    TFakeLibraries Loader;
};

uint32_t gVersion = 0;
uint32_t TestVersion()
{
    return gVersion;
}

// The top bit of the version word picks the snapshot walk, bound on its first walk; every other
// word (the bits below the top one are the NT build number) the process-status library, bound
// when the walk is made. What is bound is given back with the walk.
TEST(WineProcessWalk, TheVersionWordPicksTheLibraryAndWhenItIsBound)
{
    using TStrings = std::vector<std::string>;
    struct TCase {
        uint32_t version;
        bool snapshot;
    };
    const TCase cases[] = {
            {0xC0000A04, true},  {0x80000000, true},
            {0xC0000004, true},  {0x05650004, false},  // NT 4
            {0x17700006, false},                       // Vista
            {0x4A61000A, false},                       // Windows 10
            {0x7FFFFFFF, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.version);
        gVersion = c.version;
        TWatchedExports exports;
        // The NT family's walk also looks up the full-path call of kernel32.dll when it is made.
        const TStrings library =
                c.snapshot ? TStrings{"kernel32.dll"} : TStrings{"PSAPI.DLL", "kernel32.dll"};
        {
            std::unique_ptr<IProcessWalk> walk = MakeWin32ProcessWalk(exports.Loader, TestVersion);
            EXPECT_EQ(c.snapshot ? TStrings{} : library, exports.Loader.Loads);
            for (int walks = 0; walks < 2; ++walks) {
                const std::vector<TRunningProcess> found = walk->ListProcesses();
                EXPECT_EQ(1, std::count_if(found.begin(), found.end(), IsTestProgram));
            }
            EXPECT_EQ(library, exports.Loader.Loads);
            EXPECT_TRUE(exports.Loader.Frees.empty());
        }
        EXPECT_EQ(library, TStrings(exports.Loader.Frees.rbegin(), exports.Loader.Frees.rend()));
    }
}

// A library or one of its exports that is missing makes a walk that finds nothing; a library
// that lacks an export is given back at once.
TEST(WineProcessWalk, AMissingExportFindsNothing)
{
    struct TCase {
        TVersionWordFn version;
        const char* missing;
        const char* library;
    };
    const TCase cases[] = {
            {WindowsXp, "PSAPI.DLL", nullptr},
            {WindowsXp, "EnumProcesses", "PSAPI.DLL"},
            {WindowsXp, "EnumProcessModules", "PSAPI.DLL"},
            {WindowsXp, "GetModuleBaseNameW", "PSAPI.DLL"},
            {WindowsXp, "GetModuleFileNameExW", "PSAPI.DLL"},
            {Windows98, "kernel32.dll", nullptr},
            {Windows98, "CreateToolhelp32Snapshot", "kernel32.dll"},
            {Windows98, "Process32First", "kernel32.dll"},
            {Windows98, "Process32Next", "kernel32.dll"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.missing);
        TWatchedExports exports(c.missing);
        std::unique_ptr<IProcessWalk> walk = MakeWin32ProcessWalk(exports.Loader, c.version);
        EXPECT_TRUE(walk->ListProcesses().empty());
        EXPECT_EQ(c.library ? std::vector<std::string>{c.library} : std::vector<std::string>{},
                  exports.Loader.Frees);
    }
}

// Stand-ins that tell lies a system may tell: a byte count of identifiers beyond the buffer, and
// a path that fills its buffer without a NUL, reported longer than the buffer.
BOOL WINAPI EnumProcessesOverstating(DWORD* ids, DWORD byteCount, DWORD* bytesReturned)
{
    using TEnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
    static const auto system = reinterpret_cast<TEnumProcessesFn>(
            TWatchedExports::SystemExport("PSAPI.DLL", "EnumProcesses"));
    const BOOL ok = system(ids, byteCount, bytesReturned);
    *bytesReturned = 0xFFFFFFFF;
    return ok;
}

DWORD WINAPI FileNameOverflowing(HANDLE, HMODULE, wchar_t* text, DWORD size)
{
    std::fill(text, text + size, L'n');
    return size + 100;
}

TEST(WineProcessWalk, WhatTheSystemReportsIsKeptWithinTheBuffers)
{
    struct TCase {
        const char* replaced;
        void* standIn;
        std::function<bool(const TRunningProcess&)> listed;  // true for what the test looks for
    };
    const TCase cases[] = {
            {"EnumProcesses", reinterpret_cast<void*>(&EnumProcessesOverstating), IsTestProgram},
            {"GetModuleFileNameExW", reinterpret_cast<void*>(&FileNameOverflowing),
             [](const TRunningProcess& p) { return p.FullPath == std::string(512, 'n'); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.replaced);
        // The module path is read only where the full-path call is missing.
        TWatchedExports exports("QueryFullProcessImageNameW", c.replaced, c.standIn);
        std::unique_ptr<IProcessWalk> walk = MakeWin32ProcessWalk(exports.Loader, WindowsXp);
        const std::vector<TRunningProcess> found = walk->ListProcesses();
        EXPECT_FALSE(found.empty());
        EXPECT_TRUE(std::any_of(found.begin(), found.end(), c.listed));
    }
}

// A 32-bit program gets no module list of a 64-bit process: such a process is named by the
// full-path call where the system has it, and passed over where it has not.
BOOL WINAPI EnumProcessModulesRefusing(HANDLE, HMODULE*, DWORD, DWORD*)
{
    SetLastError(ERROR_PARTIAL_COPY);
    return FALSE;
}

TEST(WineProcessWalk, TheFullPathCallNamesProcessesWithoutModules)
{
    const std::pair<const char*, bool> cases[] = {{"", true},
                                                  {"QueryFullProcessImageNameW", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        TWatchedExports exports(c.first, "EnumProcessModules",
                                reinterpret_cast<void*>(&EnumProcessModulesRefusing));
        std::unique_ptr<IProcessWalk> walk = MakeWin32ProcessWalk(exports.Loader, WindowsXp);
        const std::vector<TRunningProcess> found = walk->ListProcesses();
        EXPECT_EQ(c.second ? 1 : 0,
                  std::count_if(found.begin(), found.end(), [](const TRunningProcess& p) {
                      return SameText(p.FullPath, SystemProcesses().ProgramPath());
                  }));
    }
}

TEST(WineProcessWalk, TheSystemsWalkIsTheProcessStatusOne)
{
    // Wine presents itself as a Windows of the NT family, with a build number above 4096: the
    // guard's walk gives full paths, its own among them.
    EXPECT_FALSE(IsWindows95Family(SystemVersionWord()));
    const std::vector<TRunningProcess> found = SystemProcessWalk().ListProcesses();
    EXPECT_EQ(1, std::count_if(found.begin(), found.end(), [](const TRunningProcess& p) {
                  return SameText(p.FullPath, SystemProcesses().ProgramPath());
              }));
}

}  // namespace
