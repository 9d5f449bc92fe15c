// The stand-in rasapi32.dll under Wine, preferred over Wine's own by the DLL override the test
// runs with, and the tools around it (rasctl, the sample dialer and its packed copy) beside this
// program. The phonebook and the connections live in a fresh folder of this run; rasctl, a
// second process, sees and changes the same ones.
#include <windows.h>

#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "common/StrUtils.h"
#include "dialup/DialUpTools.h"
#include "dialup/RasLibraryApi.h"
#include "dialup/RasThread.h"
#include "platform/win32/UiThreadWin32.h"
#include "support/PumpUntil.h"
#include "support/TempFolder.h"
#include "support/Watchdog.h"
#include "tools/ras-standin/RasExports.h"

namespace {

const DWORD kSignalLimitMs = 20000;

// Set before the first RAS call, so that this process and every program it starts share it.
class TStateFolder : public ::testing::Environment {
public:
    void SetUp() override { SetEnvironmentVariableA("RASSTANDIN_DIR", Folder.Folder().c_str()); }
    TTempFolder Folder;
};
TStateFolder* const gState =
        static_cast<TStateFolder*>(::testing::AddGlobalTestEnvironment(new TStateFolder));

std::string Beside(const std::string& name)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, n);
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

struct TRun {
    DWORD Exit = 0xFFFFFFFF;
    std::string Output;
};

// Runs a program beside this one to its end, with its output.
TRun RunBeside(const std::string& program, const std::string& arguments)
{
    TRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) return run;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + Beside(program) + "\" " + arguments;
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(write);
    if (started) {
        char buffer[4096];
        DWORD got;
        while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
            run.Output.append(buffer, got);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &run.Exit);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(read);
    return run;
}

TRun RasCtl(const std::string& arguments)
{
    return RunBeside("rasctl.exe", arguments);
}

// The handle rasctl dial printed.
THRasConn DialedHandle(const TRun& run)
{
    size_t tab = run.Output.find('\t');
    return tab == std::string::npos ? 0
                                    : static_cast<THRasConn>(std::strtoul(
                                              run.Output.c_str() + tab + 1, nullptr, 10));
}

std::vector<TRasConnA> Connections(uint32_t& result)
{
    std::vector<TRasConnA> list(kRasEnumCapacity);
    list[0].dwSize = sizeof(TRasConnA);
    uint32_t bytes = kRasEnumCapacity * sizeof(TRasConnA), count = 0;
    result = SystemRasApi().RasEnumConnections(list.data(), &bytes, &count);
    list.resize(result == 0 ? count : 0);
    return list;
}

std::string ConnectedNumber(THRasConn handle, uint32_t& result)
{
    TRasConnStatusExA status{};
    status.dwSize = sizeof status;
    result =
            SystemRasApi().RasGetConnectStatus(handle, reinterpret_cast<TRasConnStatusA*>(&status));
    return FieldText(status.szPhoneNumber, sizeof status.szPhoneNumber);
}

uint32_t AddEntry(const std::string& name, const std::string& number)
{
    TRasEntryA entry{};
    entry.dwSize = sizeof entry;
    SetFieldText(entry.szLocalPhoneNumber, sizeof entry.szLocalPhoneNumber, number);
    return RAS_EXPORT(RasSetEntryPropertiesA)(nullptr, name.c_str(), &entry, sizeof entry, nullptr,
                                              0);
}

uint32_t Dial(const std::string& entry, const std::string& number, THRasConn& handle,
              TRasDialFunc notifier = nullptr)
{
    TRasDialParamsA params{};
    params.dwSize = sizeof params;
    SetFieldText(params.szEntryName, sizeof params.szEntryName, entry);
    SetFieldText(params.szPhoneNumber, sizeof params.szPhoneNumber, number);
    return SystemRasApi().RasDial(&params, notifier, &handle);
}

bool Signalled(HANDLE event, DWORD limitMs)
{
    return WaitForSingleObject(event, limitMs) == WAIT_OBJECT_0;
}

class RasStandin : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto reset = RAS_EXPORT(RasStandinReset);
        ASSERT_NE(reset, nullptr) << "rasapi32.dll is not the stand-in: is the override set?";
        ASSERT_EQ(reset(), 0u);
    }
};

TEST_F(RasStandin, TwoProcessesShareThePhonebookAndTheConnections)
{
    ASSERT_EQ(AddEntry("Praca", "0221234567"), 0u);
    ASSERT_EQ(RasCtl("add \"Darmowy Internet\" 0700123456").Exit, 0u);
    const std::string entries =
            "entry\tPraca\t0221234567\r\nentry\tDarmowy Internet\t0700123456\r\n";
    EXPECT_EQ(RasCtl("list").Output, entries);

    // rasctl dials the entry's own number; this process dials with a number of its own.
    TRun dialed = RasCtl("dial \"darmowy internet\"");
    ASSERT_EQ(dialed.Exit, 0u) << dialed.Output;
    const THRasConn theirs = DialedHandle(dialed);
    THRasConn ours = 0;
    ASSERT_EQ(Dial("Praca", "0708111222", ours), 0u);
    EXPECT_NE(ours, theirs);

    uint32_t result;
    std::vector<TRasConnA> list = Connections(result);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].hrasconn, theirs);
    EXPECT_EQ(FieldText(list[0].szEntryName, sizeof list[0].szEntryName), "Darmowy Internet");
    EXPECT_EQ(ConnectedNumber(theirs, result), "0700123456");
    EXPECT_EQ(RasCtl("list").Output, entries + "connection\t" + std::to_string(theirs) +
                                             "\tDarmowy Internet\t0700123456\r\n" + "connection\t" +
                                             std::to_string(ours) + "\tPraca\t0708111222\r\n");

    EXPECT_EQ(RasCtl("hangup " + std::to_string(ours)).Exit, 0u);
    EXPECT_EQ(RasCtl("hangup \"Darmowy Internet\"").Exit, 0u);
    EXPECT_TRUE(Connections(result).empty());
    EXPECT_EQ(RasCtl("hangup Praca").Exit, 1u);
    EXPECT_EQ(RasCtl("delete Praca").Exit, 0u);
    EXPECT_EQ(SystemRasApi().RasDeleteEntry("Praca"), 623u);
}

TEST_F(RasStandin, RegisteredEventsAreSignalledWhenAnotherProcessDialsAndHangsUp)
{
    TWatchdog watchdog("notifications");
    ASSERT_EQ(AddEntry("Darmowy Internet", "0700123456"), 0u);
    struct TRow {
        uint32_t Flags;
        bool OnDial, OnHangUp;
    } rows[] = {{1, true, false}, {2, false, true}, {15, true, true}};
    std::vector<HANDLE> events;
    for (const TRow& row : rows) {
        events.push_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        ASSERT_EQ(RAS_EXPORT(RasConnectionNotificationA)(INVALID_HANDLE_VALUE, events.back(),
                                                         row.Flags),
                  0u);
    }
    TRun dialed = RasCtl("dial \"Darmowy Internet\"");
    ASSERT_EQ(dialed.Exit, 0u);
    // A registration for one connection hears of its end only.
    HANDLE one = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(DialedHandle(dialed)));
    ASSERT_EQ(RAS_EXPORT(RasConnectionNotificationA)(handle, one, 2), 0u);

    for (size_t i = 0; i < events.size(); ++i)
        if (rows[i].OnDial) {
            EXPECT_TRUE(Signalled(events[i], kSignalLimitMs)) << rows[i].Flags;
        }
    ASSERT_EQ(RasCtl("hangup \"Darmowy Internet\"").Exit, 0u);
    EXPECT_TRUE(Signalled(one, kSignalLimitMs));
    for (size_t i = 0; i < events.size(); ++i)
        if (rows[i].OnHangUp) {
            EXPECT_TRUE(Signalled(events[i], kSignalLimitMs)) << rows[i].Flags;
        }
    // Nothing else was signalled: each event was waited for exactly as often as it was set.
    for (size_t i = 0; i < events.size(); ++i) EXPECT_FALSE(Signalled(events[i], 200));

    // Dials of several processes at once: none is lost, each gets its own handle, and the
    // event hears of them.
    std::vector<HANDLE> processes;
    for (int i = 0; i < 3; ++i) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string command = "\"" + Beside("rasctl.exe") + "\" dial \"Darmowy Internet\"";
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        CloseHandle(process.hThread);
        processes.push_back(process.hProcess);
    }
    WaitForMultipleObjects(static_cast<DWORD>(processes.size()), processes.data(), TRUE, INFINITE);
    for (HANDLE p : processes) CloseHandle(p);
    EXPECT_TRUE(Signalled(events[0], kSignalLimitMs));
    uint32_t result;
    std::vector<TRasConnA> list = Connections(result);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(list[0].hrasconn != list[1].hrasconn && list[1].hrasconn != list[2].hrasconn &&
                list[0].hrasconn != list[2].hrasconn);
    for (HANDLE e : events) CloseHandle(e);
    CloseHandle(one);
}

TEST_F(RasStandin, AnswersAsRasDoes)
{
    IRasApi& ras = SystemRasApi();
    ASSERT_EQ(AddEntry("A", "1"), 0u);
    ASSERT_EQ(AddEntry("B", "2"), 0u);
    THRasConn a = 0, b = 0;
    ASSERT_EQ(Dial("A", "", a), 0u);
    ASSERT_EQ(Dial("B", "", b), 0u);
    ASSERT_EQ(ras.RasHangUp(b), 0u);

    TRasEntryNameA names[2] = {};
    TRasConnA connections[2] = {};
    TRasConnStatusExA status{};
    TRasDialParamsA params{};
    params.dwSize = sizeof params;
    SetFieldText(params.szEntryName, sizeof params.szEntryName, "C");
    TRasEntryA entry{};
    entry.dwSize = sizeof entry;
    auto* basic = reinterpret_cast<TRasConnStatusA*>(&status);
    uint32_t bytes = 0, count = 0;
    int32_t password = 0;
    THRasConn handle = 0;
    // A size or count of 0 in the table is not checked.
    struct TRow {
        const char* What;
        uint32_t Expected;
        std::function<uint32_t()> Call;
        uint32_t Bytes, Count;
    } rows[] = {
            {"entries, room for one of two", 603,
             [&] {
                 names[0].dwSize = sizeof names[0];
                 bytes = sizeof names[0];
                 return ras.RasEnumEntries(names, &bytes, &count);
             },
             2 * 264, 2},
            {"connections, room for none", 603,
             [&] {
                 connections[0].dwSize = sizeof connections[0];
                 bytes = 0;
                 return ras.RasEnumConnections(connections, &bytes, &count);
             },
             412, 1},
            {"entry properties, short", 603,
             [&] {
                 bytes = 100;
                 return ras.RasGetEntryProperties("A", &entry, &bytes);
             },
             1768, 0},
            {"entries, wrong record size", 632,
             [&] {
                 names[0].dwSize = 100;
                 bytes = sizeof names;
                 return ras.RasEnumEntries(names, &bytes, &count);
             },
             0, 0},
            {"status, wrong record size", 632,
             [&] {
                 status.dwSize = 200;
                 return ras.RasGetConnectStatus(a, basic);
             },
             0, 0},
            {"dial, wrong record size", 632,
             [&] {
                 TRasDialParamsA small = params;
                 small.dwSize = 1000;
                 return ras.RasDial(&small, nullptr, &handle);
             },
             0, 0},
            {"dial parameters, unknown entry", 623,
             [&] { return ras.RasGetEntryDialParams(&params, &password); }, 0, 0},
            {"dial, unknown entry", 623, [&] { return ras.RasDial(&params, nullptr, &handle); }, 0,
             0},
            {"properties, unknown entry", 623,
             [&] {
                 bytes = sizeof entry;
                 return ras.RasGetEntryProperties("C", &entry, &bytes);
             },
             0, 0},
            {"delete, unknown entry", 623, [&] { return ras.RasDeleteEntry("C"); }, 0, 0},
            {"status, hung-up handle", 6,
             [&] {
                 status.dwSize = sizeof status;
                 return ras.RasGetConnectStatus(b, basic);
             },
             0, 0},
            {"hang-up, hung-up handle", 6, [&] { return ras.RasHangUp(b); }, 0, 0},
            {"status, live handle", 0, [&] { return ras.RasGetConnectStatus(a, basic); }, 0, 0},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.What);
        bytes = count = 0;
        EXPECT_EQ(row.Call(), row.Expected);
        if (row.Bytes) {
            EXPECT_EQ(bytes, row.Bytes);
        }
        if (row.Count) {
            EXPECT_EQ(count, row.Count);
        }
    }
    EXPECT_EQ(handle, 0u);  // no dial that failed handed out a handle
    EXPECT_EQ(status.rasconnstate, 0x2000u);
    EXPECT_EQ(FieldText(status.szPhoneNumber, sizeof status.szPhoneNumber), "1");
    char text[101] = {};
    EXPECT_EQ(ras.RasGetErrorString(603, text, 100), 0u);
    EXPECT_STREQ(text, "The buffer is too small.");
}

std::vector<uint32_t> gReportedStates;
std::atomic<DWORD> gReportingThread{0};
HANDLE gConnectedReported = nullptr;

void RASAPI_CALL RecordProgress(uint32_t message, uint32_t state, uint32_t error)
{
    if (message != 0xCCCD || error != 0) return;
    gReportedStates.push_back(state);
    gReportingThread = GetCurrentThreadId();
    if (state == 0x2000) SetEvent(gConnectedReported);
}

TEST_F(RasStandin, AsynchronousDialReportsItsProgressFromAThreadOfTheLibrary)
{
    ASSERT_EQ(AddEntry("Darmowy Internet", "0700123456"), 0u);
    gConnectedReported = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    THRasConn handle = 0;
    ASSERT_EQ(Dial("Darmowy Internet", "", handle, RecordProgress), 0u);
    EXPECT_NE(handle, 0u);
    ASSERT_TRUE(Signalled(gConnectedReported, kSignalLimitMs));
    EXPECT_EQ(gReportedStates, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 14, 0x2000}));
    EXPECT_NE(gReportingThread.load(), GetCurrentThreadId());
    uint32_t result;
    EXPECT_EQ(ConnectedNumber(handle, result), "0700123456");
    CloseHandle(gConnectedReported);
}

// The states the stand-in's status query gives, in the order they first came, polled until the
// call is answered.
std::vector<uint32_t> StatesUntilAnswered(THRasConn handle, std::string& firstNumber)
{
    std::vector<uint32_t> states;
    for (int polls = 0; polls < 2000; ++polls) {
        TRasConnStatusExA status{};
        status.dwSize = sizeof status;
        if (SystemRasApi().RasGetConnectStatus(handle,
                                               reinterpret_cast<TRasConnStatusA*>(&status)) != 0)
            break;
        if (states.empty())
            firstNumber = FieldText(status.szPhoneNumber, sizeof status.szPhoneNumber);
        if (states.empty() || states.back() != status.rasconnstate)
            states.push_back(status.rasconnstate);
        if (status.rasconnstate == 0x2000) break;
        Sleep(20);
    }
    return states;
}

TEST_F(RasStandin, ACallIsDialledForItsTimeAndOnlyItsAnswerIsSignalled)
{
    TWatchdog watchdog("dialling");
    ASSERT_EQ(AddEntry("Darmowy Internet", "0700123456"), 0u);
    HANDLE connected = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_EQ(RAS_EXPORT(RasConnectionNotificationA)(INVALID_HANDLE_VALUE, connected, 1), 0u);

    // This process's own dials: listed at once, opening the port (no number yet), dialling,
    // authenticating, and connected only after their time; the notification comes then.
    ASSERT_EQ(RAS_EXPORT(RasStandinSetAnswerAfter)(3000, FALSE), 0u);
    gReportedStates.clear();
    gConnectedReported = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    THRasConn handle = 0;
    ASSERT_EQ(Dial("Darmowy Internet", "", handle, RecordProgress), 0u);
    EXPECT_FALSE(Signalled(connected, 0));
    std::string firstNumber = "?";
    EXPECT_EQ(StatesUntilAnswered(handle, firstNumber), (std::vector<uint32_t>{0, 2, 5, 0x2000}));
    EXPECT_EQ(firstNumber, "");
    EXPECT_TRUE(Signalled(connected, kSignalLimitMs));
    ASSERT_TRUE(Signalled(gConnectedReported, kSignalLimitMs));
    EXPECT_EQ(gReportedStates, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 14, 0x2000}));
    CloseHandle(gConnectedReported);
    const std::string answered =
            "answered " + std::to_string(handle) + " \"Darmowy Internet\" 0700123456 after ";
    EXPECT_NE(RasCtl("log").Output.find(answered), std::string::npos);

    // Every program's dials, by the prefix's setting: a call hung up while it is dialled never
    // answers, and the synchronous dial that waited for it fails.
    ASSERT_EQ(RasCtl("answer-after 1500").Exit, 0u);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION dialler{};
    std::string command = "\"" + Beside("rasctl.exe") + "\" dial \"Darmowy Internet\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &dialler));
    uint32_t result = 0;
    std::vector<TRasConnA> list;
    for (int polls = 0; polls < 1000 && (list = Connections(result)).size() < 2; ++polls) Sleep(10);
    ASSERT_EQ(list.size(), 2u);
    const THRasConn cut = list[1].hrasconn;
    ASSERT_EQ(SystemRasApi().RasHangUp(cut), 0u);
    DWORD exitCode = 0;
    EXPECT_EQ(WaitForSingleObject(dialler.hProcess, kSignalLimitMs), WAIT_OBJECT_0);
    GetExitCodeProcess(dialler.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 1u);
    CloseHandle(dialler.hProcess);
    CloseHandle(dialler.hThread);
    Sleep(2000);
    EXPECT_EQ(RasCtl("log").Output.find("answered " + std::to_string(cut)), std::string::npos);
    EXPECT_FALSE(Signalled(connected, 0));

    // A system without connection notifications.
    ASSERT_EQ(RasCtl("notifications refuse").Exit, 0u);
    HANDLE refused = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    EXPECT_NE(RAS_EXPORT(RasConnectionNotificationA)(INVALID_HANDLE_VALUE, refused, 1), 0u);
    CloseHandle(refused);
    CloseHandle(connected);
}

TEST_F(RasStandin, LogNamesEachDialAndHangUpWithTheTimeToTheMillisecondAndTheProcess)
{
    ASSERT_EQ(AddEntry("Darmowy Internet", "0700123456"), 0u);
    const std::string handle = std::to_string(DialedHandle(RasCtl("dial \"Darmowy Internet\"")));
    ASSERT_EQ(RasCtl("hangup " + handle).Exit, 0u);
    ASSERT_EQ(RasCtl("delete \"Darmowy Internet\"").Exit, 0u);
    const std::string stamp = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} pid \d+ )";
    const std::string log = RasCtl("log").Output;
    for (const std::string& line :
         {"rasctl\\.exe: RasDialA sync \"Darmowy Internet\" 0700123456 -> 0 handle " + handle,
          "rasctl\\.exe: RasHangUpA " + handle + " \"Darmowy Internet\" 0700123456 -> 0",
          std::string("rasctl\\.exe: RasDeleteEntryA \"Darmowy Internet\" -> 0")})
        EXPECT_TRUE(std::regex_search(log, std::regex(stamp + line + "\r\n"))) << line << "\n"
                                                                               << log;
}

// What the stand-in is for: the guard's own dial-up component and notification thread, told
// by RAS of a call that another process made, find the call's number and hang it up.
TEST_F(RasStandin, GuardHangsUpAPremiumRateCallMadeByAnotherProcess)
{
    TWatchdog watchdog("guard");
    TWin32UiThread ui;
    TDialUp dialUp(SystemRasApi(), ui, SystemClock(), nullptr, false);
    TRasConnThread thread(SystemRasApi(), ui, SystemClock());
    ASSERT_EQ(thread.NotifyResult(), 0u);
    thread.OnNotify = [&](TRasConnThread&) {
        if (dialUp.GetConnections() != 0) return;
        for (THRasConn handle : dialUp.ConnectionHandles()) {
            std::string number;
            if (dialUp.GetConnectedNumberOf(number, handle) == 0 && number.rfind("0700", 0) == 0)
                dialUp.HangUpConnectionOf(handle);
        }
    };
    thread.Resume();

    ASSERT_EQ(RasCtl("add Praca 0221234567").Exit, 0u);
    const std::string allowed = std::to_string(DialedHandle(RasCtl("dial Praca")));
    const std::string premium = std::to_string(DialedHandle(RasCtl("dial Praca 0700123456")));
    EXPECT_TRUE(PumpUntil(ui, [] {
        uint32_t result;
        return Connections(result).size() == 1;
    }));
    EXPECT_NE(RasCtl("list").Output.find("connection\t" + allowed + "\tPraca\t0221234567\r\n"),
              std::string::npos);
    EXPECT_NE(RasCtl("log").Output.find("ras_standin_wine_tests.exe: RasHangUpA " + premium +
                                        " \"Praca\" 0700123456 -> 0"),
              std::string::npos);
    thread.OnNotify = nullptr;
}

bool FileContains(const std::string& path, const std::string& text)
{
    return TTempFolder::Read(path).find(text) != std::string::npos;
}

TEST_F(RasStandin, SampleDialerIsSmallAndItsPackedCopyHidesTheDialFunctionUntilUnpacked)
{
    const std::string dialer = Beside("FreeDialer.exe"), packed = Beside("FreeDialerPacked.exe");
    const std::string unpacked = gState->Folder.Path("unpacked.exe");
    const std::string original = TTempFolder::Read(dialer);
    EXPECT_GT(original.size(), 0u);
    EXPECT_LT(original.size(), 100000u);
    EXPECT_TRUE(FileContains(dialer, "RasDialA"));
    EXPECT_FALSE(FileContains(packed, "RasDialA"));
    EXPECT_EQ(RunBeside("upx.exe", "-t -q \"" + packed + "\"").Exit, 0u);
    EXPECT_EQ(RunBeside("upx.exe", "-d -q \"" + packed + "\" -o \"" + unpacked + "\"").Exit, 0u);
    EXPECT_EQ(TTempFolder::Read(unpacked), original);
}

TEST_F(RasStandin, SampleDialerStartsWithWindowsLinksItselfAndDialsAPremiumNumber)
{
    TWatchdog watchdog("dialer");
    HANDLE connected = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_EQ(RAS_EXPORT(RasConnectionNotificationA)(INVALID_HANDLE_VALUE, connected, 1), 0u);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::string dialer = Beside("FreeDialer.exe");
    std::string command = "\"" + dialer + "\" /entry \"Darmowy Test\" /number 0700999000";
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    EXPECT_TRUE(Signalled(connected, kSignalLimitMs));
    // It stays, as a dialer does.
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(connected);

    EXPECT_NE(RasCtl("list").Output.find("\tDarmowy Test\t0700999000\r\n"), std::string::npos);
    HKEY run;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                            0, KEY_QUERY_VALUE | KEY_SET_VALUE, &run),
              ERROR_SUCCESS);
    char value[MAX_PATH] = {};
    DWORD size = sizeof value - 1;
    EXPECT_EQ(RegQueryValueExA(run, "FreeDialer", nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                               &size),
              ERROR_SUCCESS);
    EXPECT_TRUE(SameText(value, dialer)) << value;
    RegDeleteValueA(run, "FreeDialer");
    RegCloseKey(run);
    char desktop[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    const std::string link = std::string(desktop) + "\\Darmowy Test.lnk";
    EXPECT_TRUE(FileContains(link, "FreeDialer.exe"));
    DeleteFileA(link.c_str());
}

}  // namespace
