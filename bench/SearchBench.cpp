// The dialer test's text search over a generated corpus of program-sized files, against the
// search done literally one window per offset (a seek and an 8-byte read each) and against
// merely reading the same files.
//
//   cmake --build --preset native --target search_bench && build/native/bench/search_bench
//
// The corpus: 600 files of 1 to 100 000 bytes (sizes spread evenly on a log scale, as program
// files are), random bytes, a fifth of them holding "RasDialA" at the start, at the very end or
// across the boundary between two read buffers; the rest hold it nowhere, so they are read whole.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "dialers/ExecutableChecks.h"
#include "platform/Files.h"

namespace {

struct TCorpus {
    std::string Folder;
    std::vector<std::string> Paths;
    int64_t Bytes = 0;
    int Holding = 0;

    TCorpus()
    {
        char pattern[] = "/tmp/lw-search-bench-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        Folder = pattern;
        std::mt19937 random(20261207);
        const std::string text = kDialerText;
        for (int i = 0; i < 600; ++i) {
            size_t size = static_cast<size_t>(std::exp(
                    std::uniform_real_distribution<double>(0, std::log(100000.0))(random)));
            if (size < 1) size = 1;
            if (size > 100000) size = 100000;
            std::string data(size, '\0');
            for (char& c : data) c = static_cast<char>(random() & 0xFF);
            // Random bytes could hold the text by chance only once in 2^64 windows.
            if (size >= text.size()) {
                switch (i % 15) {
                case 0:
                    data.replace(0, text.size(), text);
                    ++Holding;
                    break;
                case 1:
                    data.replace(size - text.size(), text.size(), text);
                    ++Holding;
                    break;
                case 2:
                    if (size > kSearchBufferSize + 4) {
                        data.replace(kSearchBufferSize - 4, text.size(), text);
                        ++Holding;
                    }
                    break;
                }
            }
            std::string path = Folder + "/f" + std::to_string(i) + ".exe";
            std::ofstream(path, std::ios::binary)
                    .write(data.data(), static_cast<std::streamsize>(data.size()));
            Paths.push_back(path);
            Bytes += static_cast<int64_t>(size);
        }
    }
    ~TCorpus() { std::system(("rm -rf " + Folder).c_str()); }
};

TCorpus& Corpus()
{
    static TCorpus corpus;
    return corpus;
}

// The search exactly as its rule reads: for every offset, seek there and read one window.
bool PerOffsetContains(TMyFileStream& stream, const std::string& text)
{
    stream.SetPosition(0);
    const int64_t n = static_cast<int64_t>(text.size());
    const int64_t size = stream.Size();
    if (n == 0 || size < n) return false;
    char window[16];
    for (int64_t i = 0; i <= size - n; ++i) {
        stream.SetPosition(i);
        stream.ReadBuffer(window, static_cast<size_t>(n));
        if (std::memcmp(window, text.data(), static_cast<size_t>(n)) == 0) return true;
    }
    return false;
}

void Report(benchmark::State& state, int found)
{
    state.SetBytesProcessed(state.iterations() * Corpus().Bytes);
    state.counters["files"] = static_cast<double>(Corpus().Paths.size());
    state.counters["found"] = found;
}

void BM_BufferedSearch(benchmark::State& state)
{
    IFileSystem& files = SystemFileSystem();
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const std::string& path : Corpus().Paths) found += ContainsRasDial(files, path);
    }
    if (found != Corpus().Holding) state.SkipWithError("wrong number of files found");
    Report(state, found);
}

void BM_PerOffsetReference(benchmark::State& state)
{
    IFileSystem& files = SystemFileSystem();
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const std::string& path : Corpus().Paths) {
            if (!files.FileExists(path)) continue;
            TMyFileStream stream(files, path);
            found += PerOffsetContains(stream, kDialerText);
        }
    }
    if (found != Corpus().Holding) state.SkipWithError("wrong number of files found");
    Report(state, found);
}

// Reading every file whole, as the search would if it never found anything: the floor.
void BM_ReadOnly(benchmark::State& state)
{
    IFileSystem& files = SystemFileSystem();
    std::vector<char> buffer(kSearchBufferSize);
    for (auto _ : state) {
        int64_t total = 0;
        for (const std::string& path : Corpus().Paths) {
            if (!files.FileExists(path)) continue;
            TMyFileStream stream(files, path);
            int64_t size = stream.Size();
            stream.SetPosition(0);
            for (int64_t left = size; left > 0;) {
                size_t want = left < static_cast<int64_t>(buffer.size()) ? static_cast<size_t>(left)
                                                                         : buffer.size();
                stream.ReadBuffer(buffer.data(), want);
                left -= static_cast<int64_t>(want);
            }
            total += size;
        }
        benchmark::DoNotOptimize(total);
    }
    Report(state, Corpus().Holding);
}

BENCHMARK(BM_BufferedSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerOffsetReference)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
