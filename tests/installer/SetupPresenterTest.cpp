// The setup window's flows on a fake view, and the start-with-Windows choice it proposes.
#include <functional>

#include "SetupFixture.h"
#include "installer/SetupPresenter.h"
#include "installer/SetupRules.h"
#include "installer/SetupTexts.h"

namespace {

const std::string Folder = "C:\\Programy\\Linewarden";

struct TFakeSetupView : ISetupView {
    std::string FolderText, Status, CancelText, Chosen;
    bool Auto = false, Start = false, Enabled = true, Closed = false;
    int Progress = -1;
    std::vector<std::string> Asked, Errors;
    std::function<void()> WhileAsked;

    std::string Folder() override { return FolderText; }
    void SetFolder(const std::string& folder) override { FolderText = folder; }
    bool AutoStart() override { return Auto; }
    void SetAutoStart(bool on) override { Auto = on; }
    bool StartGuard() override { return Start; }
    void SetStartGuard(bool on) override { Start = on; }
    void EnableInputs(bool enabled) override { Enabled = enabled; }
    void SetProgress(int percent) override { Progress = percent; }
    void SetStatus(const std::string& text) override { Status = text; }
    void TurnCancelInto(const std::string& text) override { CancelText = text; }
    bool AskRetry(const std::string& text) override
    {
        Asked.push_back(text);
        if (WhileAsked) WhileAsked();
        return false;
    }
    void ShowError(const std::string& text) override { Errors.push_back(text); }
    std::string ChooseFolder(const std::string&) override { return Chosen; }
    void CloseWindow() override { Closed = true; }
};

}  // namespace

TEST(SetupPresenterTest, Flows)
{
    using L = TLanguage;
    const struct {
        const char* Name;
        TLanguage Language;
        std::string Folder, Chosen;
        bool GuardStays, StartGuard;
        const char* Clicks;  // Browse, Install, Cancel
        std::string FolderAfter;
        bool Done;  // the last line says so, in the language
        std::string ErrorNames;
        bool Enabled, Closed;
        int Asked, ExitCode, Progress;
    } cases[] = {
            {"installed", L::English, Folder, "", false, false, "IC", Folder, true, "", false, true,
             0, 0, 100},
            {"installed in Polish, guard started", L::Polish, Folder, "", false, true, "I", Folder,
             true, "", false, false, 0, 0, 100},
            {"bad folder, then cancelled", L::English, "Programy", "", false, true, "IC",
             "Programy", false, "Programy", true, true, 0, 1, 0},
            // Cancel while the question is open is refused: the installation is under way.
            {"program stays", L::English, Folder, "", true, true, "I", Folder, false,
             Folder + "\\MLinewarden.exe", true, false, 1, 1, 0},
            {"browse chosen", L::English, Folder, "D:\\Apps", false, true, "B",
             "D:\\Apps\\Morvane Linewarden", false, "", true, false, 0, 1, -1},
            {"browse at a root", L::English, Folder, "D:\\", false, true, "B",
             "D:\\Morvane Linewarden", false, "", true, false, 0, 1, -1},
            {"browse given up", L::English, Folder, "", false, true, "BC", Folder, false, "", true,
             true, 0, 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSetupMachine t;
        if (c.GuardStays) t.Programs.Add(5, Folder + "\\MLinewarden.exe", true);
        TSetupInstaller setup(t.Ports, t.Payload, TInstallScope::PerUser, c.Language);
        TFakeSetupView view;
        TSetupPresenter presenter(view, setup, c.Language);
        presenter.Start(c.Folder);
        view.Start = c.StartGuard;
        view.Chosen = c.Chosen;
        view.WhileAsked = [&] { presenter.Cancel(); };
        for (const char* click = c.Clicks; *click; ++click) {
            if (*click == 'B') presenter.Browse();
            if (*click == 'I') presenter.Install();
            if (*click == 'C') presenter.Cancel();
        }
        EXPECT_EQ(view.FolderText, c.FolderAfter);
        EXPECT_EQ(view.Status, c.Done ? SetupText(TSetupText::Done, c.Language) : "");
        EXPECT_EQ(view.Enabled, c.Enabled);
        EXPECT_EQ(view.Closed, c.Closed);
        EXPECT_EQ(view.Progress, c.Progress);
        EXPECT_EQ(int(view.Asked.size()), c.Asked);
        EXPECT_EQ(view.CancelText, c.ExitCode == 0 ? SetupText(TSetupText::Close, c.Language) : "");
        ASSERT_EQ(view.Errors.size(), c.ErrorNames.empty() ? 0u : 1u);
        if (!c.ErrorNames.empty())
            EXPECT_NE(view.Errors[0].find(c.ErrorNames), std::string::npos) << view.Errors[0];
        EXPECT_EQ(presenter.Result().ExitCode, c.ExitCode);
        EXPECT_EQ(presenter.Result().StartGuard, c.StartGuard);
    }
}

// An upgrade keeps the user's choice; reading it leaves the settings file as it was.
TEST(SetupPresenterTest, ProposesTheAutoStartTheUserChose)
{
    const std::string cfg = Folder + "\\MLinewarden.cfg";
    const struct {
        const char* Value;  // nullptr: no settings file
        bool Proposed;
    } cases[] = {{nullptr, true}, {"0", false}, {"1", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value ? c.Value : "none");
        TSetupMachine t;
        if (c.Value) {
            t.Files.AddFile(cfg, "");
            t.Profile.Set(cfg, "Main", "AutoStart", c.Value);
        }
        TSetupInstaller setup(t.Ports, t.Payload);
        EXPECT_EQ(setup.ProposedAutoStart(Folder + "\\"), c.Proposed);
        TFakeSetupView view;
        TSetupPresenter(view, setup, TLanguage::English).Start(Folder);
        EXPECT_EQ(view.Auto, c.Proposed);
        EXPECT_TRUE(t.Profile.Written.empty());
    }
}
