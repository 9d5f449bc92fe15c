// The status bar's progress text while a check runs, and the bar's rounding.
#include <gtest/gtest.h>

#include <vector>

#include "guard/GuardWorld.h"
#include "guard/ProgressDisplay.h"

namespace {

TEST(ProgressDisplay, BarShowsTenthsRoundedHalfAway)
{
    const struct {
        int Position, Maximum;
        const char* Bar;
    } cases[] = {{0, 6, ".........."},
                 {3, 10, "ooo......."},
                 {1, 4, "ooo......."},
                 {6, 6, "oooooooooo"},
                 {1, 6, "oo........"},
                 {0, 0, ".........."},
                 {2147483647, 2147483647, "oooooooooo"}};
    for (const auto& c : cases)
        EXPECT_EQ(ProgressBar(c.Position, c.Maximum), c.Bar) << c.Position << "/" << c.Maximum;
}

TEST(ProgressDisplay, CaptionAndBarInTheSecondPanelUntilTheCheckEnds)
{
    TRecordingView bar;
    TProgressDisplay progress(bar);
    progress.SetStatusText("Połączony", false);
    progress.BeginProgress(6, "Szukanie połączeń");
    EXPECT_EQ(bar.Panels, (std::vector<std::string>{"Połączony", "Szukanie połączeń .........."}));
    EXPECT_TRUE(bar.Hourglass);
    progress.SetProgressMax(progress.ProgressMax() + 4);
    for (int i = 0; i < 5; ++i) progress.StepProgress();
    EXPECT_EQ(bar.Panels[1], "Szukanie połączeń ooooo.....");
    for (int i = 0; i < 20; ++i) progress.StepProgress();  // never beyond the maximum
    EXPECT_EQ(progress.ProgressText(), "Szukanie połączeń oooooooooo");
    {
        TProgressScope scope(progress);  // left without Done, as by an exception
    }
    EXPECT_EQ(bar.Panels[1], "");
    EXPECT_EQ(progress.ProgressText(), "");
    EXPECT_FALSE(bar.Hourglass);
}

}  // namespace
