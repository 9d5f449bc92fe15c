// The uninstaller's texts, in the language of the system's locale.
#include "uninstall/Texts.h"

#include "tests/uninstall/UninstallFixture.h"

namespace {

TEST(Texts, LanguageFollowsThePrimaryLanguageOfTheSystemLocale)
{
    struct TCase {
        uint32_t Lcid;
        TLanguage Language;
        const char* Caption;
    } cases[] = {
            {0x0415, TLanguage::Polish, "Deinstalacja"},  // Polish
            {0x0409, TLanguage::English, "Uninstall"},    // US English
            {0x0809, TLanguage::English, "Uninstall"},    // British English
            {0x0407, TLanguage::English, "Uninstall"},    // German
            {0x0000, TLanguage::English, "Uninstall"},
            {0x10415, TLanguage::Polish, "Deinstalacja"},  // Polish with another sort order
    };
    for (const TCase& c : cases) {
        const TLanguage language = LanguageIndexOf(c.Lcid);
        EXPECT_EQ(language, c.Language) << c.Lcid;
        EXPECT_EQ(GetText(TUninstallText::Caption, language), c.Caption) << c.Lcid;
        EXPECT_EQ(GetText(static_cast<TUninstallText>(12345), language), "");
    }
}

}  // namespace
