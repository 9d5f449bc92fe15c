#include "uninstall/RemovalBatch.h"

#include "common/Paths.h"
#include "platform/OemText.h"

namespace {

// The path as the interpreter must read it inside double quotes; false when it cannot be.
bool BatchPath(const std::string& path, std::string& out)
{
    if (path.find_first_of("\"\r\n") != std::string::npos) return false;
    std::string escaped;
    for (char c : path) {
        escaped += c;
        if (c == '%') escaped += '%';
    }
    return Utf8ToOem(escaped, out);
}

class TLines {
public:
    std::vector<std::string> Lines;
    void Add(const std::string& line) { Lines.push_back(line); }
    // The template's "%s" is the quoted path; the template itself is plain ASCII.
    void AddWithPath(const std::string& before, const std::string& path, const std::string& after)
    {
        const std::string command = Command(before, path, after);
        if (!command.empty()) Lines.push_back(command);
    }
    // The command with its path quoted; "" when the path cannot be spelled.
    static std::string Command(const std::string& before, const std::string& path,
                               const std::string& after)
    {
        std::string spelled;
        return BatchPath(path, spelled) ? before + "\"" + spelled + "\"" + after : std::string();
    }
};

}  // namespace

std::string RemovalBatchName(const std::string& programFile)
{
    std::string name = ChangeFileExt(ExtractFileName(programFile), ".bat");
    for (char& c : name)
        if (c == '%') c = '_';
    return name;
}

std::vector<std::string> RemovalBatchLines(const std::string& programFile,
                                           const std::string& batchFile,
                                           const std::vector<std::string>& dirs,
                                           bool removeBatchFolder)
{
    TLines b;
    // Counted and slowed down: the process may still be ending, but not for ever. The count is
    // a text that grows by a letter a try, since the Windows 95 family's command.com knows
    // neither "Set /a" nor "GEQ"; both interpreters compare texts.
    b.Add("Set LwTries=");
    b.Add(":1");
    b.AddWithPath("Erase ", programFile, "");
    b.AddWithPath("If exist ", programFile, " Set LwTries=%LwTries%x");
    b.Add("If \"%LwTries%\"==\"" + std::string(RemovalBatchTries, 'x') + "\" Goto 2");
    b.AddWithPath("If exist ", programFile, " ping -n 2 127.0.0.1 >nul");
    b.AddWithPath("If exist ", programFile, " Goto 1");
    b.Add(":2");
    // The interpreter must not stand in a folder that is about to be removed.
    b.Add("CD \\");
    b.AddWithPath("rd ", ExtractFilePath(programFile), "");
    for (const std::string& dir : dirs) b.AddWithPath("rd ", dir, "");
    // The interpreter reads its batch a line at a time and stops at the first line it cannot
    // read once the file is gone: the removal of the temporary folder shares the line that
    // erases the batch, so that it still runs.
    const std::string eraseBatch = TLines::Command("Erase ", batchFile, "");
    const std::string removeTemp = removeBatchFolder
                                           ? TLines::Command("rd ", ExtractFilePath(batchFile), "")
                                           : std::string();
    if (!eraseBatch.empty() && !removeTemp.empty())
        b.Add(eraseBatch + " & " + removeTemp);
    else if (!(eraseBatch + removeTemp).empty())
        b.Add(eraseBatch + removeTemp);
    return b.Lines;
}

std::string RemovalBatchText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}
