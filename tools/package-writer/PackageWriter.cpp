// package-writer <uninstall.exe> <log.xml> <out.exe>: a copy of the uninstaller with the log
// appended as its package. Exit code 0 when out.exe was written whole, 2 on wrong use, 1 when
// a file could not be read or written.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "uninstall/PackageFormat.h"

namespace {

bool ReadAll(const char* path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: package-writer <uninstall.exe> <log.xml> <out.exe>\n");
        return 2;
    }
    std::string program, log;
    if (!ReadAll(argv[1], program)) {
        std::fprintf(stderr, "package-writer: cannot read %s\n", argv[1]);
        return 1;
    }
    if (!ReadAll(argv[2], log) || log.empty() || log.size() > 0x7FFFFF00u) {
        std::fprintf(stderr, "package-writer: cannot read a log from %s\n", argv[2]);
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << program << PackageBytes(log);
    out.close();
    if (!out) {
        std::fprintf(stderr, "package-writer: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
