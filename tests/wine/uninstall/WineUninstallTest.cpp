// The uninstaller over the real Win32 layer: the removal batch run by Wine's own command
// interpreter on names with "%" and Polish letters, and a log undone in Wine's registry, ini
// files and file system.
#include <gtest/gtest.h>

#include <windows.h>

#include "PackageFormat.h"
#include "common/Format.h"
#include "common/TextConv.h"
#include "platform/OemText.h"
#include "platform/win32/Win32Text.h"
#include "support/FakeMessageBox.h"
#include "support/TempFolder.h"
#include "uninstall/RemovalBatch.h"
#include "uninstall/SetupBuildEngine.h"
#include "wine/WineTestSupport.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::string& path) { ASSERT_TRUE(SystemFileSystem().WriteFile(path, "x")) << path; }

void MakeFolder(const std::string& path) { ASSERT_TRUE(CreateDirectoryW(Wide(path).c_str(), nullptr)) << path; }

class WineUninstall : public ::testing::Test {
protected:
    TTempFolder Temp;
    const std::string Root = Temp.Path("");  // with its final backslash
};

TEST(WineOemText, PolishLettersTakeCodePage852AndOthersAreRefused)
{
    std::string oem;
    EXPECT_TRUE(Utf8ToOem("usuń ą%", oem));
    EXPECT_EQ(oem, "usu\xE4 \xA5%");
    EXPECT_FALSE(Utf8ToOem("日本", oem));
    EXPECT_FALSE(Utf8ToOem("Ω", oem));  // 852 has no Greek; a best fit would be another name
}

TEST_F(WineUninstall, BatchRemovesExactlyTheNamedFilesThroughTheRealInterpreter)
{
    // If the interpreter expanded "%OS%", the program line would name the decoy; if the batch
    // were in the wrong code page, the Polish names would name nothing.
    const std::string app = Root + "Zażółć 100% gęślą\\";
    const std::string temp = Root + "Tymczasowy ąę\\";
    MakeFolder(app);
    MakeFolder(temp);
    const std::string program = app + "usuń%OS%.exe";
    Touch(program);
    const std::string keptFolder = Root + "Kept";
    MakeFolder(keptFolder);
    Touch(keptFolder + "\\usuńWindows_NT.exe");
    const std::string emptyDir = Root + "Dane ść%TEMP%";
    const std::string fullDir = Root + "Pełny";
    MakeFolder(emptyDir);
    MakeFolder(fullDir);
    Touch(fullDir + "\\plik.txt");
    const std::string batch = temp + RemovalBatchName(program);
    EXPECT_EQ(RemovalBatchName(program), "usuń_OS_.bat");
    ASSERT_TRUE(SystemFileSystem().WriteFile(
        batch, RemovalBatchText(RemovalBatchLines(program, batch, {emptyDir, fullDir}, true))));

    // Started as the uninstaller starts it, then waited for by its traces, at most 60 s: the
    // batch erases itself only after its removals, on its last line.
    ASSERT_TRUE(SystemProcesses().Start("\"" + batch + "\"", swHide));
    for (int i = 0; i < 600 && Exists(batch); ++i) Sleep(100);

    EXPECT_FALSE(Exists(program));
    EXPECT_FALSE(Exists(app));  // emptied by the program's removal, so removed
    EXPECT_FALSE(Exists(emptyDir));
    EXPECT_FALSE(Exists(batch));
    // The batch's own folder stays under Wine: its interpreter keeps the batch open to the end,
    // so the erased batch is still there when the same line removes the folder.
    EXPECT_TRUE(Exists(fullDir + "\\plik.txt"));
    EXPECT_TRUE(Exists(keptFolder + "\\usuńWindows_NT.exe"));
}

TEST_F(WineUninstall, BatchGivesUpOnAFileThatCannotBeDeleted)
{
    const std::string program = Root + "App\\locked.exe";
    MakeFolder(Root + "App");
    Touch(program);
    ASSERT_TRUE(SetFileAttributesW(Wide(program).c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string batch = Root + "locked.bat";
    std::vector<std::string> lines = RemovalBatchLines(program, batch, {}, true);
    // Two tries are enough to see the loop end.
    for (std::string& line : lines)
        if (line.find("GEQ") != std::string::npos) line = "If %LwTries% GEQ 2 Goto 2";
    ASSERT_TRUE(SystemFileSystem().WriteFile(batch, RemovalBatchText(lines)));
    const std::string line = "cmd.exe /c \"" + batch + "\"";
    EXPECT_EQ(SystemProcesses().RunAndWait(line, swHide, 60000), 0);
    EXPECT_TRUE(Exists(program));
    EXPECT_FALSE(Exists(batch));
    SetFileAttributesW(Wide(program).c_str(), FILE_ATTRIBUTE_NORMAL);
}

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

TEST_F(WineUninstall, LogIsUndoneInTheRegistryIniFilesAndFileSystem)
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
        "<reg action=\"add\" key=\"HKCU\\" + base + "\\App\" param=\"Path\" type=\"str\" value=\"x\"/>\n"
        "<reg action=\"add\" key=\"HKEY_CURRENT_USER\\" + base + "\\Tree\" param=\"\" type=\"str\"/>\n"
        "</registry>\n<inifiles>\n"
        "<ini action=\"add\" filename=\"" + ini + "\" section=\"Sekcja\" param=\"Klucz\" value=\"1\"/>\n"
        "</inifiles>\n<shortcuts>\n<shortcut action=\"add\" name=\"" + link + "\"/>\n</shortcuts>\n"
        "<files>\n<file action=\"add\" filename=\"" + app + "plik ł.txt" + "\"/>\n"
        "<file action=\"add\" filename=\"" + app + "Dane\\dane.bin" + "\"/>\n</files>\n"
        "<dirs>\n<dir action=\"add\" directory=\"" + app.substr(0, app.size() - 1) + "\"/>\n"
        "<dir action=\"add\" directory=\"" + app + "Dane" + "\"/>\n</dirs>\n"
        "</uninstall>\n";
    // The log travels in the ANSI code page, as an installation writes it.
    const std::string program = Root + "uninstall.exe";
    ASSERT_TRUE(SystemFileSystem().WriteFile(program, "MZ-code" + PackageBytes(Utf8ToAnsi(log))));

    TFakeMessageBox messages;
    TUninstallPorts ports{SystemFileSystem(), SystemRegistry(), SystemProfile(),
                          SystemShell(),      SystemProcesses(), messages};
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
