#pragma once
// The stand-in RAS library's whole world: one phonebook and one list of connections, shared by
// every process through a small text file that each call reads and, when it changes something,
// writes back. Texts are the ANSI bytes the RAS "A" functions pass; TAB, CR and LF cannot occur
// in them (names and numbers with control characters are refused before they get here).
#include <cstdint>
#include <string>
#include <vector>

#include "dialup/RasErrors.h"

struct TStandinEntry {
    std::string Name, Number;
};

struct TStandinConnection {
    uint32_t Handle = 0;
    std::string Entry, Number;
};

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

    TStandinEntry* FindEntry(const std::string& name);
    TStandinConnection* FindConnection(uint32_t handle);

    // Adds the entry or gives an existing one (same name, letter case aside) the new number.
    uint32_t SetEntry(const std::string& name, const std::string& number);
    uint32_t DeleteEntry(const std::string& name);
    // A new connection with a handle never used before.
    uint32_t Connect(const std::string& entry, const std::string& number, uint32_t& handle);
    uint32_t HangUp(uint32_t handle);
    // Forgets the phonebook and the connections; the handle count goes on.
    void Clear();
};

// Whether a text may be stored: not empty, no control characters, no longer than capacity.
bool IsStorableText(const std::string& text, size_t capacity);

// The file's text. Parsing never fails: lines it does not understand are skipped, so a file
// that was cut short or damaged reads as whatever of it is intact.
std::string FormatStandinState(const TStandinState& state);
TStandinState ParseStandinState(const std::string& text);
