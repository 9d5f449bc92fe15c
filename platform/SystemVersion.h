#pragma once
// Port: which Windows the program runs on, as far as the program asks: the Windows 95, 98 and
// Me family or the NT family.
#include <cstdint>

// The packed version word of GetVersion. Linux reports 0, a word of the NT family.
uint32_t SystemVersionWord();

// The Windows 95 family marks its version word with the top bit. The next three bits are not a
// family mark but the top of the NT build number, set on every system since build 4096
// (Vista): they must not pick the ways of the 95 family, whose process snapshot, for one, names
// the program file without its folder on the NT family.
inline bool IsWindows95Family(uint32_t versionWord)
{
    return (versionWord & 0x80000000u) != 0;
}
