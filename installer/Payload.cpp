#include "installer/Payload.h"

#include <cstring>

#include <zlib.h>

namespace {

const char kMagic[4] = {'L', 'W', 'S', '1'};
const char kEndMarker[8] = {'L', 'W', 'S', '1', 'E', 'N', 'D', '\0'};
constexpr size_t kTrailerSize = 16;  // block CRC, block length, end marker
// The setup carries a few hundred KiB; a size beyond this is damage, not a file.
constexpr uint32_t kMaxFileSize = 64u << 20;

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

uint32_t GetU32(const std::string& in, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(in[at + size_t(i)]);
    return v;
}

uint32_t Crc32Of(const char* data, size_t size)
{
    return static_cast<uint32_t>(
            crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(data), uInt(size)));
}

// A reader over the block that refuses to run past its end.
struct TCursor {
    const std::string& Block;
    size_t At;
    bool Take(size_t count) { return Block.size() - At >= count; }
};

}  // namespace

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name.size() > 64) return false;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32) return false;
    return name.find_first_not_of('.') != std::string::npos;
}

std::string PayloadBytes(const std::vector<TPayloadFile>& files)
{
    std::string block(kMagic, sizeof kMagic);
    PutU32(block, static_cast<uint32_t>(files.size()));
    for (const TPayloadFile& file : files) {
        if (!IsPlainFileName(file.Name) || file.Bytes.size() > kMaxFileSize) return "";
        uLongf packedSize = compressBound(uLong(file.Bytes.size()));
        std::string packed(packedSize, '\0');
        if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                      reinterpret_cast<const Bytef*>(file.Bytes.data()), uLong(file.Bytes.size()),
                      Z_BEST_COMPRESSION) != Z_OK)
            return "";
        packed.resize(packedSize);
        block += char(file.Name.size() & 0xFF);
        block += char(file.Name.size() >> 8);
        block += file.Name;
        PutU32(block, static_cast<uint32_t>(file.Bytes.size()));
        PutU32(block, static_cast<uint32_t>(packed.size()));
        PutU32(block, Crc32Of(file.Bytes.data(), file.Bytes.size()));
        block += packed;
    }
    const uint32_t crc = Crc32Of(block.data(), block.size());
    const uint32_t length = static_cast<uint32_t>(block.size());
    PutU32(block, crc);
    PutU32(block, length);
    block.append(kEndMarker, sizeof kEndMarker);
    return block;
}

TPayloadError ReadPayload(const std::string& programBytes, std::vector<TPayloadFile>& files)
{
    files.clear();
    const size_t size = programBytes.size();
    if (size < kTrailerSize ||
        std::memcmp(programBytes.data() + size - 8, kEndMarker, sizeof kEndMarker) != 0)
        return TPayloadError::Missing;
    const uint32_t crc = GetU32(programBytes, size - kTrailerSize);
    const uint32_t length = GetU32(programBytes, size - kTrailerSize + 4);
    if (length < 8 || length > size - kTrailerSize) return TPayloadError::Damaged;
    const std::string block = programBytes.substr(size - kTrailerSize - length, length);
    if (Crc32Of(block.data(), block.size()) != crc ||
        std::memcmp(block.data(), kMagic, sizeof kMagic) != 0)
        return TPayloadError::Damaged;

    TCursor in{block, 4};
    const uint32_t count = GetU32(block, in.At);
    in.At += 4;
    std::vector<TPayloadFile> result;
    for (uint32_t i = 0; i < count; ++i) {
        if (!in.Take(2)) return TPayloadError::Damaged;
        const size_t nameLength = static_cast<unsigned char>(block[in.At]) |
                                  size_t(static_cast<unsigned char>(block[in.At + 1])) << 8;
        in.At += 2;
        if (!in.Take(nameLength + 12)) return TPayloadError::Damaged;
        TPayloadFile file;
        file.Name = block.substr(in.At, nameLength);
        in.At += nameLength;
        const uint32_t fileSize = GetU32(block, in.At);
        const uint32_t packedSize = GetU32(block, in.At + 4);
        const uint32_t fileCrc = GetU32(block, in.At + 8);
        in.At += 12;
        if (!IsPlainFileName(file.Name) || fileSize > kMaxFileSize || !in.Take(packedSize))
            return TPayloadError::Damaged;
        file.Bytes.assign(fileSize, '\0');
        uLongf unpacked = fileSize;
        const int rc = uncompress(reinterpret_cast<Bytef*>(&file.Bytes[0]), &unpacked,
                                  reinterpret_cast<const Bytef*>(block.data() + in.At), packedSize);
        in.At += packedSize;
        if (rc != Z_OK || unpacked != fileSize ||
            Crc32Of(file.Bytes.data(), file.Bytes.size()) != fileCrc)
            return TPayloadError::Damaged;
        result.push_back(std::move(file));
    }
    if (in.At != block.size()) return TPayloadError::Damaged;
    files = std::move(result);
    return TPayloadError::None;
}
