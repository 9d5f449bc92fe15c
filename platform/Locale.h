#pragma once
// Port: the system's locale settings.
#include <cstdint>

class ILocale {
public:
    virtual ~ILocale() = default;
    // The system default locale identifier (GetSystemDefaultLCID): the machine's, not the user's.
    virtual uint32_t SystemDefaultLcid() = 0;
};

// The low 10 bits of a locale identifier: the primary language (0x15 Polish, 0x09 English).
inline uint16_t PrimaryLanguageOf(uint32_t lcid)
{
    return static_cast<uint16_t>(lcid & 0x3FF);
}

ILocale& SystemLocale();
