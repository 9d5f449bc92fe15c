#pragma once
// Port: files and folders. Paths are Windows-style UTF-8 texts; the Linux layer accepts "\" as
// well as "/" as the separator, so the portable logic can build paths one way only.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ICodePage;

// The file attribute bits of the Win32 API (a volume label has the bit the old DOS attribute
// byte gave it; Win32 never reports it, but a search still skips it).
enum TFileAttribute : uint32_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSystem = 0x04,
    faVolumeLabel = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faReparsePoint = 0x400,  // junctions and symbolic links (Linux: every symbolic link)
};

struct TFindEntry {
    std::string Name;  // without folder
    uint32_t Attributes = 0;
};

// A file opened for reading only, while other programs may go on reading, writing and deleting
// it (share mode "deny none").
class IFileStream {
public:
    virtual ~IFileStream() = default;
    // Size in bytes; -1 when it cannot be measured.
    virtual int64_t Size() = 0;
    virtual bool Seek(int64_t position) = 0;
    // Reads up to count bytes at the current position; the number read, 0 at the end, -1 on a
    // read error.
    virtual int64_t Read(void* buffer, size_t count) = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True when the path names an existing file (not a folder).
    virtual bool FileExists(const std::string& path) = 0;
    // True when the path names an existing folder.
    virtual bool DirectoryExists(const std::string& path) = 0;
    // nullptr when the file cannot be opened.
    virtual std::unique_ptr<IFileStream> OpenRead(const std::string& path) = 0;
    // Deletes one file (the name avoids the DeleteFile macro of <windows.h>).
    virtual bool EraseFile(const std::string& path) = 0;
    // Creates or replaces the file with these bytes. False when it could not be written whole.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    // Adds the bytes at the end of the file, making the file where it is missing, while other
    // programs may go on reading it. The bytes are on the disk when it returns, so that what a
    // log recorded survives the program being killed or the power failing. False when they
    // could not be written whole.
    virtual bool AppendToFile(const std::string& path, const std::string& bytes) = 0;
    // Gives a file another name in the same folder, replacing a file of that name. False when
    // the file keeps its old name.
    virtual bool RenameFile(const std::string& source, const std::string& target) = 0;
    // Copies one file, as CopyFile does (the name avoids its macro). With failIfExists an
    // existing target is left alone and the copy fails. False when the source cannot be read or
    // the target cannot be written whole; a target left half-written is removed again.
    virtual bool CopyFileTo(const std::string& source, const std::string& target,
                            bool failIfExists) = 0;
    // Creates one folder whose parent exists. False when it cannot be created, also when
    // something of that name exists already.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Removes one empty folder (RemoveDirectory). False when it is not there, not empty or in use.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // The folder for temporary files as the system reports it, with its final "\" (GetTempPath);
    // empty when the system reports none.
    virtual std::string TemporaryFolder() = 0;
    // The entries of one folder that match a pattern, the way FindFirstFile/FindNextFile list
    // them: pattern is the folder followed by a mask ("C:\\x\\*.exe"), "?" and "*" are the
    // file system's own wildcards, names compare without regard to case, "*.*" matches every
    // name. "." and ".." are listed where the file system lists them. Empty when the folder
    // cannot be read.
    virtual std::vector<TFindEntry> FindEntries(const std::string& pattern) = 0;
    // Compares two names as the user's locale does, ignoring letter case (CompareString with
    // NORM_IGNORECASE on Win32). True when they are the same name.
    virtual bool SameNameIgnoringCase(const std::string& a, const std::string& b) = 0;
    // The 8.3 alias of an existing file or folder (GetShortPathName): each name in the path that
    // has one given as its alias. "" when the path does not exist or cannot be asked; a volume
    // that keeps no aliases gives the names as they are. Linux keeps none: "".
    virtual std::string ShortPath(const std::string& path) = 0;
};

IFileSystem& SystemFileSystem();

// The path with each name that the code page cannot hold replaced by the 8.3 alias of that file
// or folder, so that a text in that code page can still name the place. Only a name that exists
// has an alias: "" when a name the code page lacks has none, or one it cannot hold either.
std::string SpelledWithAliases(IFileSystem& files, const std::string& path, ICodePage& codePage);
// The path with each 8.3 alias in it replaced by the name it stands for, as far as the path
// exists, so that two spellings of one place compare alike; other names stay as they are.
std::string LongFormOf(IFileSystem& files, const std::string& path);

// Creates the folder with every missing parent (paths end in "\" or not); true when it exists
// afterwards. Built on the port, so it behaves alike on every platform and on the fakes.
bool ForceFolders(IFileSystem& files, const std::string& folder);
