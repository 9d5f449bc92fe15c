#include "common/Paths.h"
#include "common/StrUtils.h"
#include "platform/ChildPrograms.h"

namespace {

// The program of a command line: the first quoted text, or the first word.
std::string ProgramOf(const std::string& commandLine)
{
    std::string program;
    return LeadingQuoted(commandLine, program) ? program
                                               : commandLine.substr(0, commandLine.find(' '));
}

}  // namespace

std::string CommandLineForStart(const std::string& commandLine, bool windows95Family,
                                const std::string& comspec)
{
    if (!windows95Family) return commandLine;
    const std::string program = ProgramOf(commandLine);
    if (!SameText(ExtractFileExt(program), ".bat")) return commandLine;
    const std::string interpreter = comspec.empty() ? "command.com" : comspec;
    // COMMAND.COM gives a batch only the free room left over in a copy of its environment.
    return "\"" + interpreter + "\" /E:4096 /C " + commandLine;
}
