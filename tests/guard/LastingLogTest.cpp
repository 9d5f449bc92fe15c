// What the guard keeps of its work after its window is gone (the log file beside its settings)
// and what it tells the user at once when it acted without asking (the tray icon's balloon).
#include "guard/GuardFixture.h"

#include <algorithm>
#include "guard/GuardTexts.h"

namespace {

using LastingLog = GuardFixture;

std::vector<std::string> Lines(const std::string& content)
{
    std::vector<std::string> lines;
    size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // after the mark
    for (size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(content.substr(start, end - start));
    return lines;
}

TEST_F(LastingLog, KeepsEveryReportLineWithWhatTheRowLeavesOut)
{
    const struct {
        const char* Name;
        bool Ask;
        std::vector<bool> Answers;
        std::string Line;  // the check's line, after the stamp
    } cases[] = {
            {"hung up without asking", false, {},
             "Niedozwolone połączenie z numerem \"0700\" zostało pomyślnie rozłączone. "
             "[połączenie \"dialer\"; bez pytania, zgodnie z ustawieniami]"},
            {"the user said yes", true, {true},
             "Niedozwolone połączenie z numerem \"0700\" zostało pomyślnie rozłączone. "
             "[połączenie \"dialer\"; użytkownik zapytany, odpowiedział: Tak]"},
            {"the user said no", true, {false},
             "Połączenie \"dialer\" o numerze \"0700\" nie zostało rozłączone. "
             "[użytkownik zapytany, odpowiedział: Nie]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto t = std::make_unique<TGuardWorld>();
        t->Time.Time.UtcOffsetMinutes = 60;
        t->SetOption(SKeyAskBeforeDeleteDialUp, c.Ask);
        t->Start();
        t->Connect({{"dialer", "0700", "", ""}});
        t->Dialogs.Answers = c.Answers;
        t->Form->DisconnectUnknownConnections(true);
        t->Form.reset();
        const std::string stamp = "2026-12-06 14:05:09 +01:00  ";
        EXPECT_EQ(
                Lines(t->Files.Node(TGuardWorld::kLog)->Content),
                (std::vector<std::string>{
                        stamp + GuardText(TGuardText::ReportStart, TLanguage::Polish) +
                                kGuardCaption,
                        stamp + c.Line,
                        stamp + GuardText(TGuardText::LogEnd, TLanguage::Polish) + kGuardCaption}));
    }
}

TEST_F(LastingLog, AFolderThatTakesNoLogMovesItOrIsToldOnce)
{
    const struct {
        const char* Name;
        std::string AppData;
        const char* Where;  // "" when nowhere
    } cases[] = {
            {"to the user's data", "C:\\Users\\ala\\Dane aplikacji",
             "C:\\Users\\ala\\Dane aplikacji\\Morvane Linewarden\\MLinewarden.log"},
            {"nowhere", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto t = std::make_unique<TGuardWorld>();
        if (!c.AppData.empty()) t->Files.AddFolder(c.AppData);
        t->AppData = c.AppData;
        t->Start();
        // From now on the log beside the program cannot be written (a backup program holds it).
        t->Files.Node(TGuardWorld::kLog)->Locked = true;
        t->Connect({{"a", "0700", "", ""}, {"b", "0701", "", ""}});
        t->Form->DisconnectUnknownConnections(true);
        t->PassTime(10);
        const std::string told = Format(
                GuardText(TGuardText::ReportLogNotWritten, TLanguage::Polish), TGuardWorld::kLog);
        const auto texts = t->View.ReportTexts();
        const auto boxes = std::count_if(t->View.Log.begin(), t->View.Log.end(),
                                         [](const std::string& s) { return s.rfind("warning:", 0) == 0; });
        if (*c.Where) {
            EXPECT_EQ(Lines(t->Files.Node(c.Where)->Content).size(), 2u);  // the two hang-ups
            EXPECT_EQ(std::count(texts.begin(), texts.end(), told), 0);
            EXPECT_EQ(boxes, 0);
        } else {
            EXPECT_EQ(std::count(texts.begin(), texts.end(), told), 1);
            EXPECT_EQ(boxes, 1);
        }
        t->Form->MenuClick(TMenuItem::ActivityLog);
        ASSERT_EQ(t->Shell.Calls.size(), 1u);
        EXPECT_EQ(t->Shell.Calls[0].File, "notepad.exe");
        EXPECT_EQ(t->Shell.Calls[0].Parameters,
                  "\"" + std::string(*c.Where ? c.Where : TGuardWorld::kLog) + "\"");
    }
}

TEST_F(LastingLog, ActingWithoutAskingShowsOneBalloonOrTheTip)
{
    const std::string first =
            Format(GuardText(TGuardText::BalloonHungUp, TLanguage::Polish), "a", "0700");
    const std::string last =
            Format(GuardText(TGuardText::BalloonHungUp, TLanguage::Polish), "b", "0701");
    const std::string burst =
            last + "\r\n" + Format(GuardText(TGuardText::BalloonBurst, TLanguage::Polish), 2);
    for (bool balloons : {true, false}) {
        SCOPED_TRACE(balloons ? "balloons" : "tip");
        auto t = std::make_unique<TGuardWorld>();
        t->Tray.Balloons = balloons;
        t->Start();
        t->Tray.Calls.clear();
        t->Connect({{"a", "0700", "", ""}, {"b", "0701", "", ""}});
        t->Form->DisconnectUnknownConnections(true);
        if (balloons) {
            EXPECT_EQ(t->Tray.Calls,
                      (std::vector<std::string>{"balloon " + first + kGuardCaption,
                                                "balloon " + burst + kGuardCaption}));
        } else {
            EXPECT_EQ(t->Tray.Calls.back(), "modify " + FirstCharacters(burst, kTrayTipLength));
            t->Form->ShowView(false);
            EXPECT_EQ(t->Tray.Calls.back(), std::string("modify ") + kGuardCaption);
        }
    }
    // Asked, the user knows already.
    auto t = std::make_unique<TGuardWorld>();
    t->SetOption(SKeyAskBeforeDeleteDialUp, true);
    t->Start();
    t->Tray.Calls.clear();
    t->Connect({{"a", "0700", "", ""}});
    t->Form->DisconnectUnknownConnections(true);
    EXPECT_TRUE(t->Tray.Calls.empty());
}

}  // namespace
