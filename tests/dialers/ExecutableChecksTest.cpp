#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "tests/dialers/ToolsFixture.h"

namespace {

const std::string kText = "RasDialA";

// The search as the straightforward reading of its rule: every offset, one window each.
bool PerOffsetContains(const std::string& data, const std::string& text)
{
    if (text.empty() || data.size() < text.size()) return false;
    for (size_t i = 0; i + text.size() <= data.size(); ++i)
        if (data.compare(i, text.size(), text) == 0) return true;
    return false;
}

std::string Filler(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string data(size, '\0');
    for (char& c : data) c = static_cast<char>(random() & 0xFF);
    return data;
}

// A packed file as the scripted unpacker sees it: a marker and the text reversed.
const std::string kPackedMarker = "PACKED:";

std::string Pack(const std::string& data)
{
    return kPackedMarker + std::string(data.rbegin(), data.rend());
}

}  // namespace

TEST_F(ToolsFixture, StreamContainsFindsTheTextAtEveryPlaceAndBufferBoundary)
{
    const size_t bufferSizes[] = {1, 7, 8, 9, 16, 4096, kSearchBufferSize};
    const size_t sizes[] = {0, 7, 8, 9, 15, 16, 17, 100, 4095, 4096, 4097, 70000};
    unsigned seed = 1;
    for (size_t size : sizes) {
        std::vector<std::string> cases = {Filler(size, seed++)};
        if (size >= kText.size())
            for (size_t at :
                 {size_t(0), size - kText.size(), size / 2, size_t(4090), size_t(4093)}) {
                if (at + kText.size() > size) continue;
                std::string data = Filler(size, seed++);
                data.replace(at, kText.size(), kText);
                cases.push_back(data);
            }
        for (const std::string& data : cases) {
            Files.AddFile("C:\\f.bin", data);
            for (size_t buffer : bufferSizes) {
                TMyFileStream stream(Files, "C:\\f.bin");
                EXPECT_EQ(StreamContains(stream, kText, buffer), PerOffsetContains(data, kText))
                        << "size " << size << " buffer " << buffer;
            }
        }
    }
}

TEST_F(ToolsFixture, StreamContainsIsExactAboutTheBytes)
{
    struct Row {
        std::string data;
        bool found;
    };
    const std::string wide("R\0a\0s\0D\0i\0a\0l\0A\0", 16);
    const Row rows[] = {
            {"RasDialA", true},
            {"xxRasDialA", true},
            {"RasDialAxx", true},
            {"RasDial", false},
            {"rasdiala", false},
            {"RASDIALA", false},
            {"RasDialW", false},
            {"RasDia lA", false},
            {wide, false},
            {"RasRasDialA", true},
            {"RRRRRRRRRRRasDialA", true},
            {std::string("\0RasDialA\0", 10), true},
    };
    for (const Row& r : rows) {
        Files.AddFile("C:\\f.bin", r.data);
        TMyFileStream stream(Files, "C:\\f.bin");
        EXPECT_EQ(StreamContains(stream, kText, 4), r.found) << r.data;
        EXPECT_EQ(ContainsRasDial(Files, "C:\\f.bin"), r.found) << r.data;
    }
    TMyFileStream stream(Files, "C:\\f.bin");
    EXPECT_FALSE(StreamContains(stream, ""));
}

TEST_F(ToolsFixture, UnreadableFilesAreNeitherMeasuredNorSearched)
{
    Files.AddFile("C:\\locked.exe", "RasDialA");
    Files.Node("C:\\locked.exe")->Locked = true;
    Files.AddFile("C:\\vanishing.exe", std::string(90000, 'x') + "RasDialA");
    Files.Node("C:\\vanishing.exe")->FailReadsAfter = 1000;
    Files.AddFolder("C:\\folder.exe");

    EXPECT_EQ(FileSizeOf(Files, "C:\\missing.exe"), 0);
    EXPECT_EQ(FileSizeOf(Files, "C:\\locked.exe"), 0);
    EXPECT_EQ(FileSizeOf(Files, "C:\\folder.exe"), 0);
    EXPECT_EQ(FileSizeOf(Files, "C:\\vanishing.exe"), 90008);
    EXPECT_FALSE(ContainsRasDial(Files, "C:\\missing.exe"));
    EXPECT_FALSE(ContainsRasDial(Files, "C:\\locked.exe"));
    EXPECT_FALSE(ContainsRasDial(Files, "C:\\vanishing.exe"));
    EXPECT_FALSE(IsDialerFile(Ports, "C:\\locked.exe"));
    EXPECT_FALSE(IsDialerFile(Ports, "C:\\vanishing.exe"));
    EXPECT_FALSE(IsDialerFile(Ports, "C:\\folder.exe"));
    EXPECT_THROW(TMyFileStream(Files, "C:\\locked.exe"), EFileStreamError);
}

TEST_F(ToolsFixture, SizeLimitIsOneHundredThousandBytesAndLargeFilesAreNotRead)
{
    Files.AddFile("C:\\limit.exe", std::string(100000 - 8, 'x') + "RasDialA");
    Files.AddFile("C:\\over.exe", "RasDialA" + std::string(100001 - 8, 'x'));
    Files.AddFile("C:\\short.exe", "RasDial");
    EXPECT_TRUE(IsDialerFile(Ports, "C:\\limit.exe"));
    EXPECT_FALSE(IsDialerFile(Ports, "C:\\over.exe"));
    EXPECT_EQ(Files.Node("C:\\over.exe")->BytesRead, 0);
    EXPECT_FALSE(IsDialerFile(Ports, "C:\\short.exe"));
    // Not even the unpacker gets to see a file over the limit.
    EXPECT_EQ(Processes.Runs.size(), 4u);
}

TEST_F(ToolsFixture, PathWithoutExtensionIsTestedWithExe)
{
    Files.AddFile("C:\\X\\dialer.exe", "..RasDialA..");
    Files.AddFile("C:\\X\\plain", "..RasDialA..");
    EXPECT_TRUE(IsDialerFile(Ports, "C:\\X\\dialer"));
    EXPECT_FALSE(IsDialerFile(Ports, "C:\\X\\plain"));
    EXPECT_TRUE(IsDialerFile(Ports, "C:\\X\\dialer.exe -silent"));
}

// upx.exe is missing; upx190.exe restores files it packed, refuses an existing target and, like
// any program, cannot write where the file system refuses.
void ScriptUnpacker(TFakeProcesses& processes, TMemoryFileSystem& files)
{
    processes.OnRun = [&files](const std::string& line) {
        const std::string upx190 = "\"C:\\Guard\\upx190.exe\" ";
        if (line.compare(0, upx190.size(), upx190) != 0) return kRunNotStarted;
        std::vector<std::string> quoted;
        for (size_t open = line.find('"', upx190.size()); open != std::string::npos;) {
            size_t close = line.find('"', open + 1);
            quoted.push_back(line.substr(open + 1, close - open - 1));
            open = line.find('"', close + 1);
        }
        TMemoryFileSystem::TNode* source = files.Node(quoted.at(0));
        bool packed =
                source && source->Content.compare(0, kPackedMarker.size(), kPackedMarker) == 0;
        if (line.find(" -t -q ") != std::string::npos) return packed ? 0 : 2;
        if (!packed || files.FileExists(quoted.at(1))) return 1;
        std::string body = source->Content.substr(kPackedMarker.size());
        return files.WriteFile(quoted.at(1), std::string(body.rbegin(), body.rend())) ? 0 : 1;
    };
}

TEST_F(ToolsFixture, UnpackerProtocol)
{
    ScriptUnpacker(Processes, Files);
    Files.AddFile("C:\\X\\packed.exe", Pack("xxRasDialAxx"));
    Files.AddFile("C:\\X\\packed-clean.exe", Pack("nothing here"));
    Files.AddFile("C:\\X\\plain.exe", "RasDialA");
    Files.AddFile("C:\\Guard\\MLinewarden.111", "left over by an earlier run");
    ASSERT_FALSE(ContainsRasDial(Files, "C:\\X\\packed.exe"));

    EXPECT_TRUE(IsDialerFile(Ports, "C:\\X\\packed.exe"));
    EXPECT_FALSE(Files.FileExists("C:\\Guard\\MLinewarden.111"));
    ASSERT_EQ(Processes.Runs.size(), 3u);
    EXPECT_EQ(Processes.Runs[0].CommandLine, "\"C:\\Guard\\upx.exe\" -t -q \"C:\\X\\packed.exe\"");
    EXPECT_EQ(Processes.Runs[1].CommandLine,
              "\"C:\\Guard\\upx190.exe\" -t -q \"C:\\X\\packed.exe\"");
    EXPECT_EQ(Processes.Runs[2].CommandLine,
              "\"C:\\Guard\\upx190.exe\" -d -q \"C:\\X\\packed.exe\" -o "
              "\"C:\\Guard\\MLinewarden.111\"");
    for (const auto& run : Processes.Runs) {
        EXPECT_EQ(run.ShowCommand, 0);
        EXPECT_EQ(run.TimeoutMs, kUnpackerTimeLimitMs);
    }

    EXPECT_FALSE(IsDialerFile(Ports, "C:\\X\\packed-clean.exe"));
    EXPECT_FALSE(Files.FileExists("C:\\Guard\\MLinewarden.111"));

    // A file that is not packed fails both tests and is searched as found.
    Processes.Runs.clear();
    EXPECT_TRUE(IsDialerFile(Ports, "C:\\X\\plain.exe"));
    EXPECT_EQ(Processes.Runs.size(), 2u);
}

TEST_F(ToolsFixture, UnpackedCopyGoesToTheTemporaryFolderWhenTheProgramFolderRefuses)
{
    const std::string beside = "C:\\Guard\\MLinewarden.111",
                      temporary = "C:\\Temp\\MLinewarden.111";
    struct Row {
        const char* name;
        std::function<void(TMemoryFileSystem&)> arrange;
        std::string copy;  // the decompression's target; "" when none is run
    };
    const Row rows[] = {
            {"program folder writable", [](TMemoryFileSystem&) {}, beside},
            {"program folder refuses new files",
             [](TMemoryFileSystem& f) { f.Node("C:\\Guard")->RefusesNewFiles = true; }, temporary},
            {"a leftover beside the program that cannot be deleted",
             [&](TMemoryFileSystem& f) {
                 f.AddFile(beside, "left over");
                 f.Node(beside)->Locked = true;
             },
             temporary},
            {"a leftover in the temporary folder",
             [&](TMemoryFileSystem& f) {
                 f.Node("C:\\Guard")->RefusesNewFiles = true;
                 f.AddFile(temporary, "left over");
             },
             temporary},
            {"neither folder takes a file",
             [](TMemoryFileSystem& f) {
                 f.Node("C:\\Guard")->RefusesNewFiles = true;
                 f.Node("C:\\Temp")->RefusesNewFiles = true;
             },
             ""},
            {"no temporary folder",
             [](TMemoryFileSystem& f) {
                 f.Node("C:\\Guard")->RefusesNewFiles = true;
                 f.TempFolderReported.clear();
             },
             ""},
    };
    for (const Row& r : rows) {
        TMemoryFileSystem files;
        TFakeProcesses processes;
        TToolsPorts ports{Registry, files, processes, Shell, Ports.ProgramPath};
        ScriptUnpacker(processes, files);
        files.AddFolder("C:\\Guard");
        files.AddFolder("C:\\Temp");
        files.AddFile("C:\\X\\packed.exe", Pack("xxRasDialAxx"));
        files.AddFile("C:\\X\\plain.exe", "nothing here");
        r.arrange(files);

        // A plain file is searched as found without anything written anywhere.
        const std::vector<std::string> before = files.Files();
        EXPECT_FALSE(IsDialerFile(ports, "C:\\X\\plain.exe")) << r.name;
        EXPECT_EQ(files.Files(), before) << r.name;

        processes.Runs.clear();
        EXPECT_EQ(IsDialerFile(ports, "C:\\X\\packed.exe"), !r.copy.empty()) << r.name;
        const std::string decompression =
                "\"C:\\Guard\\upx190.exe\" -d -q \"C:\\X\\packed.exe\" -o \"" + r.copy + "\"";
        EXPECT_EQ(processes.Runs.back().CommandLine,
                  r.copy.empty() ? "\"C:\\Guard\\upx190.exe\" -t -q \"C:\\X\\packed.exe\""
                                 : decompression)
                << r.name;
        if (!r.copy.empty()) EXPECT_FALSE(files.FileExists(r.copy)) << r.name;
    }
}

TEST_F(ToolsFixture, LeftoverOfAFailedDecompressionDoesNotSpoilTheNextUnpacker)
{
    // upx.exe passes the test but fails to decompress after writing part of the target;
    // upx190.exe works and, like the real unpacker, refuses an existing target.
    Files.AddFile("C:\\X\\packed.exe", Pack("RasDialA"));
    Processes.OnRun = [this](const std::string& line) {
        bool first = line.find("upx.exe") != std::string::npos;
        if (line.find(" -t ") != std::string::npos) return 0;
        if (first) {
            Files.AddFile("C:\\Guard\\MLinewarden.111", "partial");
            return 1;
        }
        if (Files.FileExists("C:\\Guard\\MLinewarden.111")) return 1;
        Files.AddFile("C:\\Guard\\MLinewarden.111", "RasDialA");
        return 0;
    };
    EXPECT_TRUE(IsDialerFile(Ports, "C:\\X\\packed.exe"));
    EXPECT_FALSE(Files.FileExists("C:\\Guard\\MLinewarden.111"));
}

TEST_F(ToolsFixture, FailedOrTimedOutUnpackerRunsCountAsFailures)
{
    Files.AddFile("C:\\X\\a.exe", "no text");
    for (int code : {kRunNotStarted, kRunNoExitCode, kRunTimedOut, 1, 2}) {
        Processes.Runs.clear();
        Processes.OnRun = [code](const std::string&) { return code; };
        EXPECT_FALSE(UnpackExecutable(Ports, "C:\\X\\a.exe", "C:\\Guard\\MLinewarden.111")) << code;
        EXPECT_EQ(Processes.Runs.size(), 2u);
    }
    Processes.OnRun = [](const std::string&) -> int { throw Exception("cannot start"); };
    EXPECT_FALSE(UnpackExecutable(Ports, "C:\\X\\a.exe", "C:\\Guard\\MLinewarden.111"));
}

TEST_F(ToolsFixture, StartupFilesKeepOnlyDialers)
{
    Files.AddFile("C:\\X\\dialer.exe", "RasDialA");
    Files.AddFile("C:\\X\\clean.exe", "RasDialW");
    TStartupFiles files(Ports);
    EXPECT_EQ(files.KeepDialers(), 0);
    files.Add("1", "C:\\X\\clean.exe /s");
    files.Add("2", "C:\\X\\dialer.exe /s");
    files.Add("3", "\"C:\\X\\dialer.exe\" /s");
    files.Add("4", "C:\\X\\dialer");
    files.Add("5", "C:\\X\\missing.exe");
    EXPECT_EQ(files.KeepDialers(), 2);
    EXPECT_EQ(files.Items(0)->Name, "2");
    EXPECT_EQ(files.Items(1)->Name, "4");
}

#ifndef _WIN32
TEST(PosixRunAndWait, ExitCodesFailuresAndTimeLimit)
{
    IProcesses& processes = SystemProcesses();
    EXPECT_EQ(RunAndWait(processes, "/bin/sh", "-c \"exit 7\"", swHide, 10000), 7);
    EXPECT_EQ(RunAndWait(processes, "/bin/sh", "-c \"exit 0\"", swHide, 10000), 0);
    EXPECT_EQ(RunAndWait(processes, "/nonexistent/upx.exe", "-t -q \"x\"", swHide, 10000),
              kRunNotStarted);
    EXPECT_EQ(RunAndWait(processes, "/bin/sh", "-c \"kill -9 $$\"", swHide, 10000), kRunNoExitCode);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunAndWait(processes, "/bin/sh", "-c \"sleep 30\"", swHide, 200), kRunTimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    std::string self = processes.ProgramPath();
    EXPECT_EQ(self.find('/'), std::string::npos);
    EXPECT_TRUE(SystemFileSystem().FileExists(self));
}
#endif
