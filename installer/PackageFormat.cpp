#include "PackageFormat.h"

namespace {

std::string Int32Bytes(int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
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
