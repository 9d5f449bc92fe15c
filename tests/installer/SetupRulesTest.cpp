// The command line and the folder rules, as a user or a script types them.
#include <gtest/gtest.h>

#include "installer/SetupRules.h"

TEST(SetupRulesTest, CommandLine)
{
    const struct {
        const char* Line;
        bool Silent;
        const char* Folder;
    } cases[] = {
            {"\"C:\\Pobrane pliki\\MLinewardenSetup.exe\" /S", true, ""},
            {"MLinewardenSetup.exe /s /D=C:\\Moje programy\\Zażółć gęślą ", true,
             "C:\\Moje programy\\Zażółć gęślą"},
            {"setup.exe /D=C:\\a /S", false, "C:\\a /S"},
            {"setup.exe /d=D:\\x", false, "D:\\x"},
            {"setup.exe /S \"/D=C:\\a b\"", true, "C:\\a b"},
            {"setup.exe /Silent /SS", false, ""},
            {"\"C:\\a b\\setup.exe\"", false, ""},
            {"  setup.exe   /S   ", true, ""},
    };
    for (const auto& c : cases) {
        const TSetupCommandLine parsed = ParseSetupArguments(ArgumentsOf(c.Line));
        EXPECT_EQ(parsed.Silent, c.Silent) << c.Line;
        EXPECT_EQ(parsed.Folder, c.Folder) << c.Line;
    }
}

TEST(SetupRulesTest, UsableFolder)
{
    const struct {
        const char* Given;
        const char* Usable;
    } cases[] = {
            {"C:\\Program Files\\Zażółć", "C:\\Program Files\\Zażółć"},
            {" c:\\x\\\\ ", "c:\\x"},
            {"\\\\serwer\\dział\\Linewarden", "\\\\serwer\\dział\\Linewarden"},
            {"C:\\", ""},
            {"C:", ""},
            {"x", ""},
            {"C:x\\y", ""},
            {"\\\\serwer\\dział", ""},
            {"C:\\a\\\\b", ""},
            {"C:\\a\\..\\b", ""},
            {"C:\\a|b", ""},
            {"C:\\a:b", ""},
            {"C:\\a\tb", ""},
            {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(UsableFolder(c.Given), c.Usable) << c.Given;
    EXPECT_EQ(UsableFolder("C:\\" + std::string(300, 'a')), "");
    EXPECT_EQ(DefaultFolder(TInstallScope::PerUser, "C:\\Users\\Ola\\AppData\\Local"),
              "C:\\Users\\Ola\\AppData\\Local\\Programs\\Morvane Linewarden");
    EXPECT_EQ(DefaultFolder(TInstallScope::PerMachine, "C:\\Program Files\\"),
              "C:\\Program Files\\Morvane Linewarden");
    EXPECT_EQ(DefaultFolder(TInstallScope::PerMachine, ""), "");
    EXPECT_EQ(InstallDateText({2026, 3, 7, 0, 0, 0}), "20260307");
    EXPECT_EQ(EstimatedSizeKiB(1025), 2u);
}
