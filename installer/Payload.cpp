#include "installer/Payload.h"

#include <cstring>

#include <zlib.h>
#include "installer/PayloadCommon.h"

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name.size() > 64) return false;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32) return false;
    return name.find_first_not_of('.') != std::string::npos;
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
        if (rc == Z_OK) ConvertCalls(file.Bytes, false);
        if (rc != Z_OK || unpacked != fileSize ||
            Crc32Of(file.Bytes.data(), file.Bytes.size()) != fileCrc)
            return TPayloadError::Damaged;
        result.push_back(std::move(file));
    }
    if (in.At != block.size()) return TPayloadError::Damaged;
    files = std::move(result);
    return TPayloadError::None;
}
