// A stand-in for rasapi32.dll, for tests and demonstrations under Wine, whose own RAS library
// lists nothing and refuses connection notifications. Every process of a Wine prefix that loads
// it (through a DLL override) shares one phonebook and one list of connections (StandinStore);
// calls that change something are logged with the calling process. A call is dialled for a time
// the test chooses (at once by default) and is then answered, and stays until hung up; every
// change of the connections, an answer included, is reported to the events registered in any
// process (StandinWatch).
#include "tools/ras-standin/RasExports.h"

#include <functional>
#include <string>
#include <vector>

#include "StandinState.h"
#include "StandinStore.h"
#include "StandinWatch.h"
#include "common/StrUtils.h"
#include "dialup/RasErrors.h"

namespace {

const DWORD kRasDialEvent = 0xCCCD;  // WM_RASDIALEVENT
const DWORD kStateConnected = kRasConnected;
const char kDeviceType[] = "modem";
const char kDeviceName[] = "Stand-in Modem";

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Result(DWORD code)
{
    return " -> " + std::to_string(code);
}

// Exports must not let an exception out into a caller that knows nothing of C++.
template <typename TFn>
DWORD Guarded(TFn fn)
{
    try {
        return fn();
    } catch (...) {
        return kRasErrorNotEnoughMemory;
    }
}

uint32_t HandleValue(HANDLE h)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h));
}

HANDLE HandleOf(uint32_t value)
{
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

// The enumerations' answer: 603 with the bytes and the count needed when the records do not
// fit the bytes given (none without records), else every item filled in.
template <typename TRecord, typename TItem, typename TFill>
DWORD Enumerate(TRecord* records, DWORD* bytes, DWORD* count, const std::vector<TItem>& items,
                TFill fill)
{
    const DWORD needed = static_cast<DWORD>(items.size() * sizeof(TRecord));
    const DWORD given = records ? *bytes : 0;
    *bytes = needed;
    *count = static_cast<DWORD>(items.size());
    if (needed > given) return kRasErrorBufferTooSmall;
    for (size_t i = 0; i < items.size(); ++i) {
        records[i].dwSize = sizeof(TRecord);
        fill(records[i], items[i]);
    }
    return kRasSuccess;
}

// --- Dialling ------------------------------------------------------------------------------

// How often a dialling process looks whether its call has been answered or hung up.
const DWORD kAnswerLookMs = 50;
// The dialling time this process's dials get, set by RasStandinSetAnswerAfter for this process
// only; kNoOwnAnswerAfter: the prefix's setting.
const LONG kNoOwnAnswerAfter = -1;
LONG gOwnAnswerAfterMs = kNoOwnAnswerAfter;

uint32_t AnswerAfterMs(const TStandinState& state)
{
    const LONG own = InterlockedCompareExchange(&gOwnAnswerAfterMs, 0, 0);
    return own == kNoOwnAnswerAfter ? state.AnswerAfterMs : static_cast<uint32_t>(own);
}

// Waits until the call is answered (kRasSuccess) or has ended before its answer
// (kRasErrorUserDisconnection), telling onState the call's state at every look.
DWORD AwaitAnswer(uint32_t handle, const std::function<void(DWORD state)>& onState)
{
    for (;;) {
        DWORD state;
        {
            TSession session;
            if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
            const TStandinConnection* c = session.State.FindConnection(handle);
            if (!c) return kRasErrorUserDisconnection;
            state = c->StateAt(NowMs());
        }
        onState(state);
        if (state == kStandinConnected) return kRasSuccess;
        Sleep(kAnswerLookMs);
    }
}

// --- Asynchronous dial ---------------------------------------------------------------------

// The progress a dial reports: the states a modem connection passes through.
const DWORD kDialStates[] = {0, 1, 2, 3, 4, 5, 14, kStateConnected};

struct TDialReport {
    TRasDialFunc Notifier;
    // Set before the thread runs: a failed dial reports its first state and this.
    DWORD Error;
    uint32_t Handle;
    bool Dialling;  // the call is answered later: its states are reported as it reaches them
};

// Reports the states of kDialStates from next on, up to the state the call has reached.
void ReportUpTo(const TDialReport& report, DWORD reached, size_t& next)
{
    const size_t count = sizeof kDialStates / sizeof kDialStates[0];
    for (; next < count && kDialStates[next] <= reached; ++next)
        report.Notifier(kRasDialEvent, kDialStates[next], 0);
}

DWORD WINAPI ReportDial(void* parameter)
{
    TDialReport report = *static_cast<TDialReport*>(parameter);
    delete static_cast<TDialReport*>(parameter);
    size_t next = 0;
    if (report.Error != 0) {
        report.Notifier(kRasDialEvent, kDialStates[0], report.Error);
    } else if (!report.Dialling) {
        ReportUpTo(report, kStateConnected, next);
    } else {
        const DWORD result =
                AwaitAnswer(report.Handle, [&](DWORD state) { ReportUpTo(report, state, next); });
        if (result != kRasSuccess)
            report.Notifier(kRasDialEvent, kDialStates[next > 0 ? next - 1 : 0], result);
    }
    // The thread held a reference to this library, so that it cannot be unloaded under it.
    HMODULE self;
    GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&ReportDial), &self);
    FreeLibraryAndExitThread(self, 0);
}

// A suspended thread that will report the progress to notifier, or nullptr.
HANDLE CreateDialReporter(TDialReport* report)
{
    HMODULE self;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&ReportDial), &self))
        return nullptr;
    HANDLE thread = CreateThread(nullptr, 0, ReportDial, report, CREATE_SUSPENDED, nullptr);
    if (!thread) FreeLibrary(self);
    return thread;
}

const char* ErrorText(DWORD code)
{
    switch (code) {
    case kRasErrorInvalidHandle: return "The handle is invalid.";
    case kRasErrorNotEnoughMemory:
        return "Not enough storage is available to process this command.";
    case kRasErrorInvalidParameter: return "The parameter is incorrect.";
    case kRasErrorCallNotImplemented: return "This function is not supported on this system.";
    case kRasErrorUserDisconnection: return "The connection was terminated by the user.";
    case kRasErrorInvalidName: return "The entry name is invalid.";
    case kRasErrorBufferTooSmall: return "The buffer is too small.";
    case kRasErrorCannotOpenPhonebook: return "The system could not open the phone book file.";
    case kRasErrorCannotFindPhonebookEntry:
        return "The system could not find the phone book entry for this connection.";
    case kRasErrorInvalidSize: return "The structure size is incorrect.";
    case kRasErrorPortNotAvailable:
        return "The modem is already in use or is not configured for dialing out.";
    default: return nullptr;
    }
}

}  // namespace

// --- The exports, with the RAS library's own parameters ----------------------------------

extern "C" {

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, TRasEntryNameA* names, DWORD* bytes,
                             DWORD* count)
{
    return Guarded([&]() -> DWORD {
        if (reserved || !bytes || !count) return kRasErrorInvalidParameter;
        if (names && names->dwSize != sizeof(TRasEntryNameA)) return kRasErrorInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        return Enumerate(names, bytes, count, session.State.Entries,
                         [](TRasEntryNameA& r, const TStandinEntry& e) {
                             SetFieldText(r.szEntryName, sizeof r.szEntryName, e.Name);
                         });
    });
}

DWORD WINAPI RasEnumConnectionsA(TRasConnA* connections, DWORD* bytes, DWORD* count)
{
    return Guarded([&]() -> DWORD {
        if (!bytes || !count) return kRasErrorInvalidParameter;
        if (connections && connections->dwSize != sizeof(TRasConnA)) return kRasErrorInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        return Enumerate(connections, bytes, count, session.State.Connections,
                         [](TRasConnA& r, const TStandinConnection& c) {
                             r.hrasconn = c.Handle;
                             SetFieldText(r.szEntryName, sizeof r.szEntryName, c.Entry);
                             SetFieldText(r.szDeviceType, sizeof r.szDeviceType, kDeviceType);
                             SetFieldText(r.szDeviceName, sizeof r.szDeviceName, kDeviceName);
                         });
    });
}

DWORD WINAPI RasGetConnectStatusA(HANDLE connection, TRasConnStatusA* status)
{
    return Guarded([&]() -> DWORD {
        if (!status) return kRasErrorInvalidParameter;
        // The basic form, or the one with the connected number (or a later, longer one).
        const bool extended = status->dwSize >= sizeof(TRasConnStatusExA);
        if (!extended && status->dwSize != sizeof(TRasConnStatusA)) return kRasErrorInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        const TStandinConnection* c = session.State.FindConnection(HandleValue(connection));
        if (!c) return kRasErrorInvalidHandle;
        const uint64_t now = NowMs();
        status->rasconnstate = c->StateAt(now);
        status->dwError = 0;
        SetFieldText(status->szDeviceType, sizeof status->szDeviceType, kDeviceType);
        SetFieldText(status->szDeviceName, sizeof status->szDeviceName, kDeviceName);
        if (extended) {
            auto* ex = reinterpret_cast<TRasConnStatusExA*>(status);
            SetFieldText(ex->szPhoneNumber, sizeof ex->szPhoneNumber,
                         c->NumberKnownAt(now) ? c->Number : std::string());
        }
        return kRasSuccess;
    });
}

DWORD WINAPI RasHangUpA(HANDLE connection)
{
    return Guarded([&]() -> DWORD {
        const uint32_t handle = HandleValue(connection);
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        std::string what = "RasHangUpA " + std::to_string(handle);
        if (const TStandinConnection* c = session.State.FindConnection(handle))
            what += " " + Quoted(c->Entry) + " " + c->Number;
        DWORD result = session.State.HangUp(handle);
        if (result == kRasSuccess && !session.Save(true)) result = kRasErrorCannotOpenPhonebook;
        session.Log(what + Result(result));
        return result;
    });
}

DWORD WINAPI RasGetErrorStringA(UINT error, LPSTR text, DWORD size)
{
    return Guarded([&]() -> DWORD {
        if (!text || size == 0) return kRasErrorInvalidParameter;
        const char* known = ErrorText(error);
        SetFieldText(text, size, known ? known : "RAS error " + std::to_string(error) + ".");
        return kRasSuccess;
    });
}

DWORD WINAPI RasGetEntryDialParamsA(LPCSTR phonebook, TRasDialParamsA* params, BOOL* password)
{
    return Guarded([&]() -> DWORD {
        if (!params) return kRasErrorInvalidParameter;
        if (params->dwSize < sizeof(TRasDialParamsA)) return kRasErrorInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        if (!session.State.FindEntry(FieldText(params->szEntryName, sizeof params->szEntryName)))
            return kRasErrorCannotFindPhonebookEntry;
        // No number is kept with the dial parameters: the entry's own number is dialled.
        params->szPhoneNumber[0] = params->szCallbackNumber[0] = '\0';
        params->szUserName[0] = params->szPassword[0] = params->szDomain[0] = '\0';
        if (password) *password = FALSE;
        return kRasSuccess;
    });
}

DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR name, TRasEntryA* entry,
                                    DWORD* entryBytes, BYTE* deviceInfo, DWORD* deviceInfoBytes)
{
    return Guarded([&]() -> DWORD {
        if (!entryBytes) return kRasErrorInvalidParameter;
        if (deviceInfoBytes) *deviceInfoBytes = 0;
        if (!entry || *entryBytes < sizeof(TRasEntryA)) {
            *entryBytes = sizeof(TRasEntryA);
            return kRasErrorBufferTooSmall;
        }
        if (entry->dwSize < sizeof(TRasEntryA)) return kRasErrorInvalidSize;
        std::string number;
        // No name asks for the properties a new entry would get.
        if (name && *name) {
            TSession session;
            if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
            const TStandinEntry* found = session.State.FindEntry(name);
            if (!found) return kRasErrorCannotFindPhonebookEntry;
            number = found->Number;
        }
        // Only the oldest record's fields are known here; a longer record keeps the rest.
        const DWORD size = entry->dwSize;
        ZeroMemory(entry, sizeof(TRasEntryA));
        entry->dwSize = size;
        entry->dwfNetProtocols = 4;    // RASNP_Ip
        entry->dwFramingProtocol = 1;  // RASFP_Ppp
        SetFieldText(entry->szLocalPhoneNumber, sizeof entry->szLocalPhoneNumber, number);
        SetFieldText(entry->szDeviceType, sizeof entry->szDeviceType, kDeviceType);
        SetFieldText(entry->szDeviceName, sizeof entry->szDeviceName, kDeviceName);
        return kRasSuccess;
    });
}

DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR name, TRasEntryA* entry,
                                    DWORD entryBytes, BYTE* deviceInfo, DWORD deviceInfoBytes)
{
    return Guarded([&]() -> DWORD {
        if (!name || !entry) return kRasErrorInvalidParameter;
        if (entry->dwSize < sizeof(TRasEntryA) || entryBytes < entry->dwSize)
            return kRasErrorInvalidSize;
        // A leading dot marks a connection dialled by number alone.
        if (!IsStorableText(name, kRasMaxEntryName) || name[0] == '.') return kRasErrorInvalidName;
        std::string number = FieldText(entry->szLocalPhoneNumber, sizeof entry->szLocalPhoneNumber);
        if (!number.empty() && !IsStorableText(number, kRasMaxPhoneNumber))
            return kRasErrorInvalidParameter;
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        DWORD result = session.State.SetEntry(name, number);
        if (result == kRasSuccess && !session.Save(false)) result = kRasErrorCannotOpenPhonebook;
        session.Log("RasSetEntryPropertiesA " + Quoted(name) + " " + number + Result(result));
        return result;
    });
}

DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR name)
{
    return Guarded([&]() -> DWORD {
        if (!name) return kRasErrorInvalidParameter;
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        DWORD result = session.State.DeleteEntry(name);
        if (result == kRasSuccess && !session.Save(false)) result = kRasErrorCannotOpenPhonebook;
        session.Log("RasDeleteEntryA " + Quoted(name) + Result(result));
        return result;
    });
}

DWORD WINAPI RasDialA(void* extensions, LPCSTR phonebook, TRasDialParamsA* params,
                      DWORD notifierType, void* notifier, HANDLE* connection)
{
    return Guarded([&]() -> DWORD {
        if (!params || !connection) return kRasErrorInvalidParameter;
        if (params->dwSize < sizeof(TRasDialParamsA)) return kRasErrorInvalidSize;
        // Only the plain progress function (RasDialFunc) is offered.
        if (notifier && notifierType != 0) return kRasErrorInvalidParameter;
        *connection = nullptr;
        const std::string name = FieldText(params->szEntryName, sizeof params->szEntryName);
        const std::string override = FieldText(params->szPhoneNumber, sizeof params->szPhoneNumber);
        if (!override.empty() && !IsStorableText(override, kRasMaxPhoneNumber))
            return kRasErrorInvalidParameter;

        uint32_t handle = 0;
        uint32_t answerAfterMs = 0;
        DWORD result = kRasSuccess;
        {
            TSession session;
            if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
            std::string entry, number = override;
            if (name.empty()) {
                // Dialling a number without an entry: RAS names such a connection by a dot and
                // the number.
                entry = "." + override;
                if (override.empty()) result = kRasErrorInvalidParameter;
            } else if (const TStandinEntry* found = session.State.FindEntry(name)) {
                entry = found->Name;
                if (number.empty()) number = found->Number;
            } else {
                result = kRasErrorCannotFindPhonebookEntry;
            }
            answerAfterMs = AnswerAfterMs(session.State);

            // The reporting thread is made before the connection is kept, so that a dial that
            // cannot report its progress never connects.
            HANDLE reporter = nullptr;
            TDialReport* report = nullptr;
            if (result == kRasSuccess && notifier) {
                report = new TDialReport{reinterpret_cast<TRasDialFunc>(notifier), 0, 0,
                                         answerAfterMs != 0};
                reporter = CreateDialReporter(report);
                if (!reporter) {
                    delete report;
                    result = kRasErrorNotEnoughMemory;
                }
            }
            if (result == kRasSuccess)
                result = session.State.Connect(entry, number, NowMs(), answerAfterMs, handle);
            if (result == kRasSuccess && !session.Save(true)) result = kRasErrorCannotOpenPhonebook;
            session.Log(std::string("RasDialA ") + (notifier ? "async " : "sync ") + Quoted(name) +
                        " " + number +
                        (answerAfterMs ? " answering after " + std::to_string(answerAfterMs) + " ms"
                                       : "") +
                        Result(result) +
                        (result == kRasSuccess ? " handle " + std::to_string(handle) : ""));
            if (result == kRasSuccess) *connection = HandleOf(handle);
            if (reporter) {
                report->Error = result;
                report->Handle = handle;
                ResumeThread(reporter);
                CloseHandle(reporter);
            }
        }
        // A synchronous dial returns once the call is answered, as a modem's does; the state's
        // lock is not held meanwhile, so that others may list the call and hang it up.
        if (result == kRasSuccess && !notifier && answerAfterMs != 0)
            result = AwaitAnswer(handle, [](DWORD) {});
        return result;
    });
}

DWORD WINAPI RasConnectionNotificationA(HANDLE connection, HANDLE event, DWORD flags)
{
    return Guarded([&]() -> DWORD {
        if (!event || event == INVALID_HANDLE_VALUE) return kRasErrorInvalidParameter;
        const uint32_t handle = HandleValue(connection);
        {
            TSession session;
            if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
            if (session.State.RefuseNotifications) return kRasErrorCallNotImplemented;
            if (handle != kAllRasConnections && !session.State.FindConnection(handle))
                return kRasErrorInvalidHandle;
        }
        return RegisterForChanges(handle, event, flags);
    });
}

DWORD WINAPI RasStandinReset()
{
    return Guarded([&]() -> DWORD {
        TSession session;
        const bool hadConnections = !session.State.Connections.empty();
        session.State.Clear();
        InterlockedExchange(&gOwnAnswerAfterMs, kNoOwnAnswerAfter);
        if (!session.Save(hadConnections)) return kRasErrorCannotOpenPhonebook;
        DeleteFileA(Place().LogFile.c_str());
        session.Log("reset");
        return kRasSuccess;
    });
}

DWORD WINAPI RasStandinSetAnswerAfter(DWORD ms, BOOL everyProcess)
{
    return Guarded([&]() -> DWORD {
        if (ms > 0x7FFFFFFF) return kRasErrorInvalidParameter;
        if (!everyProcess) {
            InterlockedExchange(&gOwnAnswerAfterMs, static_cast<LONG>(ms));
            return kRasSuccess;
        }
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        session.State.AnswerAfterMs = ms;
        if (!session.Save(false)) return kRasErrorCannotOpenPhonebook;
        session.Log("answer after " + std::to_string(ms) + " ms");
        return kRasSuccess;
    });
}

DWORD WINAPI RasStandinRefuseNotifications(BOOL refuse)
{
    return Guarded([&]() -> DWORD {
        TSession session;
        if (!session.ReadOk()) return kRasErrorCannotOpenPhonebook;
        session.State.RefuseNotifications = refuse != FALSE;
        if (!session.Save(false)) return kRasErrorCannotOpenPhonebook;
        session.Log(refuse ? "notifications refused" : "notifications accepted");
        return kRasSuccess;
    });
}

DWORD WINAPI RasStandinLogFile(LPSTR path, DWORD size)
{
    return Guarded([&]() -> DWORD {
        const std::string& log = Place().LogFile;
        if (!path || size <= log.size()) return 0;
        SetFieldText(path, size, log);
        return static_cast<DWORD>(log.size());
    });
}

}  // extern "C"
