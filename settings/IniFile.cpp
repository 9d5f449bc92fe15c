#include "settings/IniFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "common/StrUtils.h"
#include "settings/IniText.h"

namespace {

// The file's bytes; empty when it does not exist. False when it exists but cannot be read.
bool LoadText(const std::string& file, std::string& text)
{
    text.clear();
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return true;
    if (error || status.type() != std::filesystem::file_type::regular) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return false;
    text = content.str();
    return true;
}

// Writes the whole text beside the file and then puts it in the file's place, so that the
// file holds either the old or the new text, never a part of either.
bool StoreText(const std::string& file, const std::string& text)
{
    const std::string temporary = file + ".lwtmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string TIniFile::ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& def, size_t maxChars)
{
    std::string text, value;
    if (!LoadText(file, text) || !TIniText(text).Find(Trim(section), Trim(key), value))
        value = def;
    return LimitChars(value, maxChars);
}

bool TIniFile::WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value)
{
    const std::string name = Trim(section), ident = Trim(key);
    if (!IsStorableIniSection(name) || !IsStorableIniKey(ident) || !IsStorableIniValue(value))
        return false;
    std::string text;
    if (!LoadText(file, text)) return false;
    TIniText ini(text);
    ini.Write(name, ident, value);
    return StoreText(file, ini.Text());
}

bool TIniFile::DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key)
{
    const std::string name = Trim(section), ident = Trim(key);
    if (name.empty() || ident.empty()) return false;
    std::string text;
    if (!LoadText(file, text)) return false;
    TIniText ini(text);
    // A file without the entry is left untouched, and a missing one is not created.
    if (!ini.Delete(name, ident)) return true;
    return StoreText(file, ini.Text());
}
