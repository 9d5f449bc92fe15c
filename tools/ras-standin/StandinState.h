#pragma once
// The stand-in RAS library's whole world: one phonebook and one list of connections, shared by
// every process through a small text file that each call reads and, when it changes something,
// writes back. Texts are the ANSI bytes the RAS "A" functions pass; TAB, CR and LF cannot occur
// in them (names and numbers with control characters are refused before they get here).
#include <cstdint>
#include <string>
#include <vector>

#include "dialup/RasApi.h"

struct TStandinEntry {
    std::string Name, Number;
};

// A call is dialled for a while before it is answered: its modem opens the port, dials, and
// authenticates once the other end has picked up. Times are milliseconds of the system's clock
// (since 1601), the same in every process.
struct TStandinConnection {
    uint32_t Handle = 0;
    std::string Entry, Number;
    uint64_t DialledAt = 0;
    // When the call is answered; 0 once it has been (or when it was connected at once).
    uint64_t AnswerAt = 0;

    bool Dialling() const { return AnswerAt != 0; }
    // The connection state RasGetConnectStatus reports at the time now: opening the port, then
    // dialling, then authenticating, then connected.
    uint32_t StateAt(uint64_t now) const;
    // Whether the status tells the number yet: not while the port is being opened.
    bool NumberKnownAt(uint64_t now) const;
};

// The RAS connection states the stand-in's calls pass through.
constexpr uint32_t kStandinOpenPort = 0;       // RASCS_OpenPort
constexpr uint32_t kStandinConnectDevice = 2;  // RASCS_ConnectDevice: the number is dialled
constexpr uint32_t kStandinAuthenticate = 5;   // RASCS_Authenticate
constexpr uint32_t kStandinConnected = kRasConnected;

// A phonebook or connection list larger than this is refused rather than grown: the file is
// read on every call, and a runaway test must not make every later call slower. A full
// phonebook answers kRasErrorNotEnoughMemory, a full connection list kRasErrorPortNotAvailable;
// a state file that cannot be read or written answers kRasErrorCannotOpenPhonebook.
constexpr size_t kStandinCapacity = 1000;

struct TStandinState {
    // The next connection handle. Handles are never handed out twice within one state, so a
    // hung-up connection's handle stays unknown (kRasErrorInvalidHandle) for good.
    uint32_t NextHandle = 0x1001;
    // Counted up on every connection made and every connection ended: a watcher that compares
    // them with what it saw last knows which kinds of change happened, however many.
    uint32_t Connects = 0;
    uint32_t Disconnects = 0;
    std::vector<TStandinEntry> Entries;
    std::vector<TStandinConnection> Connections;
    // Process ids that watch for changes on behalf of their registered events.
    std::vector<uint32_t> Watchers;
    // How long a dial of any process is dialled before it is answered (0: at once), unless
    // the dialling process set a time of its own.
    uint32_t AnswerAfterMs = 0;
    // Registrations for connection notifications are refused, as where the system has none.
    bool RefuseNotifications = false;

    TStandinEntry* FindEntry(const std::string& name);
    TStandinConnection* FindConnection(uint32_t handle);

    // Adds the entry or gives an existing one (same name, letter case aside) the new number.
    uint32_t SetEntry(const std::string& name, const std::string& number);
    uint32_t DeleteEntry(const std::string& name);
    // A new connection with a handle never used before, dialled at now and answered
    // answerAfterMs later. Only an answer counts as a connection made: a call hung up while it
    // is dialled has never connected.
    uint32_t Connect(const std::string& entry, const std::string& number, uint64_t now,
                     uint32_t answerAfterMs, uint32_t& handle);
    // Answers every call whose time has come; returns them, for the log.
    std::vector<TStandinConnection> AnswerDue(uint64_t now);
    // When the next call is answered; 0 when none is being dialled.
    uint64_t NextAnswer() const;
    uint32_t HangUp(uint32_t handle);
    // Forgets the phonebook, the connections and the settings; the handle count goes on.
    void Clear();
};

// Whether a text may be stored: not empty, no control characters, no longer than capacity.
bool IsStorableText(const std::string& text, size_t capacity);

// The file's text. Parsing never fails: lines it does not understand are skipped, so a file
// that was cut short or damaged reads as whatever of it is intact.
std::string FormatStandinState(const TStandinState& state);
TStandinState ParseStandinState(const std::string& text);
