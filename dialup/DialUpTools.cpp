#include "dialup/DialUpTools.h"

#include <algorithm>
#include <cstring>

#include "common/Format.h"
#include "common/StrUtils.h"
#include "platform/AnsiText.h"
#include "platform/Threads.h"

namespace {

// The component that receives the progress reports of an asynchronous dial. The RAS callback
// thread reads it, the user-interface thread sets and clears it; the lock makes sure that a
// component being destroyed is never touched by a callback once it has left this slot.
TLock& ActiveLock()
{
    static TLock lock;
    return lock;
}
TDialUp* gActiveDialUp = nullptr;

const char* const kEnumKey = "System\\CurrentControlSet\\Control\\PerfStats\\Enum";
const char* const kStatKey = "PerfStats\\StartStat";
const size_t kMaxAdapterNameChars = 32;
const uint32_t kErrorTextSize = 100;  // stated size; the buffer holds one byte more

// Number of records the caller may read: never more than the buffer holds, whatever count
// the backend claims.
uint32_t ReadableCount(uint32_t count, size_t capacity, uint32_t bytesGiven, size_t recordSize)
{
    size_t limit = std::min(capacity, static_cast<size_t>(bytesGiven) / recordSize);
    return static_cast<uint32_t>(std::min(static_cast<size_t>(count), limit));
}

// Text of an ANSI character field of a RAS record, as UTF-8. The field need not hold its NUL.
template <size_t N>
std::string RecordText(const char (&field)[N])
{
    return AnsiToUtf8(FieldText(field, N));
}

// Copies UTF-8 text into an event's character field, cut at a character boundary so that the
// NUL always fits and no character is split.
template <size_t N>
void ToField(char (&field)[N], const std::string& text)
{
    size_t n = std::min(text.size(), N - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

// The ANSI form of an entry name, or false when no phonebook entry can carry that name: it
// would not fit the records, or an embedded NUL would make RAS see a different name.
bool AnsiEntryName(const std::string& entry, std::string& ansi)
{
    ansi = Utf8ToAnsi(entry);
    return ansi.size() <= kRasMaxEntryName && ansi.find('\0') == std::string::npos;
}

size_t CharCount(const std::string& utf8)
{
    size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// The dial parameters hold the saved password; they do not outlive the call.
void Wipe(TRasDialParamsA& params)
{
    volatile char* p = reinterpret_cast<volatile char*>(&params);
    for (size_t i = 0; i < sizeof params; ++i) p[i] = 0;
}

const char* StateName(int32_t state)
{
    switch (state) {
    case 0: return "Opening port";
    case 1: return "Port opened";
    case 2: return "Connecting device";
    case 3: return "Device connected";
    case 4: return "All devices connected";
    case 5: return "Start authenticating";
    case 6: return "Authentication: notify";
    case 7: return "Authentication: retry";
    case 8: return "Authentication: callback";
    case 9: return "Authentication: change password";
    case 10: return "Authentication: projecting";
    case 11: return "Authentication: link speed";
    case 12: return "Authentication: acknowledge";
    case 13: return "Authentication: reauthenticate";
    case 14: return "Authenticated";
    case 15: return "Preparing for callback";
    case 16: return "Waiting for modem reset";
    case 17: return "Waiting for callback";
    case 18: return "Projected";
    case 19: return "Start authentication";
    case 20: return "Callback complete";
    case 21: return "Logging on network";
    case 22: return "Sub Entry Connected";
    case 23: return "Sub Entry Disconnected";
    case 4096: return "Interactive";
    case 4097: return "Retry Authentication";
    case 4098: return "Callback set by caller";
    case 4099: return "Password expired";
    case 4100: return "Invoke EapUI";
    case 8192: return "Connected";
    case 8193: return "Disconnected";
    default: return "";
    }
}

}  // namespace

// The connection records of one enumeration; they live only for the call that made them.
struct TDialUp::TConnectionList {
    std::vector<TRasConnA> Records = std::vector<TRasConnA>(kRasEnumCapacity);
    uint32_t Count = 0;
};

TDialUp::TDialUp(IRasApi& ras, IUserInterfaceThread& ui, IClock& clock, IRegistry* registry,
                 bool windows95Family)
    : FRas(ras), FUi(ui), FClock(clock), FRegistry(registry), FWindows95Family(windows95Family)
{
    FAsyncTimer = FUi.CreateTimer([this] { AsyncTimerTick(); });
    GetDUNA();
}

TDialUp::~TDialUp()
{
    {
        TLockGuard guard(ActiveLock());
        if (gActiveDialUp == this) gActiveDialUp = nullptr;
    }
    if (FAsyncTimer) FAsyncTimer->Stop();
}

TDialUp* TDialUp::ActiveDialUp()
{
    TLockGuard guard(ActiveLock());
    return gActiveDialUp;
}

void TDialUp::Log(const std::string& text)
{
    if (OnLog) OnLog(text);
}

std::string TDialUp::ErrorText(uint32_t code)
{
    char text[kErrorTextSize + 1] = {};
    FRas.RasGetErrorString(code, text, kErrorTextSize);
    return RecordText(text);
}

std::string TDialUp::GetStateText(int32_t State, int32_t Error)
{
    if (Error != 0) return ErrorText(static_cast<uint32_t>(Error));
    return StateName(State);
}

int32_t TDialUp::GetEntries()
{
    FEntries.clear();
    std::vector<TRasEntryNameA> records(kRasEnumCapacity);
    for (TRasEntryNameA& record : records) record.dwSize = sizeof(TRasEntryNameA);
    const uint32_t bytesGiven = static_cast<uint32_t>(records.size() * sizeof(TRasEntryNameA));
    uint32_t byteCount = bytesGiven;
    uint32_t count = 0;
    uint32_t result = FRas.RasEnumEntries(records.data(), &byteCount, &count);
    if (result != 0) return static_cast<int32_t>(result);

    uint32_t n = ReadableCount(count, records.size(), bytesGiven, sizeof(TRasEntryNameA));
    for (uint32_t i = 0; i < n; ++i) {
        std::string name = RecordText(records[i].szEntryName);
        FEntries.push_back(name);
        if (OnEntryGet) {
            TEntryNameField field;
            ToField(field, name);
            OnEntryGet(this, field);
        }
    }
    return 0;
}

uint32_t TDialUp::EnumConnections(TConnectionList& list)
{
    list.Records[0].dwSize = sizeof(TRasConnA);
    const uint32_t bytesGiven = static_cast<uint32_t>(list.Records.size() * sizeof(TRasConnA));
    uint32_t byteCount = bytesGiven;
    uint32_t count = 0;
    uint32_t result = FRas.RasEnumConnections(list.Records.data(), &byteCount, &count);
    list.Count = result == 0
                         ? ReadableCount(count, list.Records.size(), bytesGiven, sizeof(TRasConnA))
                         : 0;
    return result;
}

int32_t TDialUp::GetConnections(bool WithStatus)
{
    FConnections.clear();
    FConnectionHandles.clear();
    TConnectionList list;
    uint32_t result = EnumConnections(list);
    if (result != 0 || list.Count == 0) {
        FConnected = false;
        return static_cast<int32_t>(result);
    }

    for (uint32_t i = 0; i < list.Count; ++i) {
        const TRasConnA& connection = list.Records[i];
        const int number = static_cast<int>(i) + 1;
        std::string entryName = RecordText(connection.szEntryName);
        FConnections.push_back(entryName);
        FConnectionHandles.push_back(connection.hrasconn);
        if (!WithStatus) continue;

        // A fresh basic record for every connection: when both status queries fail, the
        // connection must not be shown with the previous connection's state.
        TRasConnStatusA status{};
        status.dwSize = sizeof(TRasConnStatusA);
        TRasConnStatusExA extended{};
        extended.dwSize = sizeof(TRasConnStatusExA);
        if (FRas.RasGetConnectStatus(connection.hrasconn,
                                     reinterpret_cast<TRasConnStatusA*>(&extended)) == 0) {
            status.rasconnstate = extended.rasconnstate;
            status.dwError = extended.dwError;
            std::memcpy(status.szDeviceType, extended.szDeviceType, sizeof status.szDeviceType);
            std::memcpy(status.szDeviceName, extended.szDeviceName, sizeof status.szDeviceName);
            Log(
                    Format("[TDialUp.GetConnections] Connection %d: Entry = \"%s\". FOUND Active "
                           "Phone Number = \"%s\"!!!",
                           number, entryName, RecordText(extended.szPhoneNumber)));
        } else {
            FRas.RasGetConnectStatus(connection.hrasconn, &status);
            status.dwSize = sizeof(TRasConnStatusA);
        }
        std::string statusString = GetStateText(static_cast<int32_t>(status.rasconnstate),
                                                static_cast<int32_t>(status.dwError));

        std::string deviceType = RecordText(connection.szDeviceType);
        std::string deviceName = RecordText(connection.szDeviceName);
        Log(
                Format("[TDialUp.GetConnections] Connection %d: Entry = \"%s\", DeviceType = "
                       "\"%s\", DeviceName = \"%s\"",
                       number, entryName, deviceType, deviceName));

        if (OnActiveConnection) {
            TEntryNameField entryField;
            TDeviceTypeField typeField;
            TDeviceNameField nameField;
            ToField(entryField, entryName);
            ToField(typeField, deviceType);
            ToField(nameField, deviceName);
            OnActiveConnection(this, connection.hrasconn, status, statusString, entryField,
                               typeField, nameField);
        }
    }
    FConnected = true;
    return 0;
}

int32_t TDialUp::GetConnectedNumber(std::string& Number, int32_t Index)
{
    TConnectionList list;
    uint32_t result = EnumConnections(list);
    if (result != 0) return static_cast<int32_t>(result);
    if (Index < 0 || static_cast<uint32_t>(Index) >= list.Count) return kDialUpNoResult;
    return NumberOfConnection(list.Records[static_cast<size_t>(Index)], Index, Number);
}

int32_t TDialUp::NumberOfConnection(const TRasConnA& connection, int32_t Index, std::string& Number)
{
    std::string entryName = RecordText(connection.szEntryName);
    TRasConnStatusExA extended{};
    extended.dwSize = sizeof(TRasConnStatusExA);
    if (FRas.RasGetConnectStatus(connection.hrasconn,
                                 reinterpret_cast<TRasConnStatusA*>(&extended)) == 0) {
        Number = RecordText(extended.szPhoneNumber);
        FLastConnectState = extended.rasconnstate;
        Log(
                Format("[TDialUp.GetConnectedNumber] Connection %d: Entry = \"%s\". FOUND2 Active "
                       "Phone Number = \"%s\"!",
                       Index, entryName, Number));
    } else {
        Log(
                Format("[TDialUp.GetConnectedNumber] Connection %d: Entry = \"%s\". "
                       "RasGetConnectStatus FAILED!",
                       Index, entryName));
        Number.clear();
        FLastConnectState = kRasStateUnknown;
    }
    return Number.empty() ? kDialUpNoResult : 0;
}

int32_t TDialUp::GetEntryOverridingPhoneNumber(std::string& Number)
{
    Number.clear();
    std::string entry;
    if (!AnsiEntryName(FEntry, entry)) return kRasErrorCannotFindPhonebookEntry;
    TRasDialParamsA params{};
    params.dwSize = sizeof(TRasDialParamsA);
    SetFieldText(params.szEntryName, sizeof params.szEntryName, entry);
    int32_t passwordSaved = 0;
    uint32_t result = FRas.RasGetEntryDialParams(&params, &passwordSaved);
    if (result == 0) Number = RecordText(params.szPhoneNumber);
    Wipe(params);
    if (result != 0) return static_cast<int32_t>(result);

    Log(Format("[TDialUp.GetEntryOverridingPhoneNumber] Entry \"%s\" PhoneNumber = \"%s\"", FEntry,
               Number));
    return Number.empty() ? kDialUpNoResult : 0;
}

int32_t TDialUp::GetEntryPhoneNumber(std::string& Number)
{
    Number.clear();
    std::string entry;
    if (!AnsiEntryName(FEntry, entry)) return kRasErrorCannotFindPhonebookEntry;
    std::unique_ptr<TRasEntryA> properties(new TRasEntryA());
    properties->dwSize = sizeof(TRasEntryA);
    uint32_t size = sizeof(TRasEntryA);
    uint32_t result = FRas.RasGetEntryProperties(entry.c_str(), properties.get(), &size);
    if (result != 0) return static_cast<int32_t>(result);

    Number = RecordText(properties->szLocalPhoneNumber);
    Log(Format("[TDialUp.GetEntryPhoneNumber] Entry \"%s\" PhoneNumber = \"%s\"", FEntry, Number));
    return Number.empty() ? kDialUpNoResult : 0;
}

int32_t TDialUp::HangUpConnection(int32_t Index)
{
    TConnectionList list;
    uint32_t result = EnumConnections(list);
    if (result != 0) return static_cast<int32_t>(result);
    if (Index < 0 || static_cast<uint32_t>(Index) >= list.Count) return kDialUpNoResult;

    result = FRas.RasHangUp(list.Records[static_cast<size_t>(Index)].hrasconn);
    if (result == 0 && list.Count == 1) SetConnected(false);
    return static_cast<int32_t>(result);
}

int32_t TDialUp::GetConnectedNumberOf(std::string& Number, THRasConn Handle)
{
    // Asked of the handle itself: a check cycle asks this for every connection it walks, and
    // listing all connections each time would make the cycle quadratic in their number. A
    // handle that has gone fails the query; the hang-up checks the list again.
    TRasConnA connection{};
    connection.hrasconn = Handle;
    return NumberOfConnection(connection, -1, Number);
}

int32_t TDialUp::HangUpConnectionOf(THRasConn Handle)
{
    TConnectionList list;
    uint32_t result = EnumConnections(list);
    if (result != 0) return static_cast<int32_t>(result);
    for (uint32_t i = 0; i < list.Count; ++i) {
        if (list.Records[i].hrasconn != Handle) continue;
        result = FRas.RasHangUp(Handle);
        if (result == 0 && list.Count == 1) SetConnected(false);
        return static_cast<int32_t>(result);
    }
    return kDialUpNoResult;
}

int32_t TDialUp::DeleteEntry()
{
    std::string entry;
    if (!AnsiEntryName(FEntry, entry)) return kRasErrorCannotFindPhonebookEntry;
    return static_cast<int32_t>(FRas.RasDeleteEntry(entry.c_str()));
}

int32_t TDialUp::HangUpHandle(THRasConn handle)
{
    TRasConnStatusA status{};
    status.dwSize = sizeof(TRasConnStatusA);
    uint32_t result = FRas.RasHangUp(handle);
    if (result != 0) return static_cast<int32_t>(result);

    // RAS needs a moment to let the line go; starting a new dial before the old connection
    // has gone fails. The wait has a limit so that a connection that never goes cannot hang
    // the guard.
    const uint32_t start = FClock.TickCount();
    while (FRas.RasGetConnectStatus(handle, &status) != kRasErrorInvalidHandle) {
        if (static_cast<uint32_t>(FClock.TickCount() - start) >= kHangUpWaitLimitMs) {
            Log(
                    Format("[TDialUp.HangUpHandle] Connection %d still present after %d ms; "
                           "no longer waiting",
                           handle, kHangUpWaitLimitMs));
            break;
        }
        status.dwSize = sizeof(TRasConnStatusA);
        FClock.Sleep(0);
        FUi.ProcessMessages();
    }
    return 0;
}

int32_t TDialUp::HangUp()
{
    int32_t result = HangUpHandle(FDialHandle);
    // The handle is spent either way; keeping it would hang up whatever connection RAS hands
    // the same value to later.
    FDialHandle = 0;
    FConnected = false;
    return result;
}

void TDialUp::SetConnected(bool Value)
{
    if (Value == FConnected) return;
    if (FConnected)
        HangUp();
    else
        Dial("");
}

int32_t TDialUp::Dial(const std::string& Number)
{
    HangUp();
    const std::string number = Trim(Number);

    TRasDialParamsA params{};
    params.dwSize = sizeof(TRasDialParamsA);
    std::string entry;
    uint32_t result = kRasErrorCannotFindPhonebookEntry;
    if (AnsiEntryName(FEntry, entry)) {
        SetFieldText(params.szEntryName, sizeof params.szEntryName, entry);
        int32_t passwordSaved = 0;
        result = FRas.RasGetEntryDialParams(&params, &passwordSaved);
    }
    if (result != 0) {
        Wipe(params);
        if (OnError) OnError(this, static_cast<int32_t>(result), "GetEntryDialParams failed");
        return static_cast<int32_t>(result);
    }

    if (!number.empty()) {
        // A number cut to fit the record would dial somebody else.
        std::string ansiNumber = Utf8ToAnsi(number);
        if (ansiNumber.size() > kRasMaxPhoneNumber) {
            Wipe(params);
            if (OnError)
                OnError(this, static_cast<int32_t>(kRasErrorInvalidParameter),
                        ErrorText(kRasErrorInvalidParameter));
            return static_cast<int32_t>(kRasErrorInvalidParameter);
        }
        SetFieldText(params.szPhoneNumber, sizeof params.szPhoneNumber, ansiNumber);
    }

    FDialHandle = 0;
    if (FDialMode == dmSync) {
        if (OnDialing) OnDialing(this);
        result = FRas.RasDial(&params, nullptr, &FDialHandle);
        Wipe(params);
        if (result == 0) {
            FConnected = true;
            if (OnConnect) OnConnect(this);
        } else {
            if (FDialHandle != 0) {
                HangUpHandle(FDialHandle);
                FDialHandle = 0;
            }
            std::string text = ErrorText(result);
            FConnected = false;
            if (OnNotConnected) OnNotConnected(this, static_cast<int32_t>(result), text);
        }
    } else {
        {
            TLockGuard guard(ActiveLock());
            gActiveDialUp = this;
        }
        if (OnDialing) OnDialing(this);
        result = FRas.RasDial(&params, &TDialUp::DialProgress, &FDialHandle);
        Wipe(params);
        if (result != 0) {
            std::string text = ErrorText(result);
            if (OnError) OnError(this, static_cast<int32_t>(result), text);
        }
    }
    return static_cast<int32_t>(result);
}

// RAS thread. Waits (spinning, the reports are few and the user-interface thread takes each
// within a timer tick) until the previous report has been delivered, then leaves this one in
// the slot and wakes the user-interface thread through the timer. A report for a component
// that no longer exists is dropped.
void RASAPI_CALL TDialUp::DialProgress(uint32_t message, uint32_t state, uint32_t error)
{
    for (;;) {
        {
            TLockGuard guard(ActiveLock());
            TDialUp* dialUp = gActiveDialUp;
            if (!dialUp) return;
            if (!dialUp->FAsyncPending.load()) {
                dialUp->FAsyncMessage = message;
                dialUp->FAsyncState = state;
                dialUp->FAsyncError = error;
                dialUp->FAsyncPending.store(true);
                dialUp->FAsyncTimer->Start(1);
                return;
            }
        }
        YieldThread();
    }
}

void TDialUp::AsyncTimerTick()
{
    FAsyncTimer->Stop();
    if (!FAsyncPending.load()) return;
    // The slot is freed even when the handler raises, or the callback thread would wait for
    // ever.
    struct TRelease {
        std::atomic<bool>& Pending;
        ~TRelease() { Pending.store(false); }
    } release{FAsyncPending};
    const int32_t state = static_cast<int32_t>(FAsyncState);
    const int32_t error = static_cast<int32_t>(FAsyncError);
    if (OnAsyncEvent) OnAsyncEvent(this, state, error, GetStateText(state, error));
}

bool TDialUp::GetDUNA()
{
    FDUNA.clear();
    if (!FWindows95Family || !FRegistry) return false;
    std::unique_ptr<IRegistryKey> enumKey =
            FRegistry->OpenKey(TRegRoot::LocalMachine, kEnumKey, TRegAccess::Read);
    std::unique_ptr<IRegistryKey> statKey =
            FRegistry->OpenKey(TRegRoot::DynData, kStatKey, TRegAccess::Read);
    if (!enumKey || !statKey) return false;

    for (const std::string& name : enumKey->SubKeyNames()) {
        if (CharCount(name) > kMaxAdapterNameChars) continue;
        if (statKey->ValueExists(name + "\\ConnectSpeed")) FDUNA.push_back(name);
    }
    std::sort(FDUNA.begin(), FDUNA.end(),
              [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    return true;
}
