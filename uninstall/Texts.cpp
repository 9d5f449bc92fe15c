#include "uninstall/Texts.h"

#include "platform/Locale.h"

const TLanguage Languages[LanguageCount] = {
        {0x15, "Polski", "plk"},
        {0x09, "English", "eng"},
};

uint8_t LanguageIndex = 1;

namespace {

struct TTextRow {
    uint32_t Id;
    const char* Text;
};

// Rows per language; the first row of an identifier wins. The installation wizard's texts,
// which the uninstaller never shows, are not carried.
const TTextRow PolishTexts[] = {
        {txUninstallCaption, "Deinstalacja"},
        {txConfirmRemoval, "Czy napewno chcesz odinstalować %s oraz wszystkie jego składniki?"},
        {txProgramStillRunning, "Program %s nadal działa i nie dał się zamknąć."},
        {txRetryOrCancel,
         "Zamknij go i wybierz Ponów albo wybierz Anuluj, aby pozostawić "
         "instalację bez zmian."},
};
const TTextRow EnglishTexts[] = {
        {txUninstallCaption, "Uninstall"},
        {txConfirmRemoval,
         "Are you sure you want to completely remove %s and all of its components?"},
        {txProgramStillRunning, "The program %s is still running and did not close."},
        {txRetryOrCancel,
         "Close it and choose Retry, or choose Cancel to leave the installation as it is."},
};

template <size_t N>
std::string Lookup(const TTextRow (&rows)[N], uint32_t id)
{
    for (const TTextRow& row : rows)
        if (row.Id == id) return row.Text;
    return std::string();
}

}  // namespace

uint8_t LanguageIndexOf(uint32_t lcid)
{
    for (int i = 0; i < LanguageCount; ++i)
        if (Languages[i].PrimaryLanguage == PrimaryLanguageOf(lcid)) return static_cast<uint8_t>(i);
    return 1;
}

void InitTexts(uint32_t systemLcid)
{
    LanguageIndex = LanguageIndexOf(systemLcid);
}

std::string GetText(uint32_t id)
{
    switch (LanguageIndex) {
    case 0: return Lookup(PolishTexts, id);
    case 1: return Lookup(EnglishTexts, id);
    }
    return std::string();
}
