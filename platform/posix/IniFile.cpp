#include "platform/posix/IniFile.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "common/StrUtils.h"
#include "platform/posix/IniText.h"

namespace fs = std::filesystem;

namespace {

// Names are UTF-8 on every platform, also where the narrow file functions expect another code.
fs::path FilePath(const std::string& file)
{
    return fs::u8path(file);
}

// The file's bytes; empty when it does not exist. False when it exists but cannot be read.
bool LoadText(const fs::path& file, std::string& text)
{
    text.clear();
    std::error_code error;
    fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) return true;
    if (error || status.type() != fs::file_type::regular) return false;
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
bool StoreText(const fs::path& file, const std::string& text)
{
    fs::path temporary = file;
    temporary += ".lwtmp";
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    // Replaces an existing file in one step on every platform.
    fs::rename(temporary, file, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace

std::string TIniFile::ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& def, size_t maxChars)
{
    std::string text, value;
    if (!LoadText(FilePath(file), text) || !TIniText(text).Find(Trim(section), Trim(key), value))
        value = def;
    return LimitChars(value, maxChars);
}

bool TIniFile::WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value)
{
    const std::string name = Trim(section), ident = Trim(key);
    if (!IsStorableIniSection(name) || !IsStorableIniKey(ident) || !IsStorableIniValue(value))
        return false;
    const fs::path path = FilePath(file);
    std::string text;
    if (!LoadText(path, text)) return false;
    TIniText ini(text);
    ini.Write(name, ident, value);
    return StoreText(path, ini.Text());
}

bool TIniFile::DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key)
{
    const std::string name = Trim(section), ident = Trim(key);
    if (name.empty() || ident.empty()) return false;
    const fs::path path = FilePath(file);
    std::string text;
    if (!LoadText(path, text)) return false;
    TIniText ini(text);
    // A file without the entry is left untouched, and a missing one is not created.
    if (!ini.Delete(name, ident)) return true;
    return StoreText(path, ini.Text());
}
