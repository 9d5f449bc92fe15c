// Operations built on the file port, the same for every platform.
#include <vector>

#include "common/Paths.h"
#include "platform/Files.h"

namespace {

std::string WithoutTrailingSeparators(std::string path)
{
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace

bool ForceFolders(IFileSystem& files, const std::string& folder)
{
    std::string path = WithoutTrailingSeparators(folder);
    if (path.empty()) return false;
    // Walk up to the first folder that exists, then create the missing ones downwards. Each step
    // shortens the path, so the walk ends.
    std::vector<std::string> missing;
    for (std::string at = path; !at.empty() && !files.DirectoryExists(at);) {
        missing.push_back(at);
        std::string parent = WithoutTrailingSeparators(ExtractFilePath(at));
        if (parent.size() >= at.size()) break;
        at = parent;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) files.CreateFolder(*it);
    return files.DirectoryExists(path);
}
