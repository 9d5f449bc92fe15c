// Paths spelled with 8.3 aliases, built on the file port. A file of its own: a program that links
// it need not link the rest of the port's shared operations.
#include "common/Paths.h"
#include "platform/CodePages.h"
#include "platform/Files.h"

std::string SpelledWithAliases(IFileSystem& files, const std::string& path, ICodePage& codePage)
{
    // Name by name, so that only the names that need it are replaced: the rest of the path
    // stays as the user knows it, and a folder that is yet to be made keeps the name it will get.
    std::string spelled;
    for (size_t start = 0;;) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::string name = path.substr(start, end - start);
        if (!codePage.Holds(name)) {
            name = ExtractFileName(files.ShortPath(path.substr(0, end)));
            if (name.empty() || !codePage.Holds(name)) return std::string();
        }
        spelled += name;
        if (end == path.size()) return spelled;
        spelled += '\\';
        start = end + 1;
    }
}
