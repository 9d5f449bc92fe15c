// Text for batch files in the OEM code page, through the system's own conversion.
#include "platform/OemText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(OemTextWin32, PolishLettersTakeCodePage852AndOthersAreRefused)
{
    std::string oem;
    EXPECT_TRUE(Utf8ToOem("usuń ą%", oem));
    EXPECT_EQ(oem, "usu\xE4 \xA5%");
    EXPECT_FALSE(Utf8ToOem("日本", oem));
    EXPECT_FALSE(Utf8ToOem("Ω", oem));  // 852 has no Greek; a best fit would be another name
}

}  // namespace
