#pragma once
// TRasSimulator: an IRasApi that keeps a phonebook and a list of live connections in memory,
// for tests of everything that sits on the RAS port (TDialUp, the notification thread, the
// guard). It answers as the real RAS does where the callers rely on it:
//
// - Enumerations check the first record's dwSize (632 otherwise) and return 603 (buffer too
//   small) with the needed byte count and the full count when the records do not fit the byte
//   count given, so more than 100 entries or connections fail as with the real library.
// - Texts longer than a record's field fill the field completely, without a terminator, as a
//   broken backend might: callers must not read past the field.
// - RasHangUp takes a connection out of the list at once; RasGetConnectStatus keeps answering
//   for it (state 8193, Disconnected) for SetHangUpPolls(n) more polls and then returns 6, the
//   invalid-handle result that callers wait for. kNeverGoes keeps it there for good.
// - RasDial without a notifier connects at once (or fails with SetDialResult's code, still
//   handing out a handle that can be hung up). With a notifier it returns 0 at once and a
//   worker thread reports the states of SetAsyncStates through the notifier (message 0xCCCD);
//   a failing dial reports the code with the last state and does not connect. HoldAsyncDials
//   keeps those threads waiting until ReleaseAsyncDials.
// - RasConnectionNotification registers the ISyncEvent; every change of the set of connections
//   (created: flag 1, ended: flag 2) sets each registered event whose flags and handle (or
//   kAllRasConnections) match. The simulator keeps the event pointer: call
//   ClearNotifications() before the event is freed if connections change afterwards.
// - A call still being dialled (AddDiallingConnection) is listed at once, in its state, and
//   signals nothing until SetConnectionState answers it (kStateConnected), as RAS signals a
//   connection only once it is made. While its port is being opened (states 0 and 1) its
//   status reports no number. ListNewestFirst lists the connections in the reverse order of
//   their making.
// - FailOperation(name, code) makes the named operation ("RasEnumEntries", ...) return code at
//   once without doing anything; LackOperation(name) makes it throw as the RAS binding does
//   when the library lacks the function.
// All methods are thread-safe; notifier callbacks and event signals run without the lock held.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialup/RasApi.h"
#include "dialup/RasErrors.h"
#include "platform/SyncEvent.h"
#include "platform/Threads.h"

class TRasSimulator : public IRasApi {
public:
    static constexpr uint32_t kNeverGoes = 0xFFFFFFFFu;
    static constexpr uint32_t kRasDialEventMessage = 0xCCCD;  // WM_RASDIALEVENT
    static constexpr uint32_t kStateConnected = 0x2000;
    static constexpr uint32_t kStateDisconnected = 0x2001;

    struct TConnection {
        THRasConn Handle = 0;
        std::string Entry, DeviceType, DeviceName, Number;
        uint32_t State = kStateConnected;
        uint32_t Error = 0;
    };

    TRasSimulator();
    ~TRasSimulator() override;  // releases and joins the dial threads

    // Phonebook. number is the entry's own number; dialNumber the one kept with its dial
    // parameters ("" when the entry's own number is dialled).
    void AddEntry(const std::string& name, const std::string& number,
                  const std::string& dialNumber = "");
    bool HasEntry(const std::string& name) const;
    std::vector<std::string> EntryNames() const;

    // Connections made from outside (a dialer): signalled like any other change.
    THRasConn AddConnection(const std::string& entry, const std::string& number,
                            const std::string& deviceType = "modem",
                            const std::string& deviceName = "Standard Modem");
    // A call made from outside that is still being dialled, in that state.
    THRasConn AddDiallingConnection(const std::string& entry, const std::string& number,
                                    uint32_t state);
    // The call moves on to state, and number ("" when it reports none); answered when state
    // is kStateConnected.
    void SetConnectionState(THRasConn handle, uint32_t state, const std::string& number);
    void ListNewestFirst(bool newestFirst);
    // The line drops by itself: the connection goes at once.
    bool DropConnection(THRasConn handle);
    std::vector<TConnection> Connections() const;

    // Behaviour.
    void SetHangUpPolls(uint32_t polls);
    // RasGetConnectStatus for this handle fails with code, for the 288-byte form only or for
    // both forms.
    void FailStatus(THRasConn handle, uint32_t code, bool extendedOnly);
    void SetErrorText(uint32_t code, const std::string& text);
    void SetDialResult(uint32_t code);
    void SetAsyncStates(const std::vector<uint32_t>& states);
    void HoldAsyncDials();
    void ReleaseAsyncDials();
    void WaitForAsyncDials();
    void FailOperation(const std::string& operation, uint32_t code);
    void LackOperation(const std::string& operation);
    // Enumerations report this many records more than they hold (after writing what fits).
    void OverstateCounts(uint32_t extra);
    void ClearNotifications();

    // Observations.
    std::vector<std::string> Calls() const;  // "RasHangUp 3", "RasDeleteEntry Work", ...
    void ClearCalls();
    uint32_t SignalCount() const;

    // IRasApi
    uint32_t RasEnumEntries(TRasEntryNameA* entries, uint32_t* byteCount, uint32_t* count) override;
    uint32_t RasEnumConnections(TRasConnA* connections, uint32_t* byteCount,
                                uint32_t* count) override;
    uint32_t RasGetConnectStatus(THRasConn connection, TRasConnStatusA* status) override;
    uint32_t RasHangUp(THRasConn connection) override;
    uint32_t RasGetErrorString(uint32_t error, char* text, uint32_t size) override;
    uint32_t RasGetEntryDialParams(TRasDialParamsA* params, int32_t* passwordSaved) override;
    uint32_t RasGetEntryProperties(const char* entryName, TRasEntryA* entry,
                                   uint32_t* entrySize) override;
    uint32_t RasDeleteEntry(const char* entryName) override;
    uint32_t RasDial(TRasDialParamsA* params, TRasDialFunc notifier,
                     THRasConn* connection) override;
    uint32_t RasConnectionNotification(THRasConn connection, ISyncEvent* event,
                                       uint32_t flags) override;

private:
    struct TEntry {
        std::string Name, Number, DialNumber;
    };
    struct TGoing {
        THRasConn Handle;
        uint32_t PollsLeft;
    };
    struct TRegistration {
        THRasConn Connection;
        ISyncEvent* Event;
        uint32_t Flags;
    };

    // Called with FLock held; returns the events to set once the lock is released.
    std::vector<ISyncEvent*> ChangeLocked(THRasConn handle, uint32_t flag);
    static void Signal(const std::vector<ISyncEvent*>& events);
    bool FailingLocked(const std::string& operation, uint32_t& code);
    void RecordLocked(const std::string& call);
    const TEntry* FindEntryLocked(const std::string& name) const;
    void WaitWhileHeld();
    void RunAsyncDial(THRasConn handle, TConnection connection, uint32_t result,
                      std::vector<uint32_t> states, TRasDialFunc notifier);

    mutable TLock FLock;
    std::unique_ptr<ISyncEvent> FHoldReleased = CreateAutoResetEvent();
    std::vector<TEntry> FEntries;
    std::vector<TConnection> FConnections;
    std::vector<TGoing> FGoing;
    std::vector<TRegistration> FRegistrations;
    std::map<THRasConn, std::pair<uint32_t, bool>> FStatusFailures;
    std::map<uint32_t, std::string> FErrorTexts;
    std::map<std::string, uint32_t> FFailures;
    std::set<std::string> FLacking;
    std::vector<std::string> FCalls;
    std::vector<uint32_t> FAsyncStates;
    std::vector<std::unique_ptr<TWorkerThread>> FDialThreads;
    THRasConn FNextHandle = 0x1000;
    uint32_t FHangUpPolls = 0;
    uint32_t FDialResult = 0;
    uint32_t FOverstate = 0;
    uint32_t FSignals = 0;
    bool FHold = false;
    bool FNewestFirst = false;
};
