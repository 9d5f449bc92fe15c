// The tools unit over the real Win32 layer, in Wine's registry and file system, with real child
// programs: a helper that exits with a chosen code, a small program that looks up RasDialA, and
// the packer stand-in.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "common/Format.h"
#include "common/Paths.h"
#include "dialers/LinewardenTools.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"
#include "support/TempFolder.h"
#include "wine/WineTestSupport.h"

namespace {

std::string TestProgramFolder()
{
    return ExtractFilePath(SystemProcesses().ProgramPath());
}

class WineTools : public ::testing::Test {
protected:
    TTempFolder Folder;
    TToolsPorts Ports{SystemRegistry(), SystemFileSystem(), SystemProcesses(), SystemShell(),
                      Folder.Path("MLinewarden.exe")};

    std::string Helper(const std::string& name) { return TestProgramFolder() + name; }
    void Copy(const std::string& from, const std::string& to)
    {
        ASSERT_TRUE(CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE)) << from;
    }
};

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

TEST(WineRegistry, ValuesKeepTheirTypesAndUnicodeText)
{
    IRegistry& registry = SystemRegistry();
    const std::string path = "Software\\LinewardenTests\\" + Unique("values");
    auto key = registry.CreateKey(TRegRoot::CurrentUser, path);
    ASSERT_NE(key, nullptr);

    const std::string longName(300, 'n');
    const std::string longText(20000, 'x');
    struct Row {
        std::string name;
        TRegValue value;
    } rows[] = {
            {"Zażółć", TRegValue::String("gęślą jaźń")},
            {"", TRegValue::String("domyślna")},
            {longName, TRegValue::String(longText)},
            {"exp", TRegValue::String("%WINDIR%\\x.exe", rtExpandString)},
            {"nul", TRegValue::String(std::string("a\0b", 3))},
            {"bin", TRegValue{rtBinary, {1, 2, 0, 3}}},
            {"dw", TRegValue::Dword(0x12345678)},
            {"empty", TRegValue::String("")},
    };
    std::vector<std::string> names;
    for (const Row& r : rows) {
        ASSERT_TRUE(key->WriteValue(r.name, r.value)) << r.name;
        names.push_back(r.name);
    }
    EXPECT_EQ(Sorted(key->ValueNames()), Sorted(names));
    for (const Row& r : rows) {
        TRegValue read;
        ASSERT_TRUE(key->ReadValue(r.name, read)) << r.name;
        EXPECT_EQ(read.Type, r.value.Type) << r.name;
        EXPECT_EQ(read.Data, r.value.Data) << r.name;
        EXPECT_TRUE(key->ValueExists(r.name));
    }
    TRegValue missing;
    EXPECT_FALSE(key->ReadValue("missing", missing));

    TRegistry reader(registry, TRegRoot::CurrentUser);
    ASSERT_TRUE(reader.OpenKey("\\" + path, false));
    EXPECT_EQ(reader.ReadString("nul"), "a");
    EXPECT_EQ(reader.ReadString(""), "domyślna");
    EXPECT_EQ(reader.ReadString("exp"), "%WINDIR%\\x.exe");
    EXPECT_EQ(reader.ReadString("empty"), "");
    EXPECT_THROW(reader.ReadString("dw"), Exception);
    reader.CloseKey();

    EXPECT_TRUE(key->DeleteValue("dw"));
    EXPECT_FALSE(key->ValueExists("dw"));
    ASSERT_NE(registry.CreateKey(TRegRoot::CurrentUser, path + "\\Podklucz ąę"), nullptr);
    EXPECT_EQ(key->SubKeyNames(), std::vector<std::string>{"Podklucz ąę"});
    key.reset();
    EXPECT_TRUE(registry.DeleteKey(TRegRoot::CurrentUser, path + "\\Podklucz ąę"));
    EXPECT_TRUE(registry.DeleteKey(TRegRoot::CurrentUser, path));
    EXPECT_EQ(registry.OpenKey(TRegRoot::CurrentUser, path, TRegAccess::Read), nullptr);
}

TEST_F(WineTools, InventoryOfTheRunKeys)
{
    const std::string machineName = Unique("LWTest machine");
    const std::string userName = Unique("LWTest user");
    TStartupFiles files(Ports);
    files.WriteRunValue(machineName, "C:\\Program Files\\Zażółć\\dialer.exe -silent");
    {
        auto run = SystemRegistry().CreateKey(TRegRoot::CurrentUser, kRunKey);
        ASSERT_NE(run, nullptr);
        ASSERT_TRUE(run->WriteValue(userName, TRegValue::String("C:\\X\\prog /min")));
    }
    auto machineRun = SystemRegistry().OpenKey(TRegRoot::LocalMachine, kRunKey, TRegAccess::Read);
    ASSERT_NE(machineRun, nullptr);
    TRegValue stored;
    ASSERT_TRUE(machineRun->ReadValue(machineName, stored));
    EXPECT_EQ(stored.Type, rtString);

    files.LoadFromRegistry();
    int machineAt = -1, userAt = -1;
    for (int i = 0; i < files.Count(); ++i) {
        if (files.Items(i)->Name == machineName) machineAt = i;
        if (files.Items(i)->Name == userName) userAt = i;
    }
    ASSERT_GE(machineAt, 0);
    ASSERT_GT(userAt, machineAt);
    EXPECT_EQ(files.Items(machineAt)->FileName, "C:\\Program Files\\Zażółć\\dialer.exe");
    EXPECT_EQ(files.Items(userAt)->FileName, "C:\\X\\prog.exe");

    // A value of another type is passed over; the machine's value is still listed.
    auto userRun = SystemRegistry().OpenKey(TRegRoot::CurrentUser, kRunKey, TRegAccess::Full);
    ASSERT_TRUE(userRun->WriteValue(userName, TRegValue::Dword(1)));
    files.LoadFromRegistry();
    std::vector<std::string> names;
    for (int i = 0; i < files.Count(); ++i) names.push_back(files.Items(i)->Name);
    EXPECT_EQ(std::count(names.begin(), names.end(), machineName), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), userName), 0);
    EXPECT_TRUE(userRun->DeleteValue(userName));
    auto machineFull = SystemRegistry().OpenKey(TRegRoot::LocalMachine, kRunKey, TRegAccess::Full);
    ASSERT_NE(machineFull, nullptr);
    EXPECT_TRUE(machineFull->DeleteValue(machineName));
}

TEST_F(WineTools, RunAndWaitReturnsTheChildsExitCode)
{
    IProcesses& processes = SystemProcesses();
    const std::string exitWith = Helper("lw_exit_with.exe");
    for (int code : {0, 3, 42, 255})
        EXPECT_EQ(RunAndWait(processes, exitWith, Format("%d", code), swHide, 30000), code);
    EXPECT_EQ(RunAndWait(processes, Folder.Path("missing.exe"), "-t", swHide, 30000),
              kRunNotStarted);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunAndWait(processes, exitWith, "sleep", swHide, 500), kRunTimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(WineTools, DialerTestOnRealPrograms)
{
    const std::string sample = Helper("lw_dialer_sample.exe");
    const std::string clean = Helper("lw_exit_with.exe");
    ASSERT_GT(FileSizeOf(Ports.Files, sample), 0);
    ASSERT_LE(FileSizeOf(Ports.Files, sample), kMaxDialerSize);
    EXPECT_TRUE(IsDialerFile(Ports, sample));
    EXPECT_TRUE(IsDialerFile(Ports, ChangeFileExt(sample, "")));
    EXPECT_FALSE(IsDialerFile(Ports, clean));

    // A file that another program holds open without sharing cannot be read: not a dialer.
    Copy(sample, Folder.Path("locked.exe"));
    TKernelHandle lock(CreateFileW(Wide(Folder.Path("locked.exe")).c_str(),
                                   GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
    ASSERT_TRUE(lock);
    EXPECT_EQ(FileSizeOf(Ports.Files, Folder.Path("locked.exe")), 0);
    EXPECT_FALSE(IsDialerFile(Ports, Folder.Path("locked.exe")));
    lock.reset();
    EXPECT_TRUE(IsDialerFile(Ports, Folder.Path("locked.exe")));
}

TEST_F(WineTools, PackedDialerIsFoundAfterUnpacking)
{
    const std::string standIn = TestProgramFolder() + "upx-standin.exe";
    ASSERT_EQ(RunAndWait(Ports.Processes, standIn,
                         Format("-q \"%s\" -o \"%s\"", Helper("lw_dialer_sample.exe"),
                                Folder.Path("packed.exe")),
                         swHide, 30000),
              0);
    ASSERT_FALSE(ContainsRasDial(Ports.Files, Folder.Path("packed.exe")));

    // Without an unpacker the packed file is searched as found.
    EXPECT_FALSE(IsDialerFile(Ports, Folder.Path("packed.exe")));

    for (const char* name : {"upx190.exe", "upx.exe"}) {
        Copy(standIn, Folder.Path(name));
        EXPECT_TRUE(IsDialerFile(Ports, Folder.Path("packed.exe"))) << name;
        EXPECT_FALSE(Ports.Files.FileExists(Folder.Path("MLinewarden.111")));
    }
    // Unpacking does not make a clean program a dialer, nor a plain dialer a clean one.
    EXPECT_FALSE(IsDialerFile(Ports, Helper("lw_exit_with.exe")));
    EXPECT_TRUE(IsDialerFile(Ports, Helper("lw_dialer_sample.exe")));
}

TEST_F(WineTools, FindFilesSkipsHiddenFolders)
{
    for (const char* folder : {"sub", "hidden", "sub\\deeper"})
        CreateDirectoryW(Wide(Folder.Path(folder)).c_str(), nullptr);
    for (const char* file : {"a.exe", "b.scr", "sub\\c.EXE", "hidden\\d.exe", "sub\\deeper\\e.exe"})
        ASSERT_TRUE(Ports.Files.WriteFile(Folder.Path(file), "x"));
    SetFileAttributesW(Wide(Folder.Path("hidden")).c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);

    TFiles list(Ports);
    EXPECT_TRUE(list.FindFiles(true, Folder.Path(""), "*.exe"));
    EXPECT_EQ(Sorted(list.Items()), Sorted({Folder.Path("a.exe"), Folder.Path("sub\\c.EXE"),
                                            Folder.Path("sub\\deeper\\e.exe")}));
    EXPECT_FALSE(list.FindFiles(false, Folder.Folder(), "*.EXE"));

    // A path already listed in another case, Polish letters included, is not added again.
    ASSERT_TRUE(Ports.Files.WriteFile(Folder.Path("Żółw.exe"), "x"));
    list.Clear();
    list.Add(Folder.Path("żÓŁW.EXE"));
    list.FindFiles(false, Folder.Folder(), "ż*.exe");
    EXPECT_EQ(list.Count(), 1);
}
