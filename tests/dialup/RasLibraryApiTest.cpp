#include "dialup/RasLibraryApi.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/Errors.h"

#include "support/FakeEvent.h"
#include "support/FakeLibraries.h"

namespace {

// What the fake exports saw; each export has the RAS function's own signature.
struct TSeen {
    std::string Function;
    const void* Args[6] = {};
    uintptr_t Values[3] = {};
} gSeen;

const uint32_t kFakeResult = 4321;

uint32_t RASAPI_CALL FakeEnumEntries(const char* reserved, const char* phonebook,
                                     TRasEntryNameA* entries, uint32_t* byteCount, uint32_t* count)
{
    gSeen = {"RasEnumEntriesA", {reserved, phonebook, entries, byteCount, count}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeEnumConnections(TRasConnA* connections, uint32_t* byteCount,
                                         uint32_t* count)
{
    gSeen = {"RasEnumConnectionsA", {connections, byteCount, count}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeGetConnectStatus(void* connection, TRasConnStatusA* status)
{
    gSeen = {"RasGetConnectStatusA", {status}, {reinterpret_cast<uintptr_t>(connection)}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeHangUp(void* connection)
{
    gSeen = {"RasHangUpA", {}, {reinterpret_cast<uintptr_t>(connection)}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeGetErrorString(unsigned error, char* text, uint32_t size)
{
    gSeen = {"RasGetErrorStringA", {text}, {error, size}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeGetEntryDialParams(const char* phonebook, TRasDialParamsA* params,
                                            int32_t* password)
{
    gSeen = {"RasGetEntryDialParamsA", {phonebook, params, password}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeGetEntryProperties(const char* phonebook, const char* entry,
                                            TRasEntryA* properties, uint32_t* size,
                                            uint8_t* deviceInfo, uint32_t* deviceInfoSize)
{
    gSeen = {"RasGetEntryPropertiesA",
             {phonebook, entry, properties, size, deviceInfo, deviceInfoSize},
             {deviceInfoSize ? *deviceInfoSize : 99u}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeDeleteEntry(const char* phonebook, const char* entry)
{
    gSeen = {"RasDeleteEntryA", {phonebook, entry}};
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeDial(void* extensions, const char* phonebook, TRasDialParamsA* params,
                              uint32_t notifierType, void* notifier, void** connection)
{
    gSeen = {"RasDialA", {extensions, phonebook, params, notifier}, {notifierType}};
    *connection = reinterpret_cast<void*>(uintptr_t{0x5678});  // handed out even on failure
    return kFakeResult;
}
uint32_t RASAPI_CALL FakeConnectionNotification(void* connection, void* event, uint32_t flags)
{
    gSeen = {"RasConnectionNotificationA",
             {event},
             {reinterpret_cast<uintptr_t>(connection), flags}};
    return kFakeResult;
}

void RASAPI_CALL Progress(uint32_t, uint32_t, uint32_t) {}

// Exports named as in the system's RAS library: every function in its "A" form.
std::map<std::string, void*> RasExports()
{
    return {{"RasEnumEntriesA", reinterpret_cast<void*>(&FakeEnumEntries)},
            {"RasEnumConnectionsA", reinterpret_cast<void*>(&FakeEnumConnections)},
            {"RasGetConnectStatusA", reinterpret_cast<void*>(&FakeGetConnectStatus)},
            {"RasHangUpA", reinterpret_cast<void*>(&FakeHangUp)},
            {"RasGetErrorStringA", reinterpret_cast<void*>(&FakeGetErrorString)},
            {"RasGetEntryDialParamsA", reinterpret_cast<void*>(&FakeGetEntryDialParams)},
            {"RasGetEntryPropertiesA", reinterpret_cast<void*>(&FakeGetEntryProperties)},
            {"RasDeleteEntryA", reinterpret_cast<void*>(&FakeDeleteEntry)},
            {"RasDialA", reinterpret_cast<void*>(&FakeDial)},
            {"RasConnectionNotificationA", reinterpret_cast<void*>(&FakeConnectionNotification)}};
}

// Each wrapper hands its exact name to the resolver (seen as the first look-up, with the "A"
// suffix the resolver adds) and reaches the export with the caller's arguments.
TEST(RasLibraryApi, EachWrapperResolvesItsNameAndPassesItsArguments)
{
    TFakeLibraries libraries;
    libraries.Add("rasapi32.dll", RasExports());
    TRasBinding binding(libraries);
    TRasLibraryApi api(binding);

    TRasEntryNameA names[2] = {};
    TRasConnA connections[2] = {};
    TRasConnStatusA status = {};
    TRasDialParamsA params = {};
    TRasEntryA entry = {};
    char text[8];
    uint32_t bytes = 0, count = 0;
    int32_t password = 0;
    TFakeEvent event(reinterpret_cast<void*>(uintptr_t{0x77}));
    THRasConn dialHandle = 0;

    struct TCase {
        const char* name;  // as handed to the resolver
        std::function<uint32_t()> call;
        std::function<void()> check;
    };
    const TCase cases[] = {
            {"RasEnumEntriesA", [&] { return api.RasEnumEntries(names, &bytes, &count); },
             [&] {
                 const void* expected[] = {nullptr, nullptr, names, &bytes, &count};
                 EXPECT_TRUE(std::equal(expected, expected + 5, gSeen.Args));
             }},
            {"RasEnumConnectionsA",
             [&] { return api.RasEnumConnections(connections, &bytes, &count); },
             [&] {
                 const void* expected[] = {connections, &bytes, &count};
                 EXPECT_TRUE(std::equal(expected, expected + 3, gSeen.Args));
             }},
            {"RasGetConnectStatusA", [&] { return api.RasGetConnectStatus(0x1234, &status); },
             [&] {
                 EXPECT_EQ(&status, gSeen.Args[0]);
                 EXPECT_EQ(0x1234u, gSeen.Values[0]);
             }},
            {"RasHangUpA", [&] { return api.RasHangUp(0x4321); },
             [&] { EXPECT_EQ(0x4321u, gSeen.Values[0]); }},
            {"RasGetErrorStringA", [&] { return api.RasGetErrorString(603, text, 7); },
             [&] {
                 EXPECT_EQ(text, gSeen.Args[0]);
                 EXPECT_EQ(603u, gSeen.Values[0]);
                 EXPECT_EQ(7u, gSeen.Values[1]);
             }},
            {"RasGetEntryDialParamsA",
             [&] { return api.RasGetEntryDialParams(&params, &password); },
             [&] {
                 const void* expected[] = {nullptr, &params, &password};
                 EXPECT_TRUE(std::equal(expected, expected + 3, gSeen.Args));
             }},
            {"RasGetEntryProperties",
             [&] { return api.RasGetEntryProperties("Work", &entry, &bytes); },
             [&] {
                 EXPECT_EQ(nullptr, gSeen.Args[0]);
                 EXPECT_STREQ("Work", static_cast<const char*>(gSeen.Args[1]));
                 EXPECT_EQ(&entry, gSeen.Args[2]);
                 EXPECT_EQ(&bytes, gSeen.Args[3]);
                 EXPECT_EQ(nullptr, gSeen.Args[4]);  // no device information wanted
                 EXPECT_NE(nullptr, gSeen.Args[5]);
                 EXPECT_EQ(0u, gSeen.Values[0]);  // of size 0
             }},
            {"RasDeleteEntry", [&] { return api.RasDeleteEntry("Work"); },
             [&] {
                 EXPECT_EQ(nullptr, gSeen.Args[0]);
                 EXPECT_STREQ("Work", static_cast<const char*>(gSeen.Args[1]));
             }},
            {"RasDialA", [&] { return api.RasDial(&params, &Progress, &dialHandle); },
             [&] {
                 EXPECT_EQ(nullptr, gSeen.Args[0]);
                 EXPECT_EQ(nullptr, gSeen.Args[1]);
                 EXPECT_EQ(&params, gSeen.Args[2]);
                 EXPECT_EQ(reinterpret_cast<void*>(&Progress), gSeen.Args[3]);
                 EXPECT_EQ(0u, gSeen.Values[0]);  // notifier type 0: RasDialFunc
                 EXPECT_EQ(0x5678u, dialHandle);  // the handle comes back despite the failure
             }},
            {"RasConnectionNotification",
             [&] { return api.RasConnectionNotification(kAllRasConnections, &event, 15); },
             [&] {
                 EXPECT_EQ(event.NativeHandle(), gSeen.Args[0]);
                 // All connections: INVALID_HANDLE_VALUE at the pointer width of the process.
                 EXPECT_EQ(reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(intptr_t{-1})),
                           gSeen.Values[0]);
                 EXPECT_EQ(15u, gSeen.Values[1]);
             }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        libraries.Lookups.clear();
        gSeen = TSeen();
        EXPECT_EQ(kFakeResult, c.call());
        ASSERT_FALSE(libraries.Lookups.empty());
        EXPECT_EQ(std::string("rasapi32.dll:") + c.name + "A", libraries.Lookups.front());
        // The export found last is the one that was called.
        EXPECT_EQ("rasapi32.dll:" + gSeen.Function, libraries.Lookups.back());
        c.check();
    }
}

TEST(RasLibraryApi, NoEventIsPassedAsNoHandleAndMissingFunctionsRaise)
{
    TFakeLibraries libraries;
    libraries.Add("rasapi32.dll", {{"RasConnectionNotificationA",
                                    reinterpret_cast<void*>(&FakeConnectionNotification)}});
    libraries.Add("rnaph.dll", {});
    TRasBinding binding(libraries);
    TRasLibraryApi api(binding);
    gSeen = TSeen();
    gSeen.Args[0] = &gSeen;
    api.RasConnectionNotification(kAllRasConnections, nullptr, 15);
    EXPECT_EQ(nullptr, gSeen.Args[0]);
    EXPECT_THROW(api.RasHangUp(1), Exception);
}

}  // namespace
