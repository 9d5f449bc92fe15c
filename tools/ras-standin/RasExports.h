#pragma once
// The functions the stand-in rasapi32.dll exports, with the RAS library's own parameters and
// the oldest (Windows 95 / NT 4) records. The library defines them; rasctl looks them up by
// name in whatever rasapi32.dll it was given and casts with decltype of these declarations.
#include <windows.h>

#include "dialup/RasApi.h"

extern "C" {

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, TRasEntryNameA* names, DWORD* bytes,
                             DWORD* count);
DWORD WINAPI RasEnumConnectionsA(TRasConnA* connections, DWORD* bytes, DWORD* count);
// status->dwSize picks the basic (160) or the extended record with the connected number (288).
DWORD WINAPI RasGetConnectStatusA(HANDLE connection, TRasConnStatusA* status);
DWORD WINAPI RasHangUpA(HANDLE connection);
DWORD WINAPI RasGetErrorStringA(UINT error, LPSTR text, DWORD size);
DWORD WINAPI RasGetEntryDialParamsA(LPCSTR phonebook, TRasDialParamsA* params, BOOL* password);
DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR name, TRasEntryA* entry,
                                    DWORD* entryBytes, BYTE* deviceInfo, DWORD* deviceInfoBytes);
DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR name, TRasEntryA* entry,
                                    DWORD entryBytes, BYTE* deviceInfo, DWORD deviceInfoBytes);
DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR name);
// notifierType 0: notifier is a TRasDialFunc, called on a thread of the library.
DWORD WINAPI RasDialA(void* extensions, LPCSTR phonebook, TRasDialParamsA* params,
                      DWORD notifierType, void* notifier, HANDLE* connection);
DWORD WINAPI RasConnectionNotificationA(HANDLE connection, HANDLE event, DWORD flags);

// The stand-in's own, for rasctl: forget the phonebook, the connections and the two settings
// below (the handle count goes on) and start a new log; the log's path (its length, 0 when it does not fit).
DWORD WINAPI RasStandinReset();
DWORD WINAPI RasStandinLogFile(LPSTR path, DWORD size);
// How long dials are dialled before they are answered (0: at once): this process's own dials,
// or (everyProcess) the dials of every process that sets no time of its own.
DWORD WINAPI RasStandinSetAnswerAfter(DWORD ms, BOOL everyProcess);
// Refuse (or accept again) registrations for connection notifications, as a system without
// them does; registrations already made stay.
DWORD WINAPI RasStandinRefuseNotifications(BOOL refuse);

}  // extern "C"

// The export of that name in the rasapi32.dll the process gets by name (the stand-in where it
// is preferred), or nullptr: StandinExport<decltype(RasDialA)>("RasDialA").
template <typename TFn>
TFn* StandinExport(const char* name)
{
    // Loaded once and kept: the library serves the process until it ends.
    static const HMODULE library = LoadLibraryA("rasapi32.dll");
    return library ? reinterpret_cast<TFn*>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}
#define RAS_EXPORT(name) StandinExport<decltype(name)>(#name)
