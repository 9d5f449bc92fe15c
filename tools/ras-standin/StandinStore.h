#pragma once
// Where the stand-in keeps the prefix's one phonebook and list of connections, and one call's
// hold on them. Each process finds the folder at its first call: RASSTANDIN_DIR if set, else
// RasStandin under ProgramData (or the Windows folder's Temp). The state file and the log lie in
// it; the named objects that guard them carry a hash of the folder, so that tests with folders
// of their own never meet.
#include <windows.h>

#include <cstdint>
#include <string>

#include "StandinState.h"

struct TPlace {
    std::string Folder, StateFile, LogFile, MutexName, WatchPrefix;
};

const TPlace& Place();

// The auto-reset event through which changers wake the watcher of process pid.
std::string WatchEventName(uint32_t pid);

// The system's clock in milliseconds since 1601: the time base of the calls' dialling, the same
// in every process.
uint64_t NowMs();

// Holds the named mutex for its lifetime; State is the state as read when it began, with the
// calls whose time has come answered (and logged, and the watchers woken): whichever process
// looks first after a call's time answers it, so a call is answered on time while anyone
// waits for it or watches, and at the latest at the next look of anyone.
class TSession {
public:
    TSession();
    ~TSession();
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    // False when the mutex or the file could not be had: callers answer kRasErrorCannotOpenPhonebook.
    bool ReadOk() const { return FReadOk; }
    // Writes State back; when the connections changed, wakes every process's watcher.
    bool Save(bool connectionsChanged);
    // Appends one line to the log: local time to the millisecond, the calling process, what.
    void Log(const std::string& what);

    TStandinState State;

private:
    HANDLE FMutex = nullptr;
    bool FReadOk = false;
};
