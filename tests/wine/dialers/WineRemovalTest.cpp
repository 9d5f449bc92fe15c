// Removal over the real Win32 layer: files in Wine's file system, Run values in Wine's registry,
// and shortcuts made by the shell's own shell-link object in the shell folders Wine sets up.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/Format.h"
#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/LinewardenTools.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"
#include "support/TempFolder.h"
#include "tests/dialers/HookRecorder.h"
#include "wine/WineTestSupport.h"

namespace {

// Writes a shortcut to target the way an installer (or a dialer) does: IShellLinkW + Save.
void MakeShortcut(const std::string& link, const std::string& target)
{
    // Declared in this order so that the interfaces are released before COM is uninitialised.
    TComApartment apartment;
    TComPtr<IShellLinkW> shellLink;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               shellLink.put_void()),
              S_OK);
    TComPtr<IPersistFile> file;
    ASSERT_EQ(shellLink->QueryInterface(IID_IPersistFile, file.put_void()), S_OK);
    EXPECT_EQ(shellLink->SetPath(Wide(target).c_str()), S_OK);
    EXPECT_EQ(file->Save(Wide(link).c_str(), TRUE), S_OK) << link;
}

class WineRemoval : public ::testing::Test {
protected:
    TTempFolder Temp;
    std::string Folder = Temp.Folder();
    TToolsPorts Ports{SystemRegistry(), SystemFileSystem(), SystemProcesses(), SystemShell(), ""};
    THookRecorder Hooks{Ports};
    std::vector<std::string>& Events = Hooks.Events;

    void SetUp() override
    {
        // The program's folder does not exist yet: the quarantine is made with its parents.
        Ports.ProgramPath = Folder + "\\Guard\\MLinewarden.exe";
    }
    std::string Path(const std::string& name) const { return Folder + "\\" + name; }
    std::string Quarantined(const std::string& name) const
    {
        return Path("Guard\\dialers\\" + name);
    }
    bool Exists(const std::string& path) { return Ports.Files.FileExists(path); }
    std::string Content(const std::string& path)
    {
        std::unique_ptr<IFileStream> stream = Ports.Files.OpenRead(path);
        if (!stream) return "<missing>";
        std::string bytes(static_cast<size_t>(stream->Size()), '\0');
        if (!bytes.empty()) stream->Read(&bytes[0], bytes.size());
        return bytes;
    }
};

}  // namespace

TEST_F(WineRemoval, RealFilesAreNumberedIntoTheQuarantine)
{
    const std::string dialer = Path("Zażółć dialer.exe");
    ASSERT_TRUE(Ports.Files.WriteFile(dialer, "first"));
    EXPECT_TRUE(RemoveFile(Ports, dialer, true));
    ASSERT_TRUE(Ports.Files.WriteFile(Quarantined("Zażółć dialer.exe.002"), "kept"));
    for (const char* content : {"second", "third"}) {
        ASSERT_TRUE(Ports.Files.WriteFile(dialer, content));
        EXPECT_TRUE(RemoveFile(Ports, dialer, true));
    }
    EXPECT_FALSE(Exists(dialer));
    EXPECT_EQ(Content(Quarantined("Zażółć dialer.exe.000")), "first");
    EXPECT_EQ(Content(Quarantined("Zażółć dialer.exe.001")), "second");
    EXPECT_EQ(Content(Quarantined("Zażółć dialer.exe.002")), "kept");
    EXPECT_EQ(Content(Quarantined("Zażółć dialer.exe.003")), "third");
    EXPECT_EQ(Events.front(),
              "copied " + dialer + " -> " + Quarantined("Zażółć dialer.exe.000") + " ok");
    EXPECT_EQ(Events[1], "deleted " + dialer + " ok");

    // A file that a running program holds without sharing can be neither copied nor deleted;
    // no half copy is left in the quarantine.
    ASSERT_TRUE(Ports.Files.WriteFile(dialer, "locked"));
    TKernelHandle lock(CreateFileW(Wide(dialer).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    Events.clear();
    EXPECT_FALSE(RemoveFile(Ports, dialer, true));
    EXPECT_EQ(Events,
              (std::vector<std::string>{"copied " + dialer + " -> " +
                                                Quarantined("Zażółć dialer.exe.004") + " failed",
                                        "deleted " + dialer + " failed"}));
    EXPECT_FALSE(Exists(Quarantined("Zażółć dialer.exe.004")));
    lock.reset();
    EXPECT_TRUE(RemoveFile(Ports, dialer, false));
    EXPECT_FALSE(Exists(Quarantined("Zażółć dialer.exe.004")));
}

TEST_F(WineRemoval, ShortcutsMadeByTheShellAreFoundAndQuarantined)
{
    IRegistry& registry = SystemRegistry();
    const std::string sendTo = GetUserShellFolder(registry, "SendTo");
    const std::string commonMenu = GetCommonShellFolder(registry, "Common Start Menu");
    ASSERT_FALSE(sendTo.empty());
    ASSERT_FALSE(commonMenu.empty());
    ASSERT_TRUE(ForceFolders(Ports.Files, commonMenu));

    // Polish letters pass through the ANSI shell-link interface in the system's code page.
    const std::string dialer = Path("Gęś dialer.exe");
    const std::string other = Path("other.exe");
    ASSERT_TRUE(Ports.Files.WriteFile(dialer, "dialer"));
    ASSERT_TRUE(Ports.Files.WriteFile(other, "other"));
    const std::string name = Unique("LW dialer");
    const std::string userLink = sendTo + "\\" + name + ".lnk";
    const std::string commonLink = commonMenu + "\\" + name + " common.lnk";
    const std::string otherLink = sendTo + "\\" + name + " other.lnk";
    MakeShortcut(userLink, dialer);
    MakeShortcut(commonLink, UpperCase(dialer));
    MakeShortcut(otherLink, other);
    ASSERT_TRUE(Exists(userLink) && Exists(commonLink) && Exists(otherLink));

    EXPECT_TRUE(RemoveShortcutsTo(Ports, LowerCase(dialer)));
    EXPECT_FALSE(Exists(userLink));
    EXPECT_FALSE(Exists(commonLink));
    EXPECT_TRUE(Exists(otherLink));
    EXPECT_TRUE(Exists(Quarantined(name + ".lnk.000")));
    EXPECT_TRUE(Exists(Quarantined(name + " common.lnk.000")));
    EXPECT_TRUE(Exists(dialer));
    EXPECT_EQ(Events.size(), 4u);
    for (const std::string& event : Events)
        EXPECT_EQ(event.substr(event.size() - 3), " ok") << event;

    // Nothing points at it any more.
    Events.clear();
    EXPECT_TRUE(RemoveShortcutsTo(Ports, dialer));
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(RemoveShortcutsTo(Ports, other));
    EXPECT_FALSE(Exists(otherLink));
}

TEST_F(WineRemoval, DeleteRunValueInTheRegistry)
{
    IRegistry& registry = SystemRegistry();
    const std::string name = Unique("LWTest dialer");
    for (TRegRoot root : {TRegRoot::LocalMachine, TRegRoot::CurrentUser}) {
        auto run = registry.CreateKey(root, kRunKey);
        ASSERT_NE(run, nullptr);
        ASSERT_TRUE(run->WriteValue(name, TRegValue::String("C:\\X\\dialer.exe -q")));
    }
    TStartupFiles startup(Ports);
    EXPECT_TRUE(startup.DeleteRunValue(name));
    for (TRegRoot root : {TRegRoot::LocalMachine, TRegRoot::CurrentUser}) {
        auto run = registry.OpenKey(root, kRunKey, TRegAccess::Read);
        ASSERT_NE(run, nullptr);
        EXPECT_FALSE(run->ValueExists(name));
    }
    EXPECT_TRUE(startup.DeleteRunValue(name));
    EXPECT_FALSE(startup.DeleteRunValue(""));
}
