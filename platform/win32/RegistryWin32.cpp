// The registry over the wide Win32 functions. Every length the registry reports is only a hint:
// a value may grow between two calls, so reads retry with a larger buffer on ERROR_MORE_DATA
// and never read past what a call says it wrote.
#include <utility>
#include <vector>

#include "platform/DynamicLibraries.h"
#include "platform/Registry.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

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

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

class TWin32Key : public IRegistryKey {
public:
    explicit TWin32Key(TRegKeyHandle key) : FKey(std::move(key)) {}

    std::vector<std::string> SubKeyNames() override
    {
        DWORD maxLength = 0;
        RegQueryInfoKeyW(FKey.get(), nullptr, nullptr, nullptr, nullptr, &maxLength, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr);
        return EnumNames(maxLength, [this](DWORD index, wchar_t* name, DWORD* length) {
            return RegEnumKeyExW(FKey.get(), index, name, length, nullptr, nullptr, nullptr,
                                 nullptr);
        });
    }

    std::vector<std::string> ValueNames() override
    {
        DWORD maxLength = 0;
        RegQueryInfoKeyW(FKey.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &maxLength, nullptr, nullptr, nullptr);
        return EnumNames(maxLength, [this](DWORD index, wchar_t* name, DWORD* length) {
            return RegEnumValueW(FKey.get(), index, name, length, nullptr, nullptr, nullptr,
                                 nullptr);
        });
    }

    bool ValueExists(const std::string& name) override
    {
        return RegQueryValueExW(FKey.get(), Wide(name).c_str(), nullptr, nullptr, nullptr,
                                nullptr) == ERROR_SUCCESS;
    }

    bool ReadValue(const std::string& name, TRegValue& value) override
    {
        std::wstring wname = Wide(name);
        DWORD type = 0, size = 0;
        LONG rc = RegQueryValueExW(FKey.get(), wname.c_str(), nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return false;
        std::vector<BYTE> data(size + sizeof(wchar_t));
        for (int attempt = 0;; ++attempt) {
            DWORD got = static_cast<DWORD>(data.size());
            rc = RegQueryValueExW(FKey.get(), wname.c_str(), nullptr, &type, data.data(), &got);
            if (rc == ERROR_SUCCESS) {
                data.resize(got < data.size() ? got : data.size());
                break;
            }
            if (rc != ERROR_MORE_DATA || attempt > 8) return false;
            data.resize((got > data.size() ? got : data.size()) * 2);
        }
        value.Type = type;
        if (IsStringType(type)) {
            size_t chars = data.size() / sizeof(wchar_t);
            std::wstring text(chars, L'\0');
            if (chars) memcpy(&text[0], data.data(), chars * sizeof(wchar_t));
            // The stored terminator is not part of the text; embedded NULs stay.
            if (!text.empty() && text.back() == L'\0') text.pop_back();
            std::string utf8 = Narrow(text);
            value.Data.assign(utf8.begin(), utf8.end());
        } else {
            value.Data.assign(data.begin(), data.end());
        }
        return true;
    }

    bool WriteValue(const std::string& name, const TRegValue& value) override
    {
        std::vector<BYTE> data;
        if (IsStringType(value.Type)) {
            std::wstring text = Wide(value.Text());
            text.push_back(L'\0');
            const BYTE* bytes = reinterpret_cast<const BYTE*>(text.data());
            data.assign(bytes, bytes + text.size() * sizeof(wchar_t));
        } else {
            data.assign(value.Data.begin(), value.Data.end());
        }
        return RegSetValueExW(FKey.get(), Wide(name).c_str(), 0, value.Type,
                              data.empty() ? nullptr : data.data(),
                              static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override
    {
        return RegDeleteValueW(FKey.get(), Wide(name).c_str()) == ERROR_SUCCESS;
    }

private:
    // The longest name the key reports sizes the first buffer; a name added since then is
    // caught by ERROR_MORE_DATA (names are at most 16383 characters).
    template <typename Enum>
    static std::vector<std::string> EnumNames(DWORD maxLength, Enum enumerate)
    {
        std::vector<std::string> names;
        std::vector<wchar_t> buffer(maxLength + 1 > 256 ? maxLength + 1 : 256);
        for (DWORD index = 0;;) {
            DWORD length = static_cast<DWORD>(buffer.size());
            LONG rc = enumerate(index, buffer.data(), &length);
            if (rc == ERROR_MORE_DATA && buffer.size() < 65536) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            if (rc != ERROR_SUCCESS) break;
            if (length > buffer.size()) length = static_cast<DWORD>(buffer.size());
            names.push_back(Narrow(buffer.data(), length));
            ++index;
        }
        return names;
    }
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
        if (RegOpenKeyExW(RootHandle(root), Wide(path).c_str(), 0, sam, key.put()) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<TWin32Key>(std::move(key));
    }

    std::unique_ptr<IRegistryKey> CreateKey(TRegRoot root, const std::string& path,
                                            TRegView view) override
    {
        TRegKeyHandle key;
        if (RegCreateKeyExW(RootHandle(root), Wide(path).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, kFullAccess | ViewFlag(view, HasViews()),
                            nullptr, key.put(), nullptr) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<TWin32Key>(std::move(key));
    }

    bool DeleteKey(TRegRoot root, const std::string& path) override
    {
        LONG rc = RegDeleteKeyW(RootHandle(root), Wide(path).c_str());
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
