#pragma once
// Connection notifications across processes. Every process that registers an event gets one
// watcher thread, waiting on an auto-reset event named after its process id that every changer
// of the connections sets (TSession::Save); the watcher then compares the state's change counts
// with what it saw last and sets the registered events that asked for such a change. An
// auto-reset event stays set until its watcher waits, so no change is missed, and changes that
// come together are reported together, as RAS does.
#include <windows.h>

#include <cstdint>

// Registers a copy of event for the changes flags asks for (RASCN_Connection 1,
// RASCN_Disconnection 2): of every connection (kAllRasConnections), or the end of one. Returns
// a RAS result.
DWORD RegisterForChanges(uint32_t connection, HANDLE event, DWORD flags);
