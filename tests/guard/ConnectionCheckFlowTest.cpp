// The road of one event through the guard's connection check, over the subsystems it stands on:
// a dialer connects, RAS signals the registered event, the worker hands the signal to the
// user-interface thread, and a check there finds the connection's number with TDialUp and hangs
// up what the allowed list does not hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialup/DialUpTools.h"
#include "dialup/RasThread.h"
#include "platform/Clock.h"
#include "platform/posix/QueueUiThread.h"
#include "settings/NumberList.h"
#include "support/PumpUntil.h"
#include "support/RasSimulator.h"
#include "support/Watchdog.h"

namespace {

// The number a connection really uses: the live connection's, else the entry's dial
// parameters', else the entry's own.
std::string NumberOf(TDialUp& dialUp, int index)
{
    std::string number;
    dialUp.SetEntry(dialUp.Connections()[index]);
    if (dialUp.GetConnectedNumber(number, index) == 0) return number;
    if (dialUp.GetEntryOverridingPhoneNumber(number) == 0) return number;
    if (dialUp.GetEntryPhoneNumber(number) == 0) return number;
    return "";
}

struct TGuardFixture : ::testing::Test {
    TRasSimulator ras;
    TQueueUiThread ui{SystemClock()};
    TDialUp dialUp{ras, ui, SystemClock(), nullptr, false};
    TNumberList allowed;
    std::vector<std::string> hungUp;

    // One connection check as the guard runs it on every notification.
    void CheckConnections()
    {
        ASSERT_EQ(dialUp.GetConnections(), 0);
        for (int i = static_cast<int>(dialUp.Connections().size()) - 1; i >= 0; --i) {
            std::string number = NumberOf(dialUp, i);
            if (FindAllowedNumber(allowed, number) < 0 && dialUp.HangUpConnection(i) == 0)
                hungUp.push_back(number);
        }
    }
};

TEST_F(TGuardFixture, DialerConnectionIsHungUpAndAllowedOneStays)
{
    TWatchdog watchdog("connection check");
    allowed.Add("221234567");  // the provider, stored without its leading zero
    ras.AddEntry("Provider", "0221234567");
    ras.AddEntry("Hot line", "0700123456", "0700999999");

    TRasConnThread thread(ras, ui, SystemClock());
    ASSERT_EQ(thread.NotifyResult(), 0u);
    int deliveries = 0;
    thread.OnNotify = [&](TRasConnThread& sender) {
        EXPECT_EQ(sender.NotifyCount(), deliveries);  // sees the count before the increment
        ++deliveries;
        CheckConnections();
    };
    thread.Resume();

    ras.AddConnection("Provider", "0221234567");
    ASSERT_TRUE(PumpUntil(ui, [&] { return deliveries >= 1; }));
    EXPECT_TRUE(hungUp.empty()) << "the allowed number matches with one leading zero dropped";

    // The dialer's connection reports no number of its own, so its dial parameters decide.
    ras.AddConnection("Hot line", "");
    ASSERT_TRUE(PumpUntil(ui, [&] { return hungUp.size() == 1; }));
    EXPECT_EQ(hungUp[0], "0700999999");

    // Hanging up changed the set of connections again: that notification finds nothing to do.
    ASSERT_TRUE(PumpUntil(ui, [&] { return ras.Connections().size() == 1; }));
    EXPECT_EQ(ras.Connections()[0].Entry, "Provider");

    thread.OnNotify = nullptr;
    ras.ClearNotifications();
}

}  // namespace
