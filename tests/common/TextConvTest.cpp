#include <gtest/gtest.h>

#include "common/TextConv.h"

TEST(TextConv, Utf8RoundTripsThroughUtf16)
{
    for (const std::string s : {"", "ASCII", "Zażółć gęślą jaźń", "€ 𝄞 end"}) {
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s);
    }
    EXPECT_EQ(Utf8ToUtf16("ł").size(), 1u);
    EXPECT_EQ(Utf8ToUtf16("𝄞").size(), 2u);
}

TEST(TextConv, MalformedInputBecomesReplacementCharacters)
{
    const std::u16string bad =
            Utf8ToUtf16(std::string("a\xC3"
                                    "b\xFF\xE2\x82",
                                    6));
    EXPECT_EQ(bad, std::u16string(u"a\uFFFDb\uFFFD\uFFFD"));
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), std::u16string(u"\uFFFD"));  // overlong "/"
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}
