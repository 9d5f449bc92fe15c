#include <gtest/gtest.h>

#include "common/Errors.h"
#include "common/Format.h"

TEST(Format, TextAndDecimalConversions)
{
    EXPECT_EQ(Format("Connection %d: Entry = \"%s\"", 1, "Dom"), "Connection 1: Entry = \"Dom\"");
    EXPECT_EQ(Format("%s.%.3d", "dialer.exe", 7), "dialer.exe.007");
    EXPECT_EQ(Format("%s.%.3d", "x", 1234), "x.1234");
    EXPECT_EQ(Format("%d|%5d|%-4d|%.2d", -3, 42, 7, -4), "-3|   42|7   |-04");
    EXPECT_EQ(Format("100%% %s", std::string("gotowe")), "100% gotowe");
    EXPECT_EQ(Format("IdentNumberFmt_%d", 0u), "IdentNumberFmt_0");
    EXPECT_EQ(Format("no args"), "no args");
}

TEST(Format, MismatchIsAnErrorNotUndefinedBehaviour)
{
    EXPECT_THROW(Format("%d", "text"), Exception);
    EXPECT_THROW(Format("%s", 5), Exception);
    EXPECT_THROW(Format("%s %s", "one"), Exception);
    EXPECT_THROW(Format("%x", 5), Exception);
    EXPECT_THROW(Format("trailing %"), Exception);
}

TEST(Errors, AssertionNamesTheUnitOfItsFileAndTheLine)
{
    const int line = __LINE__ + 2;
    try {
        LW_ASSERT(1 + 1 == 3);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Assertion failed: 1 + 1 == 3 (FormatTest, line " + std::to_string(line) + ")");
    }
    for (const char* file :
         {"C:\\src\\guard\\MainUnit.cpp", "/src/guard/MainUnit.cpp", "MainUnit"}) {
        try {
            AssertionFailed("x", file, 7);
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(std::string(e.what()), "Assertion failed: x (MainUnit, line 7)") << file;
        }
    }
}
