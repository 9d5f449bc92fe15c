#include <gtest/gtest.h>

#include "common/Paths.h"
#include "common/StrUtils.h"

TEST(Paths, PartsOfAPath)
{
    struct Row {
        const char* path;
        const char* name;
        const char* folder;
        const char* ext;
    };
    const Row rows[] = {
            {"C:\\Windows\\notepad.exe", "notepad.exe", "C:\\Windows\\", ".exe"},
            {"notepad.exe", "notepad.exe", "", ".exe"},
            {"C:x.exe", "x.exe", "C:", ".exe"},
            {"C:\\dir.d\\file", "file", "C:\\dir.d\\", ""},
            {"C:\\dir\\", "", "C:\\dir\\", ""},
            {"archive.tar.gz", "archive.tar.gz", "", ".gz"},
            {"", "", "", ""},
            {"C:\\Program Files\\Zażółć\\gęś.exe", "gęś.exe", "C:\\Program Files\\Zażółć\\",
             ".exe"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(ExtractFileName(r.path), r.name);
        EXPECT_EQ(ExtractFilePath(r.path), r.folder);
        EXPECT_EQ(ExtractFileExt(r.path), r.ext);
    }
}

TEST(Paths, ChangeFileExtReplacesOrAppends)
{
    EXPECT_EQ(ChangeFileExt("C:\\a\\MLinewarden.exe", ".cfg"), "C:\\a\\MLinewarden.cfg");
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\prog", ".cfg"), "C:\\a.b\\prog.cfg");
    EXPECT_EQ(ChangeFileExt("C:\\a\\x.tar.gz", ".111"), "C:\\a\\x.tar.111");
    EXPECT_EQ(ChangeFileExt("C:\\a\\x.exe", ""), "C:\\a\\x");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\a"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\a\\"), "C:\\a\\");
}

TEST(StrUtils, CaseTrimAndDigitsTouchOnlyAscii)
{
    EXPECT_EQ(LowerCase("C:\\PROGRAM Files\\ŻÓŁW.EXE"), "c:\\program files\\ŻÓŁw.exe");
    EXPECT_EQ(Trim(std::string(" \t\r\n\x01x y\x1f ")), "x y");
    EXPECT_EQ(Trim(std::string("\x7f"
                               "a")),
              "\x7f"
              "a");  // 127 is above 32 and stays
    EXPECT_EQ(Trim("   "), "");

    EXPECT_TRUE(IsDigits("0123456789"));
    for (const char* bad : {"", " 1", "12-3", "1 2", "١", "+1", "1a"})
        EXPECT_FALSE(IsDigits(bad)) << bad;

    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    EXPECT_LT(CompareText("10", "9"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
}

TEST(StrUtils, FieldTextNeverReadsPastTheField)
{
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(FieldText(unterminated, sizeof unterminated), "abcd");
    char field[5] = {'x', 0, 'y', 'z', 0};
    EXPECT_EQ(FieldText(field, sizeof field), "x");

    char target[4];
    SetFieldText(target, sizeof target, "123456");
    EXPECT_EQ(std::string(target), "123");
}
