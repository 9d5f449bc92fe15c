#pragma once
// The RAS records in their oldest (Windows 95 / NT 4) sizes and the ten RAS operations the guard
// uses, as one port. The records are laid out byte for byte as the 32-bit RAS library expects
// them, on every platform: a connection handle is a 32-bit value inside them.
#include <cstddef>
#include <cstdint>

#include "dialup/RasErrors.h"
#include "platform/SyncEvent.h"

// Calling convention of the RAS library's exports (WINAPI). Elsewhere there is only one.
#if defined(_WIN32) && defined(__i386__)
#define RASAPI_CALL __stdcall
#else
#define RASAPI_CALL
#endif

using THRasConn = uint32_t;                            // HRASCONN of a 32-bit process
constexpr THRasConn kAllRasConnections = 0xFFFFFFFFu;  // INVALID_HANDLE_VALUE: every connection

// Connection states (RASCONNSTATE) told apart by value: every state below kRasConnected (the
// port being opened, the number dialled, authentication, and the paused states) belongs to a
// call that has not been answered yet.
constexpr uint32_t kRasConnected = 0x2000;  // RASCS_Connected
// No state: the connection's status could not be had (it has gone, say).
constexpr uint32_t kRasStateUnknown = 0xFFFFFFFFu;

constexpr size_t kRasMaxEntryName = 256;
constexpr size_t kRasMaxDeviceType = 16;
constexpr size_t kRasMaxDeviceName = 128;
constexpr size_t kRasMaxPhoneNumber = 128;
constexpr size_t kRasMaxCallbackNumber = 128;
constexpr size_t kRasMaxAreaCode = 10;
constexpr size_t kRasMaxPadType = 32;
constexpr size_t kRasMaxX25Address = 200;
constexpr size_t kRasMaxFacilities = 200;
constexpr size_t kRasMaxUserData = 200;
constexpr size_t kUnlen = 256, kPwlen = 256, kDnlen = 15, kMaxPath = 260;

constexpr uint32_t kRasEnumCapacity = 100;  // records per enumeration

#pragma pack(push, 4)

struct TRasEntryNameA {  // RASENTRYNAMEA
    uint32_t dwSize;
    char szEntryName[kRasMaxEntryName + 1];
};

struct TRasConnA {  // RASCONNA
    uint32_t dwSize;
    THRasConn hrasconn;
    char szEntryName[kRasMaxEntryName + 1];
    char szDeviceType[kRasMaxDeviceType + 1];
    char szDeviceName[kRasMaxDeviceName + 1];
};

struct TRasConnStatusA {  // RASCONNSTATUSA, basic form
    uint32_t dwSize;
    uint32_t rasconnstate;
    uint32_t dwError;
    char szDeviceType[kRasMaxDeviceType + 1];
    char szDeviceName[kRasMaxDeviceName + 1];
};

struct TRasConnStatusExA {  // RASCONNSTATUSA with the connected number (WINVER >= 0x401)
    uint32_t dwSize;
    uint32_t rasconnstate;
    uint32_t dwError;
    char szDeviceType[kRasMaxDeviceType + 1];
    char szDeviceName[kRasMaxDeviceName + 1];
    char szPhoneNumber[kRasMaxPhoneNumber + 1];
};

struct TRasDialParamsA {  // RASDIALPARAMSA
    uint32_t dwSize;
    char szEntryName[kRasMaxEntryName + 1];
    char szPhoneNumber[kRasMaxPhoneNumber + 1];
    char szCallbackNumber[kRasMaxCallbackNumber + 1];
    char szUserName[kUnlen + 1];
    char szPassword[kPwlen + 1];
    char szDomain[kDnlen + 1];
};

struct TRasIpAddr {
    uint8_t a, b, c, d;
};

struct TRasEntryA {  // RASENTRYA
    uint32_t dwSize;
    uint32_t dwfOptions;
    uint32_t dwCountryID;
    uint32_t dwCountryCode;
    char szAreaCode[kRasMaxAreaCode + 1];
    char szLocalPhoneNumber[kRasMaxPhoneNumber + 1];
    uint32_t dwAlternateOffset;
    TRasIpAddr ipaddr, ipaddrDns, ipaddrDnsAlt, ipaddrWins, ipaddrWinsAlt;
    uint32_t dwFrameSize;
    uint32_t dwfNetProtocols;
    uint32_t dwFramingProtocol;
    char szScript[kMaxPath];
    char szAutodialDll[kMaxPath];
    char szAutodialFunc[kMaxPath];
    char szDeviceType[kRasMaxDeviceType + 1];
    char szDeviceName[kRasMaxDeviceName + 1];
    char szX25PadType[kRasMaxPadType + 1];
    char szX25Address[kRasMaxX25Address + 1];
    char szX25Facilities[kRasMaxFacilities + 1];
    char szX25UserData[kRasMaxUserData + 1];
    uint32_t dwChannels;
    uint32_t dwReserved1;
    uint32_t dwReserved2;
};

#pragma pack(pop)

static_assert(sizeof(TRasEntryNameA) == 264, "RASENTRYNAME is 264 bytes");
static_assert(sizeof(TRasConnA) == 412, "RASCONN is 412 bytes");
static_assert(sizeof(TRasConnStatusA) == 160, "basic RASCONNSTATUS is 160 bytes");
static_assert(sizeof(TRasConnStatusExA) == 288, "extended RASCONNSTATUS is 288 bytes");
static_assert(offsetof(TRasConnStatusExA, szPhoneNumber) == 158, "phone number at byte 158");
static_assert(sizeof(TRasDialParamsA) == 1052, "RASDIALPARAMS is 1052 bytes");
static_assert(offsetof(TRasDialParamsA, szPhoneNumber) == 261, "phone number at byte 261");
static_assert(sizeof(TRasEntryA) == 1768, "RASENTRY is 1768 bytes");
static_assert(offsetof(TRasEntryA, szLocalPhoneNumber) == 27, "local number at byte 27");

// RasDialFunc: progress of an asynchronous dial, called on a thread of the RAS library.
using TRasDialFunc = void(RASAPI_CALL*)(uint32_t message, uint32_t state, uint32_t error);

// The ten RAS operations. Each has the RAS function's parameters (phonebook and reserved
// arguments, always none here, are left out) and returns its result unchanged: 0 for success,
// any other value is a RAS or system error code. Implemented over the real RAS library
// (TRasLibraryApi) and, in the tests, by a simulator.
class IRasApi {
public:
    virtual ~IRasApi() = default;
    virtual uint32_t RasEnumEntries(TRasEntryNameA* entries, uint32_t* byteCount,
                                    uint32_t* count) = 0;
    virtual uint32_t RasEnumConnections(TRasConnA* connections, uint32_t* byteCount,
                                        uint32_t* count) = 0;
    // status points at a TRasConnStatusA or a TRasConnStatusExA; its dwSize says which.
    virtual uint32_t RasGetConnectStatus(THRasConn connection, TRasConnStatusA* status) = 0;
    virtual uint32_t RasHangUp(THRasConn connection) = 0;
    virtual uint32_t RasGetErrorString(uint32_t error, char* text, uint32_t size) = 0;
    virtual uint32_t RasGetEntryDialParams(TRasDialParamsA* params, int32_t* passwordSaved) = 0;
    virtual uint32_t RasGetEntryProperties(const char* entryName, TRasEntryA* entry,
                                           uint32_t* entrySize) = 0;
    virtual uint32_t RasDeleteEntry(const char* entryName) = 0;
    // notifier: nullptr for a synchronous dial, else the progress callback (notifier type 0).
    virtual uint32_t RasDial(TRasDialParamsA* params, TRasDialFunc notifier,
                             THRasConn* connection) = 0;
    virtual uint32_t RasConnectionNotification(THRasConn connection, ISyncEvent* event,
                                               uint32_t flags) = 0;
};
