// The reader's text functions: 1-based positions, 0 for "not found", and the entity passes.
#include <gtest/gtest.h>

#include "uninstall/Xml.h"

TEST(XmlText, PositionSearches)
{
    struct TCase {
        const char* Sub;
        const char* Text;
        size_t From;
        size_t Expected;
    };
    const TCase posFrom[] = {
            {"<", "a<b<c", 1, 2}, {"<", "a<b<c", 2, 2},  {"<", "a<b<c", 3, 4},
            {"<", "a<b<c", 5, 0}, {"<", "a<b<c", 6, 0},  {"<", "a<b<c", 99, 0},
            {"?>", "?<?>", 1, 3}, {"", "abc", 1, 0},     {"-->", "<!-->", 2, 3},
            {"x", "", 1, 0},      {"abcd", "abc", 1, 0},
    };
    for (const TCase& c : posFrom)
        EXPECT_EQ(c.Expected, PosFrom(c.Sub, c.Text, c.From)) << c.Sub << " in " << c.Text;

    const TCase anyOf[] = {
            {" >", "<ab cd>", 2, 4}, {" >", "<abcd>", 2, 6}, {" >", "<abcd", 2, 0},
            {" >", "< >", 3, 3},     {" >", "ab", 3, 0},
    };
    for (const TCase& c : anyOf)
        EXPECT_EQ(c.Expected, PosOfAnyFrom(c.Sub, c.Text, c.From)) << c.Text;

    const TCase noneOf[] = {
            {" ", "  a=", 1, 3}, {" ", "a", 1, 1},  {" ", "   ", 1, 0},
            {" ", "a b", 2, 3},  {" ", "ab", 3, 0},
    };
    for (const TCase& c : noneOf)
        EXPECT_EQ(c.Expected, PosOfNoneFrom(c.Sub, c.Text, c.From)) << c.Text;
}

TEST(XmlText, LongSelfSimilarNeedleIsFound)
{
    // Long closing tags take the linear search; it must find what the plain search finds.
    const std::string name(40, 'a');
    const std::string close = "</" + name + ">";
    std::string text;
    for (int i = 0; i < 50; ++i) text += "</" + name.substr(0, 39) + "b>";
    text += "</" + name + "a>" + close + "tail";
    EXPECT_EQ(text.find(close) + 1, PosFrom(close, text, 1));
    EXPECT_EQ(0u, PosFrom(close, text, text.find(close) + 2));
    const std::string needle = std::string(19, 'a') + "b";
    EXPECT_EQ(6u, PosFrom(needle, "x" + std::string(23, 'a') + "b", 3));
    EXPECT_EQ(0u, PosFrom(needle, "x" + std::string(23, 'a') + "b", 7));
}

TEST(XmlText, EntitiesDecodeInTheirPassOrder)
{
    struct TCase {
        const char* Text;
        bool WithQuotes;
        const char* Expected;
    };
    const TCase cases[] = {
            {"a &amp; b", false, "a & b"},
            {"&lt;x&gt;", false, "<x>"},
            // "&amp;" runs after "&lt;" and before "&gt;" and the quotes.
            {"&amp;gt;", false, ">"},
            {"&amp;lt;", false, "&lt;"},
            {"&amp;amp;", false, "&amp;"},
            {"&amp;quot;", true, "\""},
            {"&amp;apos;", true, "'"},
            {"&quot;&apos;", false, "&quot;&apos;"},
            {"&quot;x&apos;", true, "\"x'"},
            {"&AMP; &Lt;", true, "&AMP; &Lt;"},
            {"&amp", true, "&amp"},
            {"line\r\nnext\nlast", true, "line\r\nnext\nlast"},
            {"", true, ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(c.Expected, DecodeEntities(c.Text, c.WithQuotes)) << c.Text;
}
