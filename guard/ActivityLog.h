#pragma once
// The lasting log of what the guard did. A user who finds premium-rate calls on a phone bill
// must be able to show when the PC dialled which number and what became of the call, long after
// the report window is gone: every report line is also appended to a text file, stamped with
// the date, the time to the second and the offset from UTC.
#include <cstdint>
#include <string>

#include "common/Product.h"
#include "platform/Files.h"
#include "platform/LocalTime.h"

// A log that reaches this size is renamed to its old generation and a new one begins, so that
// it never takes more than twice this on the disk.
constexpr int64_t kActivityLogLimit = 1024 * 1024;
// The folder under the user's application data where the log goes when the program's folder
// takes no file: the product's name.
inline constexpr const char* kActivityLogFallbackFolder = kProductName;

// How the text is stored, so that Notepad on the same system shows every letter: the 95 family's
// Notepad reads only the ANSI code page; from Windows 2000 on it reads UTF-8 that begins with
// its byte-order mark, which holds any name a dial-up entry may have.
enum class TLogEncoding { Ansi, Utf8 };

// "2026-12-09 07:15:02 +01:00".
std::string FormatLogTime(const TLocalTime& time);
// The log beside a settings file ("MLinewarden.cfg" gives "MLinewarden.log"), and the file its
// previous generation is kept in ("MLinewarden.old.log").
std::string ActivityLogFile(const std::string& settingsFile);
std::string OldActivityLogFile(const std::string& logFile);

class TActivityLog {
public:
    // file: where the log is kept; fallbackFolder: the folder it moves to when that one cannot
    // be written ("" for none), made when needed.
    TActivityLog(IFileSystem& files, std::string file, std::string fallbackFolder,
                 TLogEncoding encoding);

    // Appends one line, written through to the disk before it returns, so that a crash or a
    // power cut loses at most the line being written. False when it could be written nowhere.
    bool Write(const TLocalTime& time, const std::string& text);
    // The file the lines go to now.
    const std::string& FileName() const { return FFile; }

private:
    bool Append(const std::string& file, const std::string& text);

    IFileSystem& FFiles;
    std::string FFile;
    std::string FFallbackFolder;
    TLogEncoding FEncoding;
};
