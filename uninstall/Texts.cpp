#include "uninstall/Texts.h"

#include "platform/Locale.h"

const TLanguageRow Languages[LanguageCount] = {
        {0x15, "Polski", "plk"},
        {0x09, "English", "eng"},
};

namespace {

// In the order of TUninstallText. The installation wizard's texts, which the uninstaller never
// shows, are not carried.
const TTextRow Rows[] = {
        {"Deinstalacja", "Uninstall"},
        {"Czy napewno chcesz odinstalować %s oraz wszystkie jego składniki?",
         "Are you sure you want to completely remove %s and all of its components?"},
        {"Program %s nadal działa i nie dał się zamknąć.",
         "The program %s is still running and did not close."},
        {"Zamknij go i wybierz Ponów albo wybierz Anuluj, aby pozostawić "
         "instalację bez zmian.",
         "Close it and choose Retry, or choose Cancel to leave the installation as it is."},
};

}  // namespace

TLanguage LanguageIndexOf(uint32_t lcid)
{
    for (int i = 0; i < LanguageCount; ++i)
        if (Languages[i].PrimaryLanguage == PrimaryLanguageOf(lcid))
            return static_cast<TLanguage>(i);
    return TLanguage::English;
}

std::string GetText(TUninstallText id, TLanguage language)
{
    return TextOf(Rows, id, language);
}
