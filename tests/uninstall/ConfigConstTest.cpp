// The setup vocabulary: flag lists, actions, screen modes and value types, with the exact
// messages that stop the reading of a log.
#include <gtest/gtest.h>

#include <functional>

#include "common/Errors.h"
#include "tests/uninstall/ErrorMessage.h"
#include "uninstall/ConfigConst.h"

TEST(Vocabulary, FlagListsSetTheirBits)
{
    struct TCase {
        const char* Text;
        int Flags;  // -1: the message below
        const char* Message;
    };
    const TCase cases[] = {
            {"", 0, ""},
            {"dont_log", 1 << 0, ""},
            {"dont_log,shared", (1 << 0) | (1 << 7), ""},
            {"dont_log, shared", (1 << 0) | (1 << 7), ""},
            {"  user_id \t", 1 << 10, ""},
            {"reg_server,reg_server", 1 << 3, ""},
            // An empty item ends the list: nothing after two commas is looked at.
            {"dont_log,,bogus", 1 << 0, ""},
            {",bogus", 0, ""},
            {"dont_log, shared, user_id", -1, "Flag  shared not available!"},
            {"Dont_Log", -1, "Flag Dont_Log not available!"},
            {"dont_log,nothing", -1, "Flag nothing not available!"},
    };
    for (const TCase& c : cases) {
        if (c.Flags >= 0)
            EXPECT_EQ(c.Flags, ParseFlags(c.Text)) << c.Text;
        else
            EXPECT_EQ(c.Message, ErrorMessage<Exception>([&] { ParseFlags(c.Text); }));
    }
    // The bit numbers are those of the log writer.
    const char* const names[] = {"dont_log",  "dont_overwrite", "no_version", "reg_server",
                                 "reg_font",  "dont_ask",       "external",   "shared",
                                 "dont_wait", "check_exitcode", "user_id"};
    for (int bit = 0; bit < 11; ++bit) {
        EXPECT_EQ(1 << bit, ParseFlags(names[bit])) << names[bit];
        EXPECT_TRUE(HasFlag(ParseFlags(names[bit]), TSetupFlag(bit)));
    }
    EXPECT_FALSE(HasFlag(ParseFlags("shared,user_id"), sfDontLog));
}

TEST(Vocabulary, WordsAndTheirMessages)
{
    struct TCase {
        std::function<int(const std::string&)> Parse;
        const char* Text;
        int Expected;  // -1: the message below
        const char* Message;
    };
    auto action = [](const std::string& t) { return int(ParseAction(t)); };
    auto mode = [](const std::string& t) { return int(ParseScreenMode(t)); };
    auto type = [](const std::string& t) { return int(ParseRegType(t)); };
    const TCase cases[] = {
            {action, "add", saAdd, ""},
            {action, "ADD", saAdd, ""},
            {action, "Remove", saRemove, ""},
            {action, "", -1, "Action  not available!"},
            {action, "Delete", -1, "Action delete not available!"},
            {action, " add", -1, "Action  add not available!"},
            {mode, "", smNormal, ""},
            {mode, "Normal", smNormal, ""},
            {mode, "MIN", smMinimized, ""},
            {mode, "max", smMaximized, ""},
            {mode, "Hide", smHidden, ""},
            {mode, "Full", -1, "AppScreenMode full not available!"},
            {type, "str", lrtString, ""},
            {type, "mstr", lrtMultiString, ""},
            {type, "int", lrtInteger, ""},
            {type, "bin", lrtBinary, ""},
            {type, "STR", -1, "RegType STR not available!"},
            {type, "", -1, "RegType  not available!"},
            {type, "dword", -1, "RegType dword not available!"},
    };
    for (const TCase& c : cases) {
        if (c.Expected >= 0)
            EXPECT_EQ(c.Expected, c.Parse(c.Text)) << c.Text;
        else
            EXPECT_EQ(c.Message, ErrorMessage<Exception>([&] { c.Parse(c.Text); }));
    }
    EXPECT_EQ(rtString, RegistryTypeOf(lrtString));
    EXPECT_EQ(rtMultiString, RegistryTypeOf(lrtMultiString));
    EXPECT_EQ(rtDword, RegistryTypeOf(lrtInteger));
    EXPECT_EQ(rtBinary, RegistryTypeOf(lrtBinary));
}
