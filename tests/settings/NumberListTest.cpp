// The allowed numbers: a sorted list without duplicates, and the look-up that forgives one
// leading zero.
#include "settings/NumberList.h"

#include <gtest/gtest.h>

#include "common/Errors.h"

namespace {

TEST(NumberList, StaysSortedWithoutDuplicates)
{
    TNumberList list;
    EXPECT_EQ(list.Add("9"), 0);
    EXPECT_EQ(list.Add("10"), 0);
    EXPECT_EQ(list.Add("1"), 0);
    EXPECT_EQ(list.Add("10"), 1);  // already present: its index, not added again
    EXPECT_EQ(list.Add("a"), 3);
    EXPECT_EQ(list.Add("A"), 3);
    EXPECT_EQ(list.Text(), "1\r\n10\r\n9\r\na\r\n");
    EXPECT_EQ(list.IndexOf("9"), 2);
    EXPECT_EQ(list.IndexOf("2"), -1);
    list.Delete(1);
    EXPECT_EQ(list.Text(), "1\r\n9\r\na\r\n");
    EXPECT_THROW(list.Delete(3), EAssertionFailed);
    list.Assign({"3", "2", "3"});
    EXPECT_EQ(list.Text(), "2\r\n3\r\n");
}

TEST(NumberList, FindAllowedNumberAddsOrDropsOneLeadingZero)
{
    TNumberList list;
    list.Assign({"0", "0123", "10", "456", "9"});
    struct Row {
        const char* number;
        int expected;
    };
    const Row rows[] = {
            {"10", 2},      {"010", 2}, {"123", 1},   {"0456", 3},
            {"09", 4},      {"7", -1},  {"00123", 1},  // one of the two zeros dropped...
            {"00456", -1},                             // ...never both
            {"000123", -1}, {"", -1},                  // no second look-up, though "0" is allowed
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.number);
        EXPECT_EQ(FindAllowedNumber(list, r.number), r.expected);
    }
}

}  // namespace
