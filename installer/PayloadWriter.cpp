#include "installer/Payload.h"

#include <zlib.h>

#include "installer/PayloadCommon.h"

// Apart from the reader, so that the setup, which only reads, links no compressor.
std::string PayloadBytes(const std::vector<TPayloadFile>& files)
{
    std::string block(kMagic, sizeof kMagic);
    PutU32(block, static_cast<uint32_t>(files.size()));
    for (const TPayloadFile& file : files) {
        if (!IsPlainFileName(file.Name) || file.Bytes.size() > kMaxFileSize) return "";
        std::string filtered = file.Bytes;
        ConvertCalls(filtered, true);
        uLongf packedSize = compressBound(uLong(filtered.size()));
        std::string packed(packedSize, '\0');
        if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                      reinterpret_cast<const Bytef*>(filtered.data()), uLong(filtered.size()),
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
