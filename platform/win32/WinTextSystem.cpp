#include "platform/win32/WinTextSystem.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/AnsiText.h"
#include "platform/DynamicLibraries.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WinText.h"

namespace {

// The longest path the wide functions take, in characters; the ANSI ones take far less.
constexpr DWORD kMaxPathChars = 32768;
// Far more than any value the programs read or write; a larger size reported is not believed.
constexpr DWORD kMaxValueBytes = 1u << 20;
// A registry name has at most 16383 characters, twice that in bytes of a double-byte code page.
constexpr DWORD kMaxNameUnits = 32768;

const char* OrNullA(const TSysText& text, const std::string& utf8)
{
    return utf8.empty() ? nullptr : text.A();
}

const wchar_t* OrNullW(const TSysText& text, const std::string& utf8)
{
    return utf8.empty() ? nullptr : text.W();
}

// A buffer for text that a call writes in the chosen form, sized in its units: bytes of ANSI
// text or UTF-16 units. One buffer serves both forms, so that what is done around the call is
// written once.
class TSysBuffer {
public:
    explicit TSysBuffer(DWORD units) : FUnits(units, L'\0') {}
    DWORD Size() const { return static_cast<DWORD>(FUnits.size()); }
    char* A() { return reinterpret_cast<char*>(FUnits.data()); }
    wchar_t* W() { return FUnits.data(); }
    void Resize(DWORD units) { FUnits.assign(units, L'\0'); }
    // The first length units, never more than the buffer holds, as UTF-8.
    std::string Text(size_t length) const
    {
        length = std::min<size_t>(length, FUnits.size());
        return AnsiWindows() ? FromSystemA(reinterpret_cast<const char*>(FUnits.data()), length)
                             : FromSystemW(FUnits.data(), length);
    }
    // The text up to its NUL, or the whole buffer when it holds none.
    std::string Text() const
    {
        if (!AnsiWindows())
            return Text(std::find(FUnits.begin(), FUnits.end(), L'\0') - FUnits.begin());
        const char* bytes = reinterpret_cast<const char*>(FUnits.data());
        return Text(std::find(bytes, bytes + FUnits.size(), '\0') - bytes);
    }
    // The length of the first length units without a character cut in half at their end: a
    // high surrogate, or a lead byte of a double-byte code page.
    size_t Whole(size_t length) const
    {
        if (!AnsiWindows()) {
            const wchar_t last = length > 0 ? FUnits[length - 1] : L'\0';
            return last >= 0xD800 && last <= 0xDBFF ? length - 1 : length;
        }
        const char* bytes = reinterpret_cast<const char*>(FUnits.data());
        size_t at = 0;
        while (at < length) at += IsDBCSLeadByte(static_cast<BYTE>(bytes[at])) ? 2 : 1;
        return at > length ? length - 1 : length;
    }

private:
    std::vector<wchar_t> FUnits;
};

// Text that call(buffer) writes, returning the length written or, when the buffer was too
// small, the buffer's size or the size the text needs. The buffer grows until the text fits.
template <typename TCall>
std::string ReadGrowing(TCall call)
{
    TSysBuffer buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD n = call(buffer);
        if (n == 0 || n > kMaxPathChars) return std::string();
        if (n < buffer.Size()) return buffer.Text(n);
        buffer.Resize(std::max(buffer.Size() * 2, n + 1));
    }
    return std::string();
}

// --- Finding files ---

// A search's record in either form. The two begin alike, up to the name.
union TFindData {
    WIN32_FIND_DATAA A;
    WIN32_FIND_DATAW W;
};

void TakeEntry(const TFindData& data, TFindDataU& entry)
{
    // cFileName is a fixed field: read no further than its capacity.
    const char* const a = data.A.cFileName;
    const wchar_t* const w = data.W.cFileName;
    entry.Name = AnsiWindows() ? FromSystemA(a, std::find(a, a + MAX_PATH, '\0') - a)
                               : FromSystemW(w, std::find(w, w + MAX_PATH, L'\0') - w);
    entry.Attributes = data.W.dwFileAttributes;
    entry.Size = (static_cast<uint64_t>(data.W.nFileSizeHigh) << 32) | data.W.nFileSizeLow;
}

// --- The registry ---

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A string value's bytes as the registry gave them, into UTF-8 without the final NUL.
std::string StringFromRegistry(const std::vector<BYTE>& bytes, bool ansi)
{
    if (ansi) {
        size_t length = bytes.size();
        if (length > 0 && bytes[length - 1] == 0) --length;
        return FromSystemA(reinterpret_cast<const char*>(bytes.data()), length);
    }
    // An odd last byte is no character.
    const wchar_t* text = reinterpret_cast<const wchar_t*>(bytes.data());
    size_t length = bytes.size() / sizeof(wchar_t);
    if (length > 0 && text[length - 1] == L'\0') --length;
    return FromSystemW(text, length);
}

// A string value's text in the form the registry takes, with its final NUL. The conversions
// keep the NULs between the strings of a multi-string.
std::string StringToRegistry(const std::string& utf8, bool ansi)
{
    if (ansi) return Utf8ToAnsi(utf8) + '\0';
    std::wstring text = Wide(utf8);
    text.push_back(L'\0');
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The names of the key's subkeys or of its values. The buffer starts at the longest name the
// 95 family allows and grows on ERROR_MORE_DATA, which also catches a name added meanwhile.
std::vector<std::string> EnumNames(HKEY key, bool values)
{
    std::vector<std::string> names;
    TSysBuffer buffer(256);
    for (DWORD index = 0;;) {
        DWORD length = buffer.Size();
        const LONG rc =
                values ? (AnsiWindows() ? RegEnumValueA(key, index, buffer.A(), &length, nullptr,
                                                        nullptr, nullptr, nullptr)
                                        : RegEnumValueW(key, index, buffer.W(), &length, nullptr,
                                                        nullptr, nullptr, nullptr))
                       : (AnsiWindows() ? RegEnumKeyExA(key, index, buffer.A(), &length, nullptr,
                                                        nullptr, nullptr, nullptr)
                                        : RegEnumKeyExW(key, index, buffer.W(), &length, nullptr,
                                                        nullptr, nullptr, nullptr));
        if (rc == ERROR_MORE_DATA && buffer.Size() < kMaxNameUnits) {
            buffer.Resize(buffer.Size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.push_back(buffer.Text(length));
        ++index;
    }
    return names;
}

// --- Profiles ---

// A profile value of at most limit characters. The function reports only how much it copied: a
// value that fills the buffer may have been cut, so the buffer grows until the value fits or the
// limit is reached.
template <typename TRead>
std::string ReadProfileText(size_t limit, TRead read)
{
    TSysBuffer buffer(static_cast<DWORD>(std::min<size_t>(limit, 255) + 1));
    for (;;) {
        const size_t size = buffer.Size();
        const size_t length = std::min<size_t>(read(buffer), size - 1);
        if (length < size - 1 || size > limit) return buffer.Text(buffer.Whole(length));
        buffer.Resize(static_cast<DWORD>(std::min(size * 2, limit + 1)));
    }
}

// Writes the entry; a null value removes it. The key itself is never null here, which would
// remove the whole section.
bool WriteProfileEntry(const std::string& section, const std::string& key, const std::string* value,
                       const std::string& file)
{
    const TSysText s(section), k(key), v(value ? *value : std::string()), f(file);
    return (AnsiWindows() ? WritePrivateProfileStringA(s.A(), k.A(), value ? v.A() : nullptr, f.A())
                          : WritePrivateProfileStringW(s.W(), k.W(), value ? v.W() : nullptr,
                                                       f.W())) != FALSE;
}

// --- The shell ---

// The identifiers are spelled out rather than taken from the uuid library, so that the
// programs ask for exactly these and link against nothing more.
const CLSID kClsidShellLink = {
        0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidShellLinkA = {
        0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidShellLinkW = {
        0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidPersistFile = {
        0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

const DWORD kShareDenyNone = 0x40;  // STGM_SHARE_DENY_NONE
const DWORD kUncPriority = 2;       // SLGP_UNCPRIORITY

using TFolderPathAFn = HRESULT(WINAPI*)(HWND owner, int csidl, HANDLE token, DWORD flags,
                                        char* path);
using TFolderPathWFn = HRESULT(WINAPI*)(HWND owner, int csidl, HANDLE token, DWORD flags,
                                        wchar_t* path);

// The folder through one library's query; false when the library or its query is missing or
// the query fails.
bool FolderPathFrom(const char* library, int csidl, std::string& path)
{
    IDynamicLibraries& libraries = SystemLibraries();
    IDynamicLibraries::THandle handle = libraries.Load(library);
    void* query = libraries.Lookup(handle, AnsiWindows() ? "SHGetFolderPathA" : "SHGetFolderPathW");
    // SHGFP_TYPE_CURRENT: where the folder is now, also when the user moved it.
    TSysBuffer buffer(MAX_PATH);
    const bool found =
            query && SUCCEEDED(AnsiWindows() ? reinterpret_cast<TFolderPathAFn>(query)(
                                                       nullptr, csidl, nullptr, 0, buffer.A())
                                             : reinterpret_cast<TFolderPathWFn>(query)(
                                                       nullptr, csidl, nullptr, 0, buffer.W()));
    libraries.Free(handle);
    if (found) path = buffer.Text();
    return found;
}

}  // namespace

// --- Files and folders ---

DWORD GetFileAttributesU(const std::string& path)
{
    const TSysText sys(path);
    return AnsiWindows() ? GetFileAttributesA(sys.A()) : GetFileAttributesW(sys.W());
}

HANDLE CreateFileU(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                   DWORD flags)
{
    const TSysText sys(path);
    if (AnsiWindows())
        return CreateFileA(sys.A(), access, share, nullptr, disposition, flags, nullptr);
    return CreateFileW(sys.W(), access, share, nullptr, disposition, flags, nullptr);
}

bool DeleteFileU(const std::string& path)
{
    const TSysText sys(path);
    return (AnsiWindows() ? DeleteFileA(sys.A()) : DeleteFileW(sys.W())) != FALSE;
}

bool CopyFileU(const std::string& source, const std::string& target, bool failIfExists)
{
    const TSysText from(source), to(target);
    const BOOL fail = failIfExists ? TRUE : FALSE;
    return (AnsiWindows() ? CopyFileA(from.A(), to.A(), fail)
                          : CopyFileW(from.W(), to.W(), fail)) != FALSE;
}

bool MoveFileU(const std::string& source, const std::string& target)
{
    const TSysText from(source), to(target);
    return (AnsiWindows() ? MoveFileA(from.A(), to.A()) : MoveFileW(from.W(), to.W())) != FALSE;
}

bool CreateDirectoryU(const std::string& path)
{
    const TSysText sys(path);
    return (AnsiWindows() ? CreateDirectoryA(sys.A(), nullptr)
                          : CreateDirectoryW(sys.W(), nullptr)) != FALSE;
}

bool RemoveDirectoryU(const std::string& path)
{
    const TSysText sys(path);
    return (AnsiWindows() ? RemoveDirectoryA(sys.A()) : RemoveDirectoryW(sys.W())) != FALSE;
}

std::string GetTempPathU()
{
    return ReadGrowing([](TSysBuffer& buffer) {
        return AnsiWindows() ? GetTempPathA(buffer.Size(), buffer.A())
                             : GetTempPathW(buffer.Size(), buffer.W());
    });
}

std::string GetShortPathNameU(const std::string& path)
{
    const TSysText sys(path);
    return ReadGrowing([&sys](TSysBuffer& buffer) {
        return AnsiWindows() ? GetShortPathNameA(sys.A(), buffer.A(), buffer.Size())
                             : GetShortPathNameW(sys.W(), buffer.W(), buffer.Size());
    });
}

HANDLE FindFirstFileU(const std::string& pattern, TFindDataU& entry)
{
    const TSysText sys(pattern);
    TFindData data;
    const HANDLE find =
            AnsiWindows() ? FindFirstFileA(sys.A(), &data.A) : FindFirstFileW(sys.W(), &data.W);
    if (find != INVALID_HANDLE_VALUE) TakeEntry(data, entry);
    return find;
}

bool FindNextFileU(HANDLE find, TFindDataU& entry)
{
    TFindData data;
    if (!(AnsiWindows() ? FindNextFileA(find, &data.A) : FindNextFileW(find, &data.W)))
        return false;
    TakeEntry(data, entry);
    return true;
}

int CompareStringU(LCID locale, DWORD flags, const std::string& a, const std::string& b)
{
    const TSysText x(a), y(b);
    return AnsiWindows() ? CompareStringA(locale, flags, x.A(), -1, y.A(), -1)
                         : CompareStringW(locale, flags, x.W(), -1, y.W(), -1);
}

// --- The registry ---

LONG RegOpenKeyExU(HKEY root, const std::string& path, REGSAM access, HKEY* key)
{
    const TSysText sys(path);
    return AnsiWindows() ? RegOpenKeyExA(root, sys.A(), 0, access, key)
                         : RegOpenKeyExW(root, sys.W(), 0, access, key);
}

LONG RegCreateKeyExU(HKEY root, const std::string& path, REGSAM access, HKEY* key)
{
    const TSysText sys(path);
    if (AnsiWindows())
        return RegCreateKeyExA(root, sys.A(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                               key, nullptr);
    return RegCreateKeyExW(root, sys.W(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key,
                           nullptr);
}

LONG RegDeleteKeyU(HKEY root, const std::string& path)
{
    const TSysText sys(path);
    if (!AnsiWindows()) return RegDeleteKeyW(root, sys.W());
    // The 95 family deletes a key together with all its subkeys, where NT refuses a key that
    // has any; the refusal is what the callers count on, so it is made here.
    TRegKeyHandle key;
    if (RegOpenKeyExA(root, sys.A(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS) {
        DWORD subKeys = 0;
        if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            subKeys > 0)
            return ERROR_ACCESS_DENIED;
    }
    return RegDeleteKeyA(root, sys.A());
}

LONG RegDeleteValueU(HKEY key, const std::string& name)
{
    const TSysText sys(name);
    return AnsiWindows() ? RegDeleteValueA(key, sys.A()) : RegDeleteValueW(key, sys.W());
}

LONG RegQueryValueExU(HKEY key, const std::string& name, DWORD& type, std::string* data)
{
    const TSysText sys(name);
    const bool ansi = AnsiWindows();
    const auto query = [&](BYTE* bytes, DWORD* size) {
        return ansi ? RegQueryValueExA(key, sys.A(), nullptr, &type, bytes, size)
                    : RegQueryValueExW(key, sys.W(), nullptr, &type, bytes, size);
    };
    // The size is only a hint: the value may grow before it is read.
    DWORD size = 0;
    LONG rc = query(nullptr, data ? &size : nullptr);
    if (!data || (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)) return rc;
    std::vector<BYTE> bytes(std::min(size, kMaxValueBytes) + sizeof(wchar_t));
    for (;;) {
        DWORD got = static_cast<DWORD>(bytes.size());
        rc = query(bytes.data(), &got);
        if (rc == ERROR_SUCCESS) {
            bytes.resize(std::min<size_t>(got, bytes.size()));
            break;
        }
        if (rc != ERROR_MORE_DATA || bytes.size() >= kMaxValueBytes) return rc;
        bytes.resize(std::min<size_t>(std::max<size_t>(got, bytes.size() * 2), kMaxValueBytes));
    }
    *data = IsStringType(type) ? StringFromRegistry(bytes, ansi)
                               : std::string(bytes.begin(), bytes.end());
    return ERROR_SUCCESS;
}

LONG RegSetValueExU(HKEY key, const std::string& name, DWORD type, const std::string& data)
{
    const TSysText sys(name);
    const bool ansi = AnsiWindows();
    const std::string stored = IsStringType(type) ? StringToRegistry(data, ansi) : data;
    const BYTE* bytes = stored.empty() ? nullptr : reinterpret_cast<const BYTE*>(stored.data());
    const DWORD size = static_cast<DWORD>(stored.size());
    return ansi ? RegSetValueExA(key, sys.A(), 0, type, bytes, size)
                : RegSetValueExW(key, sys.W(), 0, type, bytes, size);
}

std::vector<std::string> RegEnumKeyNamesU(HKEY key)
{
    return EnumNames(key, false);
}

std::vector<std::string> RegEnumValueNamesU(HKEY key)
{
    return EnumNames(key, true);
}

// --- Profiles ---

std::string GetPrivateProfileStringU(const std::string& section, const std::string& key,
                                     const std::string& def, const std::string& file,
                                     size_t maxChars)
{
    const TSysText s(section), k(key), d(def), f(file);
    return ReadProfileText(maxChars, [&](TSysBuffer& buffer) {
        return AnsiWindows() ? GetPrivateProfileStringA(s.A(), k.A(), d.A(), buffer.A(),
                                                        buffer.Size(), f.A())
                             : GetPrivateProfileStringW(s.W(), k.W(), d.W(), buffer.W(),
                                                        buffer.Size(), f.W());
    });
}

bool WritePrivateProfileStringU(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& file)
{
    return WriteProfileEntry(section, key, &value, file);
}

bool DeletePrivateProfileKeyU(const std::string& section, const std::string& key,
                              const std::string& file)
{
    return WriteProfileEntry(section, key, nullptr, file);
}

// --- Processes and the locale ---

std::string GetModuleFileNameU(HMODULE module)
{
    return ReadGrowing([module](TSysBuffer& buffer) {
        return AnsiWindows() ? GetModuleFileNameA(module, buffer.A(), buffer.Size())
                             : GetModuleFileNameW(module, buffer.W(), buffer.Size());
    });
}

bool CreateProcessU(const std::string& commandLine, DWORD creationFlags, WORD show,
                    PROCESS_INFORMATION& info)
{
    ZeroMemory(&info, sizeof info);
    // The call may write into the command line: it gets a copy of its own.
    if (AnsiWindows()) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        std::string line = Utf8ToAnsi(commandLine);
        line.push_back('\0');
        return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, creationFlags, nullptr,
                              nullptr, &startup, &info) != FALSE;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    std::wstring line = Wide(commandLine);
    line.push_back(L'\0');
    return CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, creationFlags, nullptr,
                          nullptr, &startup, &info) != FALSE;
}

std::string GetCommandLineU()
{
    return AnsiWindows() ? FromSystemA(GetCommandLineA()) : FromSystemW(GetCommandLineW());
}

std::string GetLocaleInfoU(LCID locale, LCTYPE item)
{
    // The size is asked first, so an item of any length fits; one changed between the two calls
    // makes the second fail. The counts include the terminator.
    TSysBuffer buffer(0);
    const auto read = [&] {
        return AnsiWindows() ? GetLocaleInfoA(locale, item, buffer.A(), buffer.Size())
                             : GetLocaleInfoW(locale, item, buffer.W(), buffer.Size());
    };
    const int size = read();
    if (size <= 1 || size > 1024) return std::string();
    buffer.Resize(size);
    const int copied = read();
    return copied > 1 ? buffer.Text(copied - 1) : std::string();
}

// --- The shell ---

bool ShellExecuteU(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& folder, int show)
{
    const TSysText v(verb), f(file), p(parameters), d(folder);
    if (AnsiWindows())
        return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, OrNullA(v, verb), f.A(),
                                                       OrNullA(p, parameters), OrNullA(d, folder),
                                                       show)) > 32;
    static const auto executeW = ShellWideFunction<decltype(&ShellExecuteW)>("ShellExecuteW");
    return executeW && reinterpret_cast<INT_PTR>(executeW(owner, OrNullW(v, verb), f.W(),
                                                          OrNullW(p, parameters),
                                                          OrNullW(d, folder), show)) > 32;
}

std::string SHGetFolderPathU(int csidl)
{
    // Windows 2000 and Me have the query in their shell; older systems have it only in
    // shfolder.dll, which Internet Explorer 5 brought.
    std::string path;
    for (const char* library : {"shell32.dll", "shfolder.dll"})
        if (FolderPathFrom(library, csidl, path)) return path;
    return std::string();
}

bool TShellLinkU::Create()
{
    FFile.reset();
    const HRESULT created =
            AnsiWindows() ? CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             kIidShellLinkA, FLinkA.put_void())
                          : CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             kIidShellLinkW, FLinkW.put_void());
    if (FAILED(created)) return false;
    IUnknown* link = AnsiWindows() ? static_cast<IUnknown*>(FLinkA.get()) : FLinkW.get();
    if (!link) return false;
    if (FAILED(link->QueryInterface(kIidPersistFile, FFile.put_void()))) FFile.reset();
    return true;
}

bool TShellLinkU::Load(const std::string& path)
{
    // The file interface is wide on every system.
    return FFile && SUCCEEDED(FFile->Load(Wide(path).c_str(), kShareDenyNone));
}

bool TShellLinkU::Save(const std::string& path)
{
    return FFile && SUCCEEDED(FFile->Save(Wide(path).c_str(), TRUE));
}

bool TShellLinkU::GetPath(std::string& target)
{
    // S_FALSE means the shortcut names no file-system object: no target to give.
    TSysBuffer buffer(MAX_PATH);
    TFindData data;
    const HRESULT got =
            AnsiWindows()
                    ? (FLinkA ? FLinkA->GetPath(buffer.A(), buffer.Size(), &data.A, kUncPriority)
                              : E_POINTER)
                    : (FLinkW ? FLinkW->GetPath(buffer.W(), buffer.Size(), &data.W, kUncPriority)
                              : E_POINTER);
    if (got != S_OK) return false;
    target = buffer.Text();
    return true;
}

bool TShellLinkU::SetPath(const std::string& target)
{
    const TSysText sys(target);
    if (AnsiWindows()) return FLinkA && SUCCEEDED(FLinkA->SetPath(sys.A()));
    return FLinkW && SUCCEEDED(FLinkW->SetPath(sys.W()));
}

bool TShellLinkU::SetWorkingDirectory(const std::string& folder)
{
    const TSysText sys(folder);
    if (AnsiWindows()) return FLinkA && SUCCEEDED(FLinkA->SetWorkingDirectory(sys.A()));
    return FLinkW && SUCCEEDED(FLinkW->SetWorkingDirectory(sys.W()));
}
