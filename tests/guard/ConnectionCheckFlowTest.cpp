// The road of one event through the guard: a dialer connects, RAS signals the event that the
// guard's notification thread registered, the worker hands the signal to the user-interface
// thread, and the guard's check there finds the connection's number and hangs up what the
// allowed list does not hold.
#include "guard/GuardFixture.h"

#include "guard/GuardTexts.h"
#include "support/PumpUntil.h"

namespace {

using ConnectionCheckFlow = GuardFixture;

TEST_F(ConnectionCheckFlow, DialerConnectionIsHungUpAndAllowedOneStays)
{
    Allow({"221234567"});                    // the provider, stored without its leading zero
    SetOption(SKeyAutoDeleteDialUp, false);  // the dialer's entry stays for its dial parameters
    Ras.AddEntry("Provider", "0221234567");
    Ras.AddEntry("Hot line", "0700123456", "0700999999");
    Start();

    Ras.AddConnection("Provider", "0221234567");
    ASSERT_TRUE(PumpUntil(Ui, [&] { return GuardUi.HandOvers() >= 1; }));
    EXPECT_TRUE(View.Report.empty()) << "the allowed number matches with one leading zero dropped";

    // The dialer's connection reports no number of its own, so its dial parameters decide.
    const THRasConn dialer = Ras.AddConnection("Hot line", "");
    Ras.FailStatus(dialer, 6, true);
    ASSERT_TRUE(PumpUntil(Ui, [&] { return !View.Report.empty(); }));
    EXPECT_EQ(View.ReportTexts(),
              std::vector<std::string>{Format(
                      GuardText(TGuardText::ReportHungUp, TLanguage::Polish), "0700999999")});
    EXPECT_EQ(ConnectedEntries(), std::vector<std::string>{"Provider"});
    EXPECT_EQ(View.Panels[0], "Połączony z numerem \"0221234567\"");
}

}  // namespace
