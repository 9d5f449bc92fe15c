// Which running processes the sweep lists and which one it ends, over a scripted process list.
// The system's walks themselves are tested under Wine (tests/wine/dialers).
#include "dialers/RunningProcesses.h"

#include <gtest/gtest.h>

#include "ToolsFixture.h"

namespace {

using TStrings = std::vector<std::string>;
using TIds = std::vector<uint32_t>;

class RunningProcesses : public ToolsFixture {
protected:
    TFakeProcessWalk Walk;
    TToolsPorts WalkPorts{
            Registry, Files, Processes, Shell, Ports.ProgramPath, kUnpackerTimeLimitMs, Walk};
};

TEST_F(RunningProcesses, KillingByFileEndsTheFirstMatchOnly)
{
    // How a process is named by the walk: "*" before the name marks a path it could not read.
    struct TProcess {
        uint32_t id;
        const char* file;
        bool endable;
    };
    struct TCall {
        const char* path;
        bool ended;
    };
    struct TCase {
        const char* title;
        std::vector<TProcess> running;
        std::vector<TCall> calls;
        TIds ended;
    };
    const uint32_t self = Walk.SelfId;
    const TCase cases[] = {
            {"the whole path decides, ASCII case ignored on both sides",
             {{5, "C:\\WINDOWS\\EXPLORER.EXE", true}, {30, "C:\\Temp\\EXPLORER.EXE", true}},
             {{"c:\\TEMP\\explorer.exe", true}},
             {30}},
            {"the same name in another folder is left alone",
             {{30, "D:\\Other\\Dialer.exe", true}},
             {{"C:\\X\\dialer.exe", false}},
             {}},
            // Where the walk names no folder, the file name decides alone.
            {"a walk that gives only the name",
             {{30, "DIALER.EXE", true}},
             {{"C:\\X\\dialer.exe", true}},
             {30}},
            {"a process whose path could not be read",
             {{30, "*dialer.exe", true}},
             {{"C:\\X\\dialer.exe", true}},
             {30}},
            {"a target without a folder",
             {{30, "D:\\Other\\Dialer.exe", true}},
             {{"DIALER.exe", true}},
             {30}},
            {"a name is matched whole",
             {{30, "C:\\X\\dialer.exe.bak", true}, {31, "C:\\X\\mydialer.exe", true}},
             {{"C:\\X\\dialer.exe", false}},
             {}},
            {"a target without a file name ends nothing",
             {{30, "C:\\X\\", true}, {31, "C:\\X\\dialer.exe", true}},
             {{"C:\\X\\", false}, {"", false}},
             {}},
            {"the guard's own process is never ended",
             {{self, "C:\\X\\dialer.exe", true}, {33, "C:\\X\\dialer.exe", true}},
             {{"C:\\X\\dialer.exe", true}, {"C:\\X\\dialer.exe", false}},
             {33}},
            {"a process that refuses to end stays and ends the search",
             {{30, "C:\\X\\dialer.exe", false}, {31, "C:\\X\\dialer.exe", true}},
             {{"C:\\X\\dialer.exe", false}},
             {}},
            {"one copy per call, in the order of the walk",
             {{40, "C:\\A\\dialer.exe", true},
              {41, "C:\\B\\DIALER.exe", true},
              {42, "C:\\A\\dialer.exe", true}},
             {{"c:\\a\\DIALER.exe", true},
              {"C:\\A\\dialer.exe", true},
              {"C:\\A\\dialer.exe", false},
              {"dialer.exe", true}},
             {40, 42, 41}},
            {"a walk that finds nothing", {}, {{"C:\\X\\dialer.exe", false}}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.title);
        Walk = TFakeProcessWalk();
        for (const TProcess& p : c.running) {
            const bool unreadable = p.file[0] == '*';
            TFakeProcessWalk::TProcess& added = Walk.Add(p.id, p.file + (unreadable ? 1 : 0));
            added.PathUnreadable = unreadable;
            added.Endable = p.endable;
        }
        for (const TCall& call : c.calls)
            EXPECT_EQ(call.ended, KillProcessByFile(WalkPorts, call.path)) << call.path;
        EXPECT_EQ(c.ended, Walk.Ended);
    }
}

TEST_F(RunningProcesses, ListingNamesEachProcessByWhatTheWalkKnows)
{
    Walk.Add(8, "C:\\WINDOWS\\EXPLORER.EXE");
    Walk.Add(12, "C:\\X\\dialer.exe");
    Walk.Add(13, "C:\\X\\dialer.exe");
    Walk.Add(0, "[System Process]");
    Walk.Add(20, "locked.exe").PathUnreadable = true;
    Walk.Add(Walk.SelfId, "C:\\Guard\\MLinewarden.exe");
    TFiles list(WalkPorts);
    list.Add("left over");
    EXPECT_TRUE(list.ListRunningProcesses());
    EXPECT_EQ((TStrings{"C:\\WINDOWS\\EXPLORER.EXE", "C:\\X\\dialer.exe", "C:\\X\\dialer.exe",
                        "[System Process]", "C:\\Guard\\MLinewarden.exe"}),
              list.Items());
    EXPECT_TRUE(Walk.Ended.empty());

    // A walk that finds nothing leaves the list empty.
    TFiles none(Ports);
    none.Add("left over");
    EXPECT_FALSE(none.ListRunningProcesses());
    EXPECT_EQ(0, none.Count());
}

TEST_F(RunningProcesses, TerminatingByIdEndsThatProcessOnly)
{
    Walk.Add(50, "C:\\A\\a.exe");
    Walk.Add(51, "C:\\A\\b.exe").Endable = false;
    EXPECT_TRUE(TerminateProcessById(WalkPorts, 50));
    EXPECT_FALSE(TerminateProcessById(WalkPorts, 51));
    EXPECT_FALSE(TerminateProcessById(WalkPorts, 99));
    EXPECT_EQ(TIds{50}, Walk.Ended);
}

}  // namespace
