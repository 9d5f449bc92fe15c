// The registry over the Win32 functions, in the form the system's family has
// (platform/win32/WinTextSystem.h reads the values and names within what each call wrote).
#include <utility>
#include <vector>

#include "platform/DynamicLibraries.h"
#include "platform/Registry.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WinTextSystem.h"

namespace {

HKEY RootHandle(TRegRoot root)
{
    switch (root) {
    case TRegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case TRegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case TRegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case TRegRoot::Users: return HKEY_USERS;
    case TRegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    case TRegRoot::DynData: return HKEY_DYN_DATA;
    }
    return HKEY_CURRENT_USER;
}

// What the ports' access modes ask for. Full asks only for what writing and deleting values
// needs, never KEY_ALL_ACCESS: a right that is not needed is one more reason for a refusal.
constexpr REGSAM kReadAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
constexpr REGSAM kFullAccess = kReadAccess | KEY_SET_VALUE;

// The view flags are known to Windows XP x64 and later; older systems have one registry and
// must not be handed bits they do not know.
REGSAM ViewFlag(TRegView view, bool hasViews)
{
    if (!hasViews) return 0;
    switch (view) {
    case TRegView::Own: return 0;
    case TRegView::Bits64: return KEY_WOW64_64KEY;
    case TRegView::Bits32: return KEY_WOW64_32KEY;
    }
    return 0;
}

// Whether this 32-bit program runs under the 64-bit system's emulation. IsWow64Process is
// bound by name: the systems before Windows XP SP2 lack it, and they are all 32-bit.
bool RunsUnderWow64()
{
    using TIsWow64ProcessFn = BOOL(WINAPI*)(HANDLE process, BOOL * wow64);
    IDynamicLibraries& libraries = SystemLibraries();
    IDynamicLibraries::THandle kernel = libraries.Load("kernel32.dll");
    if (!kernel) return false;
    const auto isWow64 =
            reinterpret_cast<TIsWow64ProcessFn>(libraries.Lookup(kernel, "IsWow64Process"));
    BOOL wow64 = FALSE;
    const bool answered = isWow64 && isWow64(GetCurrentProcess(), &wow64);
    libraries.Free(kernel);
    return answered && wow64;
}

class TWin32Key : public IRegistryKey {
public:
    explicit TWin32Key(TRegKeyHandle key) : FKey(std::move(key)) {}

    std::vector<std::string> SubKeyNames() override { return RegEnumKeyNamesU(FKey.get()); }

    std::vector<std::string> ValueNames() override { return RegEnumValueNamesU(FKey.get()); }

    bool ValueExists(const std::string& name) override
    {
        DWORD type = 0;
        return RegQueryValueExU(FKey.get(), name, type, nullptr) == ERROR_SUCCESS;
    }

    bool ReadValue(const std::string& name, TRegValue& value) override
    {
        DWORD type = 0;
        std::string data;
        if (RegQueryValueExU(FKey.get(), name, type, &data) != ERROR_SUCCESS) return false;
        value.Type = type;
        value.Data.assign(data.begin(), data.end());
        return true;
    }

    bool WriteValue(const std::string& name, const TRegValue& value) override
    {
        return RegSetValueExU(FKey.get(), name, value.Type, value.Text()) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override
    {
        return RegDeleteValueU(FKey.get(), name) == ERROR_SUCCESS;
    }

private:
    TRegKeyHandle FKey;
};

class TWin32Registry : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenKey(TRegRoot root, const std::string& path, TRegAccess access,
                                          TRegView view) override
    {
        TRegKeyHandle key;
        REGSAM sam = (access == TRegAccess::Full ? kFullAccess : kReadAccess) |
                     ViewFlag(view, HasViews());
        if (RegOpenKeyExU(RootHandle(root), path, sam, key.put()) != ERROR_SUCCESS) return nullptr;
        return std::make_unique<TWin32Key>(std::move(key));
    }

    std::unique_ptr<IRegistryKey> CreateKey(TRegRoot root, const std::string& path,
                                            TRegView view) override
    {
        TRegKeyHandle key;
        if (RegCreateKeyExU(RootHandle(root), path, kFullAccess | ViewFlag(view, HasViews()),
                            key.put()) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<TWin32Key>(std::move(key));
    }

    bool DeleteKey(TRegRoot root, const std::string& path) override
    {
        LONG rc = RegDeleteKeyU(RootHandle(root), path);
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }

    // Asked once: a process does not change its bitness.
    bool HasViews() override
    {
        static const bool hasViews = RunsUnderWow64();
        return hasViews;
    }
};

}  // namespace

IRegistry& SystemRegistry()
{
    static TWin32Registry registry;
    return registry;
}
