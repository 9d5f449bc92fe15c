// Files, folders, profiles and registry values whose names have a letter beyond ASCII, through
// the system ports over platform/win32/WinTextSystem.h: made as the Windows 95 family talks to
// Win32 (the ANSI functions) and read back as NT does (the wide ones), then the other way round,
// so that a conversion that is wrong both ways cannot hide.
#include "platform/win32/WinTextSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/win32/WinText.h"
#include "wine/WineTestSupport.h"

namespace {

// "ó" is in the ANSI code pages 1250 and 1252 alike.
const std::string kBinary("\x00\xF3\r\n", 4);
struct TFileCase {
    const char* Name;
    std::string Bytes;
};
const TFileCase kFiles[] = {{"pióro.txt", "ó\r\n"}, {"ósemka.bin", kBinary}, {"pusty ó", ""}};

struct TValueCase {
    const char* Name;
    TRegValue Value;
};
const TValueCase kValues[] = {
        {"tekst ó", TRegValue::String("góra")},
        {"lista ó", TRegValue::String(std::string("pióro\0ósemka\0", 13), rtMultiString)},
        {"ósma", TRegValue::String("%TEMP%\\ó", rtExpandString)},
        {"liczba ó", TRegValue::Dword(0xF3)},
        {"", TRegValue::String("")},
};

// Leaves the process in the form it had.
class WinTextSystemTest : public ::testing::Test {
protected:
    ~WinTextSystemTest() override { UseAnsiWindowsForTests(FNatural); }
    const bool FNatural = AnsiWindows();
};

// The names in order, without a search's "." and "..".
std::vector<std::string> Sorted(std::vector<std::string> names)
{
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& n) { return n == "." || n == ".."; }),
                names.end());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadAll(IFileSystem& files, const std::string& path)
{
    std::string bytes;
    auto file = files.OpenRead(path);
    if (!file) return "<cannot open>";
    char chunk[64];
    for (int64_t n; (n = file->Read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
    return bytes;
}

TEST_F(WinTextSystemTest, FilesFoldersAndProfilesWithAnAccentedName)
{
    IFileSystem& files = SystemFileSystem();
    for (const bool ansi : {true, false}) {
        SCOPED_TRACE(ansi ? "made through the ANSI functions" : "made through the wide ones");
        UseAnsiWindowsForTests(ansi);
        const std::string temp = files.TemporaryFolder();
        ASSERT_FALSE(temp.empty());
        ASSERT_EQ(temp.back(), '\\');
        EXPECT_TRUE(files.FileExists(GetModuleFileNameU(nullptr)));
        EXPECT_TRUE(files.DirectoryExists(SHGetFolderPathU(CSIDL_LOCAL_APPDATA)));

        const std::string folder = temp + Unique("Katalog ó");
        ASSERT_TRUE(files.CreateFolder(folder));
        EXPECT_TRUE(files.DirectoryExists(folder));
        std::vector<std::string> names{"ustawienia ó.ini"};
        for (const TFileCase& c : kFiles) {
            const std::string path = folder + "\\" + c.Name;
            ASSERT_TRUE(files.WriteFile(path, c.Bytes)) << c.Name;
            names.push_back(c.Name);
        }
        IProfile& profile = SystemProfile();
        const std::string ini = folder + "\\ustawienia ó.ini";
        EXPECT_TRUE(profile.WriteString(ini, "sekcja ó", "klucz ó", "góra ó"));

        UseAnsiWindowsForTests(!ansi);
        for (const TFileCase& c : kFiles) {
            const std::string path = folder + "\\" + c.Name;
            EXPECT_TRUE(files.FileExists(path)) << c.Name;
            EXPECT_EQ(ReadAll(files, path), c.Bytes) << c.Name;
            TFindDataU found;
            const HANDLE find = FindFirstFileU(path, found);
            ASSERT_NE(find, INVALID_HANDLE_VALUE) << c.Name;
            FindClose(find);
            EXPECT_EQ(found.Name, c.Name);
            EXPECT_EQ(found.Size, c.Bytes.size()) << c.Name;
            EXPECT_FALSE(found.Attributes & FILE_ATTRIBUTE_DIRECTORY) << c.Name;
        }
        std::vector<std::string> listed;
        for (const TFindEntry& entry : files.FindEntries(folder + "\\*"))
            listed.push_back(entry.Name);
        EXPECT_EQ(Sorted(listed), Sorted(names));
        EXPECT_TRUE(files.SameNameIgnoringCase("PIÓRO.TXT", "pióro.txt"));

        const std::string copy = folder + "\\kopia ó";
        EXPECT_TRUE(files.CopyFileTo(folder + "\\pióro.txt", copy, true));
        EXPECT_FALSE(files.CopyFileTo(folder + "\\ósemka.bin", copy, true));
        EXPECT_EQ(ReadAll(files, copy), "ó\r\n");

        EXPECT_EQ(profile.ReadString(ini, "sekcja ó", "klucz ó", "", 100), "góra ó");
        EXPECT_EQ(profile.ReadString(ini, "sekcja ó", "klucz ó", "", 3), "gór");
        EXPECT_TRUE(profile.DeleteKey(ini, "sekcja ó", "klucz ó"));
        EXPECT_EQ(profile.ReadString(ini, "sekcja ó", "klucz ó", "brak", 100), "brak");

        for (const std::string& name : {std::string("kopia ó"), std::string("ustawienia ó.ini")})
            EXPECT_TRUE(files.EraseFile(folder + "\\" + name)) << name;
        for (const TFileCase& c : kFiles) EXPECT_TRUE(files.EraseFile(folder + "\\" + c.Name));
        EXPECT_TRUE(files.RemoveFolder(folder));
        EXPECT_FALSE(files.DirectoryExists(folder));
    }
}

TEST_F(WinTextSystemTest, RegistryValuesAndKeysWithAnAccentedName)
{
    IRegistry& registry = SystemRegistry();
    for (const bool ansi : {true, false}) {
        SCOPED_TRACE(ansi ? "made through the ANSI functions" : "made through the wide ones");
        UseAnsiWindowsForTests(ansi);
        const std::string path = "Software\\" + Unique("Linewarden test ó");
        const std::string sub = path + "\\Podklucz ó";
        auto key = registry.CreateKey(TRegRoot::CurrentUser, path);
        ASSERT_TRUE(key);
        ASSERT_TRUE(registry.CreateKey(TRegRoot::CurrentUser, sub));
        std::vector<std::string> names;
        for (const TValueCase& c : kValues) {
            ASSERT_TRUE(key->WriteValue(c.Name, c.Value)) << c.Name;
            names.push_back(c.Name);
        }

        UseAnsiWindowsForTests(!ansi);
        key = registry.OpenKey(TRegRoot::CurrentUser, path, TRegAccess::Full);
        ASSERT_TRUE(key);
        for (const TValueCase& c : kValues) {
            TRegValue read;
            ASSERT_TRUE(key->ReadValue(c.Name, read)) << c.Name;
            EXPECT_EQ(read.Type, c.Value.Type) << c.Name;
            EXPECT_EQ(read.Text(), c.Value.Text()) << c.Name;
        }
        EXPECT_EQ(Sorted(key->ValueNames()), Sorted(names));
        EXPECT_EQ(key->SubKeyNames(), std::vector<std::string>{"Podklucz ó"});

        // A key with a subkey stays, on the 95 family too.
        EXPECT_FALSE(registry.DeleteKey(TRegRoot::CurrentUser, path));
        EXPECT_TRUE(registry.DeleteKey(TRegRoot::CurrentUser, sub));
        for (const TValueCase& c : kValues) {
            EXPECT_TRUE(key->DeleteValue(c.Name)) << c.Name;
            EXPECT_FALSE(key->ValueExists(c.Name)) << c.Name;
        }
        key.reset();
        EXPECT_TRUE(registry.DeleteKey(TRegRoot::CurrentUser, path));
        EXPECT_FALSE(registry.OpenKey(TRegRoot::CurrentUser, path, TRegAccess::Read));
    }
}

}  // namespace
