// Fuzz target of the dialer test: any bytes as a program file that Windows starts. With no
// unpacker beside the guard, the test is the size rule and the text search alone, so its answer
// is known without the code under test: at most kMaxDialerSize bytes and "RasDialA" somewhere in
// them. The windowed search is also checked against a plain search over the whole buffer, with
// windows small enough that the input crosses many of them, and for a needle taken from the
// input, so that every way a match can straddle two reads is played through.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/Paths.h"
#include "dialers/ExecutableChecks.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"

namespace {

const char* const kGuard = "C:\\Guard\\MLinewarden.exe";
const char* const kProgram = "C:\\Program Files\\Dialer\\dialer.exe";

void Check(bool condition)
{
    if (!condition) abort();
}

bool Holds(const std::string& bytes, const std::string& text)
{
    return !text.empty() &&
           std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// The dialer test on one program file whose bytes hold the text or not; checks that it gives
// the expected answer and leaves nothing behind.
void CheckDialerTest(const std::string& content, bool holdsText)
{
    TMemoryFileSystem files;
    files.AddFile(kGuard, "");
    files.AddFile(kProgram, content);
    TMemoryRegistry registry;
    TFakeProcesses processes;  // no unpacker: every run fails to start
    processes.Program = kGuard;
    TFakeShell shell;
    const TToolsPorts ports{registry, files, processes, shell, kGuard};

    const bool expected = static_cast<int64_t>(content.size()) <= kMaxDialerSize && holdsText;
    Check(IsDialerFile(ports, kProgram) == expected);
    // A file over the limit is turned down on its size alone.
    if (static_cast<int64_t>(content.size()) > kMaxDialerSize)
        Check(files.Node(kProgram)->BytesRead == 0);
    Check(!files.FileExists(ChangeFileExt(kGuard, kUnpackedExt)));
    Check(files.FileExists(kProgram));
}

// The windowed search over the bytes as a file, against the plain search.
void CheckSearch(const std::string& bytes, const std::string& text, size_t window, bool expected)
{
    TMemoryFileSystem files;
    files.AddFile(kProgram, bytes);
    TMyFileStream stream(files, kProgram);
    Check(StreamContains(stream, text, window) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool holdsText = Holds(bytes, kDialerText);
    CheckDialerTest(bytes, holdsText);

    // The same bytes inside a file at the size limit or one byte past it, at its start, across
    // the boundary between the search's first two reads, or at its end. The input's length
    // picks the case, so that the fuzzer reaches each of them. The text has no NUL byte, so the
    // padding neither makes nor breaks a match. This is how the files of exactly 100 000 and
    // 100 001 bytes are tested without seeds of that size.
    if (size <= kSearchBufferSize) {
        const size_t total = static_cast<size_t>(kMaxDialerSize) + (size / 3) % 2;
        const size_t starts[3] = {0, kSearchBufferSize - size / 2, total - size};
        std::string padded(total, '\0');
        std::memcpy(&padded[starts[size % 3]], bytes.data(), size);
        CheckDialerTest(padded, holdsText);
    }

    for (size_t window : {size_t(1), size_t(7), size_t(8), size_t(9), 1 + size % 64})
        CheckSearch(bytes, kDialerText, window, holdsText);
    // A needle from the input's first bytes, looked for in the rest: repeated and overlapping
    // needles ("aab" in "aaab") are where a carried-over tail goes wrong.
    if (size >= 2) {
        const size_t n = 1 + data[0] % 8;
        if (size > n + 1) {
            const std::string needle = bytes.substr(1, n);
            const std::string rest = bytes.substr(1 + n);
            CheckSearch(rest, needle, 1 + data[size - 1] % 16, Holds(rest, needle));
        }
    }
    return 0;
}
