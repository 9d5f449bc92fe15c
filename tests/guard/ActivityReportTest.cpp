// Report rows carry the local time in the report's stamp.
#include <gtest/gtest.h>

#include <vector>

#include "guard/ActivityReport.h"
#include "support/FakeLocalTime.h"

namespace {

struct TRows : IReportView {
    std::vector<std::string> Stamps, Texts;
    void AddReportRow(const std::string& time, const std::string& text) override
    {
        Stamps.push_back(time);
        Texts.push_back(text);
    }
};

TEST(ActivityReport, RowsCarryTheLocalTimeWithTheLocaleSeparator)
{
    const struct {
        TLocalTime Time;
        const char* Separator;
        const char* Stamp;
    } cases[] = {
            {{2026, 12, 6, 14, 5, 9}, ":", "14:05:09 06:12:26"},
            {{2000, 1, 31, 0, 0, 0}, ".", "00.00.00 31.01.00"},
            {{1999, 10, 1, 23, 59, 58}, "", "235958 011099"},
    };
    TRows rows;
    TFakeLocalTime clock;
    TActivityReport report(rows, clock);
    for (const auto& c : cases) {
        clock.Time = c.Time;
        clock.Separator = c.Separator;
        report.AddFmt("%s: %d", "x", 7);
        EXPECT_EQ(rows.Stamps.back(), c.Stamp);
        EXPECT_EQ(rows.Texts.back(), "x: 7");
    }
}

}  // namespace
