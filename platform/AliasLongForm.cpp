// Paths with their 8.3 aliases spelled out, built on the file port. A file of its own, as
// AliasSpelling.cpp is: the setup spells aliases, only the uninstaller spells them out.
#include <vector>

#include "platform/Files.h"

std::string LongFormOf(IFileSystem& files, const std::string& path)
{
    // A search for one name finds the entry by its alias as well and gives its long name. Only
    // an alias has a "~" in it; other names are not looked up, nor ever the drive or the server
    // and share that a path begins with.
    std::string longForm;
    for (size_t start = 0;;) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::string name = path.substr(start, end - start);
        if (start > 0 && name.find('~') != std::string::npos) {
            const std::vector<TFindEntry> found = files.FindEntries(longForm + name);
            if (found.size() == 1) name = found[0].Name;
        }
        longForm += name;
        if (end == path.size()) return longForm;
        longForm += '\\';
        start = end + 1;
    }
}
