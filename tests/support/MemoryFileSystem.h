#pragma once
// An in-memory file system with Windows paths: names compare without regard to ASCII case,
// every entry carries the attributes a test gives it, and reads can be made to fail, so that
// files that vanish or are locked while they are read can be played through. A folder can
// refuse new entries, as one does that a standard user may only read.
#include <map>
#include <string>
#include <vector>

#include "platform/Files.h"

class TMemoryFileSystem : public IFileSystem {
public:
    struct TNode {
        std::string Path;  // as given
        bool IsFolder = false;
        uint32_t Attributes = 0;
        std::string Content;
        bool Locked = false;          // cannot be opened
        int64_t FailReadsAfter = -1;  // reads fail once this many bytes were read (-1: never)
        int64_t BytesRead = 0;
        bool RefusesNewFiles = false;  // a folder in which no file or folder can be made
        bool Running = false;          // a running program: read and copied, not written or erased
    };

    void AddFolder(const std::string& path, uint32_t attributes = faDirectory);
    // Adds the file and any missing parent folders.
    void AddFile(const std::string& path, const std::string& content,
                 uint32_t attributes = faArchive);
    // Gives the existing file or folder an 8.3 alias (a name without folder), by which every
    // call reaches it as well and a search finds it; ShortPath names it so.
    void SetAlias(const std::string& path, const std::string& alias);
    // A path given in aliases, or in part, reaches the node of its long form.
    TNode* Node(const std::string& path);
    std::vector<std::string> Files() const;

    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::unique_ptr<IFileStream> OpenRead(const std::string& path) override;
    bool EraseFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendToFile(const std::string& path, const std::string& bytes) override;
    bool RenameFile(const std::string& source, const std::string& target) override;
    // A locked source, or one whose reads fail before its end, cannot be copied.
    bool CopyFileTo(const std::string& source, const std::string& target,
                    bool failIfExists) override;
    bool CreateFolder(const std::string& path) override;
    // Only an empty folder is removed.
    bool RemoveFolder(const std::string& path) override;
    std::string TemporaryFolder() override { return TempFolderReported; }
    std::string TempFolderReported = "C:\\Temp\\";
    std::vector<TFindEntry> FindEntries(const std::string& pattern) override;
    bool SameNameIgnoringCase(const std::string& a, const std::string& b) override;
    std::string ShortPath(const std::string& path) override;

private:
    // The path with every alias in it replaced by the long name it stands for.
    std::string Resolved(const std::string& path) const;
    std::map<std::string, TNode> FNodes;          // by lower-cased path, in name order
    std::map<std::string, std::string> FAliases;  // by lower-cased long path: the alias
};
