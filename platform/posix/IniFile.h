#pragma once
// The private-profile port over real files with nothing but standard C++: Linux has no profile
// functions, so this answers the port there. Being standard C++ only, it also builds for
// Windows, where the settings tests use it to compare the bytes of the files they write. File
// names are UTF-8 on every platform.
//
// Every call reads the whole file and every change writes the whole file again: first to a
// temporary file beside it, which then replaces the original, so that a failed write never
// leaves a truncated file behind. A missing file reads as empty. A file that exists but cannot
// be read is never overwritten.
#include <string>

#include "platform/Profile.h"

class TIniFile : public IProfile {
public:
    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def,
                           size_t maxChars) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override;
};
