#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/Paths.h"
#include "platform/IniFile.h"
#include "settings/Settings.h"
#include "support/MemoryProfile.h"
#include "support/TempFolder.h"

namespace {

// The guard's configuration file beside its program, and the one section it uses.
const char* const kProgram = "C:\\Linewarden\\MLinewarden.exe";
const char* const kConfig = "C:\\Linewarden\\MLinewarden.cfg";
const char* const kMain = "Main";

// A profile that holds these entries of the configuration file.
void Store(TMemoryProfile& profile, const std::vector<std::pair<std::string, std::string>>& entries)
{
    for (const auto& entry : entries) profile.Set(kConfig, kMain, entry.first, entry.second);
}

std::vector<std::string> Items(const TNumberList& list)
{
    return list.Strings();
}

TEST(Settings, FirstSaveWritesEveryKeyInOrder)
{
    TTempFolder folder;
    TIniFile ini{SystemFileSystem()};
    TSettings settings(ini, folder.Path("MLinewarden.exe"));
    EXPECT_EQ(settings.FileName(), folder.Path("MLinewarden.cfg"));
    EXPECT_TRUE(settings.FirstRun());
    EXPECT_FALSE(settings.AutoStart());
    EXPECT_FALSE(settings.CheckAllowedNumbers());
    EXPECT_FALSE(settings.AutoDeleteDialUp());
    EXPECT_TRUE(settings.AutoDeleteDialers());
    EXPECT_TRUE(settings.AskBeforeDeleteDialUp());
    EXPECT_EQ(settings.Numbers().Count(), 0);
    EXPECT_EQ(settings.DialDuration(), "10");
    EXPECT_TRUE(settings.CheckWhileDialling());
    // Modified from the start, so that the first Save creates the file with all keys.
    EXPECT_TRUE(settings.Modified());

    ASSERT_TRUE(settings.Save());
    const std::string head =
            "[Main]\r\nFirstRun=1\r\nAutoStart=0\r\nCheckAllowedNumbers=0\r\n"
            "IdentAutoDeleteDialUp=0\r\nIdentAutoDeleteDialers=1\r\nIdentAskBeforeDeleteDialUp="
            "1\r\nIdentCheckWhileDialling=1\r\n";
    EXPECT_EQ(TTempFolder::Read(settings.FileName()),
              head + "IdentNumberCount=0\r\nIdentDialDuration=10\r\n");

    TSettings withNumbers(ini, folder.Path("Second.exe"));
    withNumbers.SetNumbers({"9", "10", "0221234567"});
    ASSERT_TRUE(withNumbers.Save());
    EXPECT_TRUE(withNumbers.Modified());
    EXPECT_EQ(TTempFolder::Read(folder.Path("Second.cfg")),
              head + "IdentNumberCount=3\r\nIdentNumberFmt_0=0221234567\r\n"
                     "IdentNumberFmt_1=10\r\nIdentNumberFmt_2=9\r\nIdentDialDuration=10\r\n");
}

TEST(Settings, RoundTripThroughTheFileAndDestruction)
{
    TTempFolder folder;
    TIniFile ini{SystemFileSystem()};
    const std::string program = folder.Path("MLinewarden.exe");
    {
        TSettings settings(ini, program);
        settings.SetFirstRun(false);
        settings.SetAutoStart(true);
        settings.SetCheckAllowedNumbers(true);
        settings.SetAutoDeleteDialUp(true);
        settings.SetAutoDeleteDialers(false);
        settings.SetAskBeforeDeleteDialUp(false);
        settings.SetCheckWhileDialling(false);
        settings.SetNumbers({"9", "10", "9", "0221234567"});
    }  // destruction saves
    ini.WriteString(folder.Path("MLinewarden.cfg"), "Main", "IdentDialDuration", "25");
    TSettings loaded(ini, program);
    EXPECT_FALSE(loaded.FirstRun());
    EXPECT_TRUE(loaded.AutoStart());
    EXPECT_TRUE(loaded.CheckAllowedNumbers());
    EXPECT_TRUE(loaded.AutoDeleteDialUp());
    EXPECT_FALSE(loaded.AutoDeleteDialers());
    EXPECT_FALSE(loaded.AskBeforeDeleteDialUp());
    EXPECT_FALSE(loaded.CheckWhileDialling());
    EXPECT_EQ(Items(loaded.Numbers()), (std::vector<std::string>{"0221234567", "10", "9"}));
    EXPECT_EQ(loaded.DialDuration(), "25");
}

TEST(Settings, LoadTakesOnlyValidNumbersUpToTheStoredCount)
{
    struct Row {
        const char* count;
        std::vector<const char*> stored;  // by index; nullptr: no key
        std::vector<std::string> expected;
    };
    const Row rows[] = {
            {"3", {"111", nullptr, "333"}, {"111", "333"}},
            {"0x3", {"1", "2", "3"}, {"1", "2", "3"}},
            {"0X2", {"1", "2", "3"}, {"1", "2"}},
            {"5", {"12-34", "12 34", "", "+48", "0048"}, {"0048"}},
            {"2", {"5", "5"}, {"5"}},
            // Counts that do not parse read as 0.
            {"", {"1"}, {}},
            {"-1", {"1"}, {}},
            {"0x", {"1"}, {}},
            {"3a", {"1"}, {}},
            {"x3", {"1"}, {}},
            {"0x1G", {"1"}, {}},
            {"99999999999", {"1"}, {}},
            {"0x100000000", {"1"}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.count);
        TMemoryFileSystem files;
        TMemoryProfile profile{files};
        Store(profile, {{"IdentNumberCount", r.count}});
        for (size_t i = 0; i < r.stored.size(); ++i)
            if (r.stored[i]) Store(profile, {{"IdentNumberFmt_" + std::to_string(i), r.stored[i]}});
        TSettings settings(profile, kProgram);
        EXPECT_EQ(Items(settings.Numbers()), r.expected);
    }
}

TEST(Settings, BooleansAreIntegersAndUnreadableOnesKeepTheDefault)
{
    TMemoryFileSystem files;
    TMemoryProfile profile{files};
    Store(profile, {{"FirstRun", "yes"},
                    {"AutoStart", "2"},
                    {"CheckAllowedNumbers", "on"},
                    {"IdentAutoDeleteDialUp", "0x1"},
                    {"IdentAutoDeleteDialers", "0"},
                    {"IdentAskBeforeDeleteDialUp", "-1"}});
    TSettings settings(profile, kProgram);
    EXPECT_TRUE(settings.FirstRun());  // kept
    EXPECT_TRUE(settings.AutoStart());
    EXPECT_FALSE(settings.CheckAllowedNumbers());  // kept
    EXPECT_TRUE(settings.AutoDeleteDialUp());
    EXPECT_FALSE(settings.AutoDeleteDialers());
    EXPECT_TRUE(settings.AskBeforeDeleteDialUp());
    EXPECT_TRUE(settings.CheckWhileDialling());  // a file of an earlier version lacks the key
}

TEST(Settings, ASmallerListLeavesStaleKeysThatLoadIgnores)
{
    TMemoryFileSystem files;
    TMemoryProfile profile{files};
    Store(profile, {{"IdentNumberCount", "4"},
                    {"IdentNumberFmt_0", "5"},
                    {"IdentNumberFmt_1", "5"},
                    {"IdentNumberFmt_2", "7"},
                    {"IdentNumberFmt_3", "8"}});
    TSettings settings(profile, kProgram);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(profile.Value(kConfig, kMain, "IdentNumberCount"), "3");
    EXPECT_EQ(profile.Value(kConfig, kMain, "IdentNumberFmt_2"), "8");
    EXPECT_EQ(profile.Value(kConfig, kMain, "IdentNumberFmt_3"), "8");  // stale, left alone

    settings.SetNumbers({"1"});
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(Items(settings.Numbers()), std::vector<std::string>{"1"});
}

TEST(Settings, FailuresAreReportedAsFalse)
{
    TMemoryFileSystem files;
    TMemoryProfile profile{files};
    files.AddFolder(ExtractFilePath(kConfig));
    TSettings settings(profile, kProgram);
    profile.AcceptedWrites = 2;
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(profile.Written, (std::vector<std::string>{"FirstRun", "AutoStart"}));
    EXPECT_TRUE(settings.Modified());

    // A failing read stops Load; what was read before it stays.
    Store(profile, {{"AutoStart", "1"}, {"IdentDialDuration", "30"}});
    profile.FailingRead = "IdentNumberCount";
    EXPECT_FALSE(settings.Load());
    EXPECT_TRUE(settings.AutoStart());
    EXPECT_EQ(settings.DialDuration(), "10");
    profile.FailingRead.clear();
    profile.AcceptedWrites = 0;
}

TEST(Settings, AHugeStoredCountDoesNotKeepLoadBusy)
{
    TMemoryFileSystem files;
    TMemoryProfile profile{files};
    Store(profile, {{"IdentNumberCount", "2000000000"}, {"IdentNumberFmt_0", "1"}});
    TSettings settings(profile, kProgram);
    EXPECT_EQ(settings.Numbers().Count(), 1);
    EXPECT_LE(profile.Reads, TSettings::kMaxNumbers + 10);
}

}  // namespace
