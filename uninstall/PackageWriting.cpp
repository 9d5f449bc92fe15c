// The writing half of the package format, in a file of its own: the uninstaller only reads,
// and an object file linked into a program keeps all of its functions there.
#include "uninstall/PackageFormat.h"

namespace {

std::string Int32Bytes(int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

}  // namespace

std::string PackageBytes(const std::string& log, int32_t length, int32_t distance)
{
    return std::string(PackageHeaderMagic, sizeof PackageHeaderMagic) + Int32Bytes(length) + log +
           Int32Bytes(distance) + std::string(PackageEndMarker, sizeof PackageEndMarker);
}

std::string PackageBytes(const std::string& log)
{
    const int32_t length = static_cast<int32_t>(log.size());
    return PackageBytes(log, length, length + int32_t{PackageHeaderSize + PackageTrailerSize});
}
