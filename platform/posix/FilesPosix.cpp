// Files and folders over POSIX calls. Linux files carry no DOS attributes, so the listing gives
// them the ones Wine shows for the same files: archive for a file, hidden for a dot name,
// read-only without write permission, and a reparse point for every symbolic link.
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <cerrno>
#include <cstdlib>

#include "common/FileMask.h"
#include "common/TextConv.h"
#include "platform/Files.h"
#include "platform/posix/PosixPath.h"

namespace {

class TPosixFileStream : public IFileStream {
public:
    explicit TPosixFileStream(int fd) : FFd(fd) {}
    ~TPosixFileStream() override { close(FFd); }
    int64_t Size() override
    {
        struct stat st;
        return fstat(FFd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    }
    bool Seek(int64_t position) override
    {
        return position >= 0 && lseek(FFd, static_cast<off_t>(position), SEEK_SET) == position;
    }
    int64_t Read(void* buffer, size_t count) override
    {
        for (;;) {
            ssize_t n = read(FFd, buffer, count);
            if (n >= 0) return n;
            if (errno != EINTR) return -1;
        }
    }

private:
    int FFd;
};

uint32_t AttributesOf(const std::string& folder, const std::string& name)
{
    std::string full = folder.empty() ? name : folder + "/" + name;
    struct stat st;
    if (lstat(full.c_str(), &st) != 0) return 0;
    uint32_t attributes = 0;
    if (S_ISLNK(st.st_mode)) {
        attributes |= faReparsePoint;
        struct stat target;
        if (stat(full.c_str(), &target) == 0) st = target;
    }
    if (S_ISDIR(st.st_mode))
        attributes |= faDirectory;
    else
        attributes |= faArchive;
    if ((st.st_mode & 0222) == 0) attributes |= faReadOnly;
    if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= faHidden;
    return attributes;
}

// Case folding of the C.UTF-8 locale, which knows every letter; plain ASCII folding where the
// C library lacks that locale.
wint_t FoldCase(char16_t c)
{
    static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (utf8) return towlower_l(static_cast<wint_t>(c), utf8);
    return (c >= 'A' && c <= 'Z') ? static_cast<wint_t>(c - 'A' + 'a') : static_cast<wint_t>(c);
}

// Copies everything from one descriptor to the other; false on a read or write error.
bool CopyBytes(int in, int out)
{
    char buffer[64 * 1024];
    for (;;) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        ssize_t done = 0;
        while (done < got) {
            ssize_t n = write(out, buffer + done, static_cast<size_t>(got - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += n;
        }
    }
}

// Writes every byte at the file's position; false when a write fails.
bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

class TPosixFileSystem : public IFileSystem {
public:
    bool FileExists(const std::string& path) override
    {
        struct stat st;
        return !path.empty() && stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    }
    bool DirectoryExists(const std::string& path) override
    {
        struct stat st;
        return !path.empty() && stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    std::unique_ptr<IFileStream> OpenRead(const std::string& path) override
    {
        // Non-blocking, so that opening a pipe or device cannot hang; only regular files count.
        int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return nullptr;
        struct stat st;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            return nullptr;
        }
        return std::make_unique<TPosixFileStream>(fd);
    }
    bool EraseFile(const std::string& path) override
    {
        struct stat st;
        std::string native = NativePath(path);
        if (lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
        return unlink(native.c_str()) == 0;
    }
    bool WriteFile(const std::string& path, const std::string& bytes) override
    {
        int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        const bool written = WriteAll(fd, bytes);
        return close(fd) == 0 && written;
    }
    bool AppendToFile(const std::string& path, const std::string& bytes) override
    {
        int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        const bool written = WriteAll(fd, bytes);
        const bool synced = fsync(fd) == 0;
        return close(fd) == 0 && synced && written;
    }
    bool RenameFile(const std::string& source, const std::string& target) override
    {
        return rename(NativePath(source).c_str(), NativePath(target).c_str()) == 0;
    }
    bool CopyFileTo(const std::string& source, const std::string& target,
                    bool failIfExists) override
    {
        int in = open(NativePath(source).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (in < 0) return false;
        struct stat st;
        if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(in);
            return false;
        }
        const std::string to = NativePath(target);
        int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
        int out = open(to.c_str(), flags, st.st_mode & 0777);
        if (out < 0) {
            close(in);
            return false;
        }
        // Copying a file onto itself would empty it before a byte is read.
        struct stat existing;
        if (fstat(out, &existing) != 0 ||
            (existing.st_dev == st.st_dev && existing.st_ino == st.st_ino) ||
            ftruncate(out, 0) != 0) {
            close(in);
            close(out);
            return false;
        }
        bool ok = CopyBytes(in, out);
        close(in);
        if (close(out) != 0) ok = false;
        // A copy that broke off must not leave a partial file that looks like a good one.
        if (!ok) unlink(to.c_str());
        return ok;
    }
    bool CreateFolder(const std::string& path) override
    {
        return !path.empty() && mkdir(NativePath(path).c_str(), 0755) == 0;
    }
    bool RemoveFolder(const std::string& path) override
    {
        return !path.empty() && rmdir(NativePath(path).c_str()) == 0;
    }
    std::string TemporaryFolder() override
    {
        // Given the way the portable logic writes paths: "\" separators and a final one.
        const char* tmp = getenv("TMPDIR");
        std::string folder = tmp && *tmp ? tmp : "/tmp";
        for (char& c : folder)
            if (c == '/') c = '\\';
        if (folder.back() != '\\') folder += '\\';
        return folder;
    }
    std::vector<TFindEntry> FindEntries(const std::string& pattern) override
    {
        std::string native = NativePath(pattern);
        size_t slash = native.rfind('/');
        std::string folder = slash == std::string::npos ? "" : native.substr(0, slash);
        std::string mask = slash == std::string::npos ? native : native.substr(slash + 1);
        std::vector<TFindEntry> entries;
        DIR* dir = opendir(slash == 0 ? "/" : folder.empty() ? "." : folder.c_str());
        if (!dir) return entries;
        while (dirent* d = readdir(dir)) {
            std::string name = d->d_name;
            if (!MatchesFileMask(name, mask)) continue;
            entries.push_back({name, AttributesOf(slash == 0 ? "/" : folder, name)});
        }
        closedir(dir);
        return entries;
    }
    bool SameNameIgnoringCase(const std::string& a, const std::string& b) override
    {
        std::u16string x = Utf8ToUtf16(a), y = Utf8ToUtf16(b);
        if (x.size() != y.size()) return false;
        for (size_t i = 0; i < x.size(); ++i)
            if (FoldCase(x[i]) != FoldCase(y[i])) return false;
        return true;
    }
    // Linux keeps no aliases.
    std::string ShortPath(const std::string&) override { return std::string(); }
};

}  // namespace

IFileSystem& SystemFileSystem()
{
    static TPosixFileSystem files;
    return files;
}
