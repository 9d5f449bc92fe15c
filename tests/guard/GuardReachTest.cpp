// What a user must never lose: a settings file that cannot be written is told, the window is
// never hidden while no tray icon can bring it back, and an Exit is carried out once the running
// work has ended.
#include "guard/GuardFixture.h"

#include "guard/GuardTexts.h"

namespace {

using GuardReach = GuardFixture;

const std::string kNotSavedLine = Format(
        GuardText(TGuardText::ReportSettingsNotSaved, TLanguage::Polish), TGuardWorld::kConfig);
const std::string kNotSavedBox =
        "warning: " + Format(GuardText(TGuardText::SettingsNotSavedMessage, TLanguage::Polish),
                             TGuardWorld::kConfig);

size_t CountOf(const std::vector<std::string>& texts, const std::string& text)
{
    return static_cast<size_t>(std::count(texts.begin(), texts.end(), text));
}

TEST_F(GuardReach, TheStartUpTickSavesTheSettings)
{
    SetOption(SKeyFirstRun, true);
    Start();
    Form->StartupTimerTimer();
    EXPECT_EQ(Saved(SKeyFirstRun), "0");
    EXPECT_EQ(CountOf(View.ReportTexts(), kNotSavedLine), 0u);
}

TEST_F(GuardReach, AFailedSaveIsReportedEachTimeAndShownInABoxOnlyTheFirstTimeWhileTheWindowIsUp)
{
    // Where the first failure of a run happens; the box only while the window stays.
    const struct {
        const char* Where;
        std::function<void(TGuardWorld&)> Act;
        bool Box;
    } rows[] = {
            {"start-up tick", [](TGuardWorld& w) { w.Form->StartupTimerTimer(); }, true},
            {"Exit",
             [](TGuardWorld& w) {
                 w.Form->MenuClick(TMenuItem::Exit);
                 EXPECT_TRUE(w.Form->FormCloseQuery()) << "Exit still exits";
             },
             true},
            {"end of session", [](TGuardWorld& w) { w.Form->WMEndSession(true); }, false},
            {"destructor", [](TGuardWorld& w) { w.Form.reset(); }, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Where);
        TGuardWorld world;
        world.Profile.AcceptedWrites = 0;
        world.Start();
        row.Act(world);
        EXPECT_EQ(CountOf(world.View.ReportTexts(), kNotSavedLine), 1u);
        EXPECT_EQ(CountOf(world.View.Log, kNotSavedBox), row.Box ? 1u : 0u);
    }

    // Every later failure is reported again, without a second box.
    Profile.AcceptedWrites = 0;
    Start();
    Form->StartupTimerTimer();
    EXPECT_FALSE(Form->FormCloseQuery());
    Form->MenuClick(TMenuItem::Exit);
    EXPECT_TRUE(Form->FormCloseQuery());
    EXPECT_EQ(CountOf(View.ReportTexts(), kNotSavedLine), 3u);
    EXPECT_EQ(CountOf(View.Log, kNotSavedBox), 1u);
}

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
        EXPECT_TRUE(world.GuardUi.TimerRuns(kTrayRetryIntervalMs));

        world.Tray.AddSucceeds = true;
        if (byTaskbar)
            world.Form->TrayIcon()->RetryAdd();
        else
            world.PassTime(kTrayRetryIntervalMs);
        EXPECT_TRUE(world.Form->TrayIcon()->ActiveTrayIcon());
        // The window minimised meanwhile goes into the tray now, and the retries end.
        EXPECT_EQ(world.View.Log, (std::vector<std::string>{"minimize", "hide"}));
        EXPECT_FALSE(world.GuardUi.TimerRuns(kTrayRetryIntervalMs));
        world.PassTime(kTrayRetryIntervalMs);
        EXPECT_EQ(world.Tray.Calls.size(), 3u);
    }
}

TEST_F(GuardReach, AnExitAskedForInsideABoxIsCarriedOut)
{
    // Exit was chosen, and the close request is handled inside the error box of work that ran
    // first: the window closes once that work has ended.
    Start();
    Ras.LackOperation("RasEnumConnections");
    Form->MenuClick(TMenuItem::Exit);
    ASSERT_EQ(View.Log, std::vector<std::string>{"close"});
    View.WhileBox = [this] { EXPECT_FALSE(Form->FormCloseQuery()); };
    Form->MenuClick(TMenuItem::DisconnectUnknownConnection);
    ASSERT_EQ(View.Log.size(), 3u);
    EXPECT_EQ(View.Log[1].rfind("error: ", 0), 0u);
    EXPECT_EQ(View.Log[2], "close");
    EXPECT_TRUE(Form->FormCloseQuery());

    // Exit picked from the tray while the warning of a failed save is open: the close that
    // showed the box ends the program.
    TGuardWorld world;
    world.Profile.AcceptedWrites = 0;
    world.Start();
    world.View.WhileBox = [&world] {
        world.Form->MenuClick(TMenuItem::Exit);
        EXPECT_FALSE(world.Form->FormCloseQuery()) << "the open close decides";
    };
    EXPECT_TRUE(world.Form->FormCloseQuery());
}

}  // namespace
