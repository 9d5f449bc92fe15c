#include "guard/ActivityLog.h"

#include <cstdlib>

#include "common/Format.h"
#include "common/Paths.h"
#include "platform/AnsiText.h"

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

int64_t FileSize(IFileSystem& files, const std::string& path)
{
    auto file = files.OpenRead(path);
    return file ? file->Size() : -1;
}

// One event, one line: a line break inside a text (an entry's name may hold one) would let a
// line pass for another event.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

std::string FormatLogTime(const TLocalTime& time)
{
    const int offset = std::abs(time.UtcOffsetMinutes);
    return Format("%.4d-%.2d-%.2d %.2d:%.2d:%.2d %s%.2d:%.2d", time.Year, time.Month, time.Day,
                  time.Hour, time.Minute, time.Second, time.UtcOffsetMinutes < 0 ? "-" : "+",
                  offset / 60, offset % 60);
}

std::string ActivityLogFile(const std::string& settingsFile)
{
    return ChangeFileExt(settingsFile, ".log");
}

std::string OldActivityLogFile(const std::string& logFile)
{
    return ChangeFileExt(logFile, ".old.log");
}

TActivityLog::TActivityLog(IFileSystem& files, std::string file, std::string fallbackFolder,
                           TLogEncoding encoding)
    : FFiles(files), FFile(std::move(file)), FFallbackFolder(std::move(fallbackFolder)),
      FEncoding(encoding)
{
}

bool TActivityLog::Write(const TLocalTime& time, const std::string& text)
{
    const std::string line = FormatLogTime(time) + "  " + OneLine(text) + "\r\n";
    if (Append(FFile, line)) return true;
    if (FFallbackFolder.empty()) return false;
    // The program's folder takes no file (a standard user beside a program installed for
    // everyone): the rest of the run writes under the user's own data, where one always may.
    const std::string fallback = IncludeTrailingBackslash(FFallbackFolder) + ExtractFileName(FFile);
    FFallbackFolder.clear();
    FFile = fallback;
    ForceFolders(FFiles, ExtractFilePath(FFile));
    return Append(FFile, line);
}

bool TActivityLog::Append(const std::string& file, const std::string& line)
{
    std::string bytes = FEncoding == TLogEncoding::Ansi ? Utf8ToAnsi(line) : line;
    int64_t size = FileSize(FFiles, file);
    const int64_t adding = static_cast<int64_t>(bytes.size());
    if (size > 0 && size + adding > kActivityLogLimit) {
        // One generation is kept. A rename that fails (the old file held open without sharing)
        // lets the log grow on for a while, but not without bound: past twice the limit lines
        // are refused, and the guard says so.
        if (FFiles.RenameFile(file, OldActivityLogFile(file)))
            size = -1;
        else if (size + adding > 2 * kActivityLogLimit)
            return false;
    }
    if (size <= 0 && FEncoding == TLogEncoding::Utf8) bytes = kUtf8Mark + bytes;
    return FFiles.AppendToFile(file, bytes);
}
