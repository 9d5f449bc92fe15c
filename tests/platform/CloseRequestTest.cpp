// The close request against a fake process list and window list: which processes are asked,
// that every wait ends after its bound on the clock, and what Retry and Cancel do.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/CloseRequest.h"
#include "tests/support/FakeClock.h"

namespace {

// How a fake program answers the request.
enum class TAnswer { Closes, Ignores, Declines, ClosesWhenAskedTwice };

struct TFakeProgram {
    uint32_t Id;
    std::string Path;  // empty: the walk knows the process by FileName alone
    TAnswer Answer;
    std::string FileName = "";
    std::string WindowClass = "";
    int NoWindowFor = 0;  // the first this many listings of its windows find none
};

constexpr uint32_t kSelf = 7;

// Each process has one window whose reference is its identifier.
class TFakeMachine : public IProcessWalk, public IProcessWindows {
public:
    explicit TFakeMachine(std::vector<TFakeProgram> programs) : FPrograms(std::move(programs)) {}

    std::vector<TRunningProcess> ListProcesses() override
    {
        std::vector<TRunningProcess> list;
        for (const TFakeProgram& p : FPrograms) {
            if (Ended[p.Id]) continue;
            TRunningProcess process;
            process.Id = p.Id;
            process.FullPath = p.Path;
            process.FileName = p.FileName;
            process.PathUnreadable = p.Path.empty();
            list.push_back(process);
        }
        return list;
    }
    bool EndProcess(uint32_t) override
    {
        ++ForcedEnds;
        return false;
    }
    uint32_t CurrentProcessId() override { return kSelf; }

    std::vector<TWindowRef> TopLevelWindows(uint32_t id) override
    {
        if (++FListings[id] <= Find(id).NoWindowFor) return {};
        return {id};
    }
    bool QueryClose(TWindowRef window) override
    {
        Asked.push_back(static_cast<uint32_t>(window));
        return Find(window).Answer != TAnswer::Declines;
    }
    void EndClose(TWindowRef window, bool ending) override
    {
        const TFakeProgram& p = Find(window);
        const int asks = ++FEndings[p.Id];
        if (!ending) return;
        if (p.Answer == TAnswer::Closes || (p.Answer == TAnswer::ClosesWhenAskedTwice && asks > 1))
            Ended[p.Id] = true;
    }
    bool HasEnded(uint32_t id) override { return Ended[id]; }
    std::string ClassName(TWindowRef window) override { return Find(window).WindowClass; }

    std::vector<uint32_t> Asked;
    std::map<uint32_t, bool> Ended;
    int ForcedEnds = 0;

private:
    const TFakeProgram& Find(TWindowRef window)
    {
        for (const TFakeProgram& p : FPrograms)
            if (p.Id == window) return p;
        throw std::logic_error("no such window");
    }
    std::vector<TFakeProgram> FPrograms;
    std::map<uint32_t, int> FEndings, FListings;
};

const std::string kGuard = "C:\\Program Files\\Linewarden\\MLinewarden.exe";
const std::string kHelper = "C:\\Program Files\\Linewarden\\Helper.exe";
const std::string kMainClass = "TLinewardenForm";

}  // namespace

TEST(CloseRequest, AsksTheProgramsOfTheFilesWaitsBoundedAndRetriesAsTheUserSays)
{
    struct TCase {
        const char* Name;
        std::vector<TFakeProgram> Programs;
        std::vector<bool> RetryAnswers;  // one per question, in order
        bool Closed;
        std::vector<uint32_t> Asked;
        std::vector<std::string> Questions;
        uint32_t MinElapsed, MaxElapsed;
    };
    const TCase cases[] = {
            {"nothing of ours runs",
             {{1, "C:\\Windows\\explorer.exe", TAnswer::Ignores}},
             {},
             true,
             {},
             {},
             0,
             0},
            {"the guard closes; the path's case does not matter",
             {{1, "c:\\program files\\LINEWARDEN\\mlinewarden.exe", TAnswer::Closes}},
             {},
             true,
             {1},
             {},
             0,
             100},
            {"a program of the same name elsewhere, a nameless one and our own are left alone",
             {{1, "D:\\Other\\MLinewarden.exe", TAnswer::Ignores},
              {2, "", TAnswer::Ignores},
              {kSelf, kGuard, TAnswer::Ignores},
              {3, kHelper, TAnswer::Closes}},
             {},
             true,
             {3},
             {},
             0,
             100},
            {"one that stays is named after its wait; Cancel gives up",
             {{1, kGuard, TAnswer::Ignores}},
             {false},
             false,
             {1},
             {kGuard},
             10000,
             10100},
            {"Retry asks again, Cancel then gives up",
             {{1, kGuard, TAnswer::Ignores}},
             {true, false},
             false,
             {1, 1},
             {kGuard, kGuard},
             20000,
             20200},
            {"Retry closes one that closes when asked again",
             {{1, kGuard, TAnswer::ClosesWhenAskedTwice}},
             {true},
             true,
             {1, 1},
             {kGuard},
             10000,
             10200},
            {"a declining program is told it stays, and is named",
             {{1, kHelper, TAnswer::Declines}},
             {false},
             false,
             {1},
             {kHelper},
             10000,
             10100},
            {"all are asked before any is waited for; the one that stays is named",
             {{1, kGuard, TAnswer::Closes}, {2, kHelper, TAnswer::Ignores}},
             {false},
             false,
             {1, 2},
             {kHelper},
             10000,
             10200},
            {"known by its name alone, with our main window: asked, and named by its listed path",
             {{1, "", TAnswer::Ignores, "mlinewarden.exe", kMainClass}},
             {false},
             false,
             {1},
             {kGuard},
             10000,
             10100},
            {"one started a moment ago is asked once its window is there",
             {{1, kGuard, TAnswer::Closes, "", "", 3}},
             {},
             true,
             {1},
             {},
             200,
             400},
            {"known by its name alone, without our main window: left alone",
             {{1, "", TAnswer::Ignores, "MLinewarden.exe", "Notepad"},
              {2, "", TAnswer::Ignores, "Other.exe", kMainClass}},
             {},
             true,
             {},
             {},
             0,
             0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeMachine machine(c.Programs);
        TFakeClock clock;
        std::vector<std::string> questions;
        size_t next = 0;
        const TCloseResult result = CloseProgramsUsing(
                {machine, machine, clock}, {kGuard, kHelper},
                [&](const std::string& program) {
                    questions.push_back(program);
                    return next < c.RetryAnswers.size() && c.RetryAnswers[next++];
                },
                kMainClass);
        EXPECT_EQ(result.Closed, c.Closed);
        EXPECT_EQ(machine.Asked, c.Asked);
        EXPECT_EQ(questions, c.Questions);
        const uint32_t elapsed = clock.TickCount() - TFakeClock::kStart;
        EXPECT_GE(elapsed, c.MinElapsed);
        EXPECT_LE(elapsed, c.MaxElapsed);
        EXPECT_EQ(machine.ForcedEnds, 0);
        EXPECT_EQ(result.WereRunning.size(),
                  c.Asked.empty() ? 0u : std::set<uint32_t>(c.Asked.begin(), c.Asked.end()).size());
    }
}
