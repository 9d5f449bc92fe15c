// Files and folders over the Win32 functions, in the form the system's family has.
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WinTextSystem.h"

namespace {

class TWin32FileStream : public IFileStream {
public:
    explicit TWin32FileStream(TKernelHandle file) : FFile(std::move(file)) {}
    int64_t Size() override
    {
        // GetFileSize rather than GetFileSizeEx, which the oldest systems lack.
        DWORD high = 0;
        DWORD low = GetFileSize(FFile.get(), &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
        return (static_cast<int64_t>(high) << 32) | low;
    }
    bool Seek(int64_t position) override
    {
        if (position < 0) return false;
        LONG high = static_cast<LONG>(position >> 32);
        DWORD low = SetFilePointer(FFile.get(), static_cast<LONG>(position & 0xFFFFFFFF), &high,
                                   FILE_BEGIN);
        return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
    }
    int64_t Read(void* buffer, size_t count) override
    {
        DWORD chunk = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
        DWORD got = 0;
        if (!ReadFile(FFile.get(), buffer, chunk, &got, nullptr)) return -1;
        return got > chunk ? -1 : static_cast<int64_t>(got);
    }

private:
    TKernelHandle FFile;
};

// Writes every byte at the file's position, a chunk at a time; false when a write fails.
bool WriteAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = bytes.size() - done > 0x100000
                                    ? 0x100000
                                    : static_cast<DWORD>(bytes.size() - done);
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0 ||
            written > chunk)
            return false;
        done += written;
    }
    return true;
}

class TWin32FileSystem : public IFileSystem {
public:
    bool FileExists(const std::string& path) override
    {
        DWORD attributes = GetFileAttributesU(path);
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool DirectoryExists(const std::string& path) override
    {
        DWORD attributes = GetFileAttributesU(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::unique_ptr<IFileStream> OpenRead(const std::string& path) override
    {
        // Deny none: other programs may go on reading and writing the file.
        TKernelHandle file(CreateFileU(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
        if (!file) return nullptr;
        return std::make_unique<TWin32FileStream>(std::move(file));
    }
    bool EraseFile(const std::string& path) override { return DeleteFileU(path); }
    bool WriteFile(const std::string& path, const std::string& bytes) override
    {
        TKernelHandle file(
                CreateFileU(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
        if (!file) return false;
        const bool written = WriteAll(file.get(), bytes);
        // Closing counts: the system may report there a write it could not finish.
        return CloseHandle(file.release()) && written;
    }
    bool AppendToFile(const std::string& path, const std::string& bytes) override
    {
        // Write access rather than append-only access, which the Windows 95 family does not
        // know; the end is sought before the write. Readers may share the file, and so may
        // another writer, so that a log open in a viewer never keeps a line out.
        TKernelHandle file(CreateFileU(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL));
        if (!file) return false;
        LONG high = 0;
        if (SetFilePointer(file.get(), 0, &high, FILE_END) == INVALID_SET_FILE_POINTER &&
            GetLastError() != NO_ERROR)
            return false;
        const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
        return CloseHandle(file.release()) && written;
    }
    bool RenameFile(const std::string& source, const std::string& target) override
    {
        // MoveFileEx, which replaces, is missing on the Windows 95 family: the target goes
        // first, and a failed rename leaves the source where it was.
        if (GetFileAttributesU(target) != INVALID_FILE_ATTRIBUTES && !DeleteFileU(target))
            return false;
        return MoveFileU(source, target);
    }
    bool CopyFileTo(const std::string& source, const std::string& target,
                    bool failIfExists) override
    {
        bool existed = GetFileAttributesU(target) != INVALID_FILE_ATTRIBUTES;
        if (CopyFileU(source, target, failIfExists)) return true;
        // A copy that broke off (the source vanished or was locked half-way) must not leave a
        // partial file behind; a target that was there before, or that is why the copy was
        // refused, is not ours to delete.
        DWORD error = GetLastError();
        if (!existed && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            DeleteFileU(target);
        return false;
    }
    bool CreateFolder(const std::string& path) override { return CreateDirectoryU(path); }
    bool RemoveFolder(const std::string& path) override { return RemoveDirectoryU(path); }
    std::string TemporaryFolder() override { return GetTempPathU(); }
    std::vector<TFindEntry> FindEntries(const std::string& pattern) override
    {
        std::vector<TFindEntry> entries;
        TFindDataU entry;
        TFindHandle find(FindFirstFileU(pattern, entry));
        if (!find) return entries;
        do {
            entries.push_back({entry.Name, entry.Attributes});
        } while (FindNextFileU(find.get(), entry));
        return entries;
    }
    bool SameNameIgnoringCase(const std::string& a, const std::string& b) override
    {
        return CompareStringU(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, b) == CSTR_EQUAL;
    }
    std::string ShortPath(const std::string& path) override { return GetShortPathNameU(path); }
};

}  // namespace

IFileSystem& SystemFileSystem()
{
    static TWin32FileSystem files;
    return files;
}
