// The walk over the real running processes of Wine, in both variants: a helper process started by
// the test, under a Polish file name, is listed and then killed by its program file, while a
// copy of the same name in another folder is spared where the walk knows the paths.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>

#include "common/Format.h"
#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/LinewardenTools.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"
#include "wine/WineTestSupport.h"

namespace {

std::string Unique(const std::string& prefix)
{
    static int counter = 0;
    return Format("%s-%d-%d", prefix, static_cast<int>(GetCurrentProcessId()), ++counter);
}

// The system's kernel under another version word, so that either walk can be chosen.
class TVersionedKernel : public IProcessKernel {
public:
    explicit TVersionedKernel(uint32_t version) : FVersion(version) {}
    uint32_t GetVersion() override { return FVersion; }
    uint32_t GetCurrentProcessId() override { return SystemProcessKernel().GetCurrentProcessId(); }
    TProcessHandle OpenProcess(uint32_t access, bool inherit, uint32_t id) override
    {
        return SystemProcessKernel().OpenProcess(access, inherit, id);
    }
    bool TerminateProcess(TProcessHandle process, uint32_t exitCode) override
    {
        return SystemProcessKernel().TerminateProcess(process, exitCode);
    }
    void CloseHandle(TProcessHandle handle) override { SystemProcessKernel().CloseHandle(handle); }

private:
    uint32_t FVersion;
};

struct TVariant {
    const char* Name;
    uint32_t Version;
    uint32_t KillExitCode;
};
const TVariant kVariants[] = {
        {"snapshot walk", 0xC0000A04, kToolhelpKillExitCode},     // Windows 98
        {"process-status walk", 0x0A280105, kPsapiKillExitCode},  // Windows XP
};

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
        Api.reset();
        Kernel.reset(new TVersionedKernel(variant.Version));
        Api.reset(new TProcessApi(*Kernel, SystemLibraries()));
        Ports.reset(new TToolsPorts{SystemRegistry(), SystemFileSystem(), SystemProcesses(),
                                    SystemShell(), Folder + "\\MLinewarden.exe",
                                    kUnpackerTimeLimitMs, *Api});
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
    std::unique_ptr<TVersionedKernel> Kernel;
    std::unique_ptr<TProcessApi> Api;
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
        ASSERT_TRUE(list.AddRunningProcesses());
        EXPECT_EQ(2, Listed(list.Items()));
        // The process-status walk gives full paths; so does the test program's own entry.
        if (variant.KillExitCode == kPsapiKillExitCode) {
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
        list.AddRunningProcesses();
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
        list.AddRunningProcesses();
        bool pathsKnown = false;
        for (const std::string& entry : list.Items())
            pathsKnown = pathsKnown || SameText(entry, namesake);
        EXPECT_TRUE(pathsKnown || variant.KillExitCode != kPsapiKillExitCode);

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

TEST_F(WineProcesses, TheGuardNeverKillsItself)
{
    for (const TVariant& variant : kVariants) {
        SCOPED_TRACE(variant.Name);
        Bind(variant);
        EXPECT_FALSE(KillProcessByFile(*Ports, SystemProcesses().ProgramPath()));
    }
}

TEST_F(WineProcesses, TerminateProcessByIdEndsTheProcessWithAllBitsSet)
{
    Start();
    Bind(kVariants[1]);
    const TStarted& copy = Started.back();
    EXPECT_TRUE(TerminateProcessById(*Ports, copy.Id));
    EXPECT_TRUE(Ended(copy.Process.get(), 0xFFFFFFFFu));
}

TEST(WineProcessApi, TheSystemsVersionPicksTheProcessStatusLibrary)
{
    // Wine presents itself as a Windows of the NT family, with a build number above 4096: the
    // library is bound at start.
    EXPECT_FALSE(UsesToolhelp(SystemProcessKernel().GetVersion()));
    EXPECT_TRUE(SystemProcessApi().PsapiBound());
}

}  // namespace
