// Feeds every file of a fuzzer's seed corpus to its LLVMFuzzerTestOneInput. The target itself
// decides what a fault is (a crash, an unexpected exception); this driver only has to reach
// every file.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Each fuzzer's replay carries its own suite name (LW_FUZZ_SUITE), so the test lists tell them
// apart.
TEST(LW_FUZZ_SUITE, EveryCorpusFileRunsThroughTheTarget)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(LW_FUZZ_CORPUS))
        if (entry.is_regular_file()) files.push_back(entry.path());
    ASSERT_FALSE(files.empty()) << "no corpus in " << LW_FUZZ_CORPUS;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        EXPECT_EQ(0, LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                                            bytes.size()));
    }
}
