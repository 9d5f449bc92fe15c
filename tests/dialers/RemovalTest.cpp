#include <gtest/gtest.h>

#include <set>

#include "common/Format.h"
#include "tests/dialers/RemovalFixture.h"

namespace {

const char kQuarantine[] = "C:\\Guard\\dialers\\";

// A copy appears under a quarantine name the moment removal looks at it, as when another copy
// takes the number between the folder's listing and the copy.
class TRacingFileSystem : public TMemoryFileSystem {
public:
    std::set<std::string> AppearOnLook;
    bool FileExists(const std::string& path) override
    {
        if (AppearOnLook.erase(path)) {
            AddFile(path, "earlier");
            return false;
        }
        return TMemoryFileSystem::FileExists(path);
    }
};

// Counts the questions asked about names in the quarantine folder.
class TCountingFileSystem : public TMemoryFileSystem {
public:
    int QuarantineQueries = 0;
    bool FileExists(const std::string& path) override
    {
        if (path.rfind(kQuarantine, 0) == 0) ++QuarantineQueries;
        return TMemoryFileSystem::FileExists(path);
    }
};

// Every quarantine copy name counts as taken.
class TFullQuarantine : public TMemoryFileSystem {
public:
    bool FileExists(const std::string& path) override
    {
        return path.rfind(kQuarantine, 0) == 0 || TMemoryFileSystem::FileExists(path);
    }
};

}  // namespace

TEST_F(RemovalFixture, CopyTakesTheFirstFreeNumber)
{
    struct Row {
        std::vector<int> existing;
        std::vector<std::string> otherNames;  // further files in the quarantine folder
        std::string expected;
    };
    auto upTo = [](int last) {
        std::vector<int> numbers;
        for (int i = 0; i <= last; ++i) numbers.push_back(i);
        return numbers;
    };
    const Row rows[] = {
            {{}, {}, "x.exe.000"},
            {{0, 1}, {}, "x.exe.002"},
            {{1}, {}, "x.exe.000"},
            {{0, 2, 3}, {}, "x.exe.001"},
            {upTo(998), {}, "x.exe.999"},
            {upTo(999), {}, "x.exe.1000"},
            {upTo(100000), {}, "x.exe.100001"},
            // Names that only look like copies take no number; one in other letter case names the
            // same file.
            {{0}, {"x.exe.0001", "x.exe.1", "x.exe.1a", "x.exe", "y.exe.001"}, "x.exe.001"},
            {{0}, {"X.EXE.001"}, "x.exe.002"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        TCountingFileSystem files;
        TToolsPorts ports = PortsOver(files);
        for (int n : r.existing)
            files.AddFile(QuarantineCopyName(std::string(kQuarantine) + "x.exe", n), "old");
        for (const std::string& name : r.otherNames) files.AddFile(kQuarantine + name, "other");
        files.AddFile("C:\\Windows\\x.exe", "dialer");

        EXPECT_TRUE(RemoveFile(ports, "C:\\Windows\\x.exe", true));
        EXPECT_FALSE(files.FileExists("C:\\Windows\\x.exe"));
        ASSERT_NE(files.Node(kQuarantine + r.expected), nullptr);
        EXPECT_EQ(files.Node(kQuarantine + r.expected)->Content, "dialer");
        EXPECT_EQ(files.Files().size(), r.existing.size() + r.otherNames.size() + 1);
        for (int n : r.existing)
            EXPECT_EQ(
                    files.Node(QuarantineCopyName(std::string(kQuarantine) + "x.exe", n))->Content,
                    "old");
        // The folder is listed once instead of asked about every copy in it.
        EXPECT_LE(files.QuarantineQueries, 4);
    }
}

TEST_F(RemovalFixture, FilesOfOneNameFromTwoFoldersLieSideBySide)
{
    Files.AddFile("C:\\A\\dialer.exe", "a");
    Files.AddFile("C:\\B\\dialer.exe", "b");
    Files.AddFile("C:\\Menu\\Dialer.lnk", "link");
    EXPECT_TRUE(RemoveFile(Ports, "C:\\A\\dialer.exe", true));
    EXPECT_TRUE(RemoveFile(Ports, "C:\\B\\dialer.exe", true));
    EXPECT_TRUE(RemoveFile(Ports, "C:\\Menu\\Dialer.lnk", true));
    EXPECT_EQ(Files.Node("C:\\Guard\\dialers\\dialer.exe.000")->Content, "a");
    EXPECT_EQ(Files.Node("C:\\Guard\\dialers\\dialer.exe.001")->Content, "b");
    EXPECT_EQ(Files.Node("C:\\Guard\\dialers\\Dialer.lnk.000")->Content, "link");
    EXPECT_EQ(Events,
              (std::vector<std::string>{
                      "copied C:\\A\\dialer.exe -> C:\\Guard\\dialers\\dialer.exe.000 ok",
                      "deleted C:\\A\\dialer.exe ok",
                      "copied C:\\B\\dialer.exe -> C:\\Guard\\dialers\\dialer.exe.001 ok",
                      "deleted C:\\B\\dialer.exe ok",
                      "copied C:\\Menu\\Dialer.lnk -> C:\\Guard\\dialers\\Dialer.lnk.000 ok",
                      "deleted C:\\Menu\\Dialer.lnk ok",
              }));
}

TEST_F(RemovalFixture, WithoutCopyOrFileOnlyTheDeletionIsReported)
{
    Files.AddFile("C:\\X\\a.exe", "a");
    EXPECT_TRUE(RemoveFile(Ports, "C:\\X\\a.exe", false));
    EXPECT_FALSE(Files.DirectoryExists("C:\\Guard\\dialers"));
    EXPECT_EQ(Events, std::vector<std::string>{"deleted C:\\X\\a.exe ok"});

    // A missing file, or a folder, is not removed and nothing is reported or created.
    Events.clear();
    Files.AddFolder("C:\\X\\folder.exe");
    for (const char* path : {"C:\\X\\a.exe", "C:\\X\\folder.exe", ""})
        EXPECT_FALSE(RemoveFile(Ports, path, true)) << path;
    EXPECT_TRUE(Events.empty());
    EXPECT_FALSE(Files.DirectoryExists("C:\\Guard\\dialers"));

    // Without hooks removal works the same.
    Ports.OnFileCopied = nullptr;
    Ports.OnFileDeleted = nullptr;
    Files.AddFile("C:\\X\\b.exe", "b");
    EXPECT_TRUE(RemoveFile(Ports, "C:\\X\\b.exe", true));
    EXPECT_TRUE(Files.FileExists("C:\\Guard\\dialers\\b.exe.000"));
}

TEST_F(RemovalFixture, FailedCopiesAndDeletionsGiveFalseResults)
{
    // Without its quarantine copy the file is kept. A folder that cannot be made or written is
    // told apart from a copy that failed for its source alone.
    struct Row {
        const char* name;
        std::function<void(TMemoryFileSystem&)> arrange;
        bool folderUnavailable;
    };
    const std::string copy = "C:\\Guard\\dialers\\d.exe.000";
    const Row rows[] = {
            {"unreadable", [](TMemoryFileSystem& f) { f.Node("C:\\X\\d.exe")->FailReadsAfter = 2; },
             false},
            {"locked", [](TMemoryFileSystem& f) { f.Node("C:\\X\\d.exe")->Locked = true; }, false},
            {"quarantine folder blocked by a file",
             [](TMemoryFileSystem& f) { f.AddFile("C:\\Guard\\dialers", "not a folder"); }, true},
            {"program folder takes no new folder",
             [](TMemoryFileSystem& f) { f.Node("C:\\Guard")->RefusesNewFiles = true; }, true},
            {"quarantine folder takes no new file",
             [](TMemoryFileSystem& f) {
                 f.AddFolder("C:\\Guard\\dialers");
                 f.Node("C:\\Guard\\dialers")->RefusesNewFiles = true;
             },
             true},
    };
    for (const Row& r : rows) {
        TMemoryFileSystem files;
        TToolsPorts ports = PortsOver(files);
        ports.OnQuarantineUnavailable = [this](const std::string& folder) {
            Events.push_back("unavailable " + folder);
        };
        files.AddFolder("C:\\Guard");
        files.AddFile("C:\\X\\d.exe", "dialer");
        r.arrange(files);
        Events.clear();
        EXPECT_FALSE(RemoveFile(ports, "C:\\X\\d.exe", true)) << r.name;
        std::vector<std::string> expected{"copied C:\\X\\d.exe -> " + copy + " failed"};
        if (r.folderUnavailable) expected.push_back("unavailable C:\\Guard\\dialers\\");
        expected.push_back("deleted C:\\X\\d.exe failed");
        EXPECT_EQ(Events, expected) << r.name;
        EXPECT_FALSE(files.FileExists(copy)) << r.name;
        ASSERT_NE(files.Node("C:\\X\\d.exe"), nullptr) << r.name;
        EXPECT_EQ(files.Node("C:\\X\\d.exe")->Content, "dialer") << r.name;
    }
}

TEST_F(RemovalFixture, AnExistingCopyIsNeverReplaced)
{
    // Another copy appears under the free number just before the copy is made.
    TRacingFileSystem racing;
    TToolsPorts ports = PortsOver(racing);
    racing.AddFile("C:\\X\\d.exe", "new");
    racing.AppearOnLook.insert("C:\\Guard\\dialers\\d.exe.000");
    EXPECT_TRUE(RemoveFile(ports, "C:\\X\\d.exe", true));
    EXPECT_EQ(racing.Node("C:\\Guard\\dialers\\d.exe.000")->Content, "earlier");
    EXPECT_EQ(racing.Node("C:\\Guard\\dialers\\d.exe.001")->Content, "new");

    // With every number taken, though the listing shows none, the search ends and the dialer
    // stays.
    TFullQuarantine full;
    TToolsPorts fullPorts = PortsOver(full);
    full.AddFile("C:\\X\\d.exe", "dialer");
    Events.clear();
    EXPECT_FALSE(RemoveFile(fullPorts, "C:\\X\\d.exe", true));
    EXPECT_EQ(Events,
              (std::vector<std::string>{"copied C:\\X\\d.exe -> C:\\Guard\\dialers\\d.exe failed",
                                        "deleted C:\\X\\d.exe failed"}));
    EXPECT_EQ(full.Files(), std::vector<std::string>{"C:\\X\\d.exe"});
}

TEST_F(ToolsFixture, ForceFoldersCreatesEveryMissingParent)
{
    EXPECT_TRUE(ForceFolders(Files, "C:\\Guard\\a\\b\\c\\"));
    for (const char* folder : {"C:\\Guard\\a", "C:\\Guard\\a\\b", "C:\\Guard\\a\\b\\c"})
        EXPECT_TRUE(Files.DirectoryExists(folder)) << folder;
    EXPECT_TRUE(ForceFolders(Files, "C:\\Guard\\a"));
    Files.AddFile("C:\\Guard\\file", "x");
    EXPECT_FALSE(ForceFolders(Files, "C:\\Guard\\file\\sub"));
    EXPECT_FALSE(ForceFolders(Files, "\\"));
    EXPECT_FALSE(ForceFolders(Files, "Q:\\nowhere"));
}

TEST_F(ToolsFixture, DeleteRunValueOverBothRoots)
{
    const TRegRoot HKLM = TRegRoot::LocalMachine, HKCU = TRegRoot::CurrentUser;
    struct Row {
        const char* name;
        std::function<void(TMemoryRegistry&)> arrange;
        bool result;
        bool leftInMachine;
    };
    const auto value = TRegValue::String("C:\\X\\d.exe");
    const Row rows[] = {
            {"under both roots",
             [&](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, "D", value);
                 r.SetValue(HKCU, kRunKey, "d", value);
             },
             true, false},
            {"under the user's only",
             [&](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, "other", value);
                 r.SetValue(HKCU, kRunKey, "D", value);
             },
             true, false},
            {"under neither",
             [&](TMemoryRegistry& r) { r.SetValue(HKCU, kRunKey, "other", value); }, true, false},
            {"no Run key at all", [](TMemoryRegistry&) {}, false, false},
            {"machine's key cannot be changed and holds it",
             [&](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, "D", value);
                 r.SetValue(HKCU, kRunKey, "D", value);
                 r.DenyFullAccess(HKLM, kRunKey);
             },
             false, true},
            {"machine's key cannot be changed but lacks it",
             [&](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, "x", value);
                 r.SetValue(HKCU, kRunKey, "D", value);
                 r.DenyFullAccess(HKLM, kRunKey);
             },
             true, false},
            {"an empty value counts as gone",
             [&](TMemoryRegistry& r) {
                 r.SetValue(HKLM, kRunKey, "D", TRegValue::String(""));
                 r.DenyFullAccess(HKLM, kRunKey);
                 r.SetValue(HKCU, kRunKey, "x", value);
             },
             true, false},
    };
    for (const Row& r : rows) {
        TMemoryRegistry registry;
        TToolsPorts ports{registry, Files, Processes, Shell, Ports.ProgramPath};
        r.arrange(registry);
        TStartupFiles startup(ports);
        EXPECT_EQ(startup.DeleteRunValue("D"), r.result) << r.name;
        EXPECT_EQ(registry.Value(HKCU, kRunKey, "D"), nullptr) << r.name;
        EXPECT_EQ(registry.Value(HKLM, kRunKey, "D") != nullptr &&
                          !registry.Value(HKLM, kRunKey, "D")->Data.empty(),
                  r.leftInMachine)
                << r.name;
        EXPECT_FALSE(startup.DeleteRunValue("")) << r.name;
    }
}
