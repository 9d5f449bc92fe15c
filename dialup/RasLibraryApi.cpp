#include "dialup/RasLibraryApi.h"

namespace {

// The RAS exports' own signatures. Handles (HRASCONN, HANDLE) are pointers there; inside the
// records and in IRasApi a connection handle is the 32-bit value of a 32-bit process.
using THandle = void*;
using TDword = uint32_t;

using TRasEnumEntriesFn = TDword(RASAPI_CALL*)(const char* reserved, const char* phonebook,
                                               TRasEntryNameA* entries, TDword* byteCount,
                                               TDword* count);
using TRasEnumConnectionsFn = TDword(RASAPI_CALL*)(TRasConnA* connections, TDword* byteCount,
                                                   TDword* count);
using TRasGetConnectStatusFn = TDword(RASAPI_CALL*)(THandle connection, TRasConnStatusA* status);
using TRasHangUpFn = TDword(RASAPI_CALL*)(THandle connection);
using TRasGetErrorStringFn = TDword(RASAPI_CALL*)(unsigned error, char* text, TDword size);
using TRasGetEntryDialParamsFn = TDword(RASAPI_CALL*)(const char* phonebook,
                                                      TRasDialParamsA* params,
                                                      int32_t* passwordSaved);
using TRasGetEntryPropertiesFn = TDword(RASAPI_CALL*)(const char* phonebook, const char* entry,
                                                      TRasEntryA* properties, TDword* entrySize,
                                                      uint8_t* deviceInfo, TDword* deviceInfoSize);
using TRasDeleteEntryFn = TDword(RASAPI_CALL*)(const char* phonebook, const char* entry);
using TRasDialFn = TDword(RASAPI_CALL*)(void* extensions, const char* phonebook,
                                        TRasDialParamsA* params, TDword notifierType,
                                        void* notifier, THandle* connection);
using TRasConnectionNotificationFn = TDword(RASAPI_CALL*)(THandle connection, THandle event,
                                                          TDword flags);

template <typename TFn>
TFn Bind(TRasBinding& binding, const char* name)
{
    return reinterpret_cast<TFn>(binding.Resolve(name));
}

// Handle values are sign-extended as the system widens 32-bit handles, so that the value for
// "all connections" stays INVALID_HANDLE_VALUE on any pointer width.
THandle ToHandle(THRasConn connection)
{
    return reinterpret_cast<THandle>(static_cast<intptr_t>(static_cast<int32_t>(connection)));
}

THRasConn FromHandle(THandle handle)
{
    return static_cast<THRasConn>(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace

TRasLibraryApi::TRasLibraryApi(TRasBinding& binding) : FBinding(binding) {}

uint32_t TRasLibraryApi::RasEnumEntries(TRasEntryNameA* entries, uint32_t* byteCount,
                                        uint32_t* count)
{
    auto fn = Bind<TRasEnumEntriesFn>(FBinding, "RasEnumEntriesA");
    return fn(nullptr, nullptr, entries, byteCount, count);
}

uint32_t TRasLibraryApi::RasEnumConnections(TRasConnA* connections, uint32_t* byteCount,
                                            uint32_t* count)
{
    auto fn = Bind<TRasEnumConnectionsFn>(FBinding, "RasEnumConnectionsA");
    return fn(connections, byteCount, count);
}

uint32_t TRasLibraryApi::RasGetConnectStatus(THRasConn connection, TRasConnStatusA* status)
{
    auto fn = Bind<TRasGetConnectStatusFn>(FBinding, "RasGetConnectStatusA");
    return fn(ToHandle(connection), status);
}

uint32_t TRasLibraryApi::RasHangUp(THRasConn connection)
{
    auto fn = Bind<TRasHangUpFn>(FBinding, "RasHangUpA");
    return fn(ToHandle(connection));
}

uint32_t TRasLibraryApi::RasGetErrorString(uint32_t error, char* text, uint32_t size)
{
    auto fn = Bind<TRasGetErrorStringFn>(FBinding, "RasGetErrorStringA");
    return fn(error, text, size);
}

uint32_t TRasLibraryApi::RasGetEntryDialParams(TRasDialParamsA* params, int32_t* passwordSaved)
{
    auto fn = Bind<TRasGetEntryDialParamsFn>(FBinding, "RasGetEntryDialParamsA");
    return fn(nullptr, params, passwordSaved);
}

uint32_t TRasLibraryApi::RasGetEntryProperties(const char* entryName, TRasEntryA* entry,
                                               uint32_t* entrySize)
{
    auto fn = Bind<TRasGetEntryPropertiesFn>(FBinding, "RasGetEntryProperties");
    TDword deviceInfoSize = 0;
    return fn(nullptr, entryName, entry, entrySize, nullptr, &deviceInfoSize);
}

uint32_t TRasLibraryApi::RasDeleteEntry(const char* entryName)
{
    auto fn = Bind<TRasDeleteEntryFn>(FBinding, "RasDeleteEntry");
    return fn(nullptr, entryName);
}

uint32_t TRasLibraryApi::RasDial(TRasDialParamsA* params, TRasDialFunc notifier,
                                 THRasConn* connection)
{
    auto fn = Bind<TRasDialFn>(FBinding, "RasDialA");
    // The handle is written even when dialling fails, so that the caller can hang it up.
    THandle handle = connection ? ToHandle(*connection) : nullptr;
    uint32_t result = fn(nullptr, nullptr, params, 0, reinterpret_cast<void*>(notifier), &handle);
    if (connection) *connection = FromHandle(handle);
    return result;
}

uint32_t TRasLibraryApi::RasConnectionNotification(THRasConn connection, ISyncEvent* event,
                                                   uint32_t flags)
{
    auto fn = Bind<TRasConnectionNotificationFn>(FBinding, "RasConnectionNotification");
    return fn(ToHandle(connection), event ? event->NativeHandle() : nullptr, flags);
}

IRasApi& SystemRasApi()
{
    static TRasLibraryApi api(RasBinding());
    return api;
}
