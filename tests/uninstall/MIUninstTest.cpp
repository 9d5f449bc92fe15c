// The program's run: confirmation, answer, exit code.
#include "tests/uninstall/UninstallFixture.h"
#include "uninstall/MIUninst.h"

namespace {

class Flow : public UninstallFixture {
protected:
    void SetUp() override
    {
        Files.AddFile("C:\\App\\a.exe", "");
        Files.AddFolder("C:\\Temp");
    }
};

TEST_F(Flow, ConfirmationNamesTheApplicationAndOnlyYesRemoves)
{
    struct TCase {
        uint32_t Lcid;
        std::string AppName;
        TMsgResult Answer;
        std::string Caption, Text;
        bool Removed;
    } cases[] = {
            {0x0415, "Edytor", TMsgResult::Yes, "Edytor - Deinstalacja",
             "Czy napewno chcesz odinstalować Edytor oraz wszystkie jego składniki?", true},
            {0x0407, "Edytor 100%s", TMsgResult::No, "Edytor 100%s - Uninstall",
             "Are you sure you want to completely remove Edytor 100%s and all of its components?",
             false},
            {0x0409, " \r\n ", TMsgResult::Closed, "uninstall.exe - Uninstall",
             "Are you sure you want to completely remove uninstall.exe and all of its components?",
             false},
    };
    for (const TCase& c : cases) {
        Files.AddFile("C:\\App\\a.exe", "");
        PutProgram(LogOf("<appname>" + c.AppName +
                         "</appname>"
                         "<files><file action=\"add\" filename=\"C:\\App\\a.exe\"/></files>"));
        Messages.Shown.clear();
        Messages.Answer = c.Answer;
        EXPECT_EQ(UninstallProgram(Ports, c.Lcid), 0);
        ASSERT_EQ(Messages.Shown.size(), 1u);
        const TFakeMessageBox::TShown& box = Messages.Shown[0];
        EXPECT_EQ(box.Caption, c.Caption);
        EXPECT_EQ(box.Text, c.Text);
        EXPECT_EQ(box.Buttons, TMsgButtons::YesNo);
        EXPECT_EQ(box.Icon, TMsgIcon::Question);
        EXPECT_EQ(box.Default, TMsgDefault::Second);
        EXPECT_EQ(!Files.FileExists("C:\\App\\a.exe"), c.Removed) << c.Caption;
        EXPECT_EQ(Processes.Started.size(), c.Removed ? 1u : 0u);
        Processes.Started.clear();
    }
}

TEST_F(Flow, ARunningProgramOfTheInstallationIsNamedAndCancelRemovesNothing)
{
    TRunningProcess running;
    running.Id = 5;
    running.FullPath = "c:\\app\\A.EXE";
    Staying.Running = {running};
    PutProgram(
            LogOf("<appname>Edytor</appname>"
                  "<files><file action=\"add\" filename=\"C:\\App\\a.exe\"/></files>"));
    struct TCase {
        uint32_t Lcid;
        std::vector<TMsgResult> Answers;
        std::string Text;
    } cases[] = {
            {0x0409,
             {TMsgResult::Yes, TMsgResult::Cancel},
             "The program c:\\app\\A.EXE is still running and did not close.\n\nClose it and "
             "choose Retry, or choose Cancel to leave the installation as it is."},
            {0x0415,
             {TMsgResult::Yes, TMsgResult::Retry, TMsgResult::Closed},
             "Program c:\\app\\A.EXE nadal działa i nie dał się zamknąć.\n\nZamknij go i wybierz "
             "Ponów albo wybierz Anuluj, aby pozostawić instalację bez zmian."},
    };
    for (const TCase& c : cases) {
        Messages.Shown.clear();
        Messages.Answers = c.Answers;
        EXPECT_EQ(UninstallProgram(Ports, c.Lcid), 0);
        ASSERT_EQ(Messages.Shown.size(), c.Answers.size());
        for (size_t i = 1; i < Messages.Shown.size(); ++i) {
            EXPECT_EQ(Messages.Shown[i].Text, c.Text);
            EXPECT_EQ(Messages.Shown[i].Buttons, TMsgButtons::RetryCancel);
        }
        EXPECT_TRUE(Files.FileExists("C:\\App\\a.exe"));
        EXPECT_TRUE(Processes.Started.empty());
    }
}

TEST_F(Flow, EndsSilentlyWithoutAPackageAndWithCodeOneOnAnError)
{
    Files.AddFile(Program, "MZ-code only");
    Messages.Answer = TMsgResult::Yes;
    EXPECT_EQ(UninstallProgram(Ports, 0x0409), 0);
    EXPECT_TRUE(Messages.Shown.empty());

    // A log that does not parse: its reader's message, then the end, with nothing removed.
    PutProgram("<log><appname>x</log>");
    EXPECT_EQ(UninstallProgram(Ports, 0x0409), 0);
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Icon, TMsgIcon::Error);

    // A word the vocabulary lacks: the error box, code 1, and nothing removed.
    Messages.Shown.clear();
    PutProgram(LogOf(
            "<files><file action=\"add\" filename=\"C:\\App\\a.exe\"/></files>"
            "<registry><reg action=\"add\" key=\"HKLM\\Software\\X\" type=\"dword\"/></registry>"));
    EXPECT_EQ(UninstallProgram(Ports, 0x0409), 1);
    ASSERT_EQ(Messages.Shown.size(), 2u);
    EXPECT_EQ(Messages.Shown[1].Text, "RegType dword not available!");
    EXPECT_EQ(Messages.Shown[1].Icon, TMsgIcon::Error);
    EXPECT_TRUE(Files.FileExists("C:\\App\\a.exe"));
}

}  // namespace
