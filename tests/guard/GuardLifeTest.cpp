// The guard's start, its window's options and numbers, its menu and keys, the status bar and
// report, and its end.
#include "guard/GuardFixture.h"

#include "dialers/StartupFiles.h"
#include "common/Product.h"

namespace {

using GuardLife = GuardFixture;

TEST_F(GuardLife, StartShowsTheWindowAndTheFirstTickHidesItIntoTheTray)
{
    SetOption(SKeyFirstRun, true);
    Allow({"100"});
    Start();
    EXPECT_EQ(View.Caption, "Morvane Linewarden 1.1");
    EXPECT_EQ(View.AppTitle, std::string("Morvane Linewarden 1.1 - ") + kHomePage);
    EXPECT_EQ(Tray.Calls, std::vector<std::string>{"add Morvane Linewarden 1.1"});
    EXPECT_FALSE(View.MenuVisible[TMenuItem::TestDialers]);
    EXPECT_FALSE(View.ReportVisible);
    EXPECT_EQ(View.Numbers, std::vector<std::string>{"100"});
    EXPECT_TRUE(View.Checks[static_cast<int>(TOption::CheckAllowedNumbers)]);
    EXPECT_TRUE(Form->StartupTimerEnabled());

    Connect({{"dialer", "0700", "", ""}});
    Form->StartupTimerTimer();
    EXPECT_FALSE(Form->StartupTimerEnabled());
    EXPECT_FALSE(Form->Settings().FirstRun());
    EXPECT_TRUE(ConnectedEntries().empty());
    EXPECT_EQ(View.Log, (std::vector<std::string>{"minimize", "hide"}));
    EXPECT_EQ(View.Panels[0], "Nie Połączony");
}

TEST_F(GuardLife, DialUpEventsSetTheStatusPanel)
{
    Start();
    TDialUp& d = Form->DialUp();
    d.OnDialing(&d);
    EXPECT_EQ(View.Panels[0], "Łączenie...");
    d.OnConnect(&d);
    EXPECT_EQ(View.Panels[0], "Połączony");
    d.OnNotConnected(&d, 678, "x");
    EXPECT_EQ(View.Panels[0], "Nie Połączony");
    d.OnAsyncEvent(&d, 1, 0, "Port otwarty");
    EXPECT_EQ(View.Panels[0], "Port otwarty");
    d.OnError(&d, 5, "x");
    EXPECT_EQ(View.Panels[0], "Błąd");
}

TEST_F(GuardLife, ConnectionStatusNamesTheFirstSourceThatGivesANumber)
{
    Start();
    const struct {
        TGuardWorld::TConn Connection;
        const char* Status;
    } cases[] = {
            {{"a", "111", "222", "333"}, "Połączony z numerem \"111\""},
            {{"a", "", "222", "333"}, "Połączony z numerem \"222\" (overriding)"},
            {{"a", "", "", "333"}, "Połączony z domyślnym numerem \"333\""},
            {{"a", "", "", ""}, "Połączony"},
    };
    SetOption(SKeyCheckAllowedNumbers, false);
    for (const auto& c : cases) {
        TGuardWorld world;
        world.Start();
        world.Connect({c.Connection});
        world.Form->ShowConnectionStatus();
        EXPECT_EQ(world.View.Panels[0], c.Status);
    }
}

TEST_F(GuardLife, OptionsTravelBetweenWindowAndSettings)
{
    SetOption(SKeyAutoDeleteDialers, false);
    Start();
    // Switching an option on runs its stage at once; switching it off only stores it.
    InstallDialer("C:\\Guard\\x.exe", 55);
    View.Checks[static_cast<int>(TOption::AutoDeleteDialers)] = true;
    Form->cbParamsChangeClick(TOption::AutoDeleteDialers);
    EXPECT_TRUE(Form->Settings().AutoDeleteDialers());
    EXPECT_EQ(Dialogs.Asked.size(), 1u);
    View.Checks[static_cast<int>(TOption::AutoDeleteDialers)] = false;
    View.Checks[static_cast<int>(TOption::AutoStart)] = true;
    Form->cbParamsChangeClick(TOption::AutoDeleteDialers);
    Form->cbParamsChangeClick(TOption::AutoStart);
    EXPECT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_FALSE(StartsWithWindows());  // the registry follows at exit

    // Closing only hides the window and saves; Exit ends and registers the auto-start value.
    EXPECT_FALSE(Form->FormCloseQuery());
    EXPECT_EQ(Saved(SKeyAutoStart), "1");
    EXPECT_EQ(View.Log.back(), "hide");
    Form->MenuClick(TMenuItem::Exit);
    EXPECT_TRUE(Form->FormCloseQuery());
    Form.reset();
    EXPECT_TRUE(StartsWithWindows());
    EXPECT_EQ(Tray.Calls.back(), "delete");
}

TEST_F(GuardLife, CloseRequestSavesDeclinesTheQuestionRemovesTheIconAndEnds)
{
    Start();
    View.Checks[static_cast<int>(TOption::AutoStart)] = true;
    Form->WMCloseApp();
    EXPECT_EQ(Saved(SKeyAutoStart), "1");
    EXPECT_TRUE(StartsWithWindows());
    EXPECT_EQ(Dialogs.Cancels, 1);
    EXPECT_EQ(Tray.Calls.back(), "delete");
    EXPECT_EQ(View.Log.back(), "end process");
}

TEST_F(GuardLife, EndOfSessionIsAllowedAndKeepsWhatTheUserSet)
{
    Start();
    EXPECT_TRUE(Form->WMQueryEndSession());
    View.Checks[static_cast<int>(TOption::AutoStart)] = true;
    Form->WMEndSession(true);
    EXPECT_EQ(Saved(SKeyAutoStart), "1");
    EXPECT_TRUE(StartsWithWindows());
}

TEST_F(GuardLife, NumberButtonsStoreTheListAndTheFirstNumberSwitchesProtectionOn)
{
    SetOption(SKeyCheckAllowedNumbers, false);
    Start();
    Connect({{"dialer", "0700", "", ""}});
    EXPECT_FALSE(View.ButtonEnabled[static_cast<int>(TNumberButton::Edit)]);

    // Switching protection on checks the connections at once.
    Dialogs.NumberAnswers = {"300", "100"};
    Form->btAddNumberClick();
    EXPECT_TRUE(Form->Settings().CheckAllowedNumbers());
    EXPECT_TRUE(ConnectedEntries().empty());
    Form->btAddNumberClick();
    EXPECT_EQ(Form->Settings().Numbers().Strings(), (std::vector<std::string>{"100", "300"}));
    EXPECT_TRUE(View.ButtonEnabled[static_cast<int>(TNumberButton::Edit)]);

    Dialogs.NumberAnswers = {"400"};
    Form->btEditNumberClick();
    EXPECT_EQ(Form->Settings().Numbers().Strings(), (std::vector<std::string>{"300", "400"}));
    Form->btDeleteNumberClick();
    EXPECT_EQ(Form->Settings().Numbers().Strings(), std::vector<std::string>{"300"});
    EXPECT_EQ(View.Numbers, std::vector<std::string>{"300"});
}

TEST_F(GuardLife, MenuKeysAndTray)
{
    Start();
    Form->PopupMenuPopup();
    EXPECT_FALSE(View.MenuEnabled[TMenuItem::DisconnectUnknownConnection]);
    SetOption(SKeyCheckAllowedNumbers, false);
    Connect({{"isp", "100", "", ""}});
    Form->ShowConnectionStatus();
    Form->PopupMenuPopup();
    EXPECT_TRUE(View.MenuEnabled[TMenuItem::DisconnectUnknownConnection]);

    const struct {
        int Key;
        bool Shift, Alt, Ctrl, Help;
    } keys[] = {{kKeyF1, false, false, false, true},
                {kKeyF1, true, false, false, true},
                {kKeyF1, false, true, false, false},
                {kKeyF1, false, false, true, false},
                {113, false, false, false, false}};
    for (const auto& k : keys) {
        Shell.Calls.clear();
        EXPECT_EQ(Form->FormKeyDown(k.Key, k.Shift, k.Alt, k.Ctrl), k.Help);
        ASSERT_EQ(Shell.Calls.size(), k.Help ? 1u : 0u);
        if (k.Help) {
            EXPECT_EQ(Shell.Calls[0].File, "C:\\Guard\\MLinewarden.chm");
        }
    }

    Form->MenuClick(TMenuItem::Report);
    EXPECT_TRUE(View.ReportVisible);
    Form->TrayIcon()->WndProc(kLeftDoubleClick);
    EXPECT_FALSE(View.ReportVisible);
}

}  // namespace
