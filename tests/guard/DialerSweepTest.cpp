// The dialer sweep: what the guard asks, what it removes and the exact report it writes.
#include "guard/GuardFixture.h"

#include "dialers/Removal.h"
#include "guard/GuardTexts.h"

namespace {

const char kDialer[] = "C:\\Prog\\dialer.exe";

class DialerSweep : public GuardFixture {
protected:
    DialerSweep()
    {
        SetOption(SKeyCheckAllowedNumbers, false);
        SetOption(SKeyAutoDeleteDialUp, false);
        Files.AddFolder("C:\\Prog");
        Files.AddFolder("C:\\U\\Desktop");
        Registry.SetValue(TRegRoot::CurrentUser, kUserShellFoldersKey, "Desktop",
                          TRegValue::String("C:\\U\\Desktop"));
        Files.AddFile("C:\\U\\Desktop\\Free.lnk", "link");
        Shell.AddLink("C:\\U\\Desktop\\Free.lnk", kDialer);
    }
};

TEST_F(DialerSweep, AcceptedStartupDialerThatIsAlsoRunningIsRemovedOnce)
{
    InstallDialer(kDialer, 77);
    AddRunValue("Free", std::string(kDialer) + " /silent");
    Start();
    Form->CheckActiveDialers(true);

    ASSERT_EQ(Dialogs.Asked.size(), 1u);  // the process part no longer finds it
    EXPECT_EQ(Dialogs.Asked[0].Mode, 0);
    EXPECT_EQ(Dialogs.Asked[0].Value1, "Free");
    const std::string file = Dialogs.Asked[0].Value2;
    const std::string copy = "C:\\Guard\\dialers\\dialer.exe.000";
    const std::string linkCopy = "C:\\Guard\\dialers\\Free.lnk.000";
    EXPECT_EQ(View.ReportTexts(),
              (std::vector<std::string>{
                      "Zabijanie procesu \"" + file + "\"...",
                      "Zabijanie procesu \"" + file + "\" zakończone pomyślnie.",
                      "Usuwanie pliku \"" + file + "\"...",
                      "Skopiowany plik \"dialer.exe\": " + file + " -> " + copy,
                      "Usunięto plik \"dialer.exe\": " + file,
                      "Usuwanie pliku \"" + file + "\" zakończone pomyślnie.",
                      "Usuwanie wpisu w rejestrze Startup \"Free\"...",
                      "Usuwanie wpisu \"Free\" w rejestrze Startup zakończone pomyślnie.",
                      "Usuwanie skrótów pliku \"" + file + "\"...",
                      "Skopiowany plik \"Free.lnk\": C:\\U\\Desktop\\Free.lnk -> " + linkCopy,
                      "Usunięto plik \"Free.lnk\": C:\\U\\Desktop\\Free.lnk",
                      "Usuwanie skrótów pliku \"" + file + "\" zakończone pomyślnie.",
              }));
    EXPECT_FALSE(Table.Alive(77));
    EXPECT_TRUE(Files.FileExists(copy));
    EXPECT_FALSE(Files.FileExists(kDialer));
    EXPECT_FALSE(HasRunValue("Free"));
    EXPECT_EQ(View.Panels[1], "");
    EXPECT_FALSE(View.Hourglass);
}

TEST_F(DialerSweep, DeclinedStartupDialerIsAskedAboutAgainAsAProcess)
{
    InstallDialer(kDialer, 77);
    AddRunValue("Free", kDialer);
    SetOption(SKeyAskBeforeDeleteDialUp, false);  // dialers are asked about whatever this says
    Start();
    Dialogs.DefaultAnswer = false;
    Form->CheckActiveDialers(false);
    ASSERT_EQ(Dialogs.Asked.size(), 2u);
    EXPECT_EQ(Dialogs.Asked[1].Value1, "dialer.exe");
    EXPECT_EQ(Dialogs.Asked[1].Value2, kDialer);
    EXPECT_EQ(
            View.ReportTexts(),
            (std::vector<std::string>{
                    std::string(
                            "Uwaga! Nie został usunięty z systemu niebezpieczy program \"Free (") +
                            kDialer + ")\", który może być dialerem.",
                    std::string("Uwaga! Nie został usunięty z systemu niebezpieczy process \"") +
                            kDialer + "\", który może być dialerem."}));
    EXPECT_TRUE(Table.Alive(77));
    EXPECT_TRUE(HasRunValue("Free"));
}

TEST_F(DialerSweep, RunValueThatCannotBeRemovedLeavesTheDialerReportedAsNotRemoved)
{
    InstallDialer(kDialer);
    AddRunValue("Free", kDialer);
    // The user's Run key holds it too and cannot be changed: the value survives there.
    Registry.SetValue(TRegRoot::CurrentUser, kRunKey, "Free", TRegValue::String(kDialer));
    Registry.DenyFullAccess(TRegRoot::CurrentUser, kRunKey);
    Start();
    Form->CheckActiveDialers(true);
    const std::vector<std::string> report = View.ReportTexts();
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.back(),
              "Usuwanie ukończone niepomyślnie! Dialer \"Free\" nie został usunięty.");
    EXPECT_FALSE(Files.FileExists(kDialer));
}

TEST_F(DialerSweep, RunValueOfAnotherTypeNeitherEndsTheSweepNorHidesTheDialerAfterIt)
{
    InstallDialer(kDialer);
    Registry.SetValue(TRegRoot::CurrentUser, kRunKey, "Odd", TRegValue::Dword(1));
    Registry.SetValue(TRegRoot::CurrentUser, kRunKey, "Free", TRegValue::String(kDialer));
    Dialogs.DefaultAnswer = false;
    Start();
    Form->MenuClick(TMenuItem::CheckActiveDialers);
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Value1, "Free");
    for (const std::string& entry : View.Log) EXPECT_NE(entry.rfind("error: ", 0), 0u) << entry;
}

TEST_F(DialerSweep, AQuarantineFolderThatCannotBeMadeIsReportedOnceInEachSweep)
{
    InstallDialer(kDialer);
    InstallDialer("C:\\Prog\\other.exe");
    Files.Node("C:\\Guard")->RefusesNewFiles = true;
    Start();
    const std::string line =
            Format(GuardText(TGuardText::ReportQuarantineUnavailable, TLanguage::Polish),
                   "C:\\Guard\\dialers\\");
    for (int sweep = 0; sweep < 2; ++sweep) {
        // The Run values go whether or not the files could be deleted.
        AddRunValue("Free", kDialer);
        AddRunValue("Other", "C:\\Prog\\other.exe");
        View.Report.clear();
        Form->CheckActiveDialers(false);
        const std::vector<std::string> report = View.ReportTexts();
        EXPECT_EQ(std::count(report.begin(), report.end(), line), 1) << "sweep " << sweep;
        EXPECT_EQ(report.back(),
                  "Usuwanie ukończone niepomyślnie! Dialer \"Other\" nie został usunięty.");
    }
    // The dialers are kept, as every file whose copy could not be made.
    EXPECT_TRUE(Files.FileExists(kDialer));
    EXPECT_TRUE(Files.FileExists("C:\\Prog\\other.exe"));
}

TEST_F(DialerSweep, TheGuardAndItsUnpackersAreNeverTakenForDialers)
{
    // The guard binds the dial function by name, so its own file holds the text too.
    InstallDialer(kProgram, Table.SelfId);
    InstallDialer("C:\\Guard\\upx.exe");
    AddRunValue("MLinewarden", kProgram);
    AddRunValue("Unpacker", "\"C:\\GUARD\\UPX.EXE\" -t");
    Start();
    Form->CheckActiveDialers(true);
    EXPECT_TRUE(Dialogs.Asked.empty());
    EXPECT_TRUE(View.ReportTexts().empty());
}

}  // namespace
