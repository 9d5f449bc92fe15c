// The settings and the profile port over the real Win32 profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Profile.h"
#include "settings/Settings.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder with a Polish name in the temporary folder, removed afterwards.
class ProfileWin32Test : public ::testing::Test {
protected:
    ProfileWin32Test()
    {
        wchar_t temp[MAX_PATH + 1] = {};
        DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        folder = fs::path(std::wstring(temp, length <= MAX_PATH ? length : 0)) /
                 fs::u8path("Ustawienia żółć " + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(GetTickCount()));
        fs::create_directories(folder);
    }
    ~ProfileWin32Test() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::string Path(const std::string& name) const
    {
        return (folder / fs::u8path(name)).u8string();
    }
    static std::string Bytes(const std::string& file)
    {
        std::ifstream in(fs::u8path(file), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Store(const std::string& file, const std::string& text)
    {
        std::ofstream(fs::u8path(file), std::ios::binary) << text;
    }

    fs::path folder;
    IProfile& profile = SystemProfile();
};

TEST_F(ProfileWin32Test, SettingsRoundTripAndTheFileTheyWrite)
{
    const std::string program = Path("MLinewarden.exe");
    {
        TSettings settings(profile, program);
        EXPECT_EQ(settings.FileName(), Path("MLinewarden.cfg"));
        settings.SetAutoStart(true);
        settings.SetAskBeforeDeleteDialUp(false);
        settings.SetNumbers({"9", "10", "0221234567"});
    }  // destruction saves
    EXPECT_EQ(Bytes(Path("MLinewarden.cfg")),
              "[Main]\r\nFirstRun=1\r\nAutoStart=1\r\nCheckAllowedNumbers=0\r\n"
              "IdentAutoDeleteDialUp=0\r\nIdentAutoDeleteDialers=1\r\n"
              "IdentAskBeforeDeleteDialUp=0\r\nIdentCheckWhileDialling=1\r\n"
              "IdentNumberCount=3\r\n"
              "IdentNumberFmt_0=0221234567\r\nIdentNumberFmt_1=10\r\nIdentNumberFmt_2=9\r\n"
              "IdentDialDuration=10\r\n");

    TSettings loaded(profile, program);
    EXPECT_TRUE(loaded.FirstRun());
    EXPECT_TRUE(loaded.AutoStart());
    EXPECT_FALSE(loaded.AskBeforeDeleteDialUp());
    EXPECT_EQ(loaded.Numbers().Strings(), (std::vector<std::string>{"0221234567", "10", "9"}));
}

TEST_F(ProfileWin32Test, DeleteKeyRemovesOnlyThatEntry)
{
    const std::string file = Path("foreign.ini");
    EXPECT_TRUE(profile.DeleteKey(file, "Main", "Key"));
    EXPECT_FALSE(fs::exists(fs::u8path(file)));  // a missing file is not created

    // The profile functions may write the file anew in their own layout (Wine drops blank
    // lines and indentation), so only the entries are compared here.
    Store(file,
          "; by hand\r\n\r\n[Other]\r\nKey=other\r\n\r\n[Main]\r\n; Key=comment\r\n"
          "Key2=stays\r\nKEY = gone\r\n[Last]\r\nKey=last");
    EXPECT_TRUE(profile.DeleteKey(file, "main", "Key"));
    EXPECT_EQ(profile.ReadString(file, "Main", "Key", "none", 100), "none");
    EXPECT_EQ(profile.ReadString(file, "Main", "Key2", "", 100), "stays");
    EXPECT_EQ(profile.ReadString(file, "Other", "Key", "", 100), "other");
    EXPECT_EQ(profile.ReadString(file, "Last", "Key", "", 100), "last");
    EXPECT_NE(Bytes(file).find("; Key=comment"), std::string::npos);
}

TEST_F(ProfileWin32Test, LongValuesAreReadUpToMaxChars)
{
    const std::string file = Path("MLinewarden.cfg");
    std::string value(3000, '5');
    value[2046] = '7';
    ASSERT_TRUE(profile.WriteString(file, "Main", "IdentDialDuration", value));
    EXPECT_EQ(profile.ReadString(file, "Main", "IdentDialDuration", "", 5000), value);
    EXPECT_EQ(profile.ReadString(file, "Main", "IdentDialDuration", "", 2047),
              value.substr(0, 2047));

    TSettings settings(profile, Path("MLinewarden.exe"));
    EXPECT_EQ(settings.DialDuration(), value.substr(0, 2047));
}

TEST_F(ProfileWin32Test, PolishValueAndFileNameRoundTrip)
{
    const std::string file = Path("Łódź gęś.cfg");
    const std::string value = "Zażółć gęślą jaźń";
    ASSERT_TRUE(profile.WriteString(file, "Sekcja ą", "Klucz ę", value));
    EXPECT_EQ(profile.ReadString(file, "SEKCJA ą", "klucz ę", "", 2047), value);
    // A new file is written in the ANSI code page (Windows-1250 on a Polish system), as other
    // programs reading it expect.
    EXPECT_NE(Bytes(file).find("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1"), std::string::npos);

    // A line break would turn into lines of their own; such a write is refused.
    EXPECT_FALSE(profile.WriteString(file, "Sekcja ą", "Klucz ę", "1\r\nX=2"));
    EXPECT_EQ(profile.ReadString(file, "Sekcja ą", "Klucz ę", "", 2047), value);
}

}  // namespace
