#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniFile.h"
#include "support/TempFolder.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    TTempFolder folder;
    TIniFile ini{SystemFileSystem()};
    const std::string file = folder.Path("test.ini");
};

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndDeleteDoesNotCreateIt)
{
    EXPECT_EQ(ini.ReadString(file, "Main", "Key", "def", 100), "def");
    EXPECT_TRUE(ini.DeleteKey(file, "Main", "Key"));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(IniFileTest, ReadsAsTheProfileFunctionsDo)
{
    TTempFolder::Write(file,
                       "Orphan=before any section\r\n"
                       "[Main]\r\n"
                       "  Key  =  spaced value  \r\n"
                       "quoted=\" kept blanks \"\r\n"
                       "single='x'\n"
                       "half=\"x\r\n"
                       "bare\r\n"
                       "first=1\r\n"
                       "FIRST=2\r"
                       "; Comment=not an entry\r\n"
                       "[ other ]\r\n"
                       "Key=other\r\n"
                       "[main]\r\n"
                       "late=second section of the same name");
    struct Row {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Row rows[] = {
            {"Main", "Key", "spaced value"},
            {"MAIN", "kEY", "spaced value"},
            {" Main ", " Key ", "spaced value"},
            {"Main", "quoted", " kept blanks "},
            {"Main", "single", "x"},
            {"Main", "half", "\"x"},
            {"Main", "bare", ""},
            {"Main", "first", "1"},
            {"Main", "Comment", "def"},
            {"Main", "Orphan", "def"},
            {"other", "Key", "other"},
            {"Main", "late", "second section of the same name"},
            {"Main", "missing", "def"},
            {"Missing", "Key", "def"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.section) + "/" + r.key);
        EXPECT_EQ(ini.ReadString(file, r.section, r.key, "def", 2047), r.expected);
    }
}

TEST_F(IniFileTest, ReadsAreLimitedToMaxCharsWithoutSplittingACharacter)
{
    ASSERT_TRUE(ini.WriteString(file, "Main", "Text", "zażółć"));
    EXPECT_EQ(ini.ReadString(file, "Main", "Text", "", 3), "zaż");
    EXPECT_EQ(ini.ReadString(file, "Main", "Text", "", 6), "zażółć");
    EXPECT_EQ(ini.ReadString(file, "Main", "Text", "", 0), "");
    EXPECT_EQ(ini.ReadString(file, "Main", "None", "default", 3), "def");
}

TEST_F(IniFileTest, WritesCreateFileSectionAndKeyOrReplaceInPlace)
{
    ASSERT_TRUE(ini.WriteString(file, "Main", "A", "1"));
    EXPECT_EQ(TTempFolder::Read(file), "[Main]\r\nA=1\r\n");
    ASSERT_TRUE(ini.WriteString(file, "Other", "C", "3"));
    ASSERT_TRUE(ini.WriteString(file, "main", "B", "2"));
    ASSERT_TRUE(ini.WriteString(file, "MAIN", "a", "one"));
    EXPECT_EQ(TTempFolder::Read(file), "[Main]\r\nA=one\r\nB=2\r\n[Other]\r\nC=3\r\n");

    // A foreign file keeps its own line endings, comments and indentation; a key is added after
    // the last line of its section, and a last line without a line ending gets one.
    TTempFolder::Write(file, "; settings\n[Main]\n  Key = old ; note\n\n[Next]\nX=1");
    ASSERT_TRUE(ini.WriteString(file, "Main", "key", "new"));
    ASSERT_TRUE(ini.WriteString(file, "Main", "Added", "2"));
    ASSERT_TRUE(ini.WriteString(file, "Next", "Y", "3"));
    EXPECT_EQ(TTempFolder::Read(file),
              "; settings\n[Main]\n  Key=new\nAdded=2\n\n[Next]\nX=1\nY=3\n");
}

TEST_F(IniFileTest, DeleteKeyKeepsEveryOtherByteOfTheFile)
{
    const std::string before =
            "; written by hand\r\n"
            "\r\n"
            "[Other]\r\n"
            "Key=stays in another section\r\n"
            "\r\n"
            "[Main]\r\n"
            "  ; Key=a comment that looks like the entry\r\n"
            "Key2=stays\n"
            "MyKey=stays\r\n";
    const std::string after =
            "\t\r\n"
            "[Last]\r\n"
            "Key=stays too";
    TTempFolder::Write(file, before + "  KEY = removed \r\n" + after);
    ASSERT_TRUE(ini.DeleteKey(file, "main", "Key"));
    EXPECT_EQ(TTempFolder::Read(file), before + after);

    // Every entry of that name in the section goes, so that the entry is really gone.
    TTempFolder::Write(file, "[Main]\r\nA=1\r\nB=2\r\na=3\r\n");
    ASSERT_TRUE(ini.DeleteKey(file, "Main", "A"));
    EXPECT_EQ(TTempFolder::Read(file), "[Main]\r\nB=2\r\n");
    ASSERT_TRUE(ini.DeleteKey(file, "Main", "Missing"));
    EXPECT_EQ(TTempFolder::Read(file), "[Main]\r\nB=2\r\n");
}

TEST_F(IniFileTest, FailedWritesLeaveTheFileAsItWas)
{
    EXPECT_FALSE(ini.WriteString(folder.Path("missing/test.ini"), "Main", "A", "1"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing")));

    const std::string original = "[Main]\r\nA=1\r\n";
    TTempFolder::Write(file, original);
    // Texts with line breaks would become lines of their own.
    EXPECT_FALSE(ini.WriteString(file, "Main", "A", "1\r\nB=2"));
    EXPECT_FALSE(ini.WriteString(file, "Main", "A=B", "1"));
    EXPECT_FALSE(ini.WriteString(file, "Ma]in", "A", "1"));
    EXPECT_FALSE(ini.WriteString(file, "Main", "", "1"));
    // The replacement is written beside the file first; when that cannot be done, the
    // original stays whole.
    std::filesystem::create_directory(file + ".lwtmp");
    EXPECT_FALSE(ini.WriteString(file, "Main", "A", "2"));
    EXPECT_FALSE(ini.DeleteKey(file, "Main", "A"));
    EXPECT_EQ(TTempFolder::Read(file), original);

    // A path that cannot be read as a file is never replaced.
    const std::string folderPath = folder.Path("folder.ini");
    std::filesystem::create_directory(folderPath);
    EXPECT_FALSE(ini.WriteString(folderPath, "Main", "A", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(folderPath));
}

}  // namespace
