#include "uninstall/OwnFolder.h"

#include "common/StrUtils.h"

namespace {

std::string WithoutFinalBackslashes(std::string path)
{
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// One place may be named by its 8.3 alias or by its long path (the registry names the long
// path; a program started by its alias knows itself so): only the long forms compare.
std::string LongForm(IFileSystem& files, const std::string& path)
{
    return WithoutFinalBackslashes(LongFormOf(files, path));
}

}  // namespace

TOwnFolder::TOwnFolder(IFileSystem& files, const std::string& folder)
    : FFiles(files), FFolder(LongForm(files, folder))
{
}

bool TOwnFolder::Holds(const std::string& path) const
{
    if (FFolder.empty()) return false;
    // The path's folders from the innermost out, each compared whole with ours: a byte prefix
    // would take "C:\AB" for "C:\A", and letters that differ in case may differ in length.
    std::string folder = LongForm(FFiles, path);
    for (;;) {
        if (FFiles.SameNameIgnoringCase(folder, FFolder)) return true;
        const size_t slash = folder.rfind('\\');
        if (slash == std::string::npos) return false;
        folder.erase(slash);
    }
}

bool TOwnFolder::HoldsProgramOf(const std::string& command) const
{
    std::string program;
    return Holds(LeadingQuoted(command, program) ? program : Trim(command));
}
