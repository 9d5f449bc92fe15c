// Which command line starts a child: a batch file goes through COMMAND.COM on the 95 family only.
#include <gtest/gtest.h>

#include "platform/ChildPrograms.h"

TEST(ChildPrograms, ABatchIsGivenToCommandComOnTheWindows95FamilyOnly)
{
    const std::string comspec = "C:\\WINDOWS\\COMMAND.COM";
    const struct {
        const char* Line;
        bool Windows95Family;
        const char* Comspec;
        std::string Expected;
    } cases[] = {
            {"\"C:\\WINDOWS\\TEMP\\uninstall.bat\"", true, comspec.c_str(),
             "\"C:\\WINDOWS\\COMMAND.COM\" /E:4096 /C \"C:\\WINDOWS\\TEMP\\uninstall.bat\""},
            {"C:\\TEMP\\U.BAT arg", true, "", "\"command.com\" /E:4096 /C C:\\TEMP\\U.BAT arg"},
            {"\"C:\\Temp\\uninstall.bat\"", false, comspec.c_str(), "\"C:\\Temp\\uninstall.bat\""},
            {"\"C:\\A b\\upx.exe\" -t \"x.bat\"", true, comspec.c_str(),
             "\"C:\\A b\\upx.exe\" -t \"x.bat\""},
            {"\"C:\\a.bat.exe\"", true, comspec.c_str(), "\"C:\\a.bat.exe\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineForStart(c.Line, c.Windows95Family, c.Comspec), c.Expected) << c.Line;
}
