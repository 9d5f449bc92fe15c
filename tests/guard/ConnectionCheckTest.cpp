// The connection check and the phonebook sweep: which connections are hung up and which entries
// deleted, what the report says, and how one running check treats work that arrives meanwhile.
#include "guard/GuardFixture.h"

#include "guard/GuardTexts.h"
#include "support/PumpUntil.h"

namespace {

using TConn = TGuardWorld::TConn;

struct TConnectionCase {
    const char* Name;
    std::vector<std::string> Allowed;
    std::vector<TConn> Connections;
    bool Ask;
    std::vector<bool> Answers;
    std::vector<std::string> Report;
    std::vector<std::string> LeftUp;  // entries still connected afterwards
};

using ConnectionCheck = GuardFixture;

TEST_F(ConnectionCheck, HangsUpWhatTheAllowedListDoesNotHold)
{
    const std::string hungUp =
            "Niedozwolone połączenie z numerem \"%s\" zostało pomyślnie rozłączone.";
    auto up = [&](const char* n) { return Format(hungUp, n); };
    const TConnectionCase cases[] = {
            {"one zero is added",
             {"221234567"},
             {{"isp", "0221234567", "", ""}},
             false,
             {},
             {},
             {"isp"}},
            {"two zeros are not",
             {"221234567"},
             {{"isp", "00221234567", "", ""}},
             false,
             {},
             {up("00221234567")},
             {}},
            {"one zero is dropped",
             {"0221234567"},
             {{"isp", "221234567", "", ""}},
             false,
             {},
             {},
             {"isp"}},
            {"empty list allows nothing",
             {},
             {{"a", "111", "", ""}, {"b", "", "", "222"}},
             false,
             {},
             {up("111"), up("222")},
             {}},
            {"blank or dash never matches",
             {"221234567"},
             {{"a", "22 1234567", "", ""}, {"b", "22-1234567", "", ""}},
             false,
             {},
             {up("22 1234567"), up("22-1234567")},
             {}},
            {"no number from any source", {}, {{"a", "", "", ""}}, false, {}, {}, {"a"}},
            {"dial parameters before the entry's own",
             {"500"},
             {{"a", "", "500", "0700"}},
             false,
             {},
             {},
             {"a"}},
            {"only the second is forbidden",
             {"100"},
             {{"isp", "100", "", ""}, {"dialer", "0700123", "", ""}},
             false,
             {},
             {up("0700123")},
             {"isp"}},
            {"declined",
             {"100"},
             {{"dialer", "0700123", "", ""}},
             true,
             {false},
             {"Połączenie \"dialer\" o numerze \"0700123\" nie zostało rozłączone."},
             {"dialer"}},
            {"accepted",
             {"100"},
             {{"dialer", "0700123", "", ""}},
             true,
             {true},
             {up("0700123")},
             {}},
    };
    for (const TConnectionCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto t = std::make_unique<TGuardWorld>();  // a fresh guard and machine per case
        t->Allow(c.Allowed);
        t->SetOption(SKeyAskBeforeDeleteDialUp, c.Ask);
        t->SetOption(SKeyAutoDeleteDialUp, false);
        t->SetOption(SKeyAutoDeleteDialers, false);
        t->Start();
        t->Connect(c.Connections);
        t->Dialogs.Answers = c.Answers;
        t->Form->DisconnectUnknownConnections(true);
        EXPECT_EQ(t->View.ReportTexts(), c.Report);
        EXPECT_EQ(t->ConnectedEntries(), c.LeftUp);
        EXPECT_EQ(t->Dialogs.Asked.size(), c.Ask ? c.Answers.size() : 0u);
        for (const auto& q : t->Dialogs.Asked) EXPECT_EQ(q.Mode, 1);
    }
}

TEST_F(ConnectionCheck, OptionOffStopsOnlyTheAutomaticCheck)
{
    SetOption(SKeyCheckAllowedNumbers, false);
    Start();
    Connect({{"dialer", "0700", "", ""}});
    Form->DisconnectUnknownConnections(true);
    EXPECT_EQ(ConnectedEntries().size(), 1u);
    Form->MenuClick(TMenuItem::DisconnectUnknownConnection);
    EXPECT_TRUE(ConnectedEntries().empty());
}

TEST_F(ConnectionCheck, AConnectionThatGoesDuringTheQuestionIsNeverConfusedWithAnother)
{
    Allow({"100"});
    SetOption(SKeyAskBeforeDeleteDialUp, true);
    Start();
    Connect({{"first", "0700111", "", ""}, {"isp", "100", "", ""}, {"second", "0700222", "", ""}});
    const THRasConn first = Ras.Connections()[0].Handle;
    // While the first question is open the first dialer's line drops: every later connection
    // moves up one position.
    Dialogs.While = [&] { Ras.DropConnection(first); };
    Dialogs.Answers = {true, true};
    Form->DisconnectUnknownConnections(true);
    EXPECT_EQ(ConnectedEntries(), std::vector<std::string>{"isp"});
    EXPECT_EQ(View.ReportTexts(),
              (std::vector<std::string>{
                      "Niedozwolone połączenie z numerem \"0700111\" nie zostało rozłączone!",
                      Format(GuardText(TGuardText::ReportHungUp, TLanguage::Polish), "0700222")}));
}

TEST_F(ConnectionCheck, NotificationDuringAQuestionRunsOneMoreCycleAfterIt)
{
    Allow({"100"});
    SetOption(SKeyAskBeforeDeleteDialUp, true);
    Connect({{"first", "0700111", "", ""}});
    Start();
    Dialogs.While = [&] {
        // The question's message loop delivers the notification of a new connection.
        Ras.AddConnection("late", "0700999");
        ASSERT_TRUE(PumpUntil(Ui, [&] { return GuardUi.HandOvers() >= 1; }));
        Form->MenuClick(TMenuItem::CheckActiveDialers);
        // Nothing ran inside the question: the first connection is the only one asked about.
        EXPECT_EQ(Dialogs.Asked.size(), 1u);
    };
    Form->StartupTimerTimer();
    ASSERT_EQ(Dialogs.Asked.size(), 2u);
    EXPECT_EQ(Dialogs.Asked[1].Value1, "late");
    EXPECT_TRUE(ConnectedEntries().empty());
    EXPECT_EQ(View.Panels[1], "");
}

TEST_F(ConnectionCheck, ExitDuringAQuestionDeclinesAndClosesAfterTheCycle)
{
    SetOption(SKeyAskBeforeDeleteDialUp, true);
    Start();
    Connect({{"a", "0700111", "", ""}, {"b", "0700222", "", ""}});
    Dialogs.While = [&] {
        Form->MenuClick(TMenuItem::Exit);
        EXPECT_EQ(View.Log.back(), "show");  // not closed while the question is open
    };
    Form->MenuClick(TMenuItem::DisconnectUnknownConnection);
    EXPECT_EQ(Dialogs.Cancels, 1);
    EXPECT_EQ(Dialogs.Asked.size(), 1u);  // the second connection is not asked about
    EXPECT_EQ(ConnectedEntries().size(), 2u);
    EXPECT_EQ(View.Log.back(), "close");
    EXPECT_TRUE(Form->FormCloseQuery());
}

TEST_F(ConnectionCheck, PhonebookSweepDeletesEntriesWithForbiddenNumbers)
{
    Allow({"100"});
    SetOption(SKeyAskBeforeDeleteDialUp, true);
    SetOption(SKeyCheckAllowedNumbers, false);
    SetOption(SKeyAutoDeleteDialers, false);
    Start();
    Ras.AddEntry("isp", "0100");
    Ras.AddEntry("empty", "");
    Ras.AddEntry("kept", "0700111");
    Ras.AddEntry("premium", "0700222", "100");  // the dial parameters' number does not count
    Ras.AddEntry("stuck", "0700333");
    Dialogs.OnAsk = [&](const TScriptedDialogs::TQuestion& q) {
        if (q.Value1 == "stuck") Ras.FailOperation("RasDeleteEntry", 5);
    };
    Dialogs.Answers = {false, true, true};
    Form->DeleteUnknownDialUps(true);
    EXPECT_EQ(Ras.EntryNames(), (std::vector<std::string>{"isp", "empty", "kept", "stuck"}));
    EXPECT_EQ(View.ReportTexts(),
              (std::vector<std::string>{
                      "Połączenie \"kept\" o numerze \"0700111\" nie zostało usunięte.",
                      "Usunięto połączenie \"premium\" o numerze \"0700222\" ",
                      "Nieudane usunięcie połączenia \"stuck\" o numerze \"0700333\" "}));
    for (const auto& q : Dialogs.Asked) EXPECT_EQ(q.Mode, 2);
}

}  // namespace
