#include "common/StrUtils.h"
#include "platform/ChildPrograms.h"

namespace {

// The program of a command line: the first quoted text, or the first word.
std::string ProgramOf(const std::string& commandLine)
{
    if (!commandLine.empty() && commandLine[0] == '"') {
        const size_t end = commandLine.find('"', 1);
        return commandLine.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    }
    return commandLine.substr(0, commandLine.find(' '));
}

bool EndsWithText(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && SameText(text.substr(text.size() - end.size()), end);
}

}  // namespace

std::string CommandLineForStart(const std::string& commandLine, bool windows95Family,
                                const std::string& comspec)
{
    if (!windows95Family) return commandLine;
    const std::string program = ProgramOf(commandLine);
    if (!EndsWithText(program, ".bat")) return commandLine;
    const std::string interpreter = comspec.empty() ? "command.com" : comspec;
    // COMMAND.COM gives a batch only the free room left over in a copy of its environment.
    return "\"" + interpreter + "\" /E:4096 /C " + commandLine;
}
