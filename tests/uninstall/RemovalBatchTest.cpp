// The removal batch and Execute around it.
#include "platform/OemText.h"
#include "tests/uninstall/ErrorMessage.h"
#include "tests/uninstall/UninstallFixture.h"
#include "uninstall/RemovalBatch.h"

namespace {

using V = std::vector<std::string>;

TEST(RemovalBatch, LinesQuoteEveryPathAndDoublePercentSigns)
{
    const V lines =
            RemovalBatchLines("C:\\Program Files\\100% Zysk\\usuń.exe", "C:\\Temp\\usuń.bat",
                              {"C:\\Program Files\\100% Zysk\\Dane", "C:\\Ąę \"quoted\""}, true);
    V expected = {
            "Set LwTries=",
            ":1",
            "Erase \"C:\\Program Files\\100%% Zysk\\usuń.exe\"",
            "If exist \"C:\\Program Files\\100%% Zysk\\usuń.exe\" Set LwTries=%LwTries%x",
            "If \"%LwTries%\"==\"" + std::string(60, 'x') + "\" Goto 2",
            "If exist \"C:\\Program Files\\100%% Zysk\\usuń.exe\" ping -n 2 127.0.0.1 >nul",
            "If exist \"C:\\Program Files\\100%% Zysk\\usuń.exe\" Goto 1",
            ":2",
            "CD \\",
            "rd \"C:\\Program Files\\100%% Zysk\\\"",
            "rd \"C:\\Program Files\\100%% Zysk\\Dane\"",
            // A path with a quote would end the quoting early: it gets no line.
            "Erase \"C:\\Temp\\usuń.bat\" & rd \"C:\\Temp\\\"",
    };
    // The interpreter's code page: UTF-8 natively, 852 under the Polish Wine.
    for (std::string& line : expected) ASSERT_TRUE(Utf8ToOem(std::string(line), line));
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(RemovalBatchText({"a", "b"}), "a\r\nb\r\n");
    // The system's own temporary folder is not the batch's to remove.
    EXPECT_EQ(RemovalBatchLines("C:\\A\\u.exe", "C:\\Temp\\u.bat", {}, false).back(),
              "Erase \"C:\\Temp\\u.bat\"");
    EXPECT_EQ(RemovalBatchName("C:\\A.b\\50% off.exe"), "50_ off.bat");
}

class Execute : public UninstallFixture {
protected:
    std::string Batch(const std::string& path)
    {
        TMemoryFileSystem::TNode* node = Files.Node(path);
        return node ? node->Content : "<no batch>";
    }
};

TEST_F(Execute, UndoesWritesTheBatchAndStartsItHidden)
{
    PutProgram(
            LogOf("<dirs><dir action=\"add\" directory=\"C:\\App\\Gone\"/>"
                  "<dir action=\"add\" directory=\"C:\\App\\Busy\"/><dir action=\"add\" "
                  "directory=\"C:\\App\\Left\"/>"
                  "<dir action=\"add\" directory=\"C:\\App\\Busy\\In\"/></dirs>"));
    Files.AddFolder("C:\\App\\Gone");
    Files.AddFile("C:\\App\\Busy\\In\\locked.dat", "");
    Files.Node("C:\\App\\Busy\\In\\locked.dat")->Locked = true;
    Files.AddFile("C:\\App\\Left\\user.txt", "");
    Files.TempFolderReported = "D:\\Tmp\\";
    Files.AddFolder("D:\\Tmp");
    Processes.Program = "C:\\App\\setup-remove.exe";

    TUninstall engine(Ports);
    ASSERT_TRUE(engine.LoadPackage(Program));
    ASSERT_TRUE(engine.Execute());

    // Only the directories still there after the undo, in reverse log order.
    EXPECT_EQ(Batch("D:\\Tmp\\setup-remove.bat"),
              RemovalBatchText(RemovalBatchLines(
                      "C:\\App\\setup-remove.exe", "D:\\Tmp\\setup-remove.bat",
                      {"C:\\App\\Busy\\In", "C:\\App\\Left", "C:\\App\\Busy"}, false)));
    ASSERT_EQ(Processes.Started.size(), 1u);
    EXPECT_EQ(Processes.Started[0].CommandLine, "\"D:\\Tmp\\setup-remove.bat\"");
    EXPECT_EQ(Processes.Started[0].ShowCommand, swHide);
}

TEST_F(Execute, WithoutATemporaryFolderItMakesCTempAndRemovesOnlyWhatItMade)
{
    PutProgram(LogOf("<files/>"));
    // No folder reported, or one too long to use: C:\TEMP is made and kept until the batch is
    // written into it, and the batch's last line removes it. A C:\TEMP that was there already
    // (the second round) is not the batch's to remove.
    struct TCase {
        std::string Reported;
        bool RemovedByBatch;
    } cases[] = {{"", true}, {"C:\\" + std::string(1040, 'x') + "\\", false}};
    for (const TCase& c : cases) {
        Files.TempFolderReported = c.Reported;
        TUninstall engine(Ports);
        ASSERT_TRUE(engine.LoadPackage(Program));
        EXPECT_EQ(engine.TempFolder(), "");
        ASSERT_TRUE(engine.Execute());
        EXPECT_TRUE(Files.DirectoryExists("C:\\TEMP"));
        const std::string batch = Batch("C:\\TEMP\\uninstall.bat");
        EXPECT_EQ(batch.find("& rd \"C:\\TEMP\\\"\r\n") != std::string::npos, c.RemovedByBatch)
                << batch;
    }
}

TEST_F(Execute, BatchThatCannotBeWrittenIsAnErrorAfterTheUndo)
{
    PutProgram(LogOf("<files><file action=\"add\" filename=\"C:\\App\\a.exe\"/></files>"));
    Files.AddFile("C:\\App\\a.exe", "");
    Files.TempFolderReported = "Q:\\NoSuchFolder\\";
    TUninstall engine(Ports);
    ASSERT_TRUE(engine.LoadPackage(Program));
    EXPECT_EQ(ErrorMessage<Exception>([&] { engine.Execute(); }),
              "Cannot create file \"Q:\\NoSuchFolder\\uninstall.bat\"");
    EXPECT_FALSE(Files.FileExists("C:\\App\\a.exe"));
    EXPECT_TRUE(Processes.Started.empty());
}

}  // namespace
