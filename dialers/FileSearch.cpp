#include "dialers/FileSearch.h"

#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/ExecutableChecks.h"
#include "dialers/RunningProcesses.h"
#include "dialers/StartupFiles.h"

const char kTestFolderName[] = "TestDialers";
const char kMissedDialersFile[] = "HardDialers.txt";

namespace {

bool EndsInSeparator(const std::string& path)
{
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

}  // namespace

int TFiles::IndexOf(const std::string& path) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FPorts.Files.SameNameIgnoringCase(FItems[i], path)) return static_cast<int>(i);
    return -1;
}

bool TFiles::FindFiles(bool clear, const std::string& folder, const std::string& mask)
{
    if (clear) Clear();
    std::string start = folder;
    if (EndsInSeparator(start)) start.pop_back();
    if (start.empty()) return false;
    return SearchFolder(start, mask, 0) > 0;
}

int TFiles::SearchFolder(std::string folder, const std::string& mask, int depth)
{
    if (!EndsInSeparator(folder)) folder += '\\';
    IFileSystem& files = FPorts.Files;
    int count = 0;

    // A file that carries none of the four classic attributes is not taken, as the file
    // system's own search with those attributes would not list it.
    const uint32_t wanted = faReadOnly | faHidden | faSystem | faArchive;
    for (const TFindEntry& entry : files.FindEntries(folder + mask)) {
        if (entry.Attributes & (faDirectory | faVolumeLabel)) continue;
        if (!(entry.Attributes & wanted)) continue;
        const std::string path = folder + entry.Name;
        if (IndexOf(path) >= 0) continue;
        FItems.push_back(path);
        ++count;
    }

    if (depth >= kMaxFolderDepth) return count;
    // Junctions and symbolic links are not entered: they can lead back up the tree.
    const uint32_t skipped = faHidden | faSystem | faVolumeLabel | faReparsePoint;
    for (const TFindEntry& entry : files.FindEntries(folder + "*.*")) {
        if (entry.Attributes & skipped) continue;
        if (entry.Name.empty() || entry.Name == "." || entry.Name == "..") continue;
        const std::string sub = folder + entry.Name;
        if (files.DirectoryExists(sub)) count += SearchFolder(sub, mask, depth + 1);
    }
    return count;
}

int TFiles::DeleteBlank()
{
    std::vector<std::string> kept;
    for (const std::string& item : FItems)
        if (!Trim(item).empty()) kept.push_back(item);
    FItems.swap(kept);
    return Count();
}

int TFiles::KeepDialers()
{
    std::vector<std::string> kept;
    for (const std::string& item : FItems)
        if (IsDialerFile(FPorts, item)) kept.push_back(item);
    FItems.swap(kept);
    return Count();
}

bool TFiles::ListRunningProcesses()
{
    return ListProcessFiles(FPorts, *this);
}

std::string TestFolder(const TToolsPorts& ports)
{
    return ExtractFilePath(ports.ProgramPath) + kTestFolderName;
}

void TFiles::TestScan(bool deleteDetected,
                      const std::function<bool(const std::string&)>& removeFile)
{
    const std::string folder = TestFolder(FPorts);
    Clear();
    FindFiles(true, folder, "*.exe");
    FindFiles(false, folder, "*.scr");

    std::string missed;
    for (const std::string& path : FItems) {
        TStartupFile item(ExtractFileName(path), path);
        if (item.IsDialer(FPorts)) {
            if (deleteDetected && removeFile) removeFile(path);
        } else {
            missed += path + "\r\n";
        }
    }
    FPorts.Files.WriteFile(folder + "\\" + kMissedDialersFile, missed);
    Clear();
}
