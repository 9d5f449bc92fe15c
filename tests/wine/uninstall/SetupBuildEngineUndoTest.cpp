// A log undone in Wine's registry, ini files and file system.
#include "uninstall/SetupBuildEngine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/TextConv.h"
#include "platform/AnsiText.h"
#include "platform/win32/Win32Text.h"
#include "support/FakeMessageBox.h"
#include "uninstall/PackageFormat.h"
#include "wine/WineTestSupport.h"

namespace {

class UndoWin32 : public WineFolderTest {};

bool KeyExists(const std::string& path)
{
    return SystemRegistry().OpenKey(TRegRoot::CurrentUser, path, TRegAccess::Read) != nullptr;
}

bool ValueExists(const std::string& path, const std::string& name)
{
    auto key = SystemRegistry().OpenKey(TRegRoot::CurrentUser, path, TRegAccess::Read);
    return key && key->ValueExists(name);
}

void SetValue(const std::string& path, const std::string& name)
{
    auto key = SystemRegistry().CreateKey(TRegRoot::CurrentUser, path);
    ASSERT_TRUE(key && key->WriteValue(name, TRegValue::String("v")));
}

TEST_F(UndoWin32, LogIsUndoneInTheRegistryIniFilesAndFileSystem)
{
    const std::string base = "Software\\" + Unique("LwUninstallTest");
    SetValue(base + "\\App", "Path");
    SetValue(base + "\\App", "Keep");
    SetValue(base + "\\Tree\\Sub\\Deeper", "v");
    SetValue(base + "\\Tree", "v");
    const std::string ini = Root + "ustawienia ą.ini";
    ASSERT_TRUE(SystemProfile().WriteString(ini, "Sekcja", "Klucz", "1"));
    ASSERT_TRUE(SystemProfile().WriteString(ini, "Sekcja", "Inny", "2"));
    const std::string app = Root + "Program ęó\\";
    MakeFolder(app);
    MakeFolder(app + "Dane");
    Touch(app + "plik ł.txt");
    Touch(app + "Dane\\dane.bin");
    const std::string link = Root + "Skrót do programu";
    Touch(link + ".lnk");

    const std::string log =
            "<?xml version=\"1.0\"?>\n<uninstall>\n<appname>Program ęó</appname>\n"
            "<registry>\n"
            "<reg action=\"add\" key=\"HKCU\\" +
            base +
            "\\App\" param=\"Path\" type=\"str\" value=\"x\"/>\n"
            "<reg action=\"add\" key=\"HKEY_CURRENT_USER\\" +
            base +
            "\\Tree\" param=\"\" type=\"str\"/>\n"
            "</registry>\n<inifiles>\n"
            "<ini action=\"add\" filename=\"" +
            ini +
            "\" section=\"Sekcja\" param=\"Klucz\" value=\"1\"/>\n"
            "</inifiles>\n<shortcuts>\n<shortcut action=\"add\" name=\"" +
            link +
            "\"/>\n</shortcuts>\n"
            "<files>\n<file action=\"add\" filename=\"" +
            app + "plik ł.txt" +
            "\"/>\n"
            "<file action=\"add\" filename=\"" +
            app + "Dane\\dane.bin" +
            "\"/>\n</files>\n"
            "<dirs>\n<dir action=\"add\" directory=\"" +
            app.substr(0, app.size() - 1) +
            "\"/>\n"
            "<dir action=\"add\" directory=\"" +
            app + "Dane" +
            "\"/>\n</dirs>\n"
            "</uninstall>\n";
    // The log travels in the ANSI code page, as an installation writes it.
    const std::string program = Root + "uninstall.exe";
    ASSERT_TRUE(SystemFileSystem().WriteFile(program, "MZ-code" + PackageBytes(Utf8ToAnsi(log))));

    TFakeMessageBox messages;
    TUninstallPorts ports{SystemFileSystem(),
                          SystemRegistry(),
                          SystemProfile(),
                          SystemShell(),
                          SystemProcesses(),
                          messages,
                          {NoProcessWalk(), SystemProcessWindows(), SystemClock()}};
    TUninstall engine(ports);
    ASSERT_TRUE(engine.LoadPackage(program));
    EXPECT_EQ(engine.AppName, "Program ęó");
    ASSERT_TRUE(engine.ReadLog());
    EXPECT_TRUE(engine.Log.UndoAll());

    EXPECT_FALSE(ValueExists(base + "\\App", "Path"));
    EXPECT_TRUE(ValueExists(base + "\\App", "Keep"));
    EXPECT_FALSE(KeyExists(base + "\\Tree"));
    EXPECT_EQ(SystemProfile().ReadString(ini, "Sekcja", "Klucz", "<none>", 100), "<none>");
    EXPECT_EQ(SystemProfile().ReadString(ini, "Sekcja", "Inny", "<none>", 100), "2");
    EXPECT_FALSE(Exists(link + ".lnk"));
    EXPECT_FALSE(Exists(app));
    EXPECT_TRUE(messages.Shown.empty());

    RegDeleteKeyW(HKEY_CURRENT_USER, Wide(base + "\\App").c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Wide(base).c_str());
}

}  // namespace
