// The notification side of the simulator, which the notification thread's tests and the
// guard's tests rely on.
#include "support/RasSimulator.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/FakeEvent.h"

namespace {

void RASAPI_CALL IgnoreProgress(uint32_t, uint32_t, uint32_t) {}

TEST(RasSimulator, SignalsEveryChangeOfTheSetOfConnections)
{
    TRasSimulator ras;
    TFakeEvent all, endedOnly, oneConnection;
    ras.AddEntry("Praca", "0202122");
    EXPECT_EQ(0u, ras.RasConnectionNotification(kAllRasConnections, &all, 15));
    EXPECT_EQ(0u, ras.RasConnectionNotification(kAllRasConnections, &endedOnly, 2));
    EXPECT_NE(0u, ras.RasConnectionNotification(kAllRasConnections, nullptr, 15));

    THRasConn outside = ras.AddConnection("Dialer", "0700");  // created: 1
    EXPECT_EQ(0u, ras.RasConnectionNotification(outside, &oneConnection, 15));
    TRasDialParamsA params{};
    params.dwSize = sizeof params;
    std::strcpy(params.szEntryName, "Praca");
    THRasConn dialled = 0;
    ASSERT_EQ(0u, ras.RasDial(&params, nullptr, &dialled));  // created: 2
    ASSERT_EQ(0u, ras.RasDial(&params, &IgnoreProgress, &dialled));
    ras.WaitForAsyncDials();                // created: 3
    EXPECT_EQ(0u, ras.RasHangUp(dialled));  // ended: 4
    EXPECT_EQ(kRasErrorInvalidHandle, ras.RasHangUp(dialled + 100));
    EXPECT_TRUE(ras.DropConnection(outside));  // ended: 5
    EXPECT_EQ(5, all.Sets.load());
    EXPECT_EQ(2, endedOnly.Sets.load());
    EXPECT_EQ(1, oneConnection.Sets.load());

    ras.ClearNotifications();
    ras.AddConnection("Dialer", "0700");
    EXPECT_EQ(5, all.Sets.load());
}

}  // namespace
