#include "dialers/ExecutableChecks.h"

#include <cstring>
#include <functional>
#include <vector>

#include "common/Format.h"
#include "common/Paths.h"
#include "dialers/StartupFiles.h"

const char kDialerText[] = "RasDialA";
const char kUnpackedExt[] = ".111";
const char* const kUnpackerNames[2] = {"upx.exe", "upx190.exe"};

TMyFileStream::TMyFileStream(IFileSystem& files, const std::string& path)
    : FPath(path), FStream(files.OpenRead(path))
{
    if (!FStream) throw EFileStreamError(Format("Cannot open file \"%s\"", path));
}

int64_t TMyFileStream::Size()
{
    int64_t size = FStream->Size();
    if (size < 0) throw EFileStreamError(Format("Cannot read the size of \"%s\"", FPath));
    return size;
}

void TMyFileStream::SetPosition(int64_t position)
{
    if (!FStream->Seek(position)) throw EFileStreamError(Format("Cannot seek in \"%s\"", FPath));
}

void TMyFileStream::ReadBuffer(void* buffer, size_t count)
{
    char* out = static_cast<char*>(buffer);
    while (count > 0) {
        int64_t got = FStream->Read(out, count);
        // A file that shrank or vanished under the reader ends the read here.
        if (got <= 0 || static_cast<uint64_t>(got) > count)
            throw EFileStreamError(Format("Cannot read \"%s\"", FPath));
        out += got;
        count -= static_cast<size_t>(got);
    }
}

namespace {

// First occurrence of text in [data, data+length): memchr finds the candidates for the first
// byte, memcmp checks them. Both are the C library's vectorised routines, so this stays fast
// even where the program itself is built without optimisation.
bool BufferContains(const char* data, size_t length, const std::string& text)
{
    const size_t n = text.size();
    if (length < n) return false;
    const char* p = data;
    const char* lastStart = data + (length - n);
    while (p <= lastStart) {
        const void* hit = std::memchr(p, text[0], static_cast<size_t>(lastStart - p) + 1);
        if (!hit) return false;
        p = static_cast<const char*>(hit);
        if (std::memcmp(p, text.data(), n) == 0) return true;
        ++p;
    }
    return false;
}

}  // namespace

bool StreamContains(TMyFileStream& stream, const std::string& text, size_t bufferSize)
{
    stream.SetPosition(0);
    const size_t n = text.size();
    if (n == 0) return false;
    int64_t remaining = stream.Size();
    if (remaining < static_cast<int64_t>(n)) return false;

    // Each buffer starts with the last n-1 bytes of the one before, so a match that straddles
    // two reads is still seen whole.
    const size_t readSize = bufferSize < n ? n : bufferSize;
    std::vector<char> buffer(readSize + n - 1);
    size_t carried = 0;
    while (remaining > 0) {
        size_t want = readSize;
        if (static_cast<int64_t>(want) > remaining) want = static_cast<size_t>(remaining);
        stream.ReadBuffer(buffer.data() + carried, want);
        remaining -= static_cast<int64_t>(want);
        const size_t filled = carried + want;
        if (BufferContains(buffer.data(), filled, text)) return true;
        carried = filled < n - 1 ? filled : n - 1;
        std::memmove(buffer.data(), buffer.data() + filled - carried, carried);
    }
    return false;
}

int64_t FileSizeOf(IFileSystem& files, const std::string& path)
{
    try {
        if (!files.FileExists(path)) return 0;
        TMyFileStream stream(files, path);
        return stream.Size();
    } catch (const std::exception&) {
        return 0;
    }
}

bool ContainsRasDial(IFileSystem& files, const std::string& path)
{
    try {
        if (!files.FileExists(path)) return false;
        TMyFileStream stream(files, path);
        return StreamContains(stream, kDialerText);
    } catch (const std::exception&) {
        return false;
    }
}

int RunAndWait(IProcesses& processes, const std::string& program, const std::string& parameters,
               int showCommand, uint32_t timeoutMs)
{
    return processes.RunAndWait(Format("\"%s\" %s", program, parameters), showCommand, timeoutMs);
}

namespace {

// Runs the unpackers in turn. The copy's path is asked for only once an unpacker has recognised
// the file as packed, so a plain file costs no write at all; "" ends the attempt.
bool Unpack(const TToolsPorts& ports, const std::string& source,
            const std::function<std::string()>& target)
{
    for (const char* name : kUnpackerNames) {
        try {
            const std::string unpacker = ExtractFilePath(ports.ProgramPath) + name;
            if (RunAndWait(ports.Processes, unpacker, Format("-t -q \"%s\"", source), swHide,
                           ports.UnpackerTimeLimitMs) != 0)
                continue;
            const std::string copy = target();
            if (copy.empty()) return false;
            // The decompression refuses an existing target; one left by a failed run of the
            // other unpacker must not spoil this one.
            if (ports.Files.FileExists(copy)) ports.Files.EraseFile(copy);
            if (RunAndWait(ports.Processes, unpacker,
                           Format("-d -q \"%s\" -o \"%s\"", source, copy), swHide,
                           ports.UnpackerTimeLimitMs) == 0)
                return true;
            if (ports.Files.FileExists(copy)) ports.Files.EraseFile(copy);
        } catch (const std::exception&) {
            // A failed attempt moves on to the next unpacker.
        }
    }
    return false;
}

}  // namespace

bool UnpackExecutable(const TToolsPorts& ports, const std::string& source,
                      const std::string& target)
{
    return Unpack(ports, source, [&target] { return target; });
}

bool CanCreateFile(IFileSystem& files, const std::string& path)
{
    if (files.FileExists(path) || files.DirectoryExists(path)) return false;
    if (!files.WriteFile(path, std::string())) return false;
    return files.EraseFile(path);
}

std::string UnpackedCopyPath(const TToolsPorts& ports)
{
    IFileSystem& files = ports.Files;
    const std::string beside = ChangeFileExt(ports.ProgramPath, kUnpackedExt);
    // A leftover that cannot be deleted would make the unpacker refuse: the copy goes elsewhere.
    if ((!files.FileExists(beside) || files.EraseFile(beside)) && CanCreateFile(files, beside))
        return beside;
    const std::string temporary = files.TemporaryFolder();
    if (temporary.empty()) return std::string();
    const std::string there = IncludeTrailingBackslash(temporary) + ExtractFileName(beside);
    if (files.FileExists(there)) files.EraseFile(there);
    return CanCreateFile(files, there) ? there : std::string();
}

bool IsDialerProgram(const TToolsPorts& ports, const std::string& fileName)
{
    IFileSystem& files = ports.Files;
    if (!files.FileExists(fileName)) return false;
    // Only the size is read here: a large file is rejected without reading its contents.
    if (FileSizeOf(files, fileName) > kMaxDialerSize) return false;

    std::string unpacked;
    const auto copyPath = [&] {
        if (unpacked.empty()) unpacked = UnpackedCopyPath(ports);
        return unpacked;
    };
    if (Unpack(ports, fileName, copyPath)) {
        const bool found = ContainsRasDial(files, unpacked);
        files.EraseFile(unpacked);
        return found;
    }
    return ContainsRasDial(files, fileName);
}

bool TStartupFile::IsDialer(const TToolsPorts& ports) const
{
    return IsDialerProgram(ports, FileName);
}

bool IsDialerFile(const TToolsPorts& ports, const std::string& path)
{
    TStartupFile item(path, path);
    return item.IsDialer(ports);
}
