#include "support/RasSimulator.h"

#include <algorithm>
#include <cstring>

#include "common/Errors.h"
#include "common/StrUtils.h"
#include "dialup/RasErrors.h"
#include "platform/SyncEvent.h"

namespace {

const uint32_t kFlagCreated = 1;
const uint32_t kFlagEnded = 2;

// Copies text into a record field; a text that does not fit fills the field without a NUL.
template <size_t N>
void Fill(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N));
}

// The enumerations' answer, as the RAS library gives it: 632 for a record size it does not
// know, 603 with the bytes and the count needed when the records do not fit, else the records
// filled in order (and the count overstated by what a test asked for).
template <typename TRecord, typename TItem, typename TFill>
uint32_t AnswerEnumeration(TRecord* records, uint32_t* byteCount, uint32_t* count,
                           const std::vector<TItem>& items, uint32_t overstate, TFill fill)
{
    if (!records || !byteCount || !count) return kRasErrorInvalidParameter;
    if (records[0].dwSize != sizeof(TRecord)) return kRasErrorInvalidSize;
    const uint32_t n = static_cast<uint32_t>(items.size());
    const uint32_t needed = n * sizeof(TRecord);
    const uint32_t given = *byteCount;
    *byteCount = needed;
    *count = n;
    if (needed > given) return kRasErrorBufferTooSmall;
    for (uint32_t i = 0; i < n; ++i) {
        records[i].dwSize = sizeof(TRecord);
        fill(records[i], items[i]);
    }
    *count = n + overstate;
    return 0;
}

}  // namespace

TRasSimulator::TRasSimulator()
    : FErrorTexts{{kRasErrorInvalidHandle, "The handle is invalid."},
                  {kRasErrorInvalidParameter, "The parameter is incorrect."},
                  {kRasErrorBufferTooSmall, "The buffer is too small."},
                  {kRasErrorCannotFindPhonebookEntry,
                   "The system could not find the phone book entry for this connection."},
                  {kRasErrorInvalidSize, "The structure size is incorrect."},
                  {kRasErrorNoDialtone, "There is no dial tone."}},
      FAsyncStates{0, 1, 2, 3, 4, 5, 14, kStateConnected}
{
    if (!FHoldReleased) throw Exception("Error creating the simulator's event");
}

TRasSimulator::~TRasSimulator()
{
    ReleaseAsyncDials();
    WaitForAsyncDials();
}

void TRasSimulator::AddEntry(const std::string& name, const std::string& number,
                             const std::string& dialNumber)
{
    TLockGuard guard(FLock);
    FEntries.push_back(TEntry{name, number, dialNumber});
}

bool TRasSimulator::HasEntry(const std::string& name) const
{
    TLockGuard guard(FLock);
    return FindEntryLocked(name) != nullptr;
}

std::vector<std::string> TRasSimulator::EntryNames() const
{
    TLockGuard guard(FLock);
    std::vector<std::string> names;
    for (const TEntry& e : FEntries) names.push_back(e.Name);
    return names;
}

THRasConn TRasSimulator::AddConnection(const std::string& entry, const std::string& number,
                                       const std::string& deviceType, const std::string& deviceName)
{
    std::vector<ISyncEvent*> events;
    THRasConn handle;
    {
        TLockGuard guard(FLock);
        handle = FNextHandle++;
        TConnection c;
        c.Handle = handle;
        c.Entry = entry;
        c.Number = number;
        c.DeviceType = deviceType;
        c.DeviceName = deviceName;
        FConnections.push_back(c);
        events = ChangeLocked(handle, kFlagCreated);
    }
    Signal(events);
    return handle;
}

THRasConn TRasSimulator::AddDiallingConnection(const std::string& entry, const std::string& number,
                                               uint32_t state)
{
    TLockGuard guard(FLock);
    TConnection c;
    c.Handle = FNextHandle++;
    c.Entry = entry;
    c.Number = number;
    c.DeviceType = "modem";
    c.DeviceName = "Standard Modem";
    c.State = state;
    FConnections.push_back(c);
    return c.Handle;
}

void TRasSimulator::SetConnectionState(THRasConn handle, uint32_t state, const std::string& number)
{
    std::vector<ISyncEvent*> events;
    {
        TLockGuard guard(FLock);
        for (TConnection& c : FConnections) {
            if (c.Handle != handle) continue;
            const bool answered = c.State != kStateConnected && state == kStateConnected;
            c.State = state;
            c.Number = number;
            if (answered) events = ChangeLocked(handle, kFlagCreated);
        }
    }
    Signal(events);
}

void TRasSimulator::ListNewestFirst(bool newestFirst)
{
    TLockGuard guard(FLock);
    FNewestFirst = newestFirst;
}

bool TRasSimulator::DropConnection(THRasConn handle)
{
    std::vector<ISyncEvent*> events;
    {
        TLockGuard guard(FLock);
        auto it = std::find_if(FConnections.begin(), FConnections.end(),
                               [&](const TConnection& c) { return c.Handle == handle; });
        if (it == FConnections.end()) return false;
        FConnections.erase(it);
        events = ChangeLocked(handle, kFlagEnded);
    }
    Signal(events);
    return true;
}

std::vector<TRasSimulator::TConnection> TRasSimulator::Connections() const
{
    TLockGuard guard(FLock);
    return FConnections;
}

void TRasSimulator::SetHangUpPolls(uint32_t polls)
{
    TLockGuard guard(FLock);
    FHangUpPolls = polls;
}

void TRasSimulator::FailStatus(THRasConn handle, uint32_t code, bool extendedOnly)
{
    TLockGuard guard(FLock);
    FStatusFailures[handle] = {code, extendedOnly};
}

void TRasSimulator::SetErrorText(uint32_t code, const std::string& text)
{
    TLockGuard guard(FLock);
    FErrorTexts[code] = text;
}

void TRasSimulator::SetDialResult(uint32_t code)
{
    TLockGuard guard(FLock);
    FDialResult = code;
}

void TRasSimulator::SetAsyncStates(const std::vector<uint32_t>& states)
{
    TLockGuard guard(FLock);
    FAsyncStates = states;
}

void TRasSimulator::HoldAsyncDials()
{
    TLockGuard guard(FLock);
    FHold = true;
}

void TRasSimulator::ReleaseAsyncDials()
{
    {
        TLockGuard guard(FLock);
        FHold = false;
    }
    FHoldReleased->Set();
}

void TRasSimulator::WaitForAsyncDials()
{
    std::vector<std::unique_ptr<TWorkerThread>> threads;
    {
        TLockGuard guard(FLock);
        threads.swap(FDialThreads);
    }
    for (auto& t : threads) t->Join();
}

void TRasSimulator::FailOperation(const std::string& operation, uint32_t code)
{
    TLockGuard guard(FLock);
    FFailures[operation] = code;
}

void TRasSimulator::LackOperation(const std::string& operation)
{
    TLockGuard guard(FLock);
    FLacking.insert(operation);
}

void TRasSimulator::OverstateCounts(uint32_t extra)
{
    TLockGuard guard(FLock);
    FOverstate = extra;
}

void TRasSimulator::ClearNotifications()
{
    TLockGuard guard(FLock);
    FRegistrations.clear();
}

std::vector<std::string> TRasSimulator::Calls() const
{
    TLockGuard guard(FLock);
    return FCalls;
}

void TRasSimulator::ClearCalls()
{
    TLockGuard guard(FLock);
    FCalls.clear();
}

uint32_t TRasSimulator::SignalCount() const
{
    TLockGuard guard(FLock);
    return FSignals;
}

std::vector<ISyncEvent*> TRasSimulator::ChangeLocked(THRasConn handle, uint32_t flag)
{
    std::vector<ISyncEvent*> events;
    for (const TRegistration& r : FRegistrations)
        if ((r.Flags & flag) && (r.Connection == kAllRasConnections || r.Connection == handle))
            events.push_back(r.Event);
    FSignals += static_cast<uint32_t>(events.size());
    return events;
}

void TRasSimulator::Signal(const std::vector<ISyncEvent*>& events)
{
    for (ISyncEvent* e : events) e->Set();
}

bool TRasSimulator::FailingLocked(const std::string& operation, uint32_t& code)
{
    if (FLacking.count(operation)) throw Exception("Function " + operation + " not found!");
    auto it = FFailures.find(operation);
    if (it == FFailures.end()) return false;
    code = it->second;
    return true;
}

void TRasSimulator::RecordLocked(const std::string& call)
{
    FCalls.push_back(call);
}

const TRasSimulator::TEntry* TRasSimulator::FindEntryLocked(const std::string& name) const
{
    for (const TEntry& e : FEntries)
        if (SameText(e.Name, name)) return &e;
    return nullptr;
}

uint32_t TRasSimulator::RasEnumEntries(TRasEntryNameA* entries, uint32_t* byteCount,
                                       uint32_t* count)
{
    TLockGuard guard(FLock);
    RecordLocked("RasEnumEntries");
    uint32_t code;
    if (FailingLocked("RasEnumEntries", code)) return code;
    return AnswerEnumeration(
            entries, byteCount, count, FEntries, FOverstate,
            [](TRasEntryNameA& record, const TEntry& e) { Fill(record.szEntryName, e.Name); });
}

uint32_t TRasSimulator::RasEnumConnections(TRasConnA* connections, uint32_t* byteCount,
                                           uint32_t* count)
{
    TLockGuard guard(FLock);
    RecordLocked("RasEnumConnections");
    uint32_t code;
    if (FailingLocked("RasEnumConnections", code)) return code;
    std::vector<TConnection> listed = FConnections;
    if (FNewestFirst) std::reverse(listed.begin(), listed.end());
    return AnswerEnumeration(connections, byteCount, count, listed, FOverstate,
                             [](TRasConnA& record, const TConnection& c) {
                                 record.hrasconn = c.Handle;
                                 Fill(record.szEntryName, c.Entry);
                                 Fill(record.szDeviceType, c.DeviceType);
                                 Fill(record.szDeviceName, c.DeviceName);
                             });
}

uint32_t TRasSimulator::RasGetConnectStatus(THRasConn connection, TRasConnStatusA* status)
{
    TLockGuard guard(FLock);
    RecordLocked("RasGetConnectStatus " + std::to_string(connection));
    uint32_t code;
    if (FailingLocked("RasGetConnectStatus", code)) return code;
    if (!status) return kRasErrorInvalidParameter;
    const bool extended = status->dwSize == sizeof(TRasConnStatusExA);
    if (!extended && status->dwSize != sizeof(TRasConnStatusA)) return kRasErrorInvalidSize;

    auto failure = FStatusFailures.find(connection);
    if (failure != FStatusFailures.end() && (extended || !failure->second.second))
        return failure->second.first;

    auto live = std::find_if(FConnections.begin(), FConnections.end(),
                             [&](const TConnection& c) { return c.Handle == connection; });
    if (live != FConnections.end()) {
        status->rasconnstate = live->State;
        status->dwError = live->Error;
        Fill(status->szDeviceType, live->DeviceType);
        Fill(status->szDeviceName, live->DeviceName);
        // The number is dialled only once the port is open.
        const bool numberKnown = live->State != 0 && live->State != 1;
        if (extended)
            Fill(reinterpret_cast<TRasConnStatusExA*>(status)->szPhoneNumber,
                 numberKnown ? live->Number : std::string());
        return 0;
    }
    auto going = std::find_if(FGoing.begin(), FGoing.end(),
                              [&](const TGoing& g) { return g.Handle == connection; });
    if (going == FGoing.end()) return kRasErrorInvalidHandle;
    if (going->PollsLeft == 0) {
        FGoing.erase(going);
        return kRasErrorInvalidHandle;
    }
    if (going->PollsLeft != kNeverGoes) --going->PollsLeft;
    status->rasconnstate = kStateDisconnected;
    status->dwError = 0;
    return 0;
}

uint32_t TRasSimulator::RasHangUp(THRasConn connection)
{
    std::vector<ISyncEvent*> events;
    {
        TLockGuard guard(FLock);
        RecordLocked("RasHangUp " + std::to_string(connection));
        uint32_t code;
        if (FailingLocked("RasHangUp", code)) return code;
        auto live = std::find_if(FConnections.begin(), FConnections.end(),
                                 [&](const TConnection& c) { return c.Handle == connection; });
        if (live == FConnections.end()) {
            bool going = std::any_of(FGoing.begin(), FGoing.end(),
                                     [&](const TGoing& g) { return g.Handle == connection; });
            return going ? 0 : kRasErrorInvalidHandle;
        }
        FConnections.erase(live);
        FGoing.push_back(TGoing{connection, FHangUpPolls});
        events = ChangeLocked(connection, kFlagEnded);
    }
    Signal(events);
    return 0;
}

uint32_t TRasSimulator::RasGetErrorString(uint32_t error, char* text, uint32_t size)
{
    TLockGuard guard(FLock);
    RecordLocked("RasGetErrorString " + std::to_string(error));
    if (!text || size == 0) return kRasErrorInvalidParameter;
    auto it = FErrorTexts.find(error);
    std::string message =
            it != FErrorTexts.end() ? it->second : "RAS error " + std::to_string(error) + ".";
    SetFieldText(text, size, message);
    return 0;
}

uint32_t TRasSimulator::RasGetEntryDialParams(TRasDialParamsA* params, int32_t* passwordSaved)
{
    TLockGuard guard(FLock);
    RecordLocked("RasGetEntryDialParams");
    uint32_t code;
    if (FailingLocked("RasGetEntryDialParams", code)) return code;
    if (!params) return kRasErrorInvalidParameter;
    if (params->dwSize != sizeof(TRasDialParamsA)) return kRasErrorInvalidSize;
    const TEntry* entry =
            FindEntryLocked(FieldText(params->szEntryName, sizeof params->szEntryName));
    if (!entry) return kRasErrorCannotFindPhonebookEntry;
    Fill(params->szPhoneNumber, entry->DialNumber);
    Fill(params->szUserName, "user");
    if (passwordSaved) *passwordSaved = 0;
    return 0;
}

uint32_t TRasSimulator::RasGetEntryProperties(const char* entryName, TRasEntryA* entry,
                                              uint32_t* entrySize)
{
    TLockGuard guard(FLock);
    RecordLocked(std::string("RasGetEntryProperties ") + (entryName ? entryName : ""));
    uint32_t code;
    if (FailingLocked("RasGetEntryProperties", code)) return code;
    if (!entryName || !entrySize) return kRasErrorInvalidParameter;
    if (!entry || *entrySize < sizeof(TRasEntryA)) {
        *entrySize = sizeof(TRasEntryA);
        return kRasErrorBufferTooSmall;
    }
    if (entry->dwSize != sizeof(TRasEntryA)) return kRasErrorInvalidSize;
    const TEntry* found = FindEntryLocked(entryName);
    if (!found) return kRasErrorCannotFindPhonebookEntry;
    Fill(entry->szLocalPhoneNumber, found->Number);
    Fill(entry->szDeviceType, "modem");
    return 0;
}

uint32_t TRasSimulator::RasDeleteEntry(const char* entryName)
{
    TLockGuard guard(FLock);
    RecordLocked(std::string("RasDeleteEntry ") + (entryName ? entryName : ""));
    uint32_t code;
    if (FailingLocked("RasDeleteEntry", code)) return code;
    if (!entryName) return kRasErrorInvalidParameter;
    auto it = std::find_if(FEntries.begin(), FEntries.end(),
                           [&](const TEntry& e) { return SameText(e.Name, entryName); });
    if (it == FEntries.end()) return kRasErrorCannotFindPhonebookEntry;
    FEntries.erase(it);
    return 0;
}

uint32_t TRasSimulator::RasDial(TRasDialParamsA* params, TRasDialFunc notifier,
                                THRasConn* connection)
{
    std::vector<ISyncEvent*> events;
    {
        TLockGuard guard(FLock);
        RecordLocked(notifier ? "RasDial async" : "RasDial sync");
        if (!params || !connection) return kRasErrorInvalidParameter;
        if (params->dwSize != sizeof(TRasDialParamsA)) return kRasErrorInvalidSize;
        const THRasConn handle = FNextHandle++;
        *connection = handle;
        uint32_t code;
        if (FailingLocked("RasDial", code)) {
            FGoing.push_back(TGoing{handle, 0});
            return code;
        }
        const TEntry* entry =
                FindEntryLocked(FieldText(params->szEntryName, sizeof params->szEntryName));
        if (!entry) {
            FGoing.push_back(TGoing{handle, 0});
            return kRasErrorCannotFindPhonebookEntry;
        }
        TConnection c;
        c.Handle = handle;
        c.Entry = entry->Name;
        c.Number = FieldText(params->szPhoneNumber, sizeof params->szPhoneNumber);
        if (c.Number.empty()) c.Number = entry->Number;
        c.DeviceType = "modem";
        c.DeviceName = "Standard Modem";

        if (notifier) {
            FDialThreads.push_back(std::make_unique<TWorkerThread>(
                    [this, handle, c, result = FDialResult, states = FAsyncStates, notifier] {
                        RunAsyncDial(handle, c, result, states, notifier);
                    }));
            return 0;
        }
        if (FDialResult != 0) {
            FGoing.push_back(TGoing{handle, 0});
            return FDialResult;
        }
        FConnections.push_back(c);
        events = ChangeLocked(handle, kFlagCreated);
    }
    Signal(events);
    return 0;
}

// One Set wakes one waiter, so every dial thread that leaves passes the release on to the next;
// one that wakes while the dials are held again simply waits again.
void TRasSimulator::WaitWhileHeld()
{
    for (;;) {
        {
            TLockGuard guard(FLock);
            if (!FHold) break;
        }
        FHoldReleased->Wait();
    }
    FHoldReleased->Set();
}

void TRasSimulator::RunAsyncDial(THRasConn handle, TConnection connection, uint32_t result,
                                 std::vector<uint32_t> states, TRasDialFunc notifier)
{
    WaitWhileHeld();
    for (size_t i = 0; i < states.size(); ++i) {
        const bool last = i + 1 == states.size();
        notifier(kRasDialEventMessage, states[i], last ? result : 0);
    }
    std::vector<ISyncEvent*> events;
    {
        TLockGuard guard(FLock);
        if (result != 0) {
            FGoing.push_back(TGoing{handle, 0});
            return;
        }
        FConnections.push_back(connection);
        events = ChangeLocked(handle, kFlagCreated);
    }
    Signal(events);
}

uint32_t TRasSimulator::RasConnectionNotification(THRasConn connection, ISyncEvent* event,
                                                  uint32_t flags)
{
    TLockGuard guard(FLock);
    RecordLocked("RasConnectionNotification " + std::to_string(flags));
    uint32_t code;
    if (FailingLocked("RasConnectionNotification", code)) return code;
    if (!event) return kRasErrorInvalidParameter;
    FRegistrations.push_back(TRegistration{connection, event, flags});
    return 0;
}
