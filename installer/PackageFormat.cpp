#include "PackageFormat.h"

namespace {

std::string Int32Bytes(int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

int64_t Int32At(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 4; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<int32_t>(v);
}

bool ReadAt(IFileStream& file, int64_t position, size_t count, std::string& bytes)
{
    bytes.assign(count, '\0');
    if (!file.Seek(position)) return false;
    for (size_t done = 0; done < count;) {
        const int64_t n = file.Read(&bytes[done], count - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string PackageBytes(const std::string& log, int32_t length, int32_t distance)
{
    return "MIP1" + Int32Bytes(length) + log + Int32Bytes(distance) + std::string("MIP1END\0", 8);
}

std::string PackageBytes(const std::string& log)
{
    const int32_t length = static_cast<int32_t>(log.size());
    return PackageBytes(log, length, length + 20);
}

bool ReadPackageLog(IFileStream& file, std::string& log)
{
    const int64_t size = file.Size();
    std::string trailer, header;
    if (size < 20 || !ReadAt(file, size - 12, 12, trailer) ||
        trailer.compare(4, 8, std::string("MIP1END\0", 8)) != 0)
        return false;
    const int64_t distance = Int32At(trailer, 0);
    if (distance < 20 || distance > size || !ReadAt(file, size - distance, 8, header) ||
        header.compare(0, 4, "MIP1") != 0)
        return false;
    const int64_t length = Int32At(header, 4);
    return length > 0 && length <= distance - 20 &&
           ReadAt(file, size - distance + 8, static_cast<size_t>(length), log);
}
