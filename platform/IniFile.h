#pragma once
// The private-profile port over the file port: Linux has no profile functions, so this answers
// the port there, on the real files; over the in-memory file system it is the tests' profile,
// and over the Win32 file port the settings tests compare the bytes it writes with what the
// real profile functions write.
//
// Every call reads the whole file and every change writes the whole file again: first to a
// temporary file beside it, which then takes the original's name, so that a failed write never
// leaves a file cut short. A missing file reads as empty. A file that exists but cannot be read
// is never overwritten.
#include <string>

#include "platform/Files.h"
#include "platform/Profile.h"

class TIniFile : public IProfile {
public:
    explicit TIniFile(IFileSystem& files) : FFiles(files) {}

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def,
                           size_t maxChars) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override;

private:
    // The file's bytes; empty when it does not exist. False when it exists but cannot be read.
    bool Load(const std::string& file, std::string& text);
    bool Store(const std::string& file, const std::string& text);

    IFileSystem& FFiles;
};
