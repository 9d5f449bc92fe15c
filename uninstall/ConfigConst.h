#pragma once
// The words with which an installation records what it did: entry flags, the action of an
// entry, a shortcut's window mode and registry value types. The uninstaller reads them from
// its log only to validate and store them; a word outside these tables is an Exception, so a
// log that does not make sense stops the reading before anything is removed.
#include <cstdint>
#include <string>

#include "platform/Registry.h"

// Bit i set for the flag at index i of the flag table.
using TFlagSet = uint16_t;

enum TSetupFlag : int {
    sfDontLog = 0,
    sfDontOverwrite = 1,
    sfNoVersion = 2,
    sfRegServer = 3,
    sfRegFont = 4,
    sfDontAsk = 5,
    sfExternal = 6,
    sfShared = 7,
    sfDontWait = 8,
    sfCheckExitCode = 9,
    sfUserId = 10,
};
constexpr int SetupFlagCount = 11;
// Names of the flags by bit number, as the log writes them (case-sensitive).
extern const char* const SetupFlagNames[SetupFlagCount];

inline bool HasFlag(TFlagSet flags, TSetupFlag flag)
{
    return (flags >> flag) & 1u;
}

enum TSetupAction : uint8_t { saAdd = 0, saRemove = 1 };
enum TScreenMode : uint8_t { smNormal = 0, smMinimized = 1, smMaximized = 2, smHidden = 3 };
// The log's own numbering of value types; RegistryTypeOf gives the registry's number.
enum TLogRegType : uint8_t { lrtString = 0, lrtMultiString = 1, lrtInteger = 2, lrtBinary = 3 };

// Comma-separated flag names. An item is taken as written before a comma and trimmed only as
// the last name; an empty item ends the list. "Flag %s not available!" for an unknown name.
TFlagSet ParseFlags(const std::string& text);
// "add" or "remove" in any letter case; "Action %s not available!" otherwise.
TSetupAction ParseAction(const std::string& text);
// "normal" (or nothing), "min", "max", "hide" in any letter case;
// "AppScreenMode %s not available!" otherwise.
TScreenMode ParseScreenMode(const std::string& text);
// "str", "mstr", "int", "bin", exactly so; "RegType %s not available!" otherwise.
TLogRegType ParseRegType(const std::string& text);
TRegType RegistryTypeOf(TLogRegType type);
