#include "uninstall/MITools.h"

#include "common/Errors.h"
#include "common/Format.h"
#include "common/StrUtils.h"

namespace {

struct TRootName {
    const char* Long;
    const char* Short;
    TRootKey Root;
};

const TRootName RootNames[] = {
        {"HKEY_CLASSES_ROOT", "HKCR", TRootKey::ClassesRoot},
        {"HKEY_CURRENT_USER", "HKCU", TRootKey::CurrentUser},
        {"HKEY_LOCAL_MACHINE", "HKLM", TRootKey::LocalMachine},
        {"HKEY_USERS", "HKU", TRootKey::Users},
        {"HKEY_PERFORMANCE_DATA", "HKPD", TRootKey::PerformanceData},
        {"HKEY_CURRENT_CONFIG", "HKCC", TRootKey::CurrentConfig},
        {"HKEY_DYN_DATA", "HKDD", TRootKey::DynData},
};

std::string WithoutLeadingBackslash(const std::string& key)
{
    return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

}  // namespace

TRootKey RegistryRootOf(const std::string& key)
{
    const std::string upper = UpperCase(key);
    if (upper.empty()) throw Exception("Cannot extract registry root from empty Key");
    const std::string path = WithoutLeadingBackslash(upper);
    const std::string rootName = path.substr(0, path.find('\\'));
    for (const TRootName& row : RootNames)
        if (rootName == row.Long || rootName == row.Short) return row.Root;
    throw Exception(Format("Unknown registry root of Key %s", rootName));
}

std::string RegistryKeyNameOf(const std::string& key)
{
    if (key.empty()) throw Exception("Cannot extract registry KeyName from empty Key");
    const std::string path = WithoutLeadingBackslash(key);
    const size_t slash = path.find('\\');
    return slash == std::string::npos ? std::string() : path.substr(slash);
}

bool RegRootOf(TRootKey root, TRegRoot& result)
{
    switch (root) {
    case TRootKey::ClassesRoot: result = TRegRoot::ClassesRoot; return true;
    case TRootKey::CurrentUser: result = TRegRoot::CurrentUser; return true;
    case TRootKey::LocalMachine: result = TRegRoot::LocalMachine; return true;
    case TRootKey::Users: result = TRegRoot::Users; return true;
    case TRootKey::CurrentConfig: result = TRegRoot::CurrentConfig; return true;
    case TRootKey::DynData: result = TRegRoot::DynData; return true;
    case TRootKey::PerformanceData: return false;
    }
    return false;
}
