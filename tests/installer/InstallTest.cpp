// The installation as the uninstaller and Programs and Features will find it, and the machine
// as it was after every kind of failure.
#include <functional>
#include <map>
#include <memory>

#include "SetupFixture.h"
#include "common/StrUtils.h"
#include "installer/SetupRules.h"
#include "platform/AnsiText.h"
#include "support/FakeMessageBox.h"
#include "uninstall/SetupBuildEngine.h"
#include "uninstall/MIUninst.h"
#include "uninstall/RemovalBatch.h"

namespace {

const std::string Folder = "C:\\Programy\\Zażółć Linewarden";
const std::string RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<std::string> Texts(const TLogStringList& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Text(i));
    return texts;
}

const TRegRoot HKLM = TRegRoot::LocalMachine, HKCU = TRegRoot::CurrentUser;

// The values a run writes or deletes: both Uninstall keys and both Run keys, each value with its
// type and data.
std::map<std::string, std::string> RecordedValues(TMemoryRegistry& registry)
{
    std::map<std::string, std::string> values;
    for (TRegRoot root : {HKLM, HKCU})
        for (const std::string& path : {std::string(kUninstallKeyPath), RunKey})
            if (auto key = registry.OpenKey(root, path, TRegAccess::Read))
                for (const std::string& name : key->ValueNames()) {
                    TRegValue value;
                    key->ReadValue(name, value);
                    values[std::to_string(int(root)) + path + "\\" + name] =
                            std::to_string(value.Type) + ":" + value.Text();
                }
    return values;
}

}  // namespace

class InstallTest : public SetupFixture {};

TEST_F(InstallTest, WritesWhatTheUninstallerReadsBack)
{
    TSetupInstaller setup(Ports, Payload);
    std::string failure;
    ASSERT_TRUE(setup.Install({Folder + "\\", true, nullptr}, nullptr, failure)) << failure;

    EXPECT_EQ(Files.Node(Folder + "\\MLinewarden.exe")->Content, "MZ-guard");
    EXPECT_EQ(Files.Node(SetupShell.Programs + "\\Morvane Linewarden.lnk")->Content,
              "link to " + Folder + "\\MLinewarden.exe");
    EXPECT_EQ(Profile.Value(Folder + "\\MLinewarden.cfg", "Main", "AutoStart"), "1");
    EXPECT_EQ(Registry.Value(TRegRoot::CurrentUser, RunKey, "MLinewarden")->Text(),
              Folder + "\\MLinewarden.exe");
    const struct {
        const char* Name;
        TRegValue Value;
    } values[] = {
            {"DisplayName", TRegValue::String("Morvane Linewarden")},
            {"UninstallString", TRegValue::String("\"" + Folder + "\\uninstall.exe\"")},
            {"InstallLocation", TRegValue::String(Folder)},
            {"InstallDate", TRegValue::String("20261208")},
            {"EstimatedSize", TRegValue::Dword(2)},
            {"NoModify", TRegValue::Dword(1)},
            {"NoRepair", TRegValue::Dword(1)},
    };
    for (const auto& v : values) {
        const TRegValue* value = Registry.Value(TRegRoot::CurrentUser, kUninstallKeyPath, v.Name);
        ASSERT_NE(value, nullptr) << v.Name;
        EXPECT_EQ(value->Type, v.Value.Type) << v.Name;
        EXPECT_EQ(value->Data, v.Value.Data) << v.Name;
    }

    // The uninstaller's own reader over the file the setup wrote.
    TFakeMessageBox messages;
    TUninstall reader(
            {Files, Registry, Profile, Shell, Processes, messages, {Programs, Programs, Ticks}});
    ASSERT_TRUE(reader.LoadPackage(Folder + "\\uninstall.exe"));
    ASSERT_TRUE(reader.ReadLog());
    EXPECT_EQ(reader.AppName, "Morvane Linewarden");
    const TInstallLog log = setup.LogFor(Folder);
    EXPECT_EQ(Texts(reader.Log.Files), log.Files);
    EXPECT_EQ(Texts(reader.Log.Dirs), log.Dirs);
    // The setup's own reader of an earlier installation finds the same name and folders.
    std::string xml;
    TInstallLog earlier;
    ASSERT_TRUE(ReadPackageLog(*Files.OpenRead(Folder + "\\uninstall.exe"), xml));
    ASSERT_TRUE(ReadInstallLogXml(AnsiToUtf8(xml), earlier));
    EXPECT_EQ(earlier.AppName, reader.AppName);
    EXPECT_EQ(earlier.Dirs, log.Dirs);
    ASSERT_EQ(reader.Log.ShortCuts.Count(), 1);
    EXPECT_EQ(reader.Log.ShortCuts.Items(0)->Name, SetupShell.Programs + "\\Morvane Linewarden");
    ASSERT_EQ(reader.Log.Registry.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reader.Log.Registry.Items(i)->Text, log.Registry[size_t(i)].Key);
        EXPECT_EQ(reader.Log.Registry.Items(i)->ValueName, log.Registry[size_t(i)].Param);
    }
}

TEST_F(InstallTest, OverAnExistingInstallationKeepsSettingsAndQuarantine)
{
    AddInstallation(Folder);
    Files.AddFile(Folder + "\\dialers\\x.exe.001", "dialer copy");
    Profile.Set(Folder + "\\MLinewarden.cfg", "Main", "CheckAllowedNumbers", "0");
    Registry.SetValue(TRegRoot::CurrentUser, kUninstallKeyPath, "InstallLocation",
                      TRegValue::String(Folder));
    TSetupInstaller setup(Ports, Payload);
    EXPECT_EQ(setup.ProposedFolder(), Folder);
    std::string failure;
    ASSERT_TRUE(setup.Install({Folder, false, nullptr}, nullptr, failure)) << failure;
    EXPECT_EQ(Files.Node(Folder + "\\MLinewarden.exe")->Content, "MZ-guard");
    EXPECT_EQ(Files.Node(Folder + "\\dialers\\x.exe.001")->Content, "dialer copy");
    EXPECT_EQ(Profile.Value(Folder + "\\MLinewarden.cfg", "Main", "CheckAllowedNumbers"), "0");
    EXPECT_EQ(Registry.Value(TRegRoot::LocalMachine, RunKey, "MLinewarden"), nullptr);
    EXPECT_EQ(Files.Node(Folder + "\\MLinewarden.exe.setup-old"), nullptr);
}

// Per user and per machine, the key that records the installation, the folder proposed, the
// installation found again, and the log, agree.
TEST(InstallScopeTest, TheUninstallKeyFolderAndLogFollowTheScope)
{
    const struct {
        TInstallScope Scope;
        TRegRoot Root, OtherRoot;
        const char* LoggedKey;
        std::string Proposed;
    } cases[] = {
            {TInstallScope::PerUser, TRegRoot::CurrentUser, TRegRoot::LocalMachine, "HKCU\\",
             "C:\\Users\\Ola\\AppData\\Local\\Programs\\Morvane Linewarden"},
            {TInstallScope::PerMachine, TRegRoot::LocalMachine, TRegRoot::CurrentUser, "HKLM\\",
             "C:\\Program Files\\Morvane Linewarden"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.LoggedKey);
        TSetupMachine machine;
        TSetupInstaller setup(machine.Ports, machine.Payload, c.Scope);
        EXPECT_EQ(setup.ProposedFolder(), c.Proposed);
        std::string failure;
        ASSERT_TRUE(setup.Install({c.Proposed, true, nullptr}, nullptr, failure)) << failure;
        const TRegValue* location =
                machine.Registry.Value(c.Root, kUninstallKeyPath, "InstallLocation");
        ASSERT_NE(location, nullptr);
        EXPECT_EQ(location->Text(), c.Proposed);
        EXPECT_EQ(machine.Registry.Value(c.OtherRoot, kUninstallKeyPath, "InstallLocation"),
                  nullptr);
        // The Run value where the installation's key is: for its user, or for every user.
        EXPECT_EQ(machine.Registry.Value(c.Root, RunKey, "MLinewarden")->Text(),
                  c.Proposed + "\\MLinewarden.exe");
        EXPECT_EQ(machine.Registry.Value(c.OtherRoot, RunKey, "MLinewarden"), nullptr);
        EXPECT_EQ(setup.LogFor(c.Proposed).Registry.at(0).Key,
                  c.LoggedKey + std::string(kUninstallKeyPath));

        // The next setup finds it in the same key, and only there.
        machine.Registry.SetValue(c.Root, kUninstallKeyPath, "InstallLocation",
                                  TRegValue::String("C:\\Elsewhere"));
        machine.Registry.SetValue(c.OtherRoot, kUninstallKeyPath, "InstallLocation",
                                  TRegValue::String("C:\\Wrong"));
        EXPECT_EQ(TSetupInstaller(machine.Ports, machine.Payload, c.Scope).ExistingLocation(),
                  "C:\\Elsewhere");
    }
}

// Each failure leaves the files and the registry as they were, an earlier installation's
// program included.
TEST_F(InstallTest, AFailedStepTakesBackWhatTheRunMade)
{
    const struct {
        const char* Name;
        std::function<void(TSetupMachine&)> Break;
    } cases[] = {
            {"folder refuses files",
             [](TSetupMachine& t) { t.Files.Node(Folder)->RefusesNewFiles = true; }},
            {"shortcut fails", [](TSetupMachine& t) { t.SetupShell.Fails = true; }},
            {"the old guard's file is in use",
             [](TSetupMachine& t) { t.Files.Node(Folder + "\\MLinewarden.exe")->Running = true; }},
            {"key refuses writes",
             [](TSetupMachine& t) {
                 t.Registry.RefuseWrites(TRegRoot::CurrentUser, kUninstallKeyPath);
             }},
            {"guard stays running",
             [](TSetupMachine& t) {
                 t.Programs.Add(7, "c:\\programy\\ZAżółć linewarden\\mlinewarden.exe", true);
             }},
            {"no Run key writable",
             [](TSetupMachine& t) {
                 t.Registry.RefuseWrites(TRegRoot::LocalMachine, RunKey);
                 t.Registry.RefuseWrites(TRegRoot::CurrentUser, RunKey);
             }},
            // The values written into a key that was there go, and its own come back.
            {"an earlier key, no Run key writable",
             [](TSetupMachine& t) {
                 t.Registry.SetValue(HKCU, kUninstallKeyPath, "DisplayVersion",
                                     TRegValue::String("0.9"));
                 t.Registry.SetValue(HKCU, kUninstallKeyPath, "InstallLocation",
                                     TRegValue::String(Folder));
                 t.Registry.RefuseWrites(TRegRoot::CurrentUser, RunKey);
             }},
            {"the machine's value of this guard, the user's Run key refuses",
             [](TSetupMachine& t) {
                 t.Registry.SetValue(HKLM, RunKey, "MLinewarden",
                                     TRegValue::String(Folder + "\\MLinewarden.exe"));
                 t.Registry.RefuseWrites(TRegRoot::CurrentUser, RunKey);
             }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        t.AddInstallation(Folder);
        c.Break(t);
        const std::vector<std::string> before = t.Files.Files();
        const auto values = RecordedValues(t.Registry);
        const bool hadKey = t.Registry.HasKey(HKCU, kUninstallKeyPath);
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        EXPECT_FALSE(setup.Install({Folder, true, nullptr}, nullptr, failure));
        EXPECT_FALSE(failure.empty());
        EXPECT_EQ(t.Files.Files(), before);
        EXPECT_EQ(t.Files.Node(Folder + "\\MLinewarden.exe")->Content, "MZ-old-guard");
        EXPECT_EQ(t.Registry.HasKey(HKCU, kUninstallKeyPath), hadKey);
        EXPECT_EQ(RecordedValues(t.Registry), values);
    }
}

// The programs of an earlier installation are asked to close first; one that stays is named
// to the user (or gives up a silent run), and the guard that ran is started again.
TEST_F(InstallTest, ClosesTheRunningProgramsAndStartsTheGuardAgain)
{
    const std::string guard = Folder + "\\MLinewarden.exe";
    const std::string uninstaller = Folder + "\\uninstall.exe";
    const struct {
        const char* Name;
        std::string Running;  // "" none
        bool Stays;
        bool Interactive;  // false: no question can be asked
        bool StartWanted;
        bool Installed;
        int Questions;
        bool Started;
    } cases[] = {
            {"nothing runs", "", false, true, false, true, 0, false},
            {"nothing runs, start asked", "", false, true, true, true, 0, true},
            {"guard closes: started again", guard, false, false, false, true, 0, true},
            {"uninstaller closes", uninstaller, false, true, false, true, 0, false},
            {"guard stays, user cancels", guard, true, true, true, false, 1, false},
            {"guard stays, silent", guard, true, false, true, false, 0, false},
            // Known by its file and window alone, it is the guard that stayed: no second copy.
            {"guard named without its path stays", "MLinewarden.exe", true, false, true, false, 0,
             false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        t.AddInstallation(Folder);
        if (!c.Running.empty()) t.Programs.Add(12, c.Running, c.Stays);
        std::vector<std::string> asked;
        TRetryQuestion retry;
        if (c.Interactive)
            retry = [&](const std::string& program) {
                asked.push_back(program);
                return false;
            };
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        EXPECT_EQ(setup.Install({Folder, true, retry}, nullptr, failure), c.Installed);
        EXPECT_EQ(int(asked.size()), c.Questions);
        for (const std::string& program : asked) EXPECT_EQ(program, c.Running);
        if (!c.Installed) {
            EXPECT_NE(failure.find(c.Running), std::string::npos) << failure;
            EXPECT_EQ(t.Files.Node(guard)->Content, "MZ-old-guard");
        }
        EXPECT_EQ(setup.StartGuard(c.StartWanted), c.Started);
        ASSERT_EQ(t.Processes.Started.size(), c.Started ? 1u : 0u);
        if (c.Started) {
            EXPECT_EQ(t.Processes.Started[0].CommandLine, "\"" + guard + "\"");
        }
    }
}

// Whatever makes an upgrade fail, the guard it closed runs again from its own, restored file,
// and a later try that succeeds still starts the new one in its place.
TEST_F(InstallTest, AFailedUpgradeStartsTheClosedGuardAgain)
{
    const std::string guard = Folder + "\\MLinewarden.exe";
    const struct {
        const char* Name;
        std::function<void(TSetupMachine&)> Break, Mend;
    } cases[] = {
            {"the uninstaller stays running",
             [](TSetupMachine& t) { t.Programs.Add(13, Folder + "\\uninstall.exe", true); },
             nullptr},
            {"a file cannot be written",
             [](TSetupMachine& t) { t.Files.Node(Folder)->RefusesNewFiles = true; },
             [](TSetupMachine& t) { t.Files.Node(Folder)->RefusesNewFiles = false; }},
            {"the key cannot be written",
             [](TSetupMachine& t) {
                 t.Registry.RefuseWrites(TRegRoot::CurrentUser, kUninstallKeyPath);
             },
             nullptr},
            {"the settings cannot be saved", [](TSetupMachine& t) { t.Profile.AcceptedWrites = 0; },
             [](TSetupMachine& t) { t.Profile.AcceptedWrites = -1; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        t.AddInstallation(Folder);
        t.Programs.Add(12, guard, false);
        c.Break(t);
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        EXPECT_FALSE(setup.Install({Folder, false, nullptr}, nullptr, failure));
        EXPECT_EQ(t.Files.Node(guard)->Content, "MZ-old-guard");
        ASSERT_EQ(t.Processes.Started.size(), 1u);
        EXPECT_EQ(t.Processes.Started[0].CommandLine, "\"" + guard + "\"");
        if (!c.Mend) continue;
        // The retry finds the guard gone (the fake does not run what it starts).
        c.Mend(t);
        ASSERT_TRUE(setup.Install({Folder, false, nullptr}, nullptr, failure)) << failure;
        EXPECT_TRUE(setup.StartGuard(false));
        EXPECT_EQ(t.Processes.Started.size(), 2u);
    }
}

// A folder that holds anything but an installation of ours is another program's: nothing is
// written there, nothing closed, nothing registered.
TEST_F(InstallTest, InstallsOnlyIntoAnEmptyFolderOrOneOfOurs)
{
    TInstallLog foreign;
    foreign.AppName = "Other Tool";
    const struct {
        const char* Name;
        std::function<void(TSetupMachine&)> Fill;
        bool Installed;
    } cases[] = {
            {"a new folder", [](TSetupMachine&) {}, true},
            {"an empty folder", [](TSetupMachine& t) { t.Files.AddFolder(Folder); }, true},
            {"an installation of ours", [](TSetupMachine& t) { t.AddInstallation(Folder); }, true},
            {"another program's uninstaller with its own package",
             [&](TSetupMachine& t) {
                 t.Files.AddFile(Folder + "\\uninstall.exe",
                                 "MZ-other" + PackageBytes(InstallLogXml(foreign)));
             },
             false},
            {"an uninstaller without a package",
             [](TSetupMachine& t) { t.Files.AddFile(Folder + "\\uninstall.exe", "MZ-other"); },
             false},
            {"the folder our Programs-and-Features key names",
             [](TSetupMachine& t) {
                 t.Files.AddFile(Folder + "\\uninstall.exe", "an older uninstaller");
                 t.Registry.SetValue(TRegRoot::CurrentUser, kUninstallKeyPath, "InstallLocation",
                                     TRegValue::String(Folder));
             },
             true},
            {"any other file", [](TSetupMachine& t) { t.Files.AddFile(Folder + "\\a.txt", "a"); },
             false},
            {"an empty subfolder", [](TSetupMachine& t) { t.Files.AddFolder(Folder + "\\x"); },
             false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        c.Fill(t);
        t.Programs.Add(12, Folder + "\\MLinewarden.exe", false);
        std::map<std::string, std::string> before;
        for (const std::string& file : t.Files.Files()) before[file] = t.Files.Node(file)->Content;
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        EXPECT_EQ(setup.Install({Folder, true, nullptr}, nullptr, failure), c.Installed);
        if (c.Installed) continue;
        EXPECT_NE(failure.find(Folder), std::string::npos) << failure;
        std::map<std::string, std::string> after;
        for (const std::string& file : t.Files.Files()) after[file] = t.Files.Node(file)->Content;
        EXPECT_EQ(after, before);
        EXPECT_TRUE(t.Programs.ListProcesses().size() == 1u);
        EXPECT_FALSE(t.Registry.HasKey(TRegRoot::CurrentUser, kUninstallKeyPath));
    }
}

// The log names the folders the installation made, and keeps those an earlier one made, so
// that the uninstaller never removes a folder that was there before it.
TEST_F(InstallTest, LogsOnlyTheFoldersOfTheInstallation)
{
    const std::string dialers = Folder + "\\dialers";
    const struct {
        const char* Name;
        std::function<void(TSetupMachine&)> Fill;
        std::vector<std::string> Dirs;
    } cases[] = {
            {"a new folder", [](TSetupMachine&) {}, {Folder, dialers}},
            {"an empty folder", [](TSetupMachine& t) { t.Files.AddFolder(Folder); }, {dialers}},
            {"over an installation that made both",
             [&](TSetupMachine& t) {
                 t.AddInstallation(Folder, "MZ-old-guard", {Folder, dialers});
                 t.Files.AddFolder(dialers);
             },
             {Folder, dialers}},
            {"over an installation into a folder that was there",
             [&](TSetupMachine& t) {
                 t.AddInstallation(Folder);
                 t.Files.AddFolder(dialers);
             },
             {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        c.Fill(t);
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        ASSERT_TRUE(setup.Install({Folder, true, nullptr}, nullptr, failure)) << failure;
        std::string xml;
        TInstallLog log;
        ASSERT_TRUE(ReadPackageLog(*t.Files.OpenRead(Folder + "\\uninstall.exe"), xml));
        ASSERT_TRUE(ReadInstallLogXml(AnsiToUtf8(xml), log));
        EXPECT_EQ(log.Dirs, c.Dirs);
    }
}

// A copy an earlier run left beside a program is not taken for this run's own: it is still
// there, unchanged, whether the run succeeds or is taken back.
TEST_F(InstallTest, KeepsTheCopiesAnEarlierRunLeft)
{
    const std::string guard = Folder + "\\MLinewarden.exe";
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "taken back" : "installed");
        TSetupMachine t;
        t.AddInstallation(Folder);
        t.Files.AddFile(guard + ".setup-old", "an earlier run's copy");
        if (fails) t.SetupShell.Fails = true;
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        EXPECT_EQ(setup.Install({Folder, true, nullptr}, nullptr, failure), !fails);
        EXPECT_EQ(t.Files.Node(guard)->Content, fails ? "MZ-old-guard" : "MZ-guard");
        EXPECT_EQ(t.Files.Node(guard + ".setup-old")->Content, "an earlier run's copy");
        EXPECT_EQ(t.Files.Node(guard + ".setup-old1"), nullptr);
    }
}

// A user has one installation: while the folder our key records holds our guard, another
// folder is refused before anything is closed or changed, and the refusal names that folder.
// A key whose folder has gone or holds no guard of ours does not stand in the way.
TEST_F(InstallTest, AnotherFolderIsRefusedWhileTheRecordedInstallationStands)
{
    const std::string other = "C:\\Inny\\Linewarden";
    const struct {
        const char* Name;
        std::function<void(TSetupMachine&)> Arrange;
        std::string Chosen;
        bool Installed;
    } cases[] = {
            {"our installation", [](TSetupMachine& t) { t.AddInstallation(Folder); }, other, false},
            {"its guard, its uninstaller unreadable",
             [](TSetupMachine& t) {
                 t.Files.AddFile(Folder + "\\MLinewarden.exe", "MZ-old-guard");
                 t.Files.AddFile(Folder + "\\uninstall.exe", "MZ-damaged");
             },
             other, false},
            {"the same folder, spelt otherwise",
             [](TSetupMachine& t) { t.AddInstallation(Folder); }, UpperCase(Folder) + "\\", true},
            {"the folder has gone", [](TSetupMachine&) {}, other, true},
            {"no guard there any more",
             [](TSetupMachine& t) { t.Files.AddFile(Folder + "\\notes.txt", "x"); }, other, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        c.Arrange(t);
        t.Registry.SetValue(HKCU, kUninstallKeyPath, "InstallLocation", TRegValue::String(Folder));
        t.Programs.Add(12, Folder + "\\MLinewarden.exe", false);
        const std::vector<std::string> files = t.Files.Files();
        const auto values = RecordedValues(t.Registry);
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        EXPECT_EQ(setup.Install({c.Chosen, true, nullptr}, nullptr, failure), c.Installed);
        if (c.Installed) continue;
        EXPECT_NE(failure.find("\"" + Folder + "\""), std::string::npos) << failure;
        EXPECT_EQ(t.Files.Files(), files);
        EXPECT_EQ(RecordedValues(t.Registry), values);
        EXPECT_EQ(t.Programs.ListProcesses().size(), 1u);
    }
}

// A per-user installation takes the machine's Run value only while it starts this very guard
// (as an older version wrote it); one that starts another folder's guard is not this user's.
TEST_F(InstallTest, TheMachinesRunValueGoesOnlyWhileItStartsThisGuard)
{
    const std::string guard = Folder + "\\MLinewarden.exe";
    const std::string elsewhere = "C:\\Program Files\\Morvane Linewarden\\MLinewarden.exe";
    const struct {
        const char* Name;
        std::string Machine;
        bool AutoStart, MachineKept;
    } cases[] = {
            {"this guard, on", guard, true, false},
            {"this guard quoted, off", "\"" + UpperCase(guard) + "\"", false, false},
            {"another folder's guard, on", elsewhere, true, true},
            {"another folder's guard, off", elsewhere, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        t.Registry.SetValue(HKLM, RunKey, "MLinewarden", TRegValue::String(c.Machine));
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        ASSERT_TRUE(setup.Install({Folder, c.AutoStart, nullptr}, nullptr, failure)) << failure;
        const TRegValue* machine = t.Registry.Value(HKLM, RunKey, "MLinewarden");
        EXPECT_EQ(machine ? machine->Text() : "", c.MachineKept ? c.Machine : "");
        const TRegValue* user = t.Registry.Value(HKCU, RunKey, "MLinewarden");
        EXPECT_EQ(user ? user->Text() : "", c.AutoStart ? guard : "");
    }
}

// On a Windows whose code pages lack "ł", the log names such a name by its 8.3 alias, so that
// the uninstaller reads back the very files this run wrote. A folder the log cannot name (one
// still to be made, or a volume that keeps no aliases) is refused before anything changes or
// closes, with the reason naming it.
TEST_F(InstallTest, TheLogNamesByAliasWhatItsCodePageLacks)
{
    const std::string profile = "C:\\Users\\Michał";
    const std::string below = profile + "\\AppData\\Morvane Linewarden";
    const std::string aliased = "C:\\Users\\MICHA~1\\AppData\\Morvane Linewarden";
    const std::string menu = profile + "\\Start Menu\\Programs";
    const struct {
        const char* Name;
        std::string Folder, Menu;
        bool Alias, Earlier;
        std::string Logged, LoggedLink;  // "" refused
        std::string Refused;             // the folder the reason names
    } cases[] = {
            {"below a profile with an alias", below, menu, true, false, aliased,
             "C:\\Users\\MICHA~1\\Start Menu\\Programs\\Morvane Linewarden", ""},
            {"over an installation there, whose folders it keeps", below, "C:\\Menu", true, true,
             aliased, "C:\\Menu\\Morvane Linewarden", ""},
            {"a folder still to be made", "C:\\Michał\\Linewarden", "C:\\Menu", true, false, "", "",
             "C:\\Michał\\Linewarden"},
            {"a volume without aliases", below, "C:\\Menu", false, false, "", "", below},
            {"the shortcut's folder without an alias", "C:\\Linewarden", menu, false, false, "", "",
             menu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        t.LogCodePage.Lacks = {"ł"};
        t.Files.AddFolder(profile + "\\AppData");
        if (c.Alias) t.Files.SetAlias(profile, "MICHA~1");
        t.SetupShell.Programs = c.Menu;
        t.Files.AddFolder(c.Menu);
        if (c.Earlier)
            t.AddInstallation(c.Folder, "MZ-old-guard", {c.Logged, c.Logged + "\\dialers"});
        t.Programs.Add(12, c.Folder + "\\MLinewarden.exe", false);
        const std::vector<std::string> before = t.Files.Files();
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        ASSERT_EQ(setup.Install({c.Folder, true, nullptr}, nullptr, failure), !c.Logged.empty())
                << failure;
        if (c.Logged.empty()) {
            EXPECT_NE(failure.find("\"" + c.Refused + "\""), std::string::npos) << failure;
            EXPECT_EQ(t.Files.Files(), before);
            EXPECT_EQ(t.Programs.ListProcesses().size(), 1u);
            EXPECT_FALSE(t.Registry.HasKey(TRegRoot::CurrentUser, kUninstallKeyPath));
            continue;
        }
        std::string xml;
        TInstallLog log;
        ASSERT_TRUE(ReadPackageLog(*t.Files.OpenRead(c.Folder + "\\uninstall.exe"), xml));
        ASSERT_TRUE(ReadInstallLogXml(AnsiToUtf8(xml), log));
        EXPECT_EQ(log.Dirs, std::vector<std::string>({c.Logged, c.Logged + "\\dialers"}));
        EXPECT_EQ(setup.LogFor(c.Folder).Shortcuts, std::vector<std::string>{c.LoggedLink});
        // The logged name of each file reaches the file this run wrote.
        for (const TPayloadFile& file : t.Payload) {
            const auto* written = t.Files.Node(c.Logged + "\\" + file.Name);
            ASSERT_NE(written, nullptr) << file.Name;
            EXPECT_EQ(written->Content.substr(0, file.Bytes.size()), file.Bytes);
        }
    }
}

// Installed below such a profile, then removed through the uninstaller the installation wrote,
// which the system may start by either name: the guard is asked to close by its long path,
// the key, the Run value and the shortcut go although they name the long path, and the
// removal batch names the uninstaller, its folder and itself by aliases the OEM code page holds.
TEST_F(InstallTest, BelowAnAliasedProfileTheUninstallerRemovesEverything)
{
    const std::string profile = "C:\\Users\\Michał";
    const std::string folder = profile + "\\AppData\\Local\\Programs\\Morvane Linewarden";
    const std::string aliased = "C:\\Users\\MICHA~1\\AppData\\Local\\Programs\\Morvane Linewarden";
    const std::string guard = folder + "\\MLinewarden.exe";
    for (bool byAlias : {false, true}) {
        SCOPED_TRACE(byAlias ? "started by its alias" : "started by its long path");
        TSetupMachine t;
        TFakeCodePage batchCodePage;
        t.LogCodePage.Lacks = batchCodePage.Lacks = {"ł"};
        t.SetupShell.LocalAppData = profile + "\\AppData\\Local";
        t.SetupShell.Programs = profile + "\\Start Menu\\Programs";
        t.Files.AddFolder(t.SetupShell.LocalAppData);
        t.Files.AddFolder(t.SetupShell.Programs);
        t.Files.AddFolder(profile + "\\Temp");
        t.Files.TempFolderReported = profile + "\\Temp\\";
        t.Files.SetAlias(profile, "MICHA~1");
        TSetupInstaller setup(t.Ports, t.Payload);
        std::string failure;
        ASSERT_TRUE(setup.Install({setup.ProposedFolder(), true, nullptr}, nullptr, failure))
                << failure;

        t.Programs.Add(21, guard, false);
        t.Files.Node(folder + "\\uninstall.exe")->Running = true;
        t.Shell.AddLink("C:\\Users\\MICHA~1\\Start Menu\\Programs\\Morvane Linewarden.lnk", guard);
        t.Processes.Program = (byAlias ? aliased : folder) + "\\uninstall.exe";
        TFakeMessageBox messages;
        messages.Answer = TMsgResult::Yes;
        const TUninstallPorts ports{t.Files,
                                    t.Registry,
                                    t.Profile,
                                    t.Shell,
                                    t.Processes,
                                    messages,
                                    {t.Programs, t.Programs, t.Ticks},
                                    batchCodePage};
        EXPECT_EQ(UninstallProgram(ports, 0x0409), 0);

        EXPECT_TRUE(t.Programs.ListProcesses().empty());
        EXPECT_EQ(t.Files.Files(), std::vector<std::string>({folder + "\\uninstall.exe",
                                                             profile + "\\Temp\\uninstall.bat"}));
        EXPECT_FALSE(t.Registry.HasKey(TRegRoot::CurrentUser, kUninstallKeyPath));
        EXPECT_EQ(t.Registry.Value(TRegRoot::CurrentUser, RunKey, "MLinewarden"), nullptr);
        EXPECT_EQ(t.Files.Node(profile + "\\Temp\\uninstall.bat")->Content,
                  RemovalBatchText(RemovalBatchLines(aliased + "\\uninstall.exe",
                                                     "C:\\Users\\MICHA~1\\Temp\\uninstall.bat",
                                                     {aliased}, false)));
    }
}
