#pragma once
// TDialUp: the guard's view of the machine's dial-up world. It lists phonebook entries and
// active connections, tells which number an entry or a live connection uses, hangs
// connections up, deletes entries and can dial an entry itself. It reaches RAS only through
// IRasApi; every operation runs on the user-interface thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialup/RasApi.h"
#include "dialup/RasErrors.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/UiThread.h"

enum TDialMode { dmAsync = 0, dmSync = 1 };

class TDialUp;

// Character fields handed to the events, sized as the RAS records hold them. They carry the
// program's UTF-8 text, cut at a character boundary when it would not fit.
using TEntryNameField = char[kRasMaxEntryName + 1];
using TDeviceTypeField = char[kRasMaxDeviceType + 1];
using TDeviceNameField = char[kRasMaxDeviceName + 1];

using TStandartEv = std::function<void(TDialUp* Sender)>;
using TOnEntryGet = std::function<void(TDialUp* Sender, TEntryNameField& EntryName)>;
using TOnNotConn =
        std::function<void(TDialUp* Sender, int32_t ErrorCode, const std::string& ErrorMessage)>;
using TOnAsyncEvent = std::function<void(TDialUp* Sender, int32_t State, int32_t Error,
                                         const std::string& MessageText)>;
using TOnError =
        std::function<void(TDialUp* Sender, int32_t ErrorCode, const std::string& ErrorMessage)>;
using TOnActiveConn = std::function<void(
        TDialUp* Sender, THRasConn Handle, TRasConnStatusA& Status, const std::string& StatusString,
        TEntryNameField& EntryName, TDeviceTypeField& DeviceType, TDeviceNameField& DeviceName)>;
using TLogEvent = std::function<void(const std::string& Text)>;

// Result of the listing and number operations for an index out of range or a missing number.
constexpr int32_t kDialUpNoResult = -1;

// How long HangUpHandle waits for a hung-up connection to go before it gives up. A modem
// usually lets go within a few seconds; the limit only keeps a connection that never goes
// from freezing the guard.
constexpr uint32_t kHangUpWaitLimitMs = 30000;

class TDialUp {
public:
    // registry and windows95Family serve GetDUNA: the adapter keys exist only on the
    // Windows 95 family, so elsewhere DUNA stays empty (registry may then be nullptr).
    TDialUp(IRasApi& ras, IUserInterfaceThread& ui, IClock& clock, IRegistry* registry,
            bool windows95Family);
    ~TDialUp();
    TDialUp(const TDialUp&) = delete;
    TDialUp& operator=(const TDialUp&) = delete;

    // Properties.
    bool Connected() const { return FConnected; }
    void SetConnected(bool Value);
    TDialMode DialMode() const { return FDialMode; }
    void SetDialMode(TDialMode Value) { FDialMode = Value; }
    const std::vector<std::string>& Entries() const { return FEntries; }
    const std::vector<std::string>& Connections() const { return FConnections; }
    // The handles of the connections in Connections, position for position: a connection keeps
    // its handle while positions shift as other connections come and go.
    const std::vector<THRasConn>& ConnectionHandles() const { return FConnectionHandles; }
    const std::string& Entry() const { return FEntry; }
    void SetEntry(const std::string& Value) { FEntry = Value; }
    const std::vector<std::string>& DUNA() const { return FDUNA; }

    // Operations: 0 for success, a RAS error code, or kDialUpNoResult where documented. An
    // entry name that could never be a phonebook entry (too long for the records, or with an
    // embedded NUL) gives kRasErrorCannotFindPhonebookEntry, as RAS itself answers for an
    // unknown entry; an overriding number that does not fit the dial parameters makes Dial give
    // kRasErrorInvalidParameter.
    int32_t GetEntries();
    // Without WithStatus only the names and handles are refreshed: no status query per
    // connection, no events, no log lines, for a look at the connections that runs often.
    int32_t GetConnections(bool WithStatus = true);
    // Number is left as it was when the listing fails or Index is out of range.
    int32_t GetConnectedNumber(std::string& Number, int32_t Index);
    int32_t GetEntryOverridingPhoneNumber(std::string& Number);
    int32_t GetEntryPhoneNumber(std::string& Number);
    int32_t HangUpConnection(int32_t Index);
    // The same two for the connection with that handle: the number it reports (kDialUpNoResult
    // when it reports none or has gone), and hanging it up (kDialUpNoResult when it is no longer
    // among the active connections, so that a handle that RAS has handed to a new connection
    // meanwhile is never hung up by mistake).
    int32_t GetConnectedNumberOf(std::string& Number, THRasConn Handle);
    int32_t HangUpConnectionOf(THRasConn Handle);
    int32_t DeleteEntry();
    int32_t Dial(const std::string& Number);
    int32_t HangUp();
    std::string GetStateText(int32_t State, int32_t Error);
    // The state that the last query of a live connection's number found, or kRasStateUnknown
    // when the query failed (the connection has gone, or the system knows no record with the
    // number, as the Windows 95 family).
    uint32_t LastConnectState() const { return FLastConnectState; }
    bool GetDUNA();

    // The component that last started an asynchronous dial and still exists, or nullptr.
    static TDialUp* ActiveDialUp();

    // Events; an unassigned event is skipped.
    TOnEntryGet OnEntryGet;
    TStandartEv OnDialing;
    TStandartEv OnConnect;
    TOnNotConn OnNotConnected;
    TOnAsyncEvent OnAsyncEvent;
    TOnError OnError;
    TOnActiveConn OnActiveConnection;
    TLogEvent OnLog;

private:
    struct TConnectionList;

    uint32_t EnumConnections(TConnectionList& list);
    int32_t HangUpHandle(THRasConn handle);
    int32_t NumberOfConnection(const TRasConnA& connection, int32_t Index, std::string& Number);
    std::string ErrorText(uint32_t code);
    void Log(const std::string& text);
    void AsyncTimerTick();
    static void RASAPI_CALL DialProgress(uint32_t message, uint32_t state, uint32_t error);

    IRasApi& FRas;
    IUserInterfaceThread& FUi;
    IClock& FClock;
    IRegistry* FRegistry;
    bool FWindows95Family;

    bool FConnected = false;
    TDialMode FDialMode = dmAsync;
    std::vector<std::string> FEntries;
    std::vector<std::string> FConnections;
    std::vector<THRasConn> FConnectionHandles;
    std::string FEntry;
    std::vector<std::string> FDUNA;

    uint32_t FLastConnectState = kRasStateUnknown;
    THRasConn FDialHandle = 0;
    // The single slot through which the RAS callback thread hands one progress report at a
    // time to the user-interface thread. The callback fills the values, then sets the flag;
    // the timer tick reads them, then clears it.
    std::atomic<bool> FAsyncPending{false};
    uint32_t FAsyncMessage = 0;
    uint32_t FAsyncState = 0;
    uint32_t FAsyncError = 0;
    std::unique_ptr<ITimer> FAsyncTimer;
};
