#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tests/dialers/ToolsFixture.h"

namespace {

using Paths = std::vector<std::string>;

}  // namespace

TEST_F(ToolsFixture, FindFilesTakesFilesByAttributeAndEntersOnlyPlainFolders)
{
    Files.AddFile("C:\\D\\archive.exe", "", faArchive);
    Files.AddFile("C:\\D\\readonly.exe", "", faReadOnly);
    Files.AddFile("C:\\D\\hidden.exe", "", faHidden);
    Files.AddFile("C:\\D\\system.exe", "", faSystem);
    Files.AddFile("C:\\D\\bare.exe", "", 0);
    Files.AddFile("C:\\D\\normal.exe", "", 0x80);  // FILE_ATTRIBUTE_NORMAL alone
    Files.AddFile("C:\\D\\label.exe", "", faVolumeLabel | faArchive);
    Files.AddFile("C:\\D\\notes.txt", "", faArchive);
    Files.AddFolder("C:\\D\\folder.exe");
    Files.AddFile("C:\\D\\sub\\deep.EXE", "", faArchive);
    Files.AddFolder("C:\\D\\hid", faHidden);
    Files.AddFile("C:\\D\\hid\\x.exe", "", faArchive);
    Files.AddFolder("C:\\D\\sys", faSystem);
    Files.AddFile("C:\\D\\sys\\x.exe", "", faArchive);
    Files.AddFolder("C:\\D\\junction", faReparsePoint);
    Files.AddFile("C:\\D\\junction\\x.exe", "", faArchive);

    TFiles list(Ports);
    EXPECT_TRUE(list.FindFiles(true, "C:\\D", "*.exe"));
    EXPECT_EQ(list.Items(), (Paths{"C:\\D\\archive.exe", "C:\\D\\hidden.exe", "C:\\D\\readonly.exe",
                                   "C:\\D\\system.exe", "C:\\D\\sub\\deep.EXE"}));
}

TEST_F(ToolsFixture, FindFilesFolderForms)
{
    Files.AddFile("C:\\D\\a.exe", "");
    Files.AddFile("C:\\D\\s\\b.exe", "");
    const Paths expected{"C:\\D\\a.exe", "C:\\D\\s\\b.exe"};
    for (const char* folder : {"C:\\D", "C:\\D\\", "C:\\D/"}) {
        TFiles list(Ports);
        EXPECT_TRUE(list.FindFiles(true, folder, "*.exe")) << folder;
        EXPECT_EQ(list.Items(), expected) << folder;
    }
    TFiles list(Ports);
    list.Add("kept");
    for (const char* folder : {"", "\\", "/", "C:\\nowhere"})
        EXPECT_FALSE(list.FindFiles(false, folder, "*.exe"));
    EXPECT_EQ(list.Items(), Paths{"kept"});
    EXPECT_FALSE(list.FindFiles(true, "", "*.exe"));
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(ToolsFixture, FindFilesAddsAPathOnceWhateverItsCase)
{
    Files.AddFile("C:\\D\\a.exe", "");
    Files.AddFile("C:\\D\\b.scr", "");
    TFiles list(Ports);
    list.Add("c:\\d\\A.EXE");
    EXPECT_FALSE(list.FindFiles(false, "C:\\D", "*.exe"));
    EXPECT_TRUE(list.FindFiles(false, "C:\\D", "*.scr"));
    EXPECT_FALSE(list.FindFiles(false, "c:\\d", "*.*"));
    EXPECT_EQ(list.Items(), (Paths{"c:\\d\\A.EXE", "C:\\D\\b.scr"}));
}

TEST_F(ToolsFixture, FindFilesStopsAtItsDepthLimit)
{
    std::string folder = "C:\\T";
    for (int depth = 0; depth <= kMaxFolderDepth + 5; ++depth) {
        Files.AddFile(folder + "\\f.exe", "");
        folder += "\\d";
    }
    TFiles list(Ports);
    EXPECT_TRUE(list.FindFiles(true, "C:\\T", "*.exe"));
    EXPECT_EQ(list.Count(), kMaxFolderDepth + 1);
}

TEST_F(ToolsFixture, DeleteBlankAndKeepDialers)
{
    Files.AddFile("C:\\X\\dialer.exe", "RasDialA");
    Files.AddFile("C:\\X\\clean.exe", "clean");
    TFiles list(Ports);
    EXPECT_EQ(list.KeepDialers(), 0);
    for (const char* p : {"", "C:\\X\\clean.exe", " \t\r\n", "C:\\X\\dialer.exe", "C:\\X\\dialer",
                          "C:\\X\\dialer.exe"})
        list.Add(p);
    EXPECT_EQ(list.DeleteBlank(), 4);
    EXPECT_EQ(list.KeepDialers(), 3);
    EXPECT_EQ(list.Items(), (Paths{"C:\\X\\dialer.exe", "C:\\X\\dialer", "C:\\X\\dialer.exe"}));
}

TEST_F(ToolsFixture, TestScanRemovesDialersAndListsTheMissedOnes)
{
    Files.AddFile("C:\\Guard\\TestDialers\\a.exe", "RasDialA");
    Files.AddFile("C:\\Guard\\TestDialers\\b.exe", "nothing");
    Files.AddFile("C:\\Guard\\TestDialers\\sub\\c.scr", "RasDialA");
    Files.AddFile("C:\\Guard\\TestDialers\\sub\\d.scr", "rasdiala");
    Files.AddFile("C:\\Guard\\TestDialers\\e.txt", "RasDialA");
    TFiles list(Ports);
    list.Add("stale");
    Paths removed;
    list.TestScan(true, [&](const std::string& path) {
        removed.push_back(path);
        return Files.EraseFile(path);
    });
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(removed,
              (Paths{"C:\\Guard\\TestDialers\\a.exe", "C:\\Guard\\TestDialers\\sub\\c.scr"}));
    EXPECT_EQ(Files.Node("C:\\Guard\\TestDialers\\HardDialers.txt")->Content,
              "C:\\Guard\\TestDialers\\b.exe\r\nC:\\Guard\\TestDialers\\sub\\d.scr\r\n");

    removed.clear();
    list.TestScan(false, [&](const std::string& path) {
        removed.push_back(path);
        return true;
    });
    EXPECT_TRUE(removed.empty());
}

#ifndef _WIN32
// The same search over real Linux folders: symbolic links (the Linux junctions) that loop back
// are not followed, dot folders are hidden.
TEST(PosixFindFiles, LoopsAreNotFollowed)
{
    char pattern[] = "/tmp/lw-findfiles-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string root = pattern;
    ASSERT_EQ(system(("mkdir -p " + root + "/a/b " + root + "/.hidden && touch " + root +
                      "/top.exe " + root + "/a/b/deep.exe " + root + "/.hidden/x.exe && ln -s " +
                      root + " " + root + "/a/b/loop && ln -s " + root + "/top.exe " + root +
                      "/a/link.exe")
                             .c_str()),
              0);

    TMemoryRegistry registry;
    TFakeProcesses processes;
    TFakeShell shell;
    TToolsPorts ports{registry, SystemFileSystem(), processes, shell, root + "/MLinewarden.exe"};
    TFiles list(ports);
    EXPECT_TRUE(list.FindFiles(true, root, "*.EXE"));
    std::vector<std::string> found = list.Items();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (Paths{root + "\\a\\b\\deep.exe", root + "\\a\\link.exe", root + "\\top.exe"}));

    // The list compares as the locale does: Polish letters fold too, and stay distinct from
    // their plain counterparts.
    IFileSystem& files = SystemFileSystem();
    EXPECT_TRUE(files.SameNameIgnoringCase("C:\\ŻÓŁW\\GĘŚ.EXE", "c:\\żółw\\gęś.exe"));
    EXPECT_FALSE(files.SameNameIgnoringCase("C:\\zolw.exe", "C:\\żółw.exe"));
    EXPECT_FALSE(files.SameNameIgnoringCase("a.exe", "a.exe "));

    std::ofstream(root + "/top.exe") << "..RasDialA..";
    EXPECT_TRUE(IsDialerFile(ports, root + "\\top"));
    EXPECT_EQ(FileSizeOf(SystemFileSystem(), root + "\\top.exe"), 12);
    system(("rm -rf " + root).c_str());
}
#endif
