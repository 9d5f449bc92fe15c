#include "platform/IniFile.h"

#include "common/StrUtils.h"
#include "platform/IniText.h"

bool TIniFile::Load(const std::string& file, std::string& text)
{
    text.clear();
    if (!FFiles.FileExists(file)) return !FFiles.DirectoryExists(file);
    std::unique_ptr<IFileStream> in = FFiles.OpenRead(file);
    if (!in) return false;
    char buffer[4096];
    for (;;) {
        const int64_t n = in->Read(buffer, sizeof buffer);
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(buffer, static_cast<size_t>(n));
    }
}

// Writes the whole text beside the file and then puts it in the file's place, so that the
// file never holds a part of either text.
bool TIniFile::Store(const std::string& file, const std::string& text)
{
    const std::string temporary = file + ".lwtmp";
    if (FFiles.WriteFile(temporary, text) && FFiles.RenameFile(temporary, file)) return true;
    FFiles.EraseFile(temporary);
    return false;
}

std::string TIniFile::ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& def, size_t maxChars)
{
    std::string text, value;
    if (!Load(file, text) || !TIniText(text).Find(Trim(section), Trim(key), value)) value = def;
    return LimitChars(value, maxChars);
}

bool TIniFile::WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value)
{
    const std::string name = Trim(section), ident = Trim(key);
    if (!IsStorableIniSection(name) || !IsStorableIniKey(ident) || !IsStorableIniValue(value))
        return false;
    std::string text;
    if (!Load(file, text)) return false;
    TIniText ini(text);
    ini.Write(name, ident, value);
    return Store(file, ini.Text());
}

bool TIniFile::DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key)
{
    const std::string name = Trim(section), ident = Trim(key);
    if (name.empty() || ident.empty()) return false;
    std::string text;
    if (!Load(file, text)) return false;
    TIniText ini(text);
    // A file without the entry is left untouched, and a missing one is not created.
    if (!ini.Delete(name, ident)) return true;
    return Store(file, ini.Text());
}
