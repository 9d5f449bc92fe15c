// The lasting log: its stamp, where its lines go, its two generations, and that a line written
// is on the disk whole whatever happens to the program next.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "guard/ActivityLog.h"
#include "platform/AnsiText.h"
#include "support/MemoryFileSystem.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#endif

namespace {

const char kLog[] = "C:\\Guard\\MLinewarden.log";
const char kOld[] = "C:\\Guard\\MLinewarden.old.log";
const char kFallbackLog[] = "C:\\Data\\Morvane Linewarden\\MLinewarden.log";
const TLocalTime kNow{2026, 12, 9, 7, 5, 2, 60};
const std::string kBom = "\xEF\xBB\xBF";
const std::string kLine = "2026-12-09 07:05:02 +01:00  Rozłączono\r\n";

TEST(ActivityLog, StampsTheLocalTimeWithItsOffsetFromUtc)
{
    const struct {
        int Offset;
        const char* Stamp;
    } cases[] = {{60, "2026-12-09 07:05:02 +01:00"},
                 {0, "2026-12-09 07:05:02 +00:00"},
                 {-330, "2026-12-09 07:05:02 -05:30"},
                 {345, "2026-12-09 07:05:02 +05:45"}};
    for (const auto& c : cases) {
        TLocalTime time = kNow;
        time.UtcOffsetMinutes = c.Offset;
        EXPECT_EQ(FormatLogTime(time), c.Stamp);
    }
    EXPECT_EQ(ActivityLogFile("C:\\Guard\\MLinewarden.cfg"), kLog);
    EXPECT_EQ(OldActivityLogFile(kLog), kOld);
}

TEST(ActivityLog, AppendsKeepsOneGenerationAndMovesWhereItMayWrite)
{
    const std::string full(kActivityLogLimit - 10, 'x');
    const struct {
        const char* Name;
        std::function<void(TMemoryFileSystem&)> Arrange;
        TLogEncoding Encoding;
        std::string Text;
        bool Written;
        const char* File;  // where the line went
        std::string Log;   // what the file holds afterwards
        std::string Old;   // what the old generation holds ("-": none)
    } cases[] = {
            {"a new log begins with the byte-order mark", [](TMemoryFileSystem&) {},
             TLogEncoding::Utf8, "Rozłączono", true, kLog, kBom + kLine, "-"},
            {"an earlier log is appended to", [](TMemoryFileSystem& f) { f.AddFile(kLog, "a\r\n"); },
             TLogEncoding::Utf8, "Rozłączono", true, kLog, "a\r\n" + kLine, "-"},
            {"no mark in the code page, and one line per event", [](TMemoryFileSystem&) {},
             TLogEncoding::Ansi, "Rozłą\r\nczono", true, kLog,
             Utf8ToAnsi("2026-12-09 07:05:02 +01:00  Rozłą  czono\r\n"), "-"},
            {"past the limit the log becomes the old one",
             [&](TMemoryFileSystem& f) {
                 f.AddFile(kLog, full);
                 f.AddFile(kOld, "older");
             },
             TLogEncoding::Utf8, "Rozłączono", true, kLog, kBom + kLine, full},
            {"an old one that cannot go lets the log grow a while",
             [&](TMemoryFileSystem& f) {
                 f.AddFile(kLog, full);
                 f.AddFile(kOld, "older");
                 f.Node(kOld)->Locked = true;
             },
             TLogEncoding::Utf8, "Rozłączono", true, kLog, full + kLine, "older"},
            {"but not past twice the limit: the rest goes to the user's data",
             [&](TMemoryFileSystem& f) {
                 f.AddFile(kLog, full + full + full);
                 f.AddFile(kOld, "older");
                 f.Node(kOld)->Locked = true;
             },
             TLogEncoding::Utf8, "Rozłączono", true, kFallbackLog, kBom + kLine, "-"},
            {"a folder that takes no file sends it to the user's data",
             [](TMemoryFileSystem& f) { f.Node("C:\\Guard")->RefusesNewFiles = true; },
             TLogEncoding::Utf8, "Rozłączono", true, kFallbackLog, kBom + kLine, "-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemoryFileSystem files;
        files.AddFolder("C:\\Guard");
        files.AddFolder("C:\\Data");
        c.Arrange(files);
        TActivityLog log(files, kLog, "C:\\Data\\Morvane Linewarden", c.Encoding);
        EXPECT_EQ(log.Write(kNow, c.Text), c.Written);
        EXPECT_EQ(log.FileName(), c.File);
        ASSERT_TRUE(files.Node(c.File));
        EXPECT_EQ(files.Node(c.File)->Content, c.Log);
        auto* old = files.Node(OldActivityLogFile(c.File));
        EXPECT_EQ(old ? old->Content : "-", c.Old);
    }
}

TEST(ActivityLog, WithoutAFallbackALineThatCannotBeWrittenIsLost)
{
    const std::string full(kActivityLogLimit, 'x');
    const struct {
        const char* Name;
        std::function<void(TMemoryFileSystem&)> Arrange;
    } cases[] = {
            {"the folder takes no file",
             [](TMemoryFileSystem& f) { f.Node("C:\\Guard")->RefusesNewFiles = true; }},
            {"twice the limit and the old one held",
             [&](TMemoryFileSystem& f) {
                 f.AddFile(kLog, full + full);
                 f.AddFile(kOld, "older");
                 f.Node(kOld)->Locked = true;
             }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemoryFileSystem files;
        files.AddFolder("C:\\Guard");
        c.Arrange(files);
        const std::string before = files.FileExists(kLog) ? files.Node(kLog)->Content : "-";
        TActivityLog log(files, kLog, "", TLogEncoding::Utf8);
        EXPECT_FALSE(log.Write(kNow, "x"));
        EXPECT_EQ(files.FileExists(kLog) ? files.Node(kLog)->Content : "-", before);
    }
}

#ifndef _WIN32
// A guard killed between two events: every line it wrote before is in the file, whole.
TEST(ActivityLog, LinesWrittenBeforeAKillAreThereWhole)
{
    const std::string path = testing::TempDir() + "lw-killed.log";
    std::remove(path.c_str());
    constexpr int kLines = 200;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TActivityLog log(SystemFileSystem(), path, "", TLogEncoding::Utf8);
        for (int i = 0; i < kLines; ++i) log.Write(kNow, "Zdarzenie " + std::to_string(i));
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string expected = kBom;
    for (int i = 0; i < kLines; ++i)
        expected += "2026-12-09 07:05:02 +01:00  Zdarzenie " + std::to_string(i) + "\r\n";
    EXPECT_EQ(text.str(), expected);
    std::remove(path.c_str());
}
#endif

}  // namespace
