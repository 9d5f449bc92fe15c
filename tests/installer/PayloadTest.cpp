// The payload comes back as packed, and any damage refuses all of it.
#include <gtest/gtest.h>

#include "installer/Payload.h"

namespace {

const std::vector<TPayloadFile> Files = {
        {"MLinewarden.exe", std::string(5000, 'g') + "MZ"},
        {"empty.chm", ""},
        {"uninstall.exe", "MZ\x00\x01\xff uninstaller"},
};

}  // namespace

TEST(PayloadTest, RoundTripAndDamage)
{
    const std::string program = "MZ-stub" + PayloadBytes(Files);
    std::vector<TPayloadFile> read;
    ASSERT_EQ(ReadPayload(program, read), TPayloadError::None);
    ASSERT_EQ(read.size(), Files.size());
    for (size_t i = 0; i < Files.size(); ++i) {
        EXPECT_EQ(read[i].Name, Files[i].Name);
        EXPECT_EQ(read[i].Bytes, Files[i].Bytes);
    }

    // Every byte of the block and of its trailer, changed one at a time.
    for (size_t at = 7; at < program.size(); ++at) {
        std::string damaged = program;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        EXPECT_NE(ReadPayload(damaged, read), TPayloadError::None) << at;
        EXPECT_TRUE(read.empty());
    }
    for (size_t cut : {size_t(1), size_t(9), program.size() - 7})
        EXPECT_NE(ReadPayload(program.substr(0, program.size() - cut), read), TPayloadError::None);
    EXPECT_EQ(ReadPayload("MZ-stub", read), TPayloadError::Missing);
}

TEST(PayloadTest, RefusesNamesWithFolders)
{
    for (const char* name : {"", "..", "a\\b", "c:x", "../x", "a/b"})
        EXPECT_EQ(PayloadBytes({{name, "x"}}), "") << name;
}
