#pragma once
// How a program holds the texts it shows: one row per text, in the order of the program's own
// enum of texts, each row with its text in every language. The language is chosen once when the
// program starts and handed to whatever shows text, so that no text depends on a global that a
// test or an early error box could find unset.
#include <cstddef>
#include <cstdint>
#include <string>

// Numbered as the uninstaller's language table numbers its rows (Languages in uninstall/Texts.h).
enum class TLanguage : uint8_t { Polish, English };

struct TTextRow {
    const char* Polish;
    const char* English;
};

// The row of id in the language; "" for an id past the end of the table, and for a language
// the row leaves out (nullptr), as a Polish-only program's rows may.
template <typename TId, size_t N>
std::string TextOf(const TTextRow (&rows)[N], TId id, TLanguage language)
{
    const size_t index = static_cast<size_t>(id);
    if (index >= N) return std::string();
    const char* text = language == TLanguage::Polish ? rows[index].Polish : rows[index].English;
    return text ? text : std::string();
}

// text with its first "%s" replaced by detail. Literally, not through a format: a folder or an
// application name may hold a percent sign, and is shown as it is.
inline std::string WithDetail(const std::string& text, const std::string& detail)
{
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.substr(0, at) + detail + text.substr(at + 2);
}
