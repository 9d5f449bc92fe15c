#include "dialers/RegistryAccess.h"

#include "common/Format.h"

TRegistry::TRegistry(IRegistry& registry, TRegRoot root) : FRegistry(registry), FRoot(root) {}

namespace {

// Key paths are always taken from the root; a leading "\" only says so.
std::string FromRoot(const std::string& path)
{
    std::string relative = path;
    while (!relative.empty() && relative[0] == '\\') relative.erase(0, 1);
    return relative;
}

}  // namespace

bool TRegistry::OpenKey(const std::string& path, bool canCreate)
{
    CloseKey();
    const std::string relative = FromRoot(path);
    FKey = canCreate ? FRegistry.CreateKey(FRoot, relative, FView)
                     : FRegistry.OpenKey(FRoot, relative, TRegAccess::Full, FView);
    return FKey != nullptr;
}

bool TRegistry::OpenKeyReadOnly(const std::string& path)
{
    CloseKey();
    FKey = FRegistry.OpenKey(FRoot, FromRoot(path), TRegAccess::Read, FView);
    return FKey != nullptr;
}

std::vector<std::string> TRegistry::GetValueNames()
{
    return FKey ? FKey->ValueNames() : std::vector<std::string>();
}

bool TRegistry::ValueExists(const std::string& name)
{
    return FKey && FKey->ValueExists(name);
}

std::string TRegistry::ReadString(const std::string& name)
{
    bool isText = true;
    std::string text = ReadText(name, isText);
    if (!isText) throw Exception(Format("Invalid data type for '%s'", name));
    return text;
}

std::string TRegistry::ReadStringOrNothing(const std::string& name)
{
    bool isText = true;
    return ReadText(name, isText);
}

std::string TRegistry::ReadText(const std::string& name, bool& isText)
{
    TRegValue value;
    isText = true;
    if (!FKey || !FKey->ReadValue(name, value) || value.Data.empty()) return std::string();
    isText = value.Type == rtString || value.Type == rtExpandString;
    if (!isText) return std::string();
    std::string text = value.Text();
    size_t nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

bool TRegistry::WriteString(const std::string& name, const std::string& value)
{
    return FKey && FKey->WriteValue(name, TRegValue::String(value));
}

bool TRegistry::DeleteValue(const std::string& name)
{
    return FKey && FKey->DeleteValue(name);
}
