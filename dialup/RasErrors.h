#pragma once
// The RAS and system result codes that the guard, the RAS simulator of the tests and the
// stand-in RAS library give or look for. They are the Windows numbers, named here once so
// that the portable code needs no Windows header for them; each comment gives the Windows name.
#include <cstdint>

constexpr uint32_t kRasSuccess = 0;                          // ERROR_SUCCESS
constexpr uint32_t kRasErrorInvalidHandle = 6;               // ERROR_INVALID_HANDLE
constexpr uint32_t kRasErrorNotEnoughMemory = 8;             // ERROR_NOT_ENOUGH_MEMORY
constexpr uint32_t kRasErrorInvalidParameter = 87;           // ERROR_INVALID_PARAMETER
constexpr uint32_t kRasErrorCallNotImplemented = 120;        // ERROR_CALL_NOT_IMPLEMENTED
constexpr uint32_t kRasErrorInvalidName = 123;               // ERROR_INVALID_NAME
constexpr uint32_t kRasErrorBufferTooSmall = 603;            // ERROR_BUFFER_TOO_SMALL
constexpr uint32_t kRasErrorCannotOpenPhonebook = 621;       // ERROR_CANNOT_OPEN_PHONEBOOK
constexpr uint32_t kRasErrorCannotFindPhonebookEntry = 623;  // ERROR_CANNOT_FIND_PHONEBOOK_ENTRY
constexpr uint32_t kRasErrorUserDisconnection = 631;         // ERROR_USER_DISCONNECTION
constexpr uint32_t kRasErrorInvalidSize = 632;               // ERROR_INVALID_SIZE
constexpr uint32_t kRasErrorPortNotAvailable = 633;          // ERROR_PORT_NOT_AVAILABLE
constexpr uint32_t kRasErrorNoDialtone = 680;                // ERROR_NO_DIALTONE
