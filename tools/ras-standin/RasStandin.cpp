// A stand-in for rasapi32.dll, for tests and demonstrations under Wine, whose own RAS library
// lists nothing and refuses connection notifications. Every process of a Wine prefix that loads
// it (through a DLL override) shares one phonebook and one list of connections, kept in a state
// file under a named mutex; each call reads the file and a change writes it back. Calls that
// change something are appended to a log beside the state, with the calling process.
//
// Connections come up at once and stay until hung up. Changes of the connections signal the
// events registered with RasConnectionNotificationA in every process: each process that
// registered one has a watcher thread waiting on an auto-reset event named after its process
// id, which every changer sets; the watcher then compares the state's change counts with what it
// saw last. An auto-reset event stays set until its watcher waits, so no change is missed, and
// changes that come together are reported together, as RAS does.
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "tools/ras-standin/RasExports.h"
#include "StandinState.h"
#include "common/StrUtils.h"
#include "dialup/RasApi.h"

namespace {

const DWORD kRasDialEvent = 0xCCCD;  // WM_RASDIALEVENT
const DWORD kStateConnected = 0x2000;
const DWORD kFlagConnection = 1, kFlagDisconnection = 2;  // RASCN_Connection, RASCN_Disconnection
const DWORD kCannotOpenPhonebook = 621;  // ERROR_CANNOT_OPEN_PHONEBOOK: the state file failed
const char kDeviceType[] = "modem";
const char kDeviceName[] = "Stand-in Modem";
// Read no more of a state file than a full one can hold.
const DWORD kMaxStateBytes = 4 << 20;

// Where this prefix's state lives and the names of the objects that guard it. The names carry a
// hash of the folder, so that tests with folders of their own never meet.
struct TPlace {
    std::string Folder, StateFile, LogFile, MutexName, WatchPrefix;
};

std::string EnvironmentValue(const char* name)
{
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

TPlace MakePlace()
{
    std::string folder = EnvironmentValue("RASSTANDIN_DIR");
    if (folder.empty()) {
        folder = EnvironmentValue("ProgramData");
        if (folder.empty()) folder = EnvironmentValue("ALLUSERSPROFILE");
        if (folder.empty()) {
            char windows[MAX_PATH];
            UINT n = GetWindowsDirectoryA(windows, sizeof windows);
            folder = std::string(windows, n < sizeof windows ? n : 0) + "\\Temp";
        }
        folder += "\\RasStandin";
    }
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    if (n > 0 && n < sizeof full) folder.assign(full, n);
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    CreateDirectoryA(folder.c_str(), nullptr);

    uint32_t hash = 2166136261u;  // FNV-1a of the folder, letter case aside as Windows paths go
    for (char c : UpperCase(folder)) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char tag[32];
    std::snprintf(tag, sizeof tag, "RasStandin-%08lX", static_cast<unsigned long>(hash));

    TPlace place;
    place.Folder = folder;
    place.StateFile = folder + "\\rasstandin.dat";
    place.LogFile = folder + "\\rasstandin.log";
    place.MutexName = std::string(tag) + "-lock";
    place.WatchPrefix = std::string(tag) + "-watch-";
    return place;
}

// Fixed for the process at its first RAS call.
const TPlace& Place()
{
    static const TPlace place = MakePlace();
    return place;
}

std::string WatchEventName(uint32_t pid) { return Place().WatchPrefix + std::to_string(pid); }

std::string ProcessName()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, n < sizeof path ? n : 0);
    size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool ReadWhole(const std::string& path, std::string& text)
{
    text.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while (text.size() < kMaxStateBytes) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) ok = false;
        if (!ok || got == 0) break;
        text.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool WriteWhole(const std::string& path, const std::string& text, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (disposition == OPEN_ALWAYS) SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    return CloseHandle(file) && ok;
}

// One call's hold on the shared state: the named mutex for its lifetime, the state as read.
class TSession {
public:
    TSession()
    {
        FMutex = CreateMutexA(nullptr, FALSE, Place().MutexName.c_str());
        // An owner that died holding the mutex leaves WAIT_ABANDONED: the file is replaced
        // whole, so what it left is still a complete state.
        if (FMutex) WaitForSingleObject(FMutex, INFINITE);
        std::string text;
        FReadOk = FMutex && ReadWhole(Place().StateFile, text);
        State = ParseStandinState(text);
    }
    ~TSession()
    {
        if (FMutex) {
            ReleaseMutex(FMutex);
            CloseHandle(FMutex);
        }
    }
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    bool ReadOk() const { return FReadOk; }

    // Writes the state back; when the connections changed, wakes every watcher. Written to a
    // new file that then replaces the old one, so that a process killed in the middle never
    // leaves half a state.
    bool Save(bool connectionsChanged)
    {
        std::vector<HANDLE> watchers;
        if (connectionsChanged) {
            std::vector<uint32_t> alive;
            for (uint32_t pid : State.Watchers) {
                // A watcher's event goes with its process: one that cannot be opened is gone.
                HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, WatchEventName(pid).c_str());
                if (!event) continue;
                alive.push_back(pid);
                watchers.push_back(event);
            }
            State.Watchers = alive;
        }
        const std::string& path = Place().StateFile;
        const std::string temporary = path + ".new";
        bool ok = WriteWhole(temporary, FormatStandinState(State), CREATE_ALWAYS) &&
                  MoveFileExA(temporary.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        for (HANDLE event : watchers) {
            SetEvent(event);
            CloseHandle(event);
        }
        return ok;
    }

    // One line of the log: local time to the millisecond, the calling process, what it did.
    // Written while the mutex is held, so lines of different processes never mix.
    void Log(const std::string& what)
    {
        SYSTEMTIME t;
        GetLocalTime(&t);
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u pid %lu ",
                      t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                      t.wMilliseconds, static_cast<unsigned long>(GetCurrentProcessId()));
        WriteWhole(Place().LogFile, stamp + ProcessName() + ": " + what + "\r\n", OPEN_ALWAYS);
    }

    TStandinState State;

private:
    HANDLE FMutex = nullptr;
    bool FReadOk = false;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Result(DWORD code) { return " -> " + std::to_string(code); }

// Exports must not let an exception out into a caller that knows nothing of C++.
template <typename TFn>
DWORD Guarded(TFn fn)
{
    try {
        return fn();
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

uint32_t HandleValue(HANDLE h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); }

HANDLE HandleOf(uint32_t value) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)); }

// --- Notifications -------------------------------------------------------------------------

struct TRegistration {
    uint32_t Connection;  // kAllRasConnections, or the one connection whose end is awaited
    HANDLE Event;         // our own duplicate: the caller may close theirs
    DWORD Flags;
};

std::mutex gWatchLock;
std::vector<TRegistration> gRegistrations;
HANDLE gWatchEvent = nullptr;
uint32_t gSeenConnects = 0, gSeenDisconnects = 0;

DWORD WINAPI Watch(void*)
{
    for (;;) {
        if (WaitForSingleObject(gWatchEvent, INFINITE) != WAIT_OBJECT_0) {
            Sleep(20);
            continue;
        }
        TStandinState state;
        {
            TSession session;
            state = session.State;
        }
        std::lock_guard<std::mutex> guard(gWatchLock);
        const bool connected = state.Connects != gSeenConnects;
        const bool disconnected = state.Disconnects != gSeenDisconnects;
        gSeenConnects = state.Connects;
        gSeenDisconnects = state.Disconnects;
        for (size_t i = 0; i < gRegistrations.size();) {
            TRegistration& r = gRegistrations[i];
            if (r.Connection != kAllRasConnections) {
                // Awaiting one connection's end: reported once, then the registration is spent.
                if (state.FindConnection(r.Connection)) {
                    ++i;
                    continue;
                }
                SetEvent(r.Event);
                CloseHandle(r.Event);
                gRegistrations.erase(gRegistrations.begin() + i);
                continue;
            }
            if (((r.Flags & kFlagConnection) && connected) ||
                ((r.Flags & kFlagDisconnection) && disconnected))
                SetEvent(r.Event);
            ++i;
        }
    }
}

// Called with gWatchLock held. The baseline counts are taken under the state's mutex together
// with the entry in the list of watchers, so every later change wakes this watcher.
DWORD StartWatcher()
{
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE,
                                WatchEventName(GetCurrentProcessId()).c_str());
    if (!event) return GetLastError();
    {
        TSession session;
        if (!session.ReadOk()) {
            CloseHandle(event);
            return kCannotOpenPhonebook;
        }
        TStandinState& s = session.State;
        const uint32_t pid = GetCurrentProcessId();
        bool listed = false;
        for (uint32_t w : s.Watchers) listed = listed || w == pid;
        if (!listed) s.Watchers.push_back(pid);
        gSeenConnects = s.Connects;
        gSeenDisconnects = s.Disconnects;
        if (!session.Save(false)) {
            CloseHandle(event);
            return kCannotOpenPhonebook;
        }
    }
    // The watcher runs until the process ends, so this library must stay loaded under it.
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&Watch), &self);
    gWatchEvent = event;
    HANDLE thread = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);
    if (!thread) {
        gWatchEvent = nullptr;
        CloseHandle(event);
        return GetLastError();
    }
    CloseHandle(thread);
    return 0;
}

// --- Asynchronous dial ---------------------------------------------------------------------

// The progress a dial reports: the states a modem connection passes through.
const DWORD kDialStates[] = {0, 1, 2, 3, 4, 5, 14, kStateConnected};

struct TDialReport {
    TRasDialFunc Notifier;
    DWORD Error;  // set before the thread runs: a failed dial reports its first state and this
};

DWORD WINAPI ReportDial(void* parameter)
{
    TDialReport report = *static_cast<TDialReport*>(parameter);
    delete static_cast<TDialReport*>(parameter);
    if (report.Error != 0) {
        report.Notifier(kRasDialEvent, kDialStates[0], report.Error);
    } else {
        for (DWORD state : kDialStates) report.Notifier(kRasDialEvent, state, 0);
    }
    // The thread held a reference to this library, so that it cannot be unloaded under it.
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
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
    case 6: return "The handle is invalid.";
    case 8: return "Not enough storage is available to process this command.";
    case 87: return "The parameter is incorrect.";
    case 123: return "The entry name is invalid.";
    case 603: return "The buffer is too small.";
    case 621: return "The system could not open the phone book file.";
    case 623: return "The system could not find the phone book entry for this connection.";
    case 632: return "The structure size is incorrect.";
    case 633: return "The modem is already in use or is not configured for dialing out.";
    default: return nullptr;
    }
}

}  // namespace

// --- The exports, with the RAS library's own parameters ----------------------------------

extern "C" {

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, TRasEntryNameA* names,
                             DWORD* bytes, DWORD* count)
{
    return Guarded([&]() -> DWORD {
        if (reserved || !bytes || !count) return kStandinInvalidParameter;
        if (names && names->dwSize != sizeof(TRasEntryNameA)) return kStandinInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        const std::vector<TStandinEntry>& entries = session.State.Entries;
        const DWORD needed = static_cast<DWORD>(entries.size() * sizeof(TRasEntryNameA));
        const DWORD given = names ? *bytes : 0;
        *bytes = needed;
        *count = static_cast<DWORD>(entries.size());
        if (needed > given) return kStandinBufferTooSmall;
        for (size_t i = 0; i < entries.size(); ++i) {
            names[i].dwSize = sizeof(TRasEntryNameA);
            SetFieldText(names[i].szEntryName, sizeof names[i].szEntryName, entries[i].Name);
        }
        return kStandinOk;
    });
}

DWORD WINAPI RasEnumConnectionsA(TRasConnA* connections, DWORD* bytes, DWORD* count)
{
    return Guarded([&]() -> DWORD {
        if (!bytes || !count) return kStandinInvalidParameter;
        if (connections && connections->dwSize != sizeof(TRasConnA)) return kStandinInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        const std::vector<TStandinConnection>& list = session.State.Connections;
        const DWORD needed = static_cast<DWORD>(list.size() * sizeof(TRasConnA));
        const DWORD given = connections ? *bytes : 0;
        *bytes = needed;
        *count = static_cast<DWORD>(list.size());
        if (needed > given) return kStandinBufferTooSmall;
        for (size_t i = 0; i < list.size(); ++i) {
            TRasConnA& c = connections[i];
            c.dwSize = sizeof(TRasConnA);
            c.hrasconn = list[i].Handle;
            SetFieldText(c.szEntryName, sizeof c.szEntryName, list[i].Entry);
            SetFieldText(c.szDeviceType, sizeof c.szDeviceType, kDeviceType);
            SetFieldText(c.szDeviceName, sizeof c.szDeviceName, kDeviceName);
        }
        return kStandinOk;
    });
}

DWORD WINAPI RasGetConnectStatusA(HANDLE connection, TRasConnStatusA* status)
{
    return Guarded([&]() -> DWORD {
        if (!status) return kStandinInvalidParameter;
        // The basic form, or the one with the connected number (or a later, longer one).
        const bool extended = status->dwSize >= sizeof(TRasConnStatusExA);
        if (!extended && status->dwSize != sizeof(TRasConnStatusA)) return kStandinInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        const TStandinConnection* c = session.State.FindConnection(HandleValue(connection));
        if (!c) return kStandinInvalidHandle;
        status->rasconnstate = kStateConnected;
        status->dwError = 0;
        SetFieldText(status->szDeviceType, sizeof status->szDeviceType, kDeviceType);
        SetFieldText(status->szDeviceName, sizeof status->szDeviceName, kDeviceName);
        if (extended) {
            auto* ex = reinterpret_cast<TRasConnStatusExA*>(status);
            SetFieldText(ex->szPhoneNumber, sizeof ex->szPhoneNumber, c->Number);
        }
        return kStandinOk;
    });
}

DWORD WINAPI RasHangUpA(HANDLE connection)
{
    return Guarded([&]() -> DWORD {
        const uint32_t handle = HandleValue(connection);
        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        std::string what = "RasHangUpA " + std::to_string(handle);
        if (const TStandinConnection* c = session.State.FindConnection(handle))
            what += " " + Quoted(c->Entry) + " " + c->Number;
        DWORD result = session.State.HangUp(handle);
        if (result == kStandinOk && !session.Save(true)) result = kCannotOpenPhonebook;
        session.Log(what + Result(result));
        return result;
    });
}

DWORD WINAPI RasGetErrorStringA(UINT error, LPSTR text, DWORD size)
{
    return Guarded([&]() -> DWORD {
        if (!text || size == 0) return kStandinInvalidParameter;
        const char* known = ErrorText(error);
        SetFieldText(text, size, known ? known : "RAS error " + std::to_string(error) + ".");
        return kStandinOk;
    });
}

DWORD WINAPI RasGetEntryDialParamsA(LPCSTR phonebook, TRasDialParamsA* params, BOOL* password)
{
    return Guarded([&]() -> DWORD {
        if (!params) return kStandinInvalidParameter;
        if (params->dwSize < sizeof(TRasDialParamsA)) return kStandinInvalidSize;
        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        if (!session.State.FindEntry(FieldText(params->szEntryName, sizeof params->szEntryName)))
            return kStandinCannotFindEntry;
        // No number is kept with the dial parameters: the entry's own number is dialled.
        params->szPhoneNumber[0] = params->szCallbackNumber[0] = '\0';
        params->szUserName[0] = params->szPassword[0] = params->szDomain[0] = '\0';
        if (password) *password = FALSE;
        return kStandinOk;
    });
}

DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR name, TRasEntryA* entry,
                                    DWORD* entryBytes, BYTE* deviceInfo, DWORD* deviceInfoBytes)
{
    return Guarded([&]() -> DWORD {
        if (!entryBytes) return kStandinInvalidParameter;
        if (deviceInfoBytes) *deviceInfoBytes = 0;
        if (!entry || *entryBytes < sizeof(TRasEntryA)) {
            *entryBytes = sizeof(TRasEntryA);
            return kStandinBufferTooSmall;
        }
        if (entry->dwSize < sizeof(TRasEntryA)) return kStandinInvalidSize;
        std::string number;
        // No name asks for the properties a new entry would get.
        if (name && *name) {
            TSession session;
            if (!session.ReadOk()) return kCannotOpenPhonebook;
            const TStandinEntry* found = session.State.FindEntry(name);
            if (!found) return kStandinCannotFindEntry;
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
        return kStandinOk;
    });
}

DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR name, TRasEntryA* entry,
                                    DWORD entryBytes, BYTE* deviceInfo, DWORD deviceInfoBytes)
{
    return Guarded([&]() -> DWORD {
        if (!name || !entry) return kStandinInvalidParameter;
        if (entry->dwSize < sizeof(TRasEntryA) || entryBytes < entry->dwSize)
            return kStandinInvalidSize;
        // A leading dot marks a connection dialled by number alone.
        if (!IsStorableText(name, kRasMaxEntryName) || name[0] == '.') return kStandinInvalidName;
        std::string number =
            FieldText(entry->szLocalPhoneNumber, sizeof entry->szLocalPhoneNumber);
        if (!number.empty() && !IsStorableText(number, kRasMaxPhoneNumber))
            return kStandinInvalidParameter;
        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        DWORD result = session.State.SetEntry(name, number);
        if (result == kStandinOk && !session.Save(false)) result = kCannotOpenPhonebook;
        session.Log("RasSetEntryPropertiesA " + Quoted(name) + " " + number + Result(result));
        return result;
    });
}

DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR name)
{
    return Guarded([&]() -> DWORD {
        if (!name) return kStandinInvalidParameter;
        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        DWORD result = session.State.DeleteEntry(name);
        if (result == kStandinOk && !session.Save(false)) result = kCannotOpenPhonebook;
        session.Log("RasDeleteEntryA " + Quoted(name) + Result(result));
        return result;
    });
}

DWORD WINAPI RasDialA(void* extensions, LPCSTR phonebook, TRasDialParamsA* params,
                      DWORD notifierType, void* notifier, HANDLE* connection)
{
    return Guarded([&]() -> DWORD {
        if (!params || !connection) return kStandinInvalidParameter;
        if (params->dwSize < sizeof(TRasDialParamsA)) return kStandinInvalidSize;
        // Only the plain progress function (RasDialFunc) is offered.
        if (notifier && notifierType != 0) return kStandinInvalidParameter;
        *connection = nullptr;
        const std::string name = FieldText(params->szEntryName, sizeof params->szEntryName);
        const std::string override =
            FieldText(params->szPhoneNumber, sizeof params->szPhoneNumber);
        if (!override.empty() && !IsStorableText(override, kRasMaxPhoneNumber))
            return kStandinInvalidParameter;

        TSession session;
        if (!session.ReadOk()) return kCannotOpenPhonebook;
        std::string entry, number = override;
        DWORD result = kStandinOk;
        if (name.empty()) {
            // Dialling a number without an entry: RAS names such a connection by a dot and
            // the number.
            entry = "." + override;
            if (override.empty()) result = kStandinInvalidParameter;
        } else if (const TStandinEntry* found = session.State.FindEntry(name)) {
            entry = found->Name;
            if (number.empty()) number = found->Number;
        } else {
            result = kStandinCannotFindEntry;
        }

        // The reporting thread is made before the connection is kept, so that a dial that
        // cannot report its progress never connects.
        HANDLE reporter = nullptr;
        TDialReport* report = nullptr;
        if (result == kStandinOk && notifier) {
            report = new TDialReport{reinterpret_cast<TRasDialFunc>(notifier), 0};
            reporter = CreateDialReporter(report);
            if (!reporter) {
                delete report;
                result = ERROR_NOT_ENOUGH_MEMORY;
            }
        }
        uint32_t handle = 0;
        if (result == kStandinOk) result = session.State.Connect(entry, number, handle);
        if (result == kStandinOk && !session.Save(true)) result = kCannotOpenPhonebook;
        session.Log(std::string("RasDialA ") + (notifier ? "async " : "sync ") +
                    Quoted(name) + " " + number + Result(result) +
                    (result == kStandinOk ? " handle " + std::to_string(handle) : ""));
        if (result == kStandinOk) *connection = HandleOf(handle);
        if (reporter) {
            report->Error = result;
            ResumeThread(reporter);
            CloseHandle(reporter);
        }
        return result;
    });
}

DWORD WINAPI RasConnectionNotificationA(HANDLE connection, HANDLE event, DWORD flags)
{
    return Guarded([&]() -> DWORD {
        if (!event || event == INVALID_HANDLE_VALUE) return kStandinInvalidParameter;
        const uint32_t handle = HandleValue(connection);
        if (handle != kAllRasConnections) {
            TSession session;
            if (!session.ReadOk()) return kCannotOpenPhonebook;
            if (!session.State.FindConnection(handle)) return kStandinInvalidHandle;
        }
        HANDLE own = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &own, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            return kStandinInvalidHandle;
        std::lock_guard<std::mutex> guard(gWatchLock);
        if (!gWatchEvent) {
            DWORD started = StartWatcher();
            if (started != 0) {
                CloseHandle(own);
                return started;
            }
        }
        gRegistrations.push_back(TRegistration{handle, own, flags});
        return DWORD(kStandinOk);
    });
}

DWORD WINAPI RasStandinReset()
{
    return Guarded([&]() -> DWORD {
        TSession session;
        const bool hadConnections = !session.State.Connections.empty();
        session.State.Clear();
        if (!session.Save(hadConnections)) return kCannotOpenPhonebook;
        DeleteFileA(Place().LogFile.c_str());
        session.Log("reset");
        return kStandinOk;
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
