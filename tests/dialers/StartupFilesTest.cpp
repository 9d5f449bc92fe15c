#include <gtest/gtest.h>

#include "tests/dialers/ToolsFixture.h"

namespace {

const TRegRoot HKLM = TRegRoot::LocalMachine;
const TRegRoot HKCU = TRegRoot::CurrentUser;

std::vector<std::pair<std::string, std::string>> Contents(const TStartupFiles& files)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < files.Count(); ++i)
        out.emplace_back(files.Items(i)->Name, files.Items(i)->CommandLine);
    return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

}  // namespace

TEST(StartupFile, ProgramFileOfCommandLine)
{
    struct Row {
        const char* commandLine;
        const char* fileName;
    };
    const Row rows[] = {
            {"C:\\WINDOWS\\dialer.exe -silent", "C:\\WINDOWS\\dialer.exe"},
            {"C:\\X\\My Prog.exe /min", "C:\\X\\My Prog.exe"},
            {"C:\\X\\TOOL.EXE/min", "C:\\X\\TOOL.EXE"},
            {"C:\\PROGRA~1\\X\\PROG /S", "C:\\PROGRA~1\\X\\PROG.exe"},
            {"C:\\X\\tool -a /b", "C:\\X\\tool.exe"},
            {"C:\\X\\prog", "C:\\X\\prog.exe"},
            {"C:\\X\\run.exe.bak", "C:\\X\\run.exe"},
            {"C:\\X\\a.dll,Entry", "C:\\X\\a.dll,Entry"},
            {"rundll32.exe shell32.dll,Control_RunDLL", "rundll32.exe"},
            // Quotation marks stay: the opening one is kept, the closing one is cut off.
            {"\"C:\\Program Files\\X\\a.exe\" /s", "\"C:\\Program Files\\X\\a.exe"},
            {"C:\\X\\", "C:\\X\\.exe"},
            {"", ""},
            {"  C:\\X\\a.exe  ", "C:\\X\\a.exe"},
            {"C:a.EXE -q", "C:a.EXE"},
            {"C:\\Zażółć\\gęś.exe /q", "C:\\Zażółć\\gęś.exe"},
            {"C:\\X\\setup", "C:\\X\\setup.exe"},
            {"\"\"", "\"\".exe"},
    };
    for (const Row& r : rows) {
        TStartupFile item("n", r.commandLine);
        EXPECT_EQ(item.FileName, r.fileName) << r.commandLine;
        EXPECT_EQ(item.CommandLine, r.commandLine);
    }
}

TEST(StartupFile, OddCommandLinesNeverFail)
{
    const std::string odd[] = {std::string(100000, 'x'),        std::string(5000, '\\'),
                               std::string(3000, ':'),          std::string("a\0b.exe -x", 10),
                               std::string(4000, '"') + ".exe", "\xff\xfe\x80.exe /\x01",
                               std::string(70000, ' ') + "-"};
    for (const std::string& line : odd) {
        TStartupFile item(line, line);
        EXPECT_LE(item.FileName.size(), line.size() + 4);
    }
}

TEST_F(ToolsFixture, ItemsKeepOrderAndRejectOutOfRangeIndexes)
{
    TStartupFiles files(Ports);
    EXPECT_EQ(files.Count(), 0);
    files.Add("a", "C:\\a.exe");
    TStartupFile* b = files.Add("b", "C:\\b -x");
    EXPECT_EQ(files.Count(), 2);
    EXPECT_EQ(files.Items(1), b);
    EXPECT_EQ(b->FileName, "C:\\b.exe");
    EXPECT_EQ(files.Items(-1), nullptr);
    EXPECT_EQ(files.Items(2), nullptr);
}

TEST_F(ToolsFixture, LoadFromRegistryReadsMachineThenUser)
{
    TStartupFiles files(Ports);
    EXPECT_EQ(files.LoadFromRegistry(), 0);

    Registry.SetValue(HKCU, kRunKey, "Both", TRegValue::String("C:\\user.exe"));
    Registry.SetValue(HKCU, kRunKey, "", TRegValue::String("C:\\default.exe"));
    Registry.SetValue(HKLM, kRunKey, "Zeta", TRegValue::String("C:\\z.exe"));
    Registry.SetValue(HKLM, kRunKey, "Empty", TRegValue::String(""));
    Registry.SetValue(HKLM, kRunKey, "Both", TRegValue::String("C:\\machine.exe"));
    Registry.SetValue(HKLM, kRunKey, "Expand",
                      TRegValue::String("%WINDIR%\\x.exe", rtExpandString));
    Registry.SetValue(HKLM, kRunKey, "Nul", TRegValue::String(std::string("C:\\n.exe\0junk", 13)));
    Registry.SetValue(HKLM, kRunKey, "NoData", TRegValue{rtBinary, {}});

    files.Add("stale", "C:\\stale.exe");
    EXPECT_EQ(files.LoadFromRegistry(), 6);
    EXPECT_EQ(Contents(files), (Pairs{{"Zeta", "C:\\z.exe"},
                                      {"Both", "C:\\machine.exe"},
                                      {"Expand", "%WINDIR%\\x.exe"},
                                      {"Nul", "C:\\n.exe"},
                                      {"Both", "C:\\user.exe"},
                                      {"", "C:\\default.exe"}}));
}

TEST_F(ToolsFixture, RunKeyWithoutFullAccessCountsAsAbsent)
{
    Registry.SetValue(HKLM, kRunKey, "Locked", TRegValue::String("C:\\locked.exe"));
    Registry.SetValue(HKCU, kRunKey, "Mine", TRegValue::String("C:\\mine.exe"));
    Registry.DenyFullAccess(HKLM, kRunKey);
    TStartupFiles files(Ports);
    EXPECT_EQ(files.LoadFromRegistry(), 1);
    EXPECT_EQ(files.Items(0)->Name, "Mine");
}

TEST_F(ToolsFixture, NonStringRunValueStopsTheInventoryAtThatValue)
{
    Registry.SetValue(HKLM, kRunKey, "First", TRegValue::String("C:\\first.exe"));
    Registry.SetValue(HKLM, kRunKey, "Number", TRegValue::Dword(1));
    Registry.SetValue(HKLM, kRunKey, "Later", TRegValue::String("C:\\later.exe"));
    Registry.SetValue(HKCU, kRunKey, "User", TRegValue::String("C:\\user.exe"));
    TStartupFiles files(Ports);
    try {
        files.LoadFromRegistry();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Number'");
    }
    EXPECT_EQ(Contents(files), (Pairs{{"First", "C:\\first.exe"}}));
}

TEST_F(ToolsFixture, ReadStringTypeRule)
{
    struct Row {
        TRegValue value;
        const char* text;  // nullptr: the read error
    };
    const Row rows[] = {
            {TRegValue::String("abc"), "abc"},
            {TRegValue::String("abc", rtExpandString), "abc"},
            {TRegValue::String(std::string("a\0b", 3)), "a"},
            {TRegValue::String(""), ""},
            {TRegValue{rtBinary, {}}, ""},
            {TRegValue{rtDword, {}}, ""},
            {TRegValue{rtBinary, {'x'}}, nullptr},
            {TRegValue::Dword(7), nullptr},
            {TRegValue::String("a\0b\0", rtMultiString), nullptr},
            {TRegValue{rtNone, {'x'}}, nullptr},
    };
    TRegistry registry(Registry, HKCU);
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        Registry.SetValue(HKCU, "Test", "v", rows[i].value);
        ASSERT_TRUE(registry.OpenKey("\\Test", false));
        if (rows[i].text) {
            EXPECT_EQ(registry.ReadString("v"), rows[i].text) << i;
        } else {
            EXPECT_THROW(registry.ReadString("v"), Exception) << i;
        }
    }
    EXPECT_EQ(registry.ReadString("missing"), "");
}

TEST_F(ToolsFixture, WriteRunValue)
{
    TStartupFiles files(Ports);
    files.WriteRunValue("", "C:\\x.exe");
    files.WriteRunValue("x", "");
    EXPECT_FALSE(Registry.HasKey(HKLM, kRunKey));

    files.WriteRunValue("MLinewarden", "C:\\Guard\\MLinewarden.exe");
    files.WriteRunValue("MLinewarden", "C:\\Nowy folder\\MLinewarden.exe");
    const TRegValue* value = Registry.Value(HKLM, kRunKey, "MLinewarden");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->Type, rtString);
    EXPECT_EQ(value->Text(), "C:\\Nowy folder\\MLinewarden.exe");
    EXPECT_FALSE(Registry.HasKey(HKCU, kRunKey));

    Registry.FailWrites(true);
    try {
        files.WriteRunValue("MLinewarden", "C:\\y.exe");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'MLinewarden'");
    }
}

TEST_F(ToolsFixture, HelpFileBesideTheProgramOpensThroughTheShell)
{
    SetHelpFile(Ports);
    EXPECT_EQ(HelpFile(), "C:\\Guard\\MLinewarden.chm");
    int owner = 0;
    ShowHelp(Ports, &owner);
    ASSERT_EQ(Shell.Calls.size(), 1u);
    const TFakeShell::TCall& call = Shell.Calls[0];
    EXPECT_EQ(call.Owner, &owner);
    EXPECT_EQ(call.Verb, "open");
    EXPECT_EQ(call.File, "C:\\Guard\\MLinewarden.chm");
    EXPECT_EQ(call.Parameters, "");
    EXPECT_EQ(call.Folder, "");
    EXPECT_EQ(call.ShowCommand, 5);
}
