// The removal batch run by Wine's own command interpreter on names with "%" and Polish letters.
#include "uninstall/RemovalBatch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/ChildPrograms.h"
#include "platform/Files.h"
#include "platform/win32/Win32Text.h"
#include "wine/WineTestSupport.h"

namespace {

class RemovalBatchWin32 : public WineFolderTest {};

TEST_F(RemovalBatchWin32, BatchRemovesExactlyTheNamedFilesThroughTheRealInterpreter)
{
    // If the interpreter expanded "%OS%", the program line would name the decoy; if the batch
    // were in the wrong code page, the Polish names would name nothing.
    const std::string app = Root + "Zażółć 100% gęślą\\";
    const std::string temp = Root + "Tymczasowy ąę\\";
    MakeFolder(app);
    MakeFolder(temp);
    const std::string program = app + "usuń%OS%.exe";
    Touch(program);
    const std::string keptFolder = Root + "Kept";
    MakeFolder(keptFolder);
    Touch(keptFolder + "\\usuńWindows_NT.exe");
    const std::string emptyDir = Root + "Dane ść%TEMP%";
    const std::string fullDir = Root + "Pełny";
    MakeFolder(emptyDir);
    MakeFolder(fullDir);
    Touch(fullDir + "\\plik.txt");
    const std::string batch = temp + RemovalBatchName(program);
    EXPECT_EQ(RemovalBatchName(program), "usuń_OS_.bat");
    ASSERT_TRUE(SystemFileSystem().WriteFile(
            batch, RemovalBatchText(RemovalBatchLines(program, batch, {emptyDir, fullDir}, true))));

    // Started as the uninstaller starts it, then waited for by its traces, at most 60 s: the
    // batch erases itself only after its removals, on its last line.
    ASSERT_TRUE(SystemProcesses().Start("\"" + batch + "\"", swHide));
    for (int i = 0; i < 600 && Exists(batch); ++i) Sleep(100);

    EXPECT_FALSE(Exists(program));
    EXPECT_FALSE(Exists(app));  // emptied by the program's removal, so removed
    EXPECT_FALSE(Exists(emptyDir));
    EXPECT_FALSE(Exists(batch));
    // The batch's own folder stays under Wine: its interpreter keeps the batch open to the end,
    // so the erased batch is still there when the same line removes the folder.
    EXPECT_TRUE(Exists(fullDir + "\\plik.txt"));
    EXPECT_TRUE(Exists(keptFolder + "\\usuńWindows_NT.exe"));
}

TEST_F(RemovalBatchWin32, BatchGivesUpOnAFileThatCannotBeDeleted)
{
    const std::string program = Root + "App\\locked.exe";
    MakeFolder(Root + "App");
    Touch(program);
    ASSERT_TRUE(SetFileAttributesW(Wide(program).c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string batch = Root + "locked.bat";
    std::vector<std::string> lines = RemovalBatchLines(program, batch, {}, true);
    // Two tries are enough to see the loop end.
    for (std::string& line : lines)
        if (line.find("Goto 2") != std::string::npos) line = "If \"%LwTries%\"==\"xx\" Goto 2";
    ASSERT_TRUE(SystemFileSystem().WriteFile(batch, RemovalBatchText(lines)));
    const std::string line = "cmd.exe /c \"" + batch + "\"";
    EXPECT_EQ(SystemProcesses().RunAndWait(line, swHide, 60000), 0);
    EXPECT_TRUE(Exists(program));
    EXPECT_FALSE(Exists(batch));
    SetFileAttributesW(Wide(program).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
