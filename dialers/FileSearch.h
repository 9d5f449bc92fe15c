#pragma once
// TFiles: an ordered list of file paths that the dialer sweep fills (file search, running
// programs) and filters (blank entries, non-dialers). Duplicates may be added on purpose; the
// search itself adds a path only once, comparing as the user's locale does without case.
#include <functional>
#include <string>
#include <vector>

#include "dialers/ToolsPorts.h"

// How deep the search goes below its starting folder. Folders nest deeper than this only by
// accident or malice (a loop the search cannot see), and the path would outgrow MAX_PATH first.
constexpr int kMaxFolderDepth = 64;

// The folder that the developer's batch test scans: beside the program.
extern const char kTestFolderName[];     // "TestDialers"
extern const char kMissedDialersFile[];  // "HardDialers.txt"

class TFiles {
public:
    explicit TFiles(const TToolsPorts& ports) : FPorts(ports) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& operator[](int index) const { return FItems.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Items() const { return FItems; }
    void Add(const std::string& path) { FItems.push_back(path); }
    void Clear() { FItems.clear(); }
    // Index of the first entry that names the same path ignoring case; -1 when there is none.
    int IndexOf(const std::string& path) const;

    // Optionally empties the list, then appends the files under folder (sub-folders included)
    // whose names match mask. True when at least one path was appended.
    bool FindFiles(bool clear, const std::string& folder, const std::string& mask);
    // Removes the entries that are empty after trimming; the new count.
    int DeleteBlank();
    // Removes the entries that are not dialers, keeping the order of the others; the new count.
    int KeepDialers();
    // Replaces the entries with the program files of the running processes (see
    // ListProcessFiles in RunningProcesses.h); true when at least one was found.
    bool ListRunningProcesses();
    // The developer's batch test over the test folder: every ".exe" and ".scr" file in it is
    // tested; dialers are removed with removeFile when deleteDetected is set, the others are
    // listed in the folder's HardDialers.txt. Ends with an empty list.
    void TestScan(bool deleteDetected, const std::function<bool(const std::string&)>& removeFile);

private:
    int SearchFolder(std::string folder, const std::string& mask, int depth);

    const TToolsPorts& FPorts;
    std::vector<std::string> FItems;
};

// The test folder of TestScan: the folder of the program followed by "TestDialers".
std::string TestFolder(const TToolsPorts& ports);
