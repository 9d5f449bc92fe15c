// What a user must never lose: the window is never hidden while no tray icon can bring it back.
#include "guard/GuardFixture.h"

#include "guard/GuardTexts.h"

namespace {

using GuardReach = GuardFixture;

TEST_F(GuardReach, TheWindowIsNeverHiddenWhileNoTrayIconIsRegistered)
{
    // The icon comes through the retry timer, or when the shell announces its taskbar.
    for (bool byTaskbar : {false, true}) {
        SCOPED_TRACE(byTaskbar ? "taskbar" : "timer");
        TGuardWorld world;
        world.Tray.AddSucceeds = false;
        world.Start();
        world.Form->StartupTimerTimer();
        world.Form->ApplicationEventsMinimize();
        world.PassTime(kTrayRetryIntervalMs);
        EXPECT_EQ(world.View.Log, std::vector<std::string>{"minimize"});
        EXPECT_EQ(world.Tray.Calls.size(), 2u);
        EXPECT_FALSE(world.Form->TrayIcon()->ActiveTrayIcon());

        world.Tray.AddSucceeds = true;
        if (byTaskbar)
            world.Form->TrayIcon()->RetryAdd();
        else
            world.PassTime(kTrayRetryIntervalMs);
        EXPECT_TRUE(world.Form->TrayIcon()->ActiveTrayIcon());
        // The window minimised meanwhile goes into the tray now, and the retries end.
        EXPECT_EQ(world.View.Log, (std::vector<std::string>{"minimize", "hide"}));
        EXPECT_FALSE(world.Form->TrayRetryTimerEnabled());
        world.PassTime(kTrayRetryIntervalMs);
        EXPECT_EQ(world.Tray.Calls.size(), 3u);
    }
}

}  // namespace
