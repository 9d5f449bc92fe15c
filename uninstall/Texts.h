#pragma once
// The uninstaller's texts in Polish and English, and the choice between them by the system's
// default language.
#include <cstdint>
#include <string>

#include "common/TextTable.h"

enum class TUninstallText {
    Caption,              // the end of every box's caption
    ConfirmRemoval,       // "%s" the application's name
    ProgramStillRunning,  // "%s" the program file
    RetryOrCancel,
};

// One row of the language table, in the order of TLanguage.
struct TLanguageRow {
    uint16_t PrimaryLanguage;
    const char* Name;
    const char* Code;
};
constexpr int LanguageCount = 2;
extern const TLanguageRow Languages[LanguageCount];

// The first language whose primary language is that of the locale; English when none is.
TLanguage LanguageIndexOf(uint32_t lcid);
// The text in the language; "" when there is none.
std::string GetText(TUninstallText id, TLanguage language);
