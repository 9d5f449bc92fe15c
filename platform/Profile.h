#pragma once
// Port: private-profile (ini) files, read and written key by key as the Win32 profile functions
// do. Keys and sections compare without regard to ASCII case.
#include <string>

class IProfile {
public:
    virtual ~IProfile() = default;
    // The value of key in section, at most maxChars characters; def when the file, the section
    // or the key is missing.
    virtual std::string ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& def,
                                   size_t maxChars) = 0;
    // Writes key=value in section, creating the file and the section as needed. False when the
    // file could not be written, and when a line break in the section, key or value would
    // turn into lines of their own.
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
    // Removes the one entry, keeping every other line of the file as it was. True when the
    // entry is gone afterwards (also when it was never there).
    virtual bool DeleteKey(const std::string& file, const std::string& section,
                           const std::string& key) = 0;
};

// The platform's profile functions: Win32 GetPrivateProfileString and friends; on Linux the
// portable ini implementation over real files.
IProfile& SystemProfile();
