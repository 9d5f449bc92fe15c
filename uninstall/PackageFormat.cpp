#include "uninstall/PackageFormat.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t CopyChunk = 16384;

int32_t Int32Of(const unsigned char* b)
{
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

// Reads exactly count bytes; a short read is a failure.
bool ReadExactly(IFileStream& file, void* buffer, size_t count)
{
    return file.Read(buffer, count) == static_cast<int64_t>(count);
}

}  // namespace

bool ReadPackageLog(IFileStream& file, std::string& log)
{
    const int64_t size = file.Size();
    if (size < PackageHeaderSize + PackageTrailerSize) return false;

    unsigned char trailer[PackageTrailerSize];
    if (!file.Seek(size - PackageTrailerSize) || !ReadExactly(file, trailer, sizeof trailer) ||
        std::memcmp(trailer + 4, PackageEndMarker, sizeof PackageEndMarker) != 0)
        return false;
    // The header must lie inside the file and before the trailer, the log between the two:
    // a distance or a length that says otherwise is refused before anything is read or
    // allocated for it.
    const int64_t distance = Int32Of(trailer);
    if (distance < PackageHeaderSize + PackageTrailerSize || distance > size) return false;

    unsigned char header[PackageHeaderSize];
    if (!file.Seek(size - distance) || !ReadExactly(file, header, sizeof header) ||
        std::memcmp(header, PackageHeaderMagic, sizeof PackageHeaderMagic) != 0)
        return false;
    const int64_t length = Int32Of(header + 4);
    if (length <= 0 || length > distance - PackageHeaderSize - PackageTrailerSize) return false;
    return ReadStreamBytes(file, log, length);
}

bool ReadStreamBytes(IFileStream& source, std::string& target, int64_t count)
{
    target.clear();
    if (count < 0) return false;
    std::vector<char> buffer(CopyChunk);
    int64_t copied = 0;
    while (copied < count) {
        const size_t chunk = static_cast<size_t>(std::min<int64_t>(count - copied, CopyChunk));
        if (!ReadExactly(source, buffer.data(), chunk)) return false;
        target.append(buffer.data(), chunk);
        copied += static_cast<int64_t>(chunk);
    }
    return true;
}
