// The short look at the connections between notifications: a forbidden call is ended while it is
// still being dialled, by its handle, whatever order RAS lists the calls in; a call is asked
// about once; with the option off only notifications count, unless there are none.
#include "guard/GuardFixture.h"

#include "guard/GuardTexts.h"
#include "support/PumpUntil.h"

namespace {

constexpr uint32_t kOpenPort = 0, kConnectDevice = 2, kAuthenticate = 5;
constexpr uint32_t kConnected = TRasSimulator::kStateConnected;

class ConnectionLook : public GuardFixture {
protected:
    // The hang-ups the guard asked RAS for, in order.
    std::vector<std::string> HangUps() const
    {
        std::vector<std::string> hangUps;
        for (const std::string& call : Ras.Calls())
            if (call.rfind("RasHangUp ", 0) == 0) hangUps.push_back(call);
        return hangUps;
    }
    static std::string HangUp(THRasConn handle) { return "RasHangUp " + std::to_string(handle); }
    THRasConn Dial(const std::string& entry, const std::string& own, const std::string& live,
                   uint32_t state)
    {
        Ras.AddEntry(entry, own);
        return Ras.AddDiallingConnection(entry, live, state);
    }
    void Look() { PassTime(kLookIntervalMs); }
};

TEST_F(ConnectionLook, OnlyTheForbiddenCallIsHungUpByItsHandleWhileItIsDialled)
{
    Allow({"100"});
    SetOption(SKeyAutoDeleteDialUp, false);
    SetOption(SKeyAutoDeleteDialers, false);
    Ras.ListNewestFirst(true);
    Connect({{"isp", "100", "", "100"}});
    Start();
    PassTime(kStartupIntervalMs);
    ASSERT_TRUE(Form->LookTimerEnabled());

    const THRasConn premium = Dial("premium", "0700111", "0700111", kConnectDevice);
    Dial("work", "", "0100", kAuthenticate);
    // Its port is being opened and its entry has no number: nothing to judge it by yet.
    const THRasConn early = Dial("early", "", "0700222", kOpenPort);
    // It reports no number yet, and its entry's allowed one may not be what it dials.
    const THRasConn masked = Dial("masked", "100", "", kConnectDevice);
    Ras.ClearCalls();
    Look();
    EXPECT_EQ(HangUps(), std::vector<std::string>{HangUp(premium)});
    // The hang-up's notification runs the cycle, which leaves the calls already judged alone.
    ASSERT_TRUE(PumpUntil(Ui, [&] { return GuardUi.HandOvers() >= 1; }));

    Ras.SetConnectionState(early, kConnectDevice, "0700222");
    Ras.SetConnectionState(masked, kAuthenticate, "0700333");
    Look();
    EXPECT_EQ(HangUps(),
              (std::vector<std::string>{HangUp(premium), HangUp(masked), HangUp(early)}));
    EXPECT_EQ(View.ReportTexts(),
              (std::vector<std::string>{
                      Format(GuardText(TGuardText::ReportHungUpWhileDialling, TLanguage::Polish),
                             "0700111"),
                      Format(GuardText(TGuardText::ReportHungUpWhileDialling, TLanguage::Polish),
                             "0700333"),
                      Format(GuardText(TGuardText::ReportHungUpWhileDialling, TLanguage::Polish),
                             "0700222")}));
    EXPECT_EQ(ConnectedEntries(), (std::vector<std::string>{"isp", "work"}));
}

TEST_F(ConnectionLook, TheOptionAndTheNotificationsDecideWhoEndsTheCall)
{
    const std::string deleted = Format(GuardText(TGuardText::ReportEntryDeleted, TLanguage::Polish),
                                       "premium", "0700111");
    const struct {
        const char* Name;
        bool Protection, Option, Notifications;
        bool Looks;  // the look runs at all
        std::vector<std::string> Report;
        std::vector<std::string> LeftUp;
    } cases[] = {
            {"option on",
             true,
             true,
             true,
             true,
             {Format(GuardText(TGuardText::ReportHungUpWhileDialling, TLanguage::Polish),
                     "0700111"),
              deleted},
             {}},
            // As before the look: the call is ended once it is answered and RAS says so.
            {"option off",
             true,
             false,
             true,
             false,
             {Format(GuardText(TGuardText::ReportHungUp, TLanguage::Polish), "0700111"), deleted},
             {}},
            // Nothing else would ever check: the look does, and runs the cycle on a change.
            {"no notifications",
             true,
             false,
             false,
             true,
             {Format(GuardText(TGuardText::ReportHungUpWhileDialling, TLanguage::Polish),
                     "0700111"),
              deleted},
             {}},
            {"no notifications, no protection", false, true, false, true, {deleted}, {"premium"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto t = std::make_unique<TGuardWorld>();
        t->Allow({"100"});
        t->SetOption(SKeyCheckAllowedNumbers, c.Protection);
        t->SetOption(SKeyCheckWhileDialling, c.Option);
        t->SetOption(SKeyAutoDeleteDialers, false);
        if (!c.Notifications)
            t->Ras.FailOperation("RasConnectionNotification", kRasErrorCallNotImplemented);
        t->Start();
        t->PassTime(kStartupIntervalMs);
        EXPECT_EQ(t->Form->LookTimerEnabled(), c.Looks);

        t->Ras.AddEntry("premium", "0700111");
        const THRasConn call = t->Ras.AddDiallingConnection("premium", "0700111", kConnectDevice);
        t->PassTime(kLookIntervalMs);
        if (!c.Looks || !c.Notifications) {
            // Still dialled: only its answer, and RAS's notification of it, can end it.
            EXPECT_EQ(t->ConnectedEntries().size(), c.Looks ? c.LeftUp.size() : 1u);
            t->Ras.SetConnectionState(call, kConnected, "0700111");
        }
        EXPECT_TRUE(PumpUntil(t->Ui, [&] { return t->View.Report.size() >= c.Report.size(); }));
        EXPECT_EQ(t->View.ReportTexts(), c.Report);
        EXPECT_EQ(t->ConnectedEntries(), c.LeftUp);
    }
}

TEST_F(ConnectionLook, ACallIsAskedAboutOnceAndTheQuestionSeesItsAnswer)
{
    Allow({"100"});
    SetOption(SKeyAskBeforeDeleteDialUp, true);
    SetOption(SKeyAutoDeleteDialUp, false);
    SetOption(SKeyAutoDeleteDialers, false);
    Start();
    PassTime(kStartupIntervalMs);

    // Kept: neither the next looks nor the cycle of its answer ask again; the user's command does.
    const THRasConn kept = Dial("kept", "0700111", "0700111", kConnectDevice);
    Dialogs.Answers = {false};
    Look();
    Look();
    Ras.SetConnectionState(kept, kConnected, "0700111");
    ASSERT_TRUE(PumpUntil(Ui, [&] { return GuardUi.HandOvers() >= 1; }));
    Look();
    EXPECT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(View.ReportTexts(),
              std::vector<std::string>{
                      Format(GuardText(TGuardText::ReportConnectionKept, TLanguage::Polish), "kept",
                             "0700111")});
    Form->MenuClick(TMenuItem::DisconnectUnknownConnection);
    ASSERT_EQ(Dialogs.Asked.size(), 2u);
    EXPECT_TRUE(ConnectedEntries().empty());
    // The hang-up's notification has run its cycle: what follows is the look's alone.
    ASSERT_TRUE(PumpUntil(Ui, [&] { return GuardUi.HandOvers() >= 2; }));

    // Answered while the question was open: the report does not say it was ended in time.
    View.Report.clear();
    const THRasConn late = Dial("late", "0700222", "0700222", kConnectDevice);
    Dialogs.While = [&] { Ras.SetConnectionState(late, kConnected, "0700222"); };
    Dialogs.Answers.clear();
    Look();
    EXPECT_EQ(View.ReportTexts(),
              std::vector<std::string>{
                      Format(GuardText(TGuardText::ReportHungUp, TLanguage::Polish), "0700222")});
}

}  // namespace
