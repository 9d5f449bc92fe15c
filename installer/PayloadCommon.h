#pragma once
// What the payload's reader and writer share: its markers, limits and integer encoding.
#include <cstdint>
#include <string>

#include <zlib.h>

namespace payload {

inline constexpr char kMagic[4] = {'L', 'W', 'S', '1'};
inline constexpr char kEndMarker[8] = {'L', 'W', 'S', '1', 'E', 'N', 'D', '\0'};
constexpr size_t kTrailerSize = 16;  // block CRC, block length, end marker
// The setup carries a few hundred KiB; a size beyond this is damage, not a file.
constexpr uint32_t kMaxFileSize = 64u << 20;

inline void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

inline uint32_t GetU32(const std::string& in, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(in[at + size_t(i)]);
    return v;
}

inline uint32_t Crc32Of(const char* data, size_t size)
{
    return static_cast<uint32_t>(
            crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(data), uInt(size)));
}

// x86 code calls its functions by their distance from the call ("E8" and 4 bytes); the same
// function called from many places gives as many different distances. Storing the target
// instead makes those calls repeat, and the compressor finds them: some 5% off the programs.
// Positions are chosen by the E8 bytes, which neither direction changes, so the two agree.
inline void ConvertCalls(std::string& bytes, bool toTargets)
{
    for (size_t i = 0; i + 5 <= bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) != 0xE8) continue;
        const uint32_t here = static_cast<uint32_t>(i + 5);
        const uint32_t value = GetU32(bytes, i + 1);
        const uint32_t converted = toTargets ? value + here : value - here;
        for (int b = 0; b < 4; ++b) bytes[i + 1 + size_t(b)] = char((converted >> (8 * b)) & 0xFF);
        i += 4;
    }
}

// A reader over the block that refuses to run past its end.
struct TCursor {
    const std::string& Block;
    size_t At;
    bool Take(size_t count) { return Block.size() - At >= count; }
};

}  // namespace payload

using namespace payload;
