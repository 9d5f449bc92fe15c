#include "StandinWatch.h"

#include <algorithm>
#include <vector>

#include "StandinStore.h"
#include "dialup/RasApi.h"

namespace {

const DWORD kFlagConnection = 1, kFlagDisconnection = 2;  // RASCN_Connection, RASCN_Disconnection

struct TRegistration {
    uint32_t Connection;  // kAllRasConnections, or the one connection whose end is awaited
    HANDLE Event;         // our own duplicate: the caller may close theirs
    DWORD Flags;
};

// Taken by RegisterForChanges and by the watcher. Made when the library loads and never deleted:
// the watcher runs until the process ends and may hold it then.
struct TWatchLock {
    TWatchLock() { InitializeCriticalSection(&Section); }
    CRITICAL_SECTION Section;
} gWatchLock;

class TWatchGuard {
public:
    TWatchGuard() { EnterCriticalSection(&gWatchLock.Section); }
    ~TWatchGuard() { LeaveCriticalSection(&gWatchLock.Section); }
    TWatchGuard(const TWatchGuard&) = delete;
    TWatchGuard& operator=(const TWatchGuard&) = delete;
};

std::vector<TRegistration> gRegistrations;
HANDLE gWatchEvent = nullptr;
uint32_t gSeenConnects = 0, gSeenDisconnects = 0;

// How long the watcher may wait before the next call being dialled is due to answer.
DWORD UntilAnswer(uint64_t answerAt)
{
    if (answerAt == 0) return INFINITE;
    const uint64_t now = NowMs();
    if (answerAt <= now) return 0;
    // Short of INFINITE, and looked at again well before any clock could drift far.
    return static_cast<DWORD>(std::min<uint64_t>(answerAt - now, 60000));
}

DWORD WINAPI Watch(void*)
{
    // A look at once: a call may be being dialled already.
    uint64_t nextAnswer = 1;
    for (;;) {
        // A call's answer is a change nobody announces: the watcher wakes for it itself, and
        // its look at the state answers the call (TSession).
        const DWORD waited = WaitForSingleObject(gWatchEvent, UntilAnswer(nextAnswer));
        if (waited != WAIT_OBJECT_0 && waited != WAIT_TIMEOUT) {
            Sleep(20);
            continue;
        }
        TStandinState state;
        {
            TSession session;
            // A state that cannot be read says nothing of what changed; the next change wakes
            // this watcher again, and a call still due is looked at again after a pause.
            if (!session.ReadOk()) {
                Sleep(20);
                continue;
            }
            state = session.State;
        }
        nextAnswer = state.NextAnswer();
        TWatchGuard guard;
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
    HANDLE event =
            CreateEventA(nullptr, FALSE, FALSE, WatchEventName(GetCurrentProcessId()).c_str());
    if (!event) return GetLastError();
    {
        TSession session;
        if (!session.ReadOk()) {
            CloseHandle(event);
            return kRasErrorCannotOpenPhonebook;
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
            return kRasErrorCannotOpenPhonebook;
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

}  // namespace

DWORD RegisterForChanges(uint32_t connection, HANDLE event, DWORD flags)
{
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &own, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        return kRasErrorInvalidHandle;
    TWatchGuard guard;
    if (!gWatchEvent) {
        DWORD started = StartWatcher();
        if (started != 0) {
            CloseHandle(own);
            return started;
        }
    }
    gRegistrations.push_back(TRegistration{connection, own, flags});
    return kRasSuccess;
}
