#pragma once
// The uninstaller's texts in Polish and English, chosen once by the system's default language.
#include <cstdint>
#include <string>

// Identifiers of the texts the uninstaller shows.
constexpr uint32_t txUninstallCaption = 94;
constexpr uint32_t txConfirmRemoval = 95;        // %s: the application's name
constexpr uint32_t txProgramStillRunning = 106;  // %s: the program file
constexpr uint32_t txRetryOrCancel = 107;

struct TLanguage {
    uint16_t PrimaryLanguage;
    const char* Name;
    const char* Code;
};
constexpr int LanguageCount = 2;
extern const TLanguage Languages[LanguageCount];

// Set once at start-up by InitTexts; English until then.
extern uint8_t LanguageIndex;

// Index of the first language whose primary language is that of the locale; English (1) when
// none is.
uint8_t LanguageIndexOf(uint32_t lcid);
void InitTexts(uint32_t systemLcid);
// The text of that identifier in the chosen language; "" when there is none.
std::string GetText(uint32_t id);
