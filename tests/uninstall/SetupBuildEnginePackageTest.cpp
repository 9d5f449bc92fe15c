// Finding the package at the end of the program file, good and bad layouts.
#include "tests/uninstall/UninstallFixture.h"

namespace {

const std::string Log = "<log><appname>Edytor Tekstu</appname></log>";

std::string Int32(int32_t v)
{
    const uint32_t u = static_cast<uint32_t>(v);
    return {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
}

const std::string Trailer(int32_t distance)
{
    return Int32(distance) + std::string("MIP1END\0", 8);
}

class Package : public UninstallFixture {};

TEST_F(Package, LayoutsThatAreNoPackageGiveFalseWithoutAMessage)
{
    const int32_t n = static_cast<int32_t>(Log.size());
    struct TCase {
        const char* Name;
        std::string Bytes;
    } cases[] = {
            {"no package", "MZ-code and nothing else at all"},
            {"empty file", ""},
            {"only the trailer", "MZ" + Trailer(20)},
            {"end marker without its NUL", "MZ" + PackageBytes(Log).substr(0, n + 19) + "X"},
            {"header magic wrong", "MZ" + std::string("MIP2") + PackageBytes(Log).substr(4)},
            {"distance before the file's start", "MZ" + PackageBytes(Log, n, n + 23)},
            {"distance negative", "MZ" + PackageBytes(Log, n, -5)},
            {"distance into the trailer", "MZ" + PackageBytes(Log, n, 11)},
            {"distance leaves no room for the header", "MZ" + PackageBytes(Log, n, 19)},
            {"length zero", "MZ" + PackageBytes(Log, 0, n + 20)},
            {"length negative", "MZ" + PackageBytes(Log, -1, n + 20)},
            {"length overlapping the trailer", "MZ" + PackageBytes(Log, n + 1, n + 20)},
            {"length far beyond the file", "MZ" + PackageBytes(Log, 0x7FFFFFFF, n + 20)},
    };
    for (const TCase& c : cases) {
        Files.AddFile(Program, c.Bytes);
        TUninstall engine(Ports);
        EXPECT_FALSE(engine.LoadPackage(Program)) << c.Name;
        EXPECT_TRUE(engine.AppName.empty()) << c.Name;
    }
    TUninstall engine(Ports);
    EXPECT_FALSE(engine.LoadPackage("C:\\App\\missing.exe"));
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(Package, GoodLayoutsGiveTheLogAndItsApplicationName)
{
    const int32_t n = static_cast<int32_t>(Log.size());
    struct TCase {
        const char* Name;
        std::string Bytes;
    } cases[] = {
            {"back to back", "MZ" + PackageBytes(Log)},
            {"the whole file", PackageBytes(Log)},
            // Only the header's place and the trailer are relied on: bytes between log and trailer
            // are passed over.
            {"gap before the trailer", "MZ" + PackageBytes(Log + "padding", n, n + 27)},
            // Longer than one copy chunk.
            {"long log",
             "MZ" + PackageBytes("<log><appname>A</appname>" + std::string(40000, ' ') + "</log>")},
    };
    for (const TCase& c : cases) {
        Files.AddFile(Program, c.Bytes);
        TUninstall engine(Ports);
        ASSERT_TRUE(engine.LoadPackage(Program)) << c.Name;
        EXPECT_TRUE(engine.LogLoaded()) << c.Name;
        EXPECT_EQ(engine.AppName, c.Name == std::string("long log") ? "A" : "Edytor Tekstu")
                << c.Name;
    }
}

TEST_F(Package, ReadFailureAndUnparsableLog)
{
    PutProgram(Log);
    Files.Node(Program)->FailReadsAfter = 20;
    TUninstall failing(Ports);
    EXPECT_FALSE(failing.LoadPackage(Program));

    // A log that does not parse still is a package, but one with nothing in it to read.
    PutProgram("<log><appname>x</log>");
    TUninstall engine(Ports);
    EXPECT_TRUE(engine.LoadPackage(Program));
    EXPECT_FALSE(engine.LogLoaded());
    EXPECT_EQ(engine.AppName, "");
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, "Błąd odczytu pliku XML ze strumienia");
    EXPECT_FALSE(engine.ReadLog());
    EXPECT_FALSE(engine.Execute());
}

}  // namespace
