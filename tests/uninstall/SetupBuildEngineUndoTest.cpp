// Undoing the lists: registry, ini entries, shortcuts, servers, files, directories.
#include <functional>
#include <iterator>

#include "tests/uninstall/UninstallFixture.h"

namespace {

const TRegRoot HKLM = TRegRoot::LocalMachine;
const TRegRoot HKCU = TRegRoot::CurrentUser;

class Undo : public UninstallFixture {
protected:
    TInstallerLog Log{Ports};
};

TEST_F(Undo, RegistryItems)
{
    Registry.SetValue(HKLM, "Software\\Vendor\\App", "Path", TRegValue::String("C:\\App"));
    Registry.SetValue(HKLM, "Software\\Vendor\\App", "Keep", TRegValue::String("x"));
    Registry.SetValue(HKLM, "Software\\Vendor\\Tree", "v", TRegValue::Dword(1));
    Registry.SetValue(HKLM, "Software\\Vendor\\Tree\\A\\Deep", "v", TRegValue::Dword(2));
    Registry.SetValue(HKLM, "Software\\Vendor\\Tree\\B", "v", TRegValue::Dword(3));
    Registry.SetValue(HKLM, "Software\\Vendor\\Other", "v", TRegValue::Dword(4));

    struct TCase {
        std::string Key, Param;
        bool Result;
    } cases[] = {
            {"HKLM\\Software\\Vendor\\App", "Path", true},
            {"HKLM\\Software\\Vendor\\App", "Path", false},  // already gone
            {"HKLM\\Software\\Vendor\\Tree", "", true},      // with every subkey
            {"HKLM\\Software\\Vendor\\Missing", "", false},
            {"HKLM\\Software\\Vendor\\Missing", "v", false},
            {"HKLM", "", false},  // never the root itself
            {"HKLM\\", "", false},
            {"HKPD\\Software", "", false},  // a root the registry port lacks
    };
    for (const TCase& c : cases) {
        TRegistryItem* item = Log.Registry.AddItem(c.Key, c.Param, "str", "", "add", "", "");
        EXPECT_EQ(Log.Registry.Undo(*item), c.Result) << c.Key << " " << c.Param;
    }
    EXPECT_EQ(Registry.Value(HKLM, "Software\\Vendor\\App", "Path"), nullptr);
    EXPECT_NE(Registry.Value(HKLM, "Software\\Vendor\\App", "Keep"), nullptr);
    EXPECT_FALSE(Registry.HasKey(HKLM, "Software\\Vendor\\Tree"));
    EXPECT_FALSE(Registry.HasKey(HKLM, "Software\\Vendor\\Tree\\A\\Deep"));
    EXPECT_TRUE(Registry.HasKey(HKLM, "Software\\Vendor\\Other"));
}

TEST_F(Undo, RegistryTreeDeeperThanTheBoundIsNotDescended)
{
    std::string path = "Software\\Deep";
    for (int i = 0; i < RegistryMaxDepth + 1; ++i) path += "\\k";
    Registry.SetValue(HKLM, path, "v", TRegValue::Dword(1));
    TRegistryItem* item =
            Log.Registry.AddItem("HKLM\\Software\\Deep", "", "str", "", "add", "", "");
    EXPECT_FALSE(Log.Registry.Undo(*item));
    EXPECT_TRUE(Registry.HasKey(HKLM, "Software\\Deep"));
}

TEST_F(Undo, UndoAllWorksThroughEveryListAndReportsAnyFailure)
{
    Registry.SetValue(HKLM, "Software\\Vendor\\App", "Path", TRegValue::String("x"));
    Files.AddFile("C:\\Windows\\app.ini", "");
    Profile.Set("C:\\Windows\\app.ini", "App", "Key");
    Profile.Set("C:\\Windows\\app.ini", "App", "Other");
    Files.AddFile("C:\\Menu\\Edytor.lnk", "");
    Files.AddFile("C:\\Program Files\\App\\srv.dll", "");
    Files.AddFile("C:\\Program Files\\App\\a.exe", "");
    Files.AddFile("C:\\Windows\\Fonts\\e.ttf", "");
    Files.AddFolder("C:\\Program Files\\App\\Data\\Sub");

    Log.Registry.AddItem("HKLM\\Software\\Vendor\\App", "Path", "str", "", "add", "", "");
    Log.IniFiles.AddItem("C:\\Windows\\app.ini", "App", "Key", "", "add", "", "");
    Log.ShortCuts.AddItem("C:\\Menu\\Edytor", "", "", "", "", "", "", "", "", "add", "", "");
    Log.Servers.AddItem("C:\\Program Files\\App\\srv.dll", false);
    Log.Servers.AddItem("C:\\Program Files\\App\\gone.dll", false);
    Log.Fonts.AddItem("C:\\Windows\\Fonts\\e.ttf", false);
    Log.Files.AddItem("C:\\Program Files\\App\\srv.dll", false);
    Log.Files.AddItem("C:\\Program Files\\App\\a.exe", false);
    Log.Files.AddItem("C:\\Program Files\\App\\deleted-by-user.txt", false);
    // A directory logged after its parent is removed before it.
    Log.Dirs.AddItem("C:\\Program Files\\App", false);
    Log.Dirs.AddItem("C:\\Program Files\\App\\Data", false);
    Log.Dirs.AddItem("C:\\Program Files\\App\\Data\\Sub", false);

    // The only failure: the server that is gone cannot be unregistered.
    EXPECT_FALSE(Log.UndoAll());
    EXPECT_EQ(Registry.Value(HKLM, "Software\\Vendor\\App", "Path"), nullptr);
    EXPECT_FALSE(Profile.Has("C:\\Windows\\app.ini", "App", "Key"));
    EXPECT_TRUE(Profile.Has("C:\\Windows\\app.ini", "App", "Other"));
    EXPECT_FALSE(Files.FileExists("C:\\Menu\\Edytor.lnk"));
    ASSERT_EQ(Shell.Calls.size(), 1u);
    EXPECT_EQ(Shell.Calls[0].Verb, "open");
    EXPECT_EQ(Shell.Calls[0].File, "RegSvr32.exe");
    EXPECT_EQ(Shell.Calls[0].Parameters, "\"C:\\Program Files\\App\\srv.dll\" /u /s");
    EXPECT_EQ(Shell.Calls[0].ShowCommand, swHide);
    EXPECT_EQ(Files.Files(),
              (std::vector<std::string>{"C:\\Windows\\app.ini", "C:\\Windows\\Fonts\\e.ttf"}));
    EXPECT_FALSE(Files.DirectoryExists("C:\\Program Files\\App"));

    // Run again, everything is gone: files are no failure, every other kind is.
    const std::function<void(TInstallerLog&)> kinds[] = {
            [](TInstallerLog& l) {
                l.ShortCuts.AddItem("C:\\Menu\\Edytor", "", "", "", "", "", "", "", "", "add", "",
                                    "");
            },
            [](TInstallerLog& l) {
                l.IniFiles.AddItem("C:\\gone.ini", "A", "B", "", "add", "", "");
            },
            [](TInstallerLog& l) { l.Dirs.AddItem("C:\\Program Files\\App", false); },
            [](TInstallerLog& l) { l.Files.AddItem("C:\\Program Files\\App\\a.exe", false); },
    };
    for (size_t i = 0; i < 4; ++i) {
        TInstallerLog again{Ports};
        kinds[i](again);
        EXPECT_EQ(again.UndoAll(), i == 3) << i;
    }
    // A registration tool that cannot be started.
    Files.AddFile("C:\\srv.dll", "");
    Shell.ExecuteSucceeds = false;
    EXPECT_FALSE(RegisterServer(Files, Shell, "C:\\srv.dll", false));
}

// A second installation into another folder writes over the Programs-and-Features key, the
// Run value and the shortcut of the first: each goes only while it points into the
// uninstaller's folder, C:\App, and one left to the other installation is no failure. A
// shortcut whose target is not there is no other installation's.
TEST_F(Undo, SharedEntriesGoOnlyWhileTheyPointHere)
{
    const std::string uninstallKeys = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::string runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    enum TKind { Location, UninstallString, MachineRun, UserRun, Shortcut, OtherValue };
    struct TCase {
        TKind Kind;
        std::string Points;
        bool Removed;
        bool TargetThere = true;  // a shortcut's target
    } cases[] = {
            {Location, "C:\\App", true},
            {Location, "c:\\aPP\\", true},
            {Location, "C:\\B", false},  // even with an UninstallString that points here
            {Location, "C:\\AppB", false},
            {UninstallString, "\"C:\\App\\uninstall.exe\"", true},
            {UninstallString, "\"C:\\AppB\\uninstall.exe\"", false},
            {UninstallString, "", true},  // names no place
            {MachineRun, "C:\\App\\MLinewarden.exe", true},
            {MachineRun, "C:\\B\\MLinewarden.exe C:\\App\\x", false},
            {UserRun, "\"C:\\APP\\MLinewarden.exe\" /min", true},
            {UserRun, "\"C:\\AppB\\MLinewarden.exe\"", false},
            {Shortcut, "C:\\App\\MLinewarden.exe", true},
            {Shortcut, "c:\\app\\MLinewarden.exe", true},
            {Shortcut, "C:\\B\\MLinewarden.exe", false},
            {Shortcut, "C:\\AppB\\MLinewarden.exe", false},
            {Shortcut, "", true},  // names no file
            {Shortcut, "C:\\B\\Gone.exe", true, false},
            {OtherValue, "C:\\B", true},  // not an entry another installation writes
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TCase& c = cases[i];
        const std::string name = "MLinewarden" + std::to_string(i);
        const std::string link = "C:\\Menu\\" + name;
        const TRegValue points = TRegValue::String(c.Points);
        TInstallerLog log{Ports};
        std::function<bool()> present;
        switch (c.Kind) {
        case Location:
        case UninstallString:
            if (c.Kind == Location)
                Registry.SetValue(HKCU, uninstallKeys + name, "InstallLocation", points);
            Registry.SetValue(
                    HKCU, uninstallKeys + name, "UninstallString",
                    c.Kind == Location ? TRegValue::String("\"C:\\App\\uninstall.exe\"") : points);
            log.Registry.AddItem("HKCU\\" + uninstallKeys + name, "", "str", "", "add", "", "");
            present = [&] { return Registry.HasKey(HKCU, uninstallKeys + name); };
            break;
        case MachineRun:
        case UserRun: {
            const TRegRoot root = c.Kind == MachineRun ? HKLM : HKCU;
            Registry.SetValue(root, runKey, name, points);
            log.Registry.AddItem(std::string(c.Kind == MachineRun ? "HKLM" : "HKCU") +
                                         "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                 name, "str", "", "add", "", "");
            present = [&, root] { return Registry.Value(root, runKey, name) != nullptr; };
            break;
        }
        case Shortcut:
            Files.AddFile(link + ".lnk", "");
            if (c.TargetThere && !c.Points.empty()) Files.AddFile(c.Points, "");
            Shell.AddLink(link + ".lnk", c.Points);
            log.ShortCuts.AddItem(link, "", "", "", "", "", "", "", "", "add", "", "");
            present = [&] { return Files.FileExists(link + ".lnk"); };
            break;
        case OtherValue:
            Registry.SetValue(HKCU, "Software\\Morvane", name, points);
            log.Registry.AddItem("HKCU\\Software\\Morvane", name, "str", "", "add", "", "");
            present = [&] { return Registry.Value(HKCU, "Software\\Morvane", name) != nullptr; };
            break;
        }
        EXPECT_TRUE(log.UndoAll()) << i;
        EXPECT_EQ(present(), !c.Removed) << i << " " << c.Points;
    }
}

}  // namespace
