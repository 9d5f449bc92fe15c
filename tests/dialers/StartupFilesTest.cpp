#include <gtest/gtest.h>

#include <functional>

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

// A 32-bit guard on 64-bit Windows: the machine's Run key in both views, then the user's; each
// value is deleted where it was read, and the guard's own value stays in its own view.
TEST_F(ToolsFixture, BothViewsOfTheMachinesRunKeyOn64BitWindows)
{
    const TRegView Own = TRegView::Own, Bits64 = TRegView::Bits64;
    struct Row {
        TRegRoot root;
        TRegView view;
        const char* name;
    };
    const Row rows[] = {{HKLM, Own, "Narrow"}, {HKLM, Bits64, "Wide"}, {HKCU, Own, "User"}};
    Registry.Views = true;
    for (const Row& r : rows)
        Registry.SetValue(r.root, kRunKey, r.name, TRegValue::String("C:\\X\\d.exe"), r.view);
    TStartupFiles files(Ports);
    ASSERT_EQ(files.LoadFromRegistry(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(files.Items(i)->Name, rows[i].name);
        EXPECT_EQ(files.Items(i)->Key.Root, rows[i].root);
        EXPECT_EQ(files.Items(i)->Key.View, rows[i].view);
        EXPECT_TRUE(files.DeleteRunValue(rows[i].name));
        for (const Row& other : rows)
            EXPECT_EQ(Registry.Value(other.root, kRunKey, other.name, other.view) == nullptr,
                      &other <= &rows[i])
                    << other.name;
    }
    EXPECT_EQ(files.WriteRunValue("Guard", "C:\\G\\g.exe"), TRunValueWritten::AllUsers);
    EXPECT_NE(Registry.Value(HKLM, kRunKey, "Guard", Own), nullptr);
    EXPECT_EQ(Registry.Value(HKLM, kRunKey, "Guard", Bits64), nullptr);
}

TEST_F(ToolsFixture, RunKeysAreOnlyReadAndValuesOfOtherTypesArePassedOver)
{
    // A standard user may read the machine's key but not change it; any program may put a
    // value of another type into the user's key, between two dialers.
    Files.AddFile("C:\\X\\first.exe", "..RasDialA..");
    Files.AddFile("C:\\X\\second.exe", "..RasDialA..");
    Files.AddFile("C:\\X\\machine.exe", "..RasDialA..");
    Registry.SetValue(HKLM, kRunKey, "Machine", TRegValue::String("C:\\X\\machine.exe -q"));
    Registry.SetValue(HKLM, kRunKey, "Odd", TRegValue{rtBinary, {'x'}});
    Registry.DenyFullAccess(HKLM, kRunKey);
    Registry.SetValue(HKCU, kRunKey, "First", TRegValue::String("C:\\X\\first.exe"));
    Registry.SetValue(HKCU, kRunKey, "Number", TRegValue::Dword(1));
    Registry.SetValue(HKCU, kRunKey, "Multi", TRegValue::String("C:\\X\\first.exe", rtMultiString));
    // An expandable string is a string: kept, and not expanded.
    Registry.SetValue(HKCU, kRunKey, "Second",
                      TRegValue::String("C:\\X\\second.exe", rtExpandString));
    TStartupFiles files(Ports);
    EXPECT_EQ(files.LoadFromRegistry(), 3);
    EXPECT_EQ(files.KeepDialers(), 3);
    EXPECT_EQ(Contents(files), (Pairs{{"Machine", "C:\\X\\machine.exe -q"},
                                      {"First", "C:\\X\\first.exe"},
                                      {"Second", "C:\\X\\second.exe"}}));
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
        EXPECT_EQ(registry.ReadStringOrNothing("v"), rows[i].text ? rows[i].text : "") << i;
    }
    EXPECT_EQ(registry.ReadString("missing"), "");
}

TEST_F(ToolsFixture, WriteRunValueFallsBackToTheUsersKey)
{
    static constexpr char kName[] = "MLinewarden", kPath[] = "C:\\Nowy folder\\MLinewarden.exe";
    using W = TRunValueWritten;
    struct Row {
        const char* name;
        std::function<void(TMemoryRegistry&)> arrange;
        W written;
        const char* machine;  // the text under each key afterwards, nullptr: no value
        const char* user;
    };
    const Row rows[] = {
            {"both writable, an older path replaced",
             [](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, kName, TRegValue::String("C:\\a.exe"));
             },
             W::AllUsers, kPath, nullptr},
            {"machine's key may not be opened so (a standard user)",
             [](TMemoryRegistry& r) { r.DenyFullAccess(HKLM, kRunKey); }, W::CurrentUser, nullptr,
             kPath},
            {"machine's key refuses the write",
             [](TMemoryRegistry& r) { r.RefuseWrites(HKLM, kRunKey); }, W::CurrentUser, nullptr,
             kPath},
            {"machine's key may not be changed but holds this very value",
             [](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, kName, TRegValue::String(kPath));
                 r.DenyFullAccess(HKLM, kRunKey);
             },
             W::AllUsers, kPath, nullptr},
            {"neither key may be written",
             [](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, kName, TRegValue::String("C:\\old.exe"));
                 r.DenyFullAccess(HKLM, kRunKey);
                 r.RefuseWrites(HKCU, kRunKey);
             },
             W::Nowhere, "C:\\old.exe", nullptr},
    };
    for (const Row& r : rows) {
        TMemoryRegistry registry;
        TToolsPorts ports{registry, Files, Processes, Shell, Ports.ProgramPath};
        r.arrange(registry);
        TStartupFiles files(ports);
        EXPECT_EQ(files.WriteRunValue(kName, kPath), r.written) << r.name;
        for (auto [root, text] : {std::pair(HKLM, r.machine), std::pair(HKCU, r.user)}) {
            const TRegValue* value = registry.Value(root, kRunKey, kName);
            EXPECT_EQ(value ? value->Text() : "<none>", text ? text : "<none>") << r.name;
            if (value) {
                EXPECT_EQ(value->Type, rtString) << r.name;
            }
        }
        EXPECT_EQ(files.WriteRunValue("", kPath), W::Nowhere);
        EXPECT_EQ(files.WriteRunValue("x", ""), W::Nowhere);
        for (TRegRoot root : {HKLM, HKCU})
            for (const char* name : {"", "x"})
                EXPECT_EQ(registry.Value(root, kRunKey, name), nullptr) << r.name;
    }
}

TEST_F(ToolsFixture, HelpFileBesideTheProgramOpensThroughTheShell)
{
    EXPECT_EQ(HelpFile(Ports), "C:\\Guard\\MLinewarden.chm");
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
