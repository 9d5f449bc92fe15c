// The RAS binding and TDialUp against the RAS library of the system they run on (Wine's
// rasapi32.dll here). Wine's RAS knows no phonebook and no connections, and answers 0 to most
// calls; the tests hold what a real RAS library must give as well.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "common/Errors.h"
#include "dialup/DialUpTools.h"
#include "dialup/RasLibraryApi.h"
#include "platform/win32/UiThreadWin32.h"
#include "support/FakeClock.h"

namespace {

TEST(WineRasBinding, AllTenFunctionsResolveInTheRasLibrary)
{
    // Name handed to the resolver -> the export it must reach.
    const std::pair<const char*, const char*> table[] = {
            {"RasEnumEntriesA", "RasEnumEntriesA"},
            {"RasEnumConnectionsA", "RasEnumConnectionsA"},
            {"RasGetConnectStatusA", "RasGetConnectStatusA"},
            {"RasHangUpA", "RasHangUpA"},
            {"RasGetErrorStringA", "RasGetErrorStringA"},
            {"RasGetEntryDialParamsA", "RasGetEntryDialParamsA"},
            {"RasGetEntryProperties", "RasGetEntryPropertiesA"},
            {"RasDeleteEntry", "RasDeleteEntryA"},
            {"RasDialA", "RasDialA"},
            {"RasConnectionNotification", "RasConnectionNotificationA"},
    };
    TRasBinding binding(SystemLibraries());
    for (const auto& row : table) {
        SCOPED_TRACE(row.first);
        void* fn = binding.Resolve(row.first);
        HMODULE library = GetModuleHandleW(L"rasapi32.dll");
        ASSERT_NE(nullptr, library);
        EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library, row.second)), fn);
        EXPECT_EQ(static_cast<void*>(library), binding.RasLibrary());
    }
    EXPECT_TRUE(binding.RasLoaded());
    EXPECT_FALSE(binding.RasFallback());
    try {
        binding.Resolve("RasNoSuchFunction");
        FAIL() << "resolved a function RAS does not have";
    } catch (const Exception& e) {
        EXPECT_EQ("Function RasNoSuchFunction not found!", e.Message());
    }
}

TEST(WineRasBinding, FirstUseOfAMissingNameLooksForThePhonebookLibrary)
{
    // Wine has no rnaph.dll; a system that has one would give "Function ... not found!".
    TRasBinding binding(SystemLibraries());
    try {
        binding.Resolve("RasNoSuchFunction");
        FAIL() << "resolved a function RAS does not have";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message() == "Error opening rnaph.dll" ||
                    e.Message() == "Function RasNoSuchFunction not found!")
                << e.Message();
    }
    EXPECT_FALSE(binding.RasLoaded());
    EXPECT_NE(nullptr, binding.Resolve("RasHangUp"));
    EXPECT_FALSE(binding.RasFallback());
}

TEST(WineRasLibraryApi, CallsTheSystemAnswers)
{
    IRasApi& ras = SystemRasApi();

    std::vector<TRasEntryNameA> names(kRasEnumCapacity);
    for (TRasEntryNameA& name : names) name.dwSize = sizeof name;
    uint32_t bytes = 26400, count = 77;
    EXPECT_EQ(0u, ras.RasEnumEntries(names.data(), &bytes, &count));
    EXPECT_EQ(0u, count);

    std::vector<TRasConnA> connections(kRasEnumCapacity);
    connections[0].dwSize = sizeof(TRasConnA);
    bytes = 41200;
    count = 77;
    EXPECT_EQ(0u, ras.RasEnumConnections(connections.data(), &bytes, &count));
    EXPECT_EQ(0u, count);

    // Wine has no error texts (it answers 1 and leaves the buffer alone); Windows fills it.
    char text[101];
    std::memset(text, 'x', sizeof text);
    text[100] = 0;
    uint32_t result = ras.RasGetErrorString(603, text, 100);
    EXPECT_EQ('\0', text[100]);  // nothing written past the stated size
    if (result == 0) {
        EXPECT_NE(0u, std::strlen(text));
    }

    // Windows answers 6 for a handle that is no connection; Wine's stub answers 0 for any.
    TRasConnStatusExA status{};
    status.dwSize = sizeof status;
    result = ras.RasGetConnectStatus(0x1234, reinterpret_cast<TRasConnStatusA*>(&status));
    EXPECT_TRUE(result == kRasErrorInvalidHandle || result == 0) << result;
    EXPECT_EQ(sizeof status, status.dwSize);
}

TEST(WineDialUp, ListsAndHangsUpAgainstTheSystemRas)
{
    TWin32UiThread ui;
    TFakeClock clock;
    TDialUp dialUp(SystemRasApi(), ui, clock, nullptr, false);
    std::vector<std::string> log;
    dialUp.OnLog = [&](const std::string& text) { log.push_back(text); };

    EXPECT_EQ(0, dialUp.GetEntries());
    EXPECT_TRUE(dialUp.Entries().empty());
    EXPECT_EQ(0, dialUp.GetConnections());
    EXPECT_TRUE(dialUp.Connections().empty());
    EXPECT_FALSE(dialUp.Connected());
    std::string number = "unchanged";
    EXPECT_EQ(-1, dialUp.GetConnectedNumber(number, 0));
    EXPECT_EQ(-1, dialUp.HangUpConnection(0));
    EXPECT_EQ("unchanged", number);
    EXPECT_EQ("Connected", dialUp.GetStateText(8192, 0));

    // Where RAS never reports a hung-up handle as gone (Wine's status answers 0 for any
    // handle), the wait ends at its limit instead of freezing the program.
    const uint32_t start = clock.TickCount();
    dialUp.HangUp();
    EXPECT_LE(clock.TickCount() - start, kHangUpWaitLimitMs);
    EXPECT_FALSE(dialUp.Connected());
}

}  // namespace
