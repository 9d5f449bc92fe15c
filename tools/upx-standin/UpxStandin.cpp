// A stand-in for the UPX executable packer, answering the command lines the guard gives it:
//
//   upx -t -q "file"                  test: 0 when the file is packed and intact
//   upx -d -q "packed" -o "target"    restore: 0 when target now holds the original file
//   upx -q "file" -o "packed"         pack (for making test files)
//
// Exit codes as UPX uses them: 0 success, 1 error (a file cannot be read or written, the target
// exists already), 2 the file is not packed by this packer.
//
// Its packing: a header, the original length and a checksum, then the original bytes in reverse
// order, each XOR 0xA5, so that no text of the original survives in the packed file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kMagic[8] = {'L', 'W', 'U', 'P', 'X', '1', '\r', '\n'};
const size_t kHeaderSize = sizeof kMagic + 8;
enum { kOk = 0, kError = 1, kNotPacked = 2 };

bool ReadWhole(const wchar_t* path, std::vector<unsigned char>& data)
{
    FILE* f = _wfopen(path, L"rb");
    if (!f) return false;
    data.clear();
    unsigned char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

bool WriteNew(const wchar_t* path, const std::vector<unsigned char>& data)
{
    // Like UPX, never overwrite an existing output file.
    if (FILE* existing = _wfopen(path, L"rb")) {
        fclose(existing);
        return false;
    }
    FILE* f = _wfopen(path, L"wb");
    if (!f) return false;
    bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
    return fclose(f) == 0 && ok;
}

uint32_t Checksum(const std::vector<unsigned char>& data)
{
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : data) hash = (hash ^ c) * 16777619u;
    return hash;
}

void PutU32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

uint32_t GetU32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::vector<unsigned char> Pack(const std::vector<unsigned char>& original)
{
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    PutU32(out, static_cast<uint32_t>(original.size()));
    PutU32(out, Checksum(original));
    for (size_t i = original.size(); i-- > 0;) out.push_back(original[i] ^ 0xA5);
    return out;
}

// False when the data is not a whole, intact packed file.
bool Unpack(const std::vector<unsigned char>& packed, std::vector<unsigned char>& original)
{
    if (packed.size() < kHeaderSize || memcmp(packed.data(), kMagic, sizeof kMagic) != 0)
        return false;
    uint32_t length = GetU32(packed.data() + sizeof kMagic);
    if (packed.size() - kHeaderSize != length) return false;
    original.clear();
    for (size_t i = packed.size(); i-- > kHeaderSize;) original.push_back(packed[i] ^ 0xA5);
    return Checksum(original) == GetU32(packed.data() + sizeof kMagic + 4);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bool test = false, decompress = false;
    const wchar_t* input = nullptr;
    const wchar_t* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"-t")
            test = true;
        else if (a == L"-d")
            decompress = true;
        else if (a == L"-q")
            continue;
        else if (a == L"-o" && i + 1 < argc)
            output = argv[++i];
        else if (!a.empty() && a[0] == L'-')
            return kError;
        else if (!input)
            input = argv[i];
        else
            return kError;
    }
    if (!input || (test && decompress)) return kError;

    std::vector<unsigned char> data, result;
    if (!ReadWhole(input, data)) return kError;
    if (test) return Unpack(data, result) ? kOk : kNotPacked;
    if (!output) return kError;
    if (decompress) {
        if (!Unpack(data, result)) return kNotPacked;
        return WriteNew(output, result) ? kOk : kError;
    }
    return WriteNew(output, Pack(data)) ? kOk : kError;
}
