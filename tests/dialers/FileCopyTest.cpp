// Copying files and creating folders through the system's own file layer, on real files (Linux
// natively, Win32 under Wine).
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "support/TempFolder.h"

TEST(SystemFiles, CopyFileToKeepsOrReplacesTheTarget)
{
    TTempFolder folder;
    IFileSystem& files = SystemFileSystem();
    const std::string source = folder.Path("źródło.exe"), target = folder.Path("cel.000");
    TTempFolder::Write(source, std::string("dialer\0bytes", 12));

    EXPECT_TRUE(files.CopyFileTo(source, target, true));
    EXPECT_EQ(TTempFolder::Read(target), std::string("dialer\0bytes", 12));
    TTempFolder::Write(target, "earlier copy");
    EXPECT_FALSE(files.CopyFileTo(source, target, true));
    EXPECT_EQ(TTempFolder::Read(target), "earlier copy");
    EXPECT_TRUE(files.CopyFileTo(source, target, false));
    EXPECT_EQ(TTempFolder::Read(target), std::string("dialer\0bytes", 12));

    // Nothing to copy, nowhere to copy to, or a file copied onto itself: false, and nothing is
    // created or emptied.
    EXPECT_FALSE(files.CopyFileTo(folder.Path("missing.exe"), folder.Path("m.000"), true));
    EXPECT_FALSE(files.FileExists(folder.Path("m.000")));
    EXPECT_FALSE(files.CopyFileTo(source, folder.Path("no folder") + "/x.000", true));
    EXPECT_FALSE(files.CopyFileTo(source, source, false));
    EXPECT_EQ(TTempFolder::Read(source), std::string("dialer\0bytes", 12));
    EXPECT_FALSE(files.CopyFileTo(folder.Path(""), folder.Path("dir.000"), true));
}

TEST(SystemFiles, CreateFolderMakesOneLevel)
{
    TTempFolder folder;
    IFileSystem& files = SystemFileSystem();
    EXPECT_TRUE(files.CreateFolder(folder.Path("kwarantanna")));
    EXPECT_TRUE(files.DirectoryExists(folder.Path("kwarantanna")));
    EXPECT_FALSE(files.CreateFolder(folder.Path("kwarantanna")));
    EXPECT_FALSE(files.CreateFolder(folder.Path("a") + "/b"));
    TTempFolder::Write(folder.Path("plik"), "x");
    EXPECT_FALSE(files.CreateFolder(folder.Path("plik")));
    EXPECT_FALSE(files.CreateFolder(""));
}
