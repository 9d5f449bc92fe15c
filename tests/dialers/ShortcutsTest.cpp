#include <gtest/gtest.h>

#include "tests/dialers/RemovalFixture.h"

namespace {

const TRegRoot HKLM = TRegRoot::LocalMachine, HKCU = TRegRoot::CurrentUser;
const char kUserKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCommonKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A user whose Programs folder lies inside the Start Menu, as the shell sets it up.
class ShortcutsFixture : public RemovalFixture {
protected:
    void SetUp() override
    {
        RemovalFixture::SetUp();
        const std::pair<const char*, const char*> user[] = {
                {"Start Menu", "C:\\U\\Start Menu"},
                {"Programs", "C:\\U\\Start Menu\\Programs"},
                {"Desktop", "C:\\U\\Desktop"},
                {"SendTo", "C:\\U\\SendTo"},
                {"Recent", ""},
        };
        for (auto& f : user) {
            Registry.SetValue(HKCU, kUserKey, f.first, TRegValue::String(f.second));
            if (*f.second) Files.AddFolder(f.second);
        }
        Registry.SetValue(HKLM, kCommonKey, "Common Desktop",
                          TRegValue::String("C:\\All\\Desktop"));
        Files.AddFolder("C:\\All\\Desktop");
    }
    void Link(const std::string& path, const std::string& target, bool loads = true)
    {
        Files.AddFile(path, "link to " + target);
        Shell.AddLink(path, target, loads);
    }
    std::vector<std::string> Loads() const
    {
        std::vector<std::string> loads;
        for (const std::string& entry : Shell.ComLog)
            if (entry.rfind("load ", 0) == 0) loads.push_back(entry.substr(5));
        return loads;
    }
};

}  // namespace

TEST_F(ShortcutsFixture, ShellFoldersAreReadFromTheirRoots)
{
    EXPECT_EQ(GetUserShellFolder(Registry, "Programs"), "C:\\U\\Start Menu\\Programs");
    EXPECT_EQ(GetCommonShellFolder(Registry, "Common Desktop"), "C:\\All\\Desktop");
    // Each root has its own key: a name of one root is not found under the other.
    EXPECT_EQ(GetUserShellFolder(Registry, "Common Desktop"), "");
    EXPECT_EQ(GetCommonShellFolder(Registry, "Programs"), "");
    EXPECT_EQ(GetUserShellFolder(Registry, "Favorites"), "");

    // The machine's key is read even where the user may not change it.
    Registry.DenyFullAccess(HKLM, kCommonKey);
    EXPECT_EQ(GetCommonShellFolder(Registry, "Common Desktop"), "C:\\All\\Desktop");

    TMemoryRegistry empty;
    EXPECT_EQ(GetUserShellFolder(empty, "Desktop"), "");
    EXPECT_EQ(GetCommonShellFolder(empty, "Common Desktop"), "");

    Registry.SetValue(HKCU, kUserKey, "Templates", TRegValue::Dword(1));
    try {
        GetUserShellFolder(Registry, "Templates");
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Templates'");
    }
    // The same error ends a shortcut search before anything is removed.
    Link("C:\\U\\Desktop\\d.lnk", "C:\\X\\d.exe");
    EXPECT_THROW(RemoveShortcutsTo(Ports, "C:\\X\\d.exe"), Exception);
    EXPECT_TRUE(Files.FileExists("C:\\U\\Desktop\\d.lnk"));
}

TEST_F(ShortcutsFixture, ShortcutsAreMatchedByTheirLowerCasedTarget)
{
    Link("C:\\U\\Start Menu\\Programs\\Dialer.lnk", "C:\\WINDOWS\\DIALER.EXE");
    Link("C:\\All\\Desktop\\Dialer too.lnk", "c:\\windows\\dialer.exe");
    Link("C:\\U\\Desktop\\Short name.lnk", "C:\\WINDOWS\\DIALER~1.EXE");
    Link("C:\\U\\Desktop\\Other.lnk", "C:\\Windows\\notepad.exe");
    Link("C:\\U\\SendTo\\Broken.lnk", "C:\\Windows\\dialer.exe", false);
    Link("C:\\U\\SendTo\\No file.lnk", "");
    Files.AddFile("C:\\U\\Desktop\\dialer.exe.txt", "not a shortcut");

    EXPECT_TRUE(RemoveShortcutsTo(Ports, "C:\\Windows\\Dialer.exe"));

    // The Programs shortcut is reached through Start Menu and through Programs: looked at once.
    EXPECT_EQ(Loads(),
              (std::vector<std::string>{
                      "C:\\U\\Start Menu\\Programs\\Dialer.lnk", "C:\\U\\Desktop\\Other.lnk",
                      "C:\\U\\Desktop\\Short name.lnk", "C:\\All\\Desktop\\Dialer too.lnk",
                      "C:\\U\\SendTo\\Broken.lnk", "C:\\U\\SendTo\\No file.lnk"}));
    EXPECT_EQ(Shell.ComLog.front(), "init");
    EXPECT_EQ(Shell.ComLog[1], "create");
    EXPECT_EQ(Shell.ComLog[Shell.ComLog.size() - 2], "release");
    EXPECT_EQ(Shell.ComLog.back(), "uninit");

    EXPECT_EQ(Events, (std::vector<std::string>{
                              "copied C:\\U\\Start Menu\\Programs\\Dialer.lnk -> "
                              "C:\\Guard\\dialers\\Dialer.lnk.000 ok",
                              "deleted C:\\U\\Start Menu\\Programs\\Dialer.lnk ok",
                              "copied C:\\All\\Desktop\\Dialer too.lnk -> "
                              "C:\\Guard\\dialers\\Dialer too.lnk.000 ok",
                              "deleted C:\\All\\Desktop\\Dialer too.lnk ok",
                      }));
    for (const char* kept : {"C:\\U\\Desktop\\Short name.lnk", "C:\\U\\Desktop\\Other.lnk",
                             "C:\\U\\SendTo\\Broken.lnk", "C:\\U\\SendTo\\No file.lnk"})
        EXPECT_TRUE(Files.FileExists(kept)) << kept;

    // Nothing points at the path any more; a shortcut that names no file does not match "".
    Events.clear();
    EXPECT_TRUE(RemoveShortcutsTo(Ports, "C:\\Windows\\dialer.exe"));
    EXPECT_TRUE(RemoveShortcutsTo(Ports, ""));
    EXPECT_TRUE(Events.empty());
}

TEST_F(ShortcutsFixture, AShortcutThatCannotBeDeletedFailsTheResultOnly)
{
    Link("C:\\U\\Desktop\\a.lnk", "C:\\X\\d.exe");
    Link("C:\\U\\SendTo\\b.lnk", "C:\\X\\d.exe");
    Files.Node("C:\\U\\Desktop\\a.lnk")->Locked = true;
    EXPECT_FALSE(RemoveShortcutsTo(Ports, "C:\\X\\d.exe"));
    EXPECT_TRUE(Files.FileExists("C:\\U\\Desktop\\a.lnk"));
    EXPECT_FALSE(Files.FileExists("C:\\U\\SendTo\\b.lnk"));
    EXPECT_TRUE(Files.FileExists("C:\\Guard\\dialers\\b.lnk.000"));
}

TEST_F(ShortcutsFixture, WithoutAUsableShellLinkObjectNothingIsRemoved)
{
    // No object: shortcuts that could not be looked into fail the result; none at all do not.
    Shell.CanCreateShellLink = false;
    EXPECT_TRUE(RemoveShortcutsTo(Ports, "C:\\X\\d.exe"));
    Link("C:\\U\\Desktop\\d.lnk", "C:\\X\\d.exe");
    Shell.ComLog.clear();
    EXPECT_FALSE(RemoveShortcutsTo(Ports, "C:\\X\\d.exe"));
    EXPECT_EQ(Shell.ComLog, (std::vector<std::string>{"init", "create", "uninit"}));
    EXPECT_TRUE(Files.FileExists("C:\\U\\Desktop\\d.lnk"));

    // An object without IPersistFile: the error reaches the caller, COM is still uninitialised.
    Shell.CanCreateShellLink = true;
    Shell.OffersPersistFile = false;
    Shell.ComLog.clear();
    try {
        RemoveShortcutsTo(Ports, "C:\\X\\d.exe");
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Interface not supported");
    }
    EXPECT_EQ(Shell.ComLog, (std::vector<std::string>{"init", "create", "uninit"}));
    EXPECT_TRUE(Files.FileExists("C:\\U\\Desktop\\d.lnk"));
    EXPECT_TRUE(Events.empty());
}
