// rasctl: a console over the RAS library, for tests and demonstrations with the stand-in
// rasapi32.dll. It loads "rasapi32.dll" by name like any program, so a DLL override decides
// which library it talks to; "log" and "reset" need the stand-in itself.
//
//   rasctl list                    entries and connections, one per line, TAB-separated (a
//                                  call not yet answered ends in "dialling")
//   rasctl add NAME NUMBER         a phonebook entry (or a new number for one)
//   rasctl delete NAME
//   rasctl dial NAME [NUMBER] [--answer-after MS]
//                                  synchronous: returns once the call is answered (after MS
//                                  milliseconds of dialling; else as answer-after says) and
//                                  prints the connection's handle, also when the call was hung
//                                  up before its answer (exit code 1 then)
//   rasctl answer-after MS         how long every program's dials are dialled before they are
//                                  answered, unless a program says otherwise (0: at once)
//   rasctl notifications refuse|accept
//                                  whether registrations for connection notifications succeed
//   rasctl hangup HANDLE|NAME      a handle in decimal or 0x hex, or the entry's first connection
//   rasctl log                     the stand-in's log
//   rasctl reset                   empty phonebook, no connections, the settings as at first,
//                                  a new log
//
// Exit code 0 on success, 1 when a RAS call fails, 2 for a wrong command line or library.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/StrUtils.h"
#include "tools/ras-standin/RasExports.h"

namespace {

[[noreturn]] void Fail(int code, const std::string& message)
{
    std::fprintf(stderr, "rasctl: %s\n", message.c_str());
    std::exit(code);
}

template <typename TFn>
TFn* Bound(TFn* fn, const char* name)
{
    if (!fn)
        Fail(2, std::string("rasapi32.dll has no ") + name +
                        " (the stand-in needs WINEDLLOVERRIDES=rasapi32=n,b)");
    return fn;
}
#define RAS(name) Bound(RAS_EXPORT(name), #name)

// Exits with the RAS error and its text unless result is 0.
void Check(DWORD result, const char* call)
{
    if (result == 0) return;
    char text[256] = "";
    RAS(RasGetErrorStringA)(result, text, sizeof text);
    Fail(1, std::string(call) + " failed: " + std::to_string(result) + " " + text);
}

// Asks with one record, then with as many as the library says it needs. The count can grow
// between the two calls when another process adds one, hence the few rounds.
template <typename TRecord, typename TEnum>
std::vector<TRecord> Enumerate(TEnum enumerate, const char* call)
{
    std::vector<TRecord> records(1);
    for (int round = 0; round < 4; ++round) {
        records[0].dwSize = sizeof(TRecord);
        DWORD bytes = static_cast<DWORD>(records.size() * sizeof(TRecord)), count = 0;
        DWORD result = enumerate(records.data(), &bytes, &count);
        if (result == kRasErrorBufferTooSmall) {
            records.assign(bytes / sizeof(TRecord) + 1, TRecord{});
            continue;
        }
        Check(result, call);
        records.resize(count < records.size() ? count : records.size());
        return records;
    }
    Fail(1, std::string(call) + " kept asking for a larger buffer");
}

std::string EntryNumber(const std::string& name)
{
    TRasEntryA entry{};
    entry.dwSize = sizeof entry;
    DWORD bytes = sizeof entry;
    if (RAS(RasGetEntryPropertiesA)(nullptr, name.c_str(), &entry, &bytes, nullptr, nullptr))
        return "?";
    return FieldText(entry.szLocalPhoneNumber, sizeof entry.szLocalPhoneNumber);
}

// The number the connection reports and whether it is still being dialled, as its listing line
// ends.
std::string ConnectionStatus(THRasConn handle)
{
    TRasConnStatusExA status{};
    status.dwSize = sizeof status;
    if (RAS(RasGetConnectStatusA)(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle)),
                                  reinterpret_cast<TRasConnStatusA*>(&status)))
        return "?";
    const std::string number = FieldText(status.szPhoneNumber, sizeof status.szPhoneNumber);
    return status.rasconnstate < kRasConnected ? number + "\tdialling" : number;
}

// A count of milliseconds in decimal, or a wrong command line.
DWORD Milliseconds(const std::string& text)
{
    if (!IsDigits(text) || text.size() > 9) Fail(2, "not a count of milliseconds: " + text);
    return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
}

std::vector<TRasConnA> Connections()
{
    auto enumerate = RAS(RasEnumConnectionsA);
    return Enumerate<TRasConnA>(enumerate, "RasEnumConnectionsA");
}

void List()
{
    auto enumerate = [](TRasEntryNameA* names, DWORD* bytes, DWORD* count) {
        return RAS(RasEnumEntriesA)(nullptr, nullptr, names, bytes, count);
    };
    for (const TRasEntryNameA& e : Enumerate<TRasEntryNameA>(enumerate, "RasEnumEntriesA")) {
        std::string name = FieldText(e.szEntryName, sizeof e.szEntryName);
        std::printf("entry\t%s\t%s\n", name.c_str(), EntryNumber(name).c_str());
    }
    for (const TRasConnA& c : Connections()) {
        std::printf("connection\t%lu\t%s\t%s\n", static_cast<unsigned long>(c.hrasconn),
                    FieldText(c.szEntryName, sizeof c.szEntryName).c_str(),
                    ConnectionStatus(c.hrasconn).c_str());
    }
}

void Add(const std::string& name, const std::string& number)
{
    TRasEntryA entry{};
    entry.dwSize = sizeof entry;
    entry.dwfNetProtocols = 4;    // RASNP_Ip
    entry.dwFramingProtocol = 1;  // RASFP_Ppp
    SetFieldText(entry.szLocalPhoneNumber, sizeof entry.szLocalPhoneNumber, number);
    SetFieldText(entry.szDeviceType, sizeof entry.szDeviceType, "modem");
    Check(RAS(RasSetEntryPropertiesA)(nullptr, name.c_str(), &entry, sizeof entry, nullptr, 0),
          "RasSetEntryPropertiesA");
}

void Dial(const std::string& name, const std::string& number)
{
    TRasDialParamsA params{};
    params.dwSize = sizeof params;
    SetFieldText(params.szEntryName, sizeof params.szEntryName, name);
    SetFieldText(params.szPhoneNumber, sizeof params.szPhoneNumber, number);
    HANDLE connection = nullptr;
    const DWORD result = RAS(RasDialA)(nullptr, nullptr, &params, 0, nullptr, &connection);
    // A call hung up while it was dialled still had its handle: whoever waits for it may need it.
    if (connection)
        std::printf("connection\t%lu\n",
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(connection)));
    std::fflush(stdout);
    Check(result, "RasDialA");
}

void HangUp(const std::string& target)
{
    THRasConn handle = 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(target.c_str(), &end, 0);
    if (!target.empty() && *end == '\0') {
        handle = static_cast<THRasConn>(value);
    } else {
        for (const TRasConnA& c : Connections()) {
            if (SameText(FieldText(c.szEntryName, sizeof c.szEntryName), target)) {
                handle = c.hrasconn;
                break;
            }
        }
        if (!handle) Fail(1, "no connection of the entry \"" + target + "\"");
    }
    Check(RAS(RasHangUpA)(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle))), "RasHangUpA");
}

void PrintLog()
{
    char path[MAX_PATH];
    if (!RAS(RasStandinLogFile)(path, sizeof path)) Fail(1, "the log's path is too long");
    FILE* log = std::fopen(path, "rb");
    if (!log) return;  // nothing logged yet
    // The log's lines end in CR LF already; a text-mode stdout would add a second CR.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, log)) > 0) std::fwrite(buffer, 1, n, stdout);
    std::fclose(log);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> a(argv + 1, argv + argc);
    const std::string command = a.empty() ? "" : a[0];
    const size_t n = a.size();
    if (!LoadLibraryA("rasapi32.dll")) Fail(2, "cannot load rasapi32.dll");

    if (command == "list" && n == 1)
        List();
    else if (command == "add" && n == 3)
        Add(a[1], a[2]);
    else if (command == "delete" && n == 2)
        Check(RAS(RasDeleteEntryA)(nullptr, a[1].c_str()), "RasDeleteEntryA");
    else if (command == "dial" && n >= 4 && a[n - 2] == "--answer-after" && n <= 5) {
        Check(RAS(RasStandinSetAnswerAfter)(Milliseconds(a[n - 1]), FALSE),
              "RasStandinSetAnswerAfter");
        Dial(a[1], n == 5 ? a[2] : "");
    } else if (command == "dial" && (n == 2 || n == 3))
        Dial(a[1], n == 3 ? a[2] : "");
    else if (command == "answer-after" && n == 2)
        Check(RAS(RasStandinSetAnswerAfter)(Milliseconds(a[1]), TRUE), "RasStandinSetAnswerAfter");
    else if (command == "notifications" && n == 2 && (a[1] == "refuse" || a[1] == "accept"))
        Check(RAS(RasStandinRefuseNotifications)(a[1] == "refuse"),
              "RasStandinRefuseNotifications");
    else if (command == "hangup" && n == 2)
        HangUp(a[1]);
    else if (command == "log" && n == 1)
        PrintLog();
    else if (command == "reset" && n == 1)
        Check(RAS(RasStandinReset)(), "RasStandinReset");
    else
        Fail(2,
             "usage: rasctl list | add NAME NUMBER | delete NAME | "
             "dial NAME [NUMBER] [--answer-after MS] | answer-after MS | "
             "notifications refuse|accept | hangup HANDLE|NAME | log | reset");
    return 0;
}
