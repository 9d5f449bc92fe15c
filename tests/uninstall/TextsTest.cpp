// The uninstaller's texts, in the language of the system's locale.
#include "uninstall/Texts.h"

#include "tests/uninstall/UninstallFixture.h"

namespace {

TEST(Texts, LanguageFollowsThePrimaryLanguageOfTheSystemLocale)
{
    TLanguageGuard language;
    struct TCase {
        uint32_t Lcid;
        uint8_t Index;
        const char* Caption;
    } cases[] = {
            {0x0415, 0, "Deinstalacja"},  // Polish
            {0x0409, 1, "Uninstall"},     // US English
            {0x0809, 1, "Uninstall"},     // British English
            {0x0407, 1, "Uninstall"},     // German
            {0x0000, 1, "Uninstall"},
            {0x10415, 0, "Deinstalacja"},  // Polish with another sort order
    };
    for (const TCase& c : cases) {
        InitTexts(c.Lcid);
        EXPECT_EQ(LanguageIndex, c.Index) << c.Lcid;
        EXPECT_EQ(GetText(txUninstallCaption), c.Caption) << c.Lcid;
        EXPECT_EQ(GetText(12345), "");
    }
}

}  // namespace
