#include <gtest/gtest.h>

#include "platform/LocalTime.h"

// The report stamp needs every field in its range and a separator to put between them.
TEST(LocalTime, NowIsADateAndTimeAndTheSeparatorIsNotEmpty)
{
    const TLocalTime t = SystemLocalTime().Now();
    EXPECT_GE(t.Year, 2000);
    EXPECT_LE(t.Year, 2200);
    EXPECT_GE(t.Month, 1);
    EXPECT_LE(t.Month, 12);
    EXPECT_GE(t.Day, 1);
    EXPECT_LE(t.Day, 31);
    EXPECT_GE(t.Hour, 0);
    EXPECT_LE(t.Hour, 23);
    EXPECT_GE(t.Minute, 0);
    EXPECT_LE(t.Minute, 59);
    EXPECT_GE(t.Second, 0);
    EXPECT_LE(t.Second, 60);  // a leap second
    EXPECT_FALSE(SystemLocalTime().TimeSeparator().empty());
}
