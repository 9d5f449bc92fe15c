// pack-payload <stub.exe> <out.exe> <file>...: the setup's program with the files appended as
// its compressed payload (installer/Payload.h). A native build tool; the build runs it on the
// stripped programs. Exit code 0 when out.exe was written whole, 2 on wrong use, 1 otherwise.
#include <cstdio>
#include <string>
#include <vector>

#include "installer/Payload.h"

namespace {

bool ReadAll(const char* path, std::string& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: pack-payload <stub.exe> <out.exe> <file>...\n");
        return 2;
    }
    std::string program;
    if (!ReadAll(argv[1], program)) {
        std::fprintf(stderr, "pack-payload: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<TPayloadFile> files;
    for (int i = 3; i < argc; ++i) {
        TPayloadFile file{NameOf(argv[i]), ""};
        if (!ReadAll(argv[i], file.Bytes)) {
            std::fprintf(stderr, "pack-payload: cannot read %s\n", argv[i]);
            return 1;
        }
        files.push_back(std::move(file));
    }
    const std::string payload = PayloadBytes(files);
    if (payload.empty()) {
        std::fprintf(stderr, "pack-payload: cannot pack the files\n");
        return 1;
    }
    program += payload;
    std::FILE* out = std::fopen(argv[2], "wb");
    const bool ok = out && std::fwrite(program.data(), 1, program.size(), out) == program.size();
    if (out && std::fclose(out) != 0) return 1;
    if (!ok) {
        std::fprintf(stderr, "pack-payload: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
