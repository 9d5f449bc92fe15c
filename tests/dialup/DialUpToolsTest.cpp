#include "dialup/DialUpTools.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/Errors.h"
#include "common/StrUtils.h"
#include "platform/Threads.h"
#include "platform/posix/QueueUiThread.h"
#include "support/FakeClock.h"
#include "support/MemoryRegistry.h"
#include "support/PumpUntil.h"
#include "support/RasSimulator.h"

namespace {

using TStrings = std::vector<std::string>;

class DialUpTest : public ::testing::Test {
protected:
    DialUpTest()
    {
        FDialUp = std::make_unique<TDialUp>(Ras, Ui, Clock, nullptr, false);
        FDialUp->OnLog = [this](const std::string& text) { Log.push_back(text); };
    }
    TDialUp& D() { return *FDialUp; }

    TRasSimulator Ras;
    // Timers run on real time: the dial callback's reports come in through one.
    TQueueUiThread Ui{SystemClock()};
    // The waits of TDialUp itself run on a clock of the test's own.
    TFakeClock Clock;
    TStrings Log;
    TStrings Events;
    std::unique_ptr<TDialUp> FDialUp;
};

TEST_F(DialUpTest, GetEntriesListsThePhonebookAndRaisesOnEntryGet)
{
    Ras.AddEntry("Praca", "0202122");
    Ras.AddEntry("Dom", "0209999");
    D().OnEntryGet = [this](TDialUp* sender, TEntryNameField& name) {
        EXPECT_EQ(&D(), sender);
        Events.push_back(name);
    };
    EXPECT_EQ(0, D().GetEntries());
    EXPECT_EQ(TStrings({"Praca", "Dom"}), D().Entries());
    EXPECT_EQ(TStrings({"Praca", "Dom"}), Events);
}

TEST_F(DialUpTest, EntryEnumerationBeyondItsHundredRecords)
{
    // count of entries -> result, names listed
    struct TCase {
        int entries;
        uint32_t overstated;
        int32_t result;
        size_t listed;
    };
    for (TCase c :
         {TCase{0, 0, 0, 0}, TCase{100, 0, 0, 100}, TCase{101, 0, 603, 0}, TCase{3, 500, 0, 100}}) {
        SCOPED_TRACE(c.entries);
        TRasSimulator ras;
        for (int i = 0; i < c.entries; ++i) ras.AddEntry("E" + std::to_string(i), "1");
        ras.OverstateCounts(c.overstated);
        TDialUp dialUp(ras, Ui, Clock, nullptr, false);
        EXPECT_EQ(c.result, dialUp.GetEntries());
        EXPECT_EQ(c.listed, dialUp.Entries().size());
        // A failure leaves no stale names from an earlier listing.
        if (c.result != 0) ras.FailOperation("RasEnumEntries", 603);
        EXPECT_EQ(c.result, dialUp.GetEntries());
        EXPECT_EQ(c.listed, dialUp.Entries().size());
    }
}

TEST_F(DialUpTest, NamesThatFillTheirWholeFieldAreReadNoFurther)
{
    const std::string longName(300, 'x');
    Ras.AddEntry(longName, "1");
    THRasConn h = Ras.AddConnection(longName, std::string(200, '7'), std::string(40, 't'),
                                    std::string(200, 'n'));
    std::string type, device, entryField;
    D().OnActiveConnection = [&](TDialUp*, THRasConn, TRasConnStatusA&, const std::string&,
                                 TEntryNameField& entry, TDeviceTypeField& t, TDeviceNameField& n) {
        entryField = entry;
        type = t;
        device = n;
    };
    ASSERT_EQ(0, D().GetEntries());
    EXPECT_EQ(std::string(257, 'x'), D().Entries().at(0));
    ASSERT_EQ(0, D().GetConnections());
    EXPECT_EQ(std::string(257, 'x'), D().Connections().at(0));
    EXPECT_EQ(std::string(256, 'x'), entryField);  // the event's field keeps its NUL
    EXPECT_EQ(std::string(16, 't'), type);
    EXPECT_EQ(std::string(128, 'n'), device);
    std::string number;
    EXPECT_EQ(0, D().GetConnectedNumber(number, 0));
    EXPECT_EQ(std::string(129, '7'), number);
    (void)h;
}

TEST_F(DialUpTest, GetConnectionsReportsEachConnectionAndLogsFromOne)
{
    THRasConn first = Ras.AddConnection("Praca", "0202122", "modem", "Modem 1");
    Ras.AddConnection("Dialer", "0700123456", "isdn", "ISDN 2");
    struct TSeenConnection {
        THRasConn handle;
        uint32_t state;
        std::string status, entry, type, name;
    };
    std::vector<TSeenConnection> seen;
    D().OnActiveConnection = [&](TDialUp*, THRasConn handle, TRasConnStatusA& status,
                                 const std::string& text, TEntryNameField& entry,
                                 TDeviceTypeField& type, TDeviceNameField& name) {
        EXPECT_EQ(160u, status.dwSize);
        seen.push_back({handle, status.rasconnstate, text, entry, type, name});
    };
    EXPECT_EQ(0, D().GetConnections());
    EXPECT_TRUE(D().Connected());
    EXPECT_EQ(TStrings({"Praca", "Dialer"}), D().Connections());
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(first, seen[0].handle);
    EXPECT_EQ(8192u, seen[0].state);
    EXPECT_EQ("Connected", seen[0].status);
    EXPECT_EQ("Dialer", seen[1].entry);
    EXPECT_EQ("isdn", seen[1].type);
    EXPECT_EQ("ISDN 2", seen[1].name);
    EXPECT_EQ(
            TStrings({
                    "[TDialUp.GetConnections] Connection 1: Entry = \"Praca\". FOUND Active Phone "
                    "Number = \"0202122\"!!!",
                    "[TDialUp.GetConnections] Connection 1: Entry = \"Praca\", DeviceType = "
                    "\"modem\", DeviceName = \"Modem 1\"",
                    "[TDialUp.GetConnections] Connection 2: Entry = \"Dialer\". FOUND Active Phone "
                    "Number = \"0700123456\"!!!",
                    "[TDialUp.GetConnections] Connection 2: Entry = \"Dialer\", DeviceType = "
                    "\"isdn\", DeviceName = \"ISDN 2\"",
            }),
            Log);
}

TEST_F(DialUpTest, FailedStatusQueriesFallBackWithoutBorrowingAnotherConnectionsState)
{
    Ras.AddConnection("Praca", "1", "modem", "Modem 1");
    THRasConn basicOnly = Ras.AddConnection("Dom", "2", "modem", "Modem 2");
    THRasConn none = Ras.AddConnection("Obcy", "3", "modem", "Modem 3");
    Ras.FailStatus(basicOnly, 632, true);
    Ras.FailStatus(none, 6, false);
    TStrings devices;
    D().OnActiveConnection = [&](TDialUp*, THRasConn, TRasConnStatusA& status,
                                 const std::string& text, TEntryNameField&, TDeviceTypeField&,
                                 TDeviceNameField&) {
        devices.push_back(FieldText(status.szDeviceName, sizeof status.szDeviceName) + "/" + text);
        EXPECT_EQ(160u, status.dwSize);
    };
    EXPECT_EQ(0, D().GetConnections());
    EXPECT_EQ(TStrings({"Modem 1/Connected", "Modem 2/Connected", "/Opening port"}), devices);
    EXPECT_EQ(4u, Log.size());  // no FOUND line for the two failed extended queries
}

TEST_F(DialUpTest, ListingFailuresAndEmptyListsClearConnected)
{
    Ras.AddConnection("Praca", "1");
    ASSERT_EQ(0, D().GetConnections());
    ASSERT_TRUE(D().Connected());
    for (int i = 0; i < 100; ++i) Ras.AddConnection("E" + std::to_string(i), "1");
    EXPECT_EQ(603, D().GetConnections());  // 101 connections do not fit
    EXPECT_FALSE(D().Connected());
    EXPECT_TRUE(D().Connections().empty());

    TRasSimulator empty;
    TDialUp dialUp(empty, Ui, Clock, nullptr, false);
    std::string number = "unchanged";
    EXPECT_EQ(0, dialUp.GetConnections());
    EXPECT_FALSE(dialUp.Connected());
    for (int index : {-1, 0, 1}) {
        EXPECT_EQ(-1, dialUp.GetConnectedNumber(number, index));
        EXPECT_EQ(-1, dialUp.HangUpConnection(index));
    }
    EXPECT_EQ("unchanged", number);
}

TEST_F(DialUpTest, GetConnectedNumberByIndex)
{
    Ras.AddConnection("Praca", "0202122");
    THRasConn dialer = Ras.AddConnection("Dialer", "");
    std::string number = "unchanged";
    EXPECT_EQ(-1, D().GetConnectedNumber(number, 2));  // index equal to the count
    EXPECT_EQ("unchanged", number);
    EXPECT_EQ(0, D().GetConnectedNumber(number, 0));
    EXPECT_EQ("0202122", number);
    EXPECT_EQ(-1, D().GetConnectedNumber(number, 1));  // live connection reports no number
    EXPECT_EQ("", number);
    Ras.FailStatus(dialer, 6, false);
    number = "x";
    EXPECT_EQ(-1, D().GetConnectedNumber(number, 1));
    EXPECT_EQ("", number);
    Ras.FailOperation("RasEnumConnections", 610);
    number = "unchanged";
    EXPECT_EQ(610, D().GetConnectedNumber(number, 0));
    EXPECT_EQ("unchanged", number);
    EXPECT_EQ(
            TStrings({
                    "[TDialUp.GetConnectedNumber] Connection 0: Entry = \"Praca\". FOUND2 Active "
                    "Phone Number = \"0202122\"!",
                    "[TDialUp.GetConnectedNumber] Connection 1: Entry = \"Dialer\". FOUND2 Active "
                    "Phone Number = \"\"!",
                    "[TDialUp.GetConnectedNumber] Connection 1: Entry = \"Dialer\". "
                    "RasGetConnectStatus FAILED!",
            }),
            Log);
}

TEST_F(DialUpTest, EntryNumbers)
{
    Ras.AddEntry("Praca", "0202122", "0209999");
    Ras.AddEntry("Dom", "", "");
    struct TCase {
        const char* entry;
        int32_t overriding;
        const char* overridingNumber;
        int32_t own;
        const char* ownNumber;
    };
    for (TCase c : {TCase{"Praca", 0, "0209999", 0, "0202122"}, TCase{"Dom", -1, "", -1, ""},
                    TCase{"Nieznany", 623, "", 623, ""}}) {
        SCOPED_TRACE(c.entry);
        D().SetEntry(c.entry);
        std::string number = "old";
        EXPECT_EQ(c.overriding, D().GetEntryOverridingPhoneNumber(number));
        EXPECT_EQ(c.overridingNumber, number);
        number = "old";
        EXPECT_EQ(c.own, D().GetEntryPhoneNumber(number));
        EXPECT_EQ(c.ownNumber, number);
    }
    EXPECT_EQ(TStrings({
                      "[TDialUp.GetEntryOverridingPhoneNumber] Entry \"Praca\" PhoneNumber = "
                      "\"0209999\"",
                      "[TDialUp.GetEntryPhoneNumber] Entry \"Praca\" PhoneNumber = \"0202122\"",
                      "[TDialUp.GetEntryOverridingPhoneNumber] Entry \"Dom\" PhoneNumber = \"\"",
                      "[TDialUp.GetEntryPhoneNumber] Entry \"Dom\" PhoneNumber = \"\"",
              }),
              Log);
}

TEST_F(DialUpTest, EntryNamesNoPhonebookEntryCanCarryNeverReachRas)
{
    Ras.AddEntry("Praca", "1", "1");
    for (const std::string& entry : {std::string("Praca\0Obcy", 10), std::string(257, 'P')}) {
        D().SetEntry(entry);
        std::string number;
        EXPECT_EQ(623, D().DeleteEntry());
        EXPECT_EQ(623, D().GetEntryPhoneNumber(number));
        EXPECT_EQ(623, D().GetEntryOverridingPhoneNumber(number));
    }
    EXPECT_TRUE(Ras.HasEntry("Praca"));
    EXPECT_TRUE(Ras.Calls().empty());
}

TEST_F(DialUpTest, DeleteEntry)
{
    Ras.AddEntry("Praca", "1");
    D().SetEntry("Praca");
    EXPECT_EQ(0, D().DeleteEntry());
    EXPECT_FALSE(Ras.HasEntry("Praca"));
    EXPECT_EQ(623, D().DeleteEntry());
}

TEST_F(DialUpTest, HangingUpTheOnlyConnectionClearsConnected)
{
    for (int connections : {1, 2}) {
        SCOPED_TRACE(connections);
        TRasSimulator ras;
        TDialUp dialUp(ras, Ui, Clock, nullptr, false);
        std::vector<THRasConn> handles;
        for (int i = 0; i < connections; ++i) handles.push_back(ras.AddConnection("E", "1"));
        ASSERT_EQ(0, dialUp.GetConnections());
        EXPECT_EQ(-1, dialUp.HangUpConnection(connections));
        EXPECT_EQ(0, dialUp.HangUpConnection(connections - 1));
        EXPECT_EQ(connections == 2, dialUp.Connected());
        EXPECT_EQ(static_cast<size_t>(connections - 1), ras.Connections().size());
    }
}

TEST_F(DialUpTest, HangUpWaitsForTheConnectionToGoWhileProcessingMessages)
{
    Ras.AddEntry("Praca", "0202122");
    D().SetEntry("Praca");
    D().SetDialMode(dmSync);
    Ras.SetHangUpPolls(5);
    ASSERT_EQ(0, D().Dial(""));
    ASSERT_TRUE(D().Connected());
    // A tick that falls due meanwhile runs while the connection goes.
    int ticks = 0;
    auto timer = Ui.CreateTimer([&] { ++ticks; });
    timer->Start(0);
    EXPECT_EQ(0, D().HangUp());
    EXPECT_FALSE(D().Connected());
    EXPECT_GT(ticks, 0);
    // The handle is spent: a second hang-up does not touch it again.
    Ras.ClearCalls();
    D().HangUp();
    EXPECT_EQ(TStrings({"RasHangUp 0"}), Ras.Calls());
}

TEST_F(DialUpTest, HangUpGivesUpOnAConnectionThatNeverGoes)
{
    Ras.AddEntry("Praca", "0202122");
    D().SetEntry("Praca");
    D().SetDialMode(dmSync);
    Ras.SetHangUpPolls(TRasSimulator::kNeverGoes);
    ASSERT_EQ(0, D().Dial(""));
    const uint32_t start = Clock.TickCount();
    EXPECT_EQ(0, D().HangUp());
    EXPECT_EQ(kHangUpWaitLimitMs,
              Clock.TickCount() - start);  // measured across the tick-count wrap
    ASSERT_FALSE(Log.empty());
    EXPECT_NE(std::string::npos, Log.back().find("[TDialUp.HangUpHandle]"));
}

TEST_F(DialUpTest, SynchronousDial)
{
    Ras.AddEntry("Praca", "0202122", "0209999");
    D().SetEntry("Praca");
    D().SetDialMode(dmSync);
    D().OnDialing = [this](TDialUp*) { Events.push_back("dialing"); };
    D().OnConnect = [this](TDialUp*) { Events.push_back("connect"); };
    D().OnNotConnected = [this](TDialUp*, int32_t code, const std::string& text) {
        Events.push_back("not connected " + std::to_string(code) + " " + text);
    };
    D().OnError = [this](TDialUp*, int32_t code, const std::string& text) {
        Events.push_back("error " + std::to_string(code) + " " + text);
    };

    EXPECT_EQ(0, D().Dial(""));  // stored dial parameters
    EXPECT_TRUE(D().Connected());
    EXPECT_EQ("0209999", Ras.Connections().at(0).Number);
    EXPECT_EQ(0, D().Dial(" \t0301234\r\n"));  // hangs the first up, dials the trimmed number
    ASSERT_EQ(1u, Ras.Connections().size());
    EXPECT_EQ("0301234", Ras.Connections().at(0).Number);

    Ras.SetDialResult(680);
    Ras.ClearCalls();
    EXPECT_EQ(680, D().Dial(""));
    EXPECT_FALSE(D().Connected());
    // The failed attempt's handle is hung up.
    const TStrings calls = Ras.Calls();
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "RasHangUp " + std::to_string(0x1002)));

    D().SetEntry("Nieznany");
    EXPECT_EQ(623, D().Dial(""));
    D().SetEntry("Praca");
    EXPECT_EQ(87, D().Dial(std::string(129, '1')));  // would not fit: not dialled cut short
    EXPECT_EQ(TStrings({"dialing", "connect", "dialing", "connect", "dialing",
                        "not connected 680 There is no dial tone.",
                        "error 623 GetEntryDialParams failed",
                        "error 87 The parameter is incorrect."}),
              Events);
}

TEST_F(DialUpTest, SetConnectedDialsOrHangsUpOnlyOnAChange)
{
    Ras.AddEntry("Praca", "0202122");
    D().SetEntry("Praca");
    D().SetDialMode(dmSync);
    D().SetConnected(true);
    EXPECT_TRUE(D().Connected());
    Ras.ClearCalls();
    D().SetConnected(true);
    EXPECT_TRUE(Ras.Calls().empty());
    D().SetConnected(false);
    EXPECT_FALSE(D().Connected());
    EXPECT_TRUE(Ras.Connections().empty());
}

TEST_F(DialUpTest, AsynchronousDialDeliversReportsInOrderOnTheInterfaceThread)
{
    Ras.AddEntry("Praca", "0202122");
    Ras.SetAsyncStates({0, 1, 14, 8192});
    D().SetEntry("Praca");
    const TThreadId uiThread = CurrentThreadId();
    D().OnAsyncEvent = [&](TDialUp*, int32_t state, int32_t error, const std::string& text) {
        EXPECT_EQ(uiThread, CurrentThreadId());
        Events.push_back(std::to_string(state) + "/" + std::to_string(error) + " " + text);
    };
    EXPECT_EQ(0, D().Dial(""));
    EXPECT_EQ(&D(), TDialUp::ActiveDialUp());
    EXPECT_FALSE(D().Connected());  // an asynchronous dial leaves Connected alone
    EXPECT_TRUE(PumpUntil(Ui, [&] { return Events.size() == 4; }));
    EXPECT_EQ(TStrings({"0/0 Opening port", "1/0 Port opened", "14/0 Authenticated",
                        "8192/0 Connected"}),
              Events);
    Ras.WaitForAsyncDials();

    Events.clear();
    Ras.SetDialResult(680);
    Ras.SetAsyncStates({0, 2});
    EXPECT_EQ(0, D().Dial(""));
    EXPECT_TRUE(PumpUntil(Ui, [&] { return Events.size() == 2; }));
    EXPECT_EQ("2/680 There is no dial tone.", Events.back());
}

TEST_F(DialUpTest, AsynchronousDialThatFailsAtOnceRaisesOnError)
{
    Ras.AddEntry("Praca", "0202122");
    Ras.FailOperation("RasDial", 633);
    Ras.SetErrorText(633, "The port is already in use.");
    D().SetEntry("Praca");
    D().OnError = [this](TDialUp*, int32_t code, const std::string& text) {
        Events.push_back(std::to_string(code) + " " + text);
    };
    EXPECT_EQ(633, D().Dial(""));
    EXPECT_EQ(TStrings({"633 The port is already in use."}), Events);
}

TEST_F(DialUpTest, AHandlerThatRaisesDoesNotBlockLaterReports)
{
    Ras.AddEntry("Praca", "0202122");
    Ras.SetAsyncStates({0, 1});
    D().SetEntry("Praca");
    int calls = 0;
    D().OnAsyncEvent = [&](TDialUp*, int32_t, int32_t, const std::string&) {
        if (++calls == 1) throw Exception("handler failed");
    };
    D().Dial("");
    // The handler's exception leaves through the pump that ran it.
    EXPECT_THROW(PumpUntil(Ui, [&] { return calls == 1; }), Exception);
    EXPECT_TRUE(PumpUntil(Ui, [&] { return calls == 2; }));
}

TEST_F(DialUpTest, ReportsArrivingAfterTheComponentIsGoneAreIgnored)
{
    Ras.AddEntry("Praca", "0202122");
    Ras.HoldAsyncDials();
    D().SetEntry("Praca");
    bool raised = false;
    D().OnAsyncEvent = [&](TDialUp*, int32_t, int32_t, const std::string&) { raised = true; };
    D().Dial("");
    FDialUp.reset();
    EXPECT_EQ(nullptr, TDialUp::ActiveDialUp());
    Ras.ReleaseAsyncDials();
    Ras.WaitForAsyncDials();  // the callbacks return rather than wait for a slot forever
    Ui.ProcessMessages();
    EXPECT_FALSE(raised);
}

TEST_F(DialUpTest, StateTexts)
{
    const std::pair<int32_t, const char*> table[] = {{0, "Opening port"},
                                                     {9, "Authentication: change password"},
                                                     {23, "Sub Entry Disconnected"},
                                                     {24, ""},
                                                     {4095, ""},
                                                     {4096, "Interactive"},
                                                     {4100, "Invoke EapUI"},
                                                     {4101, ""},
                                                     {8192, "Connected"},
                                                     {8193, "Disconnected"},
                                                     {-1, ""}};
    for (const auto& row : table) EXPECT_EQ(row.second, D().GetStateText(row.first, 0));
    EXPECT_EQ("There is no dial tone.", D().GetStateText(8192, 680));
    Ras.SetErrorText(700, std::string(150, 'e'));
    EXPECT_EQ(std::string(99, 'e'), D().GetStateText(0, 700));  // stated size 100, NUL included
}

TEST_F(DialUpTest, DialUpAdaptersFromTheWindows95Registry)
{
    const std::string enumKey = "System\\CurrentControlSet\\Control\\PerfStats\\Enum";
    const std::string statKey = "PerfStats\\StartStat";
    const std::string longName(33, 'L');
    TMemoryRegistry registry;
    for (const std::string& adapter :
         TStrings{"Dial-Up Adapter #2", "dial-up adapter", "KERNEL", longName})
        registry.CreateKey(TRegRoot::LocalMachine, enumKey + "\\" + adapter);
    for (const std::string& statistic :
         TStrings{"Dial-Up Adapter #2\\ConnectSpeed", "dial-up adapter\\ConnectSpeed",
                  "KERNEL\\CPUUsage", longName + "\\ConnectSpeed"})
        registry.SetValue(TRegRoot::DynData, statKey, statistic, TRegValue::Dword(0));
    TDialUp win95(Ras, Ui, Clock, &registry, true);
    EXPECT_EQ(TStrings({"dial-up adapter", "Dial-Up Adapter #2"}), win95.DUNA());
    EXPECT_TRUE(win95.GetDUNA());

    // The statistics exist only on the Windows 95 family; elsewhere they are not looked for.
    TDialUp nt(Ras, Ui, Clock, &registry, false);
    EXPECT_FALSE(nt.GetDUNA());
    EXPECT_TRUE(nt.DUNA().empty());

    TMemoryRegistry noStats;
    noStats.CreateKey(TRegRoot::LocalMachine, enumKey + "\\Dial-Up Adapter");
    TDialUp withoutStats(Ras, Ui, Clock, &noStats, true);
    EXPECT_FALSE(withoutStats.GetDUNA());
    EXPECT_TRUE(withoutStats.DUNA().empty());
}

}  // namespace
