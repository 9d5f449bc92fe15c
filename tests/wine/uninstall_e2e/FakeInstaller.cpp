// Stand-in for an installer, for the end-to-end runs of uninstall.exe under Wine. It leaves a
// made-up application on the machine the way a real installation would (files and folders,
// registry keys and values, ini entries beside foreign ones, a shell-made shortcut), writes the
// matching uninstall log in the ANSI code page and appends it as the package to a copy of the
// uninstaller inside the application's folder. It then checks what is left.
//
//   lw-e2e-installer install <root> <uninstall.exe> [bad-action]
//   lw-e2e-installer check <root> installed|removed
//
// <root> is a Windows path of a folder of the run's own (C:\lw-e2e\b); it is created, and the
// registry keys live under Software\LwE2E\<its name>, so the cases do not meet. "bad-action"
// adds a last log item with an action word the uninstaller does not know. "check" prints one
// line per difference and ends with exit code 1 when there is any.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Handles.h"
#include "uninstall/PackageFormat.h"

namespace {

const wchar_t* const kAppName = L"Zażółć & Spółka";

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

// The uninstaller reads its log in the system's ANSI code page: the log is written so.
std::string Ansi(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

void Print(const std::wstring& line)
{
    const std::string bytes = Utf8(line + L"\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written,
              nullptr);
}

std::wstring Escaped(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        case L'\'': out += L"&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

// One registry value of the installation; an empty name stands for the whole key.
struct TRegEntry {
    HKEY Root;
    const wchar_t* RootName;
    std::wstring Key;     // below the root
    std::wstring Value;   // "" for the whole key
    const wchar_t* Type;  // the log's type word
    std::wstring Data;
    const wchar_t* Action;  // letter case varies on purpose
    const wchar_t* Flags;
};

struct TIniEntry {
    std::wstring Section, Key, Data;
    bool Ours;  // logged, so the uninstaller removes it
};

// Everything the installation consists of, derived from the root folder.
struct TLayout {
    std::wstring Root, App, Ini, Menu, Shortcut, Kept, Font;
    std::vector<std::wstring> Files;  // logged, created in this order
    std::vector<std::wstring> Dirs;   // logged, created in this order
    std::wstring Base;                // registry folder of this case, below Software
    std::vector<TRegEntry> Registry;  // logged
    std::wstring Shared;              // key with a logged and a foreign value
    std::vector<TIniEntry> IniEntries;

    explicit TLayout(std::wstring root) : Root(std::move(root))
    {
        while (!Root.empty() && Root.back() == L'\\') Root.pop_back();
        App = Root + L"\\Zażółć Spółka 100%";
        Ini = Root + L"\\wspólny.ini";
        Menu = Root + L"\\Menu Start";
        Shortcut = Menu + L"\\Zażółć Spółka";  // without ".lnk", as the log names it
        Kept = Root + L"\\zostaw mnie.txt";
        Font = Root + L"\\czcionka.ttf";
        Dirs = {App, App + L"\\Dane", App + L"\\Dane\\Głębiej", Menu};
        Files = {App + L"\\Program Główny.exe", App + L"\\R&D 'notatki' 50%.txt",
                 App + L"\\Dane\\plik ąęśćź.txt", App + L"\\Dane\\Głębiej\\x y.dat"};

        Base = L"Software\\LwE2E\\" + Root.substr(Root.find_last_of(L'\\') + 1);
        const std::wstring product = Base + L"\\Zażółć Spółka";
        Shared = Base + L"\\Wspólne";
        Registry = {
                {HKEY_CURRENT_USER, L"HKCU", product, L"", L"str", L"", L"add", L""},
                {HKEY_CURRENT_USER, L"HKCU", product, L"Ścieżka", L"str", App, L"Add",
                 L"dont_overwrite,shared"},
                {HKEY_CURRENT_USER, L"HKCU", product + L"\\Opcje", L"Rozmiar", L"int", L"42",
                 L"add", L""},
                {HKEY_CURRENT_USER, L"hkey_current_user", Shared, L"Nasza", L"str", L"tak", L"ADD",
                 L""},
                {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", product, L"", L"str", L"", L"add", L""},
                {HKEY_LOCAL_MACHINE, L"HKLM", product, L"Wersja", L"str",
                 L"1.0 <beta> & \"test\" 'x'", L"add", L""},
        };
        IniEntries = {
                {L"Ustawienia", L"Inny", L"zostaje", false},
                {L"Ustawienia", L"Język", L"polski", true},
                {L"Ustawienia", L"Motyw", L"ciemny", true},
                {L"Obce", L"klucz", L"1", false},
        };
    }
};

bool WriteWhole(const std::wstring& path, const std::string& bytes)
{
    TKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool ReadWhole(const std::wstring& path, std::string& bytes)
{
    TKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bytes.clear();
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return true;
}

bool MakeShortcut(const std::wstring& linkFile, const std::wstring& target)
{
    TComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())))
        return false;
    TComPtr<IPersistFile> persist;
    return SUCCEEDED(link->SetPath(target.c_str())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.put_void())) &&
           SUCCEEDED(persist->Save(linkFile.c_str(), TRUE));
}

bool SetValue(const TRegEntry& entry)
{
    TRegKeyHandle key;
    if (RegCreateKeyExW(entry.Root, entry.Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ERROR_SUCCESS;
    if (!entry.Value.empty()) {
        if (std::wstring(entry.Type) == L"int") {
            const DWORD number = DWORD(_wtoi(entry.Data.c_str()));
            rc = RegSetValueExW(key.get(), entry.Value.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof number);
        } else {
            rc = RegSetValueExW(key.get(), entry.Value.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(entry.Data.c_str()),
                                DWORD((entry.Data.size() + 1) * sizeof(wchar_t)));
        }
    }
    return rc == ERROR_SUCCESS;
}

std::wstring LogOf(const TLayout& l, bool badAction)
{
    std::wstring x = L"<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<uninstall>\r\n";
    x += L"<appname>" + Escaped(kAppName) + L"</appname>\r\n<files>\r\n";
    for (const std::wstring& f : l.Files)
        x += L"<file action=\"add\" filename=\"" + Escaped(f) + L"\"/>\r\n";
    x += L"<file action=\"remove\" filename=\"" + Escaped(l.Kept) +
         L"\"/>\r\n</files>\r\n<registry>\r\n";
    for (const TRegEntry& r : l.Registry)
        x += L"<reg action=\"" + std::wstring(r.Action) + L"\" key=\"" +
             Escaped(std::wstring(r.RootName) + L"\\" + r.Key) + L"\" param=\"" + Escaped(r.Value) +
             L"\" type=\"" + r.Type + L"\" value=\"" + Escaped(r.Data) + L"\" flags=\"" + r.Flags +
             L"\" confition=\"\"/>\r\n";
    x += L"</registry>\r\n<inifiles>\r\n";
    for (const TIniEntry& e : l.IniEntries)
        if (e.Ours)
            x += L"<ini action=\"add\" filename=\"" + Escaped(l.Ini) + L"\" section=\"" +
                 Escaped(e.Section) + L"\" param=\"" + Escaped(e.Key) + L"\" value=\"" +
                 Escaped(e.Data) + L"\" flags=\"\"/>\r\n";
    x += L"</inifiles>\r\n<shortcuts>\r\n<shortcut action=\"add\" name=\"" + Escaped(l.Shortcut) +
         L"\"/>\r\n</shortcuts>\r\n<fonts>\r\n<font action=\"add\" filename=\"" + Escaped(l.Font) +
         L"\"/>\r\n</fonts>\r\n<dirs>\r\n";
    for (const std::wstring& d : l.Dirs)
        x += L"<dir action=\"add\" directory=\"" + Escaped(d) + L"\"/>\r\n";
    if (badAction) x += L"<dir action=\"Keep\" directory=\"" + Escaped(l.Root) + L"\"/>\r\n";
    x += L"</dirs>\r\n</uninstall>\r\n";
    return x;
}

int Install(const TLayout& l, const std::wstring& uninstaller, bool badAction)
{
    // A run by hand may repeat a case: its registry keys start afresh.
    SHDeleteKeyW(HKEY_CURRENT_USER, l.Base.c_str());
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, l.Base.c_str());

    std::vector<std::wstring> failed;
    CreateDirectoryW(l.Root.c_str(), nullptr);
    for (const std::wstring& d : l.Dirs)
        if (!CreateDirectoryW(d.c_str(), nullptr)) failed.push_back(L"folder " + d);
    for (const std::wstring& f : l.Files)
        if (!WriteWhole(f, "MZ installed by the e2e installer\r\n")) failed.push_back(L"file " + f);
    for (const std::wstring& f : {l.Kept, l.Font})
        if (!WriteWhole(f, "not the uninstaller's to remove\r\n")) failed.push_back(L"file " + f);
    for (const TRegEntry& r : l.Registry)
        if (!SetValue(r)) failed.push_back(L"registry " + r.Key + L" " + r.Value);
    if (!SetValue({HKEY_CURRENT_USER, L"HKCU", l.Shared, L"Cudza", L"str", L"obca", L"", L""}))
        failed.push_back(L"registry foreign value");
    for (const TIniEntry& e : l.IniEntries)
        if (!WritePrivateProfileStringW(e.Section.c_str(), e.Key.c_str(), e.Data.c_str(),
                                        l.Ini.c_str()))
            failed.push_back(L"ini " + e.Key);
    if (!MakeShortcut(l.Shortcut + L".lnk", l.Files.front())) failed.push_back(L"shortcut");

    std::string program;
    if (!ReadWhole(uninstaller, program)) failed.push_back(L"read " + uninstaller);
    const std::string log = Ansi(LogOf(l, badAction));
    if (!WriteWhole(l.Root + L"\\log.xml", log)) failed.push_back(L"log");
    if (!WriteWhole(l.App + L"\\uninstall.exe", program + PackageBytes(log)))
        failed.push_back(L"packaged uninstaller");

    for (const std::wstring& f : failed) Print(L"install failed: " + f);
    return failed.empty() ? 0 : 1;
}

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    TRegKeyHandle k;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::wstring& key, const std::wstring& value)
{
    TRegKeyHandle k;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return false;
    return RegQueryValueExW(k.get(), value.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool IniHas(const std::wstring& file, const TIniEntry& e)
{
    wchar_t buffer[256];
    GetPrivateProfileStringW(e.Section.c_str(), e.Key.c_str(), L"\x01", buffer, 256, file.c_str());
    return e.Data == buffer;
}

// What the uninstaller leaves once it has ended; its own file and the application's folder are
// the removal batch's, which the caller waits for.
int Check(const TLayout& l, bool removed)
{
    int differences = 0;
    auto expect = [&](bool present, bool shouldBePresent, const std::wstring& what) {
        if (present == shouldBePresent) return;
        Print(what + (shouldBePresent ? L": missing" : L": still there"));
        ++differences;
    };
    for (const std::wstring& f : l.Files) expect(PathExists(f), !removed, f);
    for (size_t i = 1; i < l.Dirs.size(); ++i) expect(PathExists(l.Dirs[i]), !removed, l.Dirs[i]);
    if (!removed) expect(PathExists(l.App + L"\\uninstall.exe"), true, L"uninstall.exe");
    expect(PathExists(l.Shortcut + L".lnk"), !removed, l.Shortcut + L".lnk");
    expect(PathExists(l.Kept), true, l.Kept + L" (logged as removed by the installation)");
    expect(PathExists(l.Font), true, l.Font + L" (fonts stay)");
    for (const TRegEntry& r : l.Registry) {
        const std::wstring name = std::wstring(r.RootName) + L"\\" + r.Key + L" [" + r.Value + L"]";
        expect(r.Value.empty() ? KeyExists(r.Root, r.Key) : ValueExists(r.Root, r.Key, r.Value),
               !removed, name);
    }
    expect(KeyExists(HKEY_CURRENT_USER, l.Shared), true, L"key of a removed value");
    expect(ValueExists(HKEY_CURRENT_USER, l.Shared, L"Cudza"), true,
           L"foreign value beside a logged one");
    for (const TIniEntry& e : l.IniEntries)
        expect(IniHas(l.Ini, e), !(removed && e.Ours), L"ini [" + e.Section + L"] " + e.Key);
    return differences == 0 ? 0 : 1;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4) {
        Print(L"usage: lw-e2e-installer install <root> <uninstall.exe> [bad-action] | check <root> "
              L"installed|removed");
        return 2;
    }
    const std::wstring mode = argv[1];
    const TLayout layout(argv[2]);
    const std::wstring third = argv[3];
    if (mode == L"check") return Check(layout, third == L"removed");
    if (mode != L"install") return 2;
    const TComApartment apartment;
    return Install(layout, third, argc > 4 && std::wstring(argv[4]) == L"bad-action");
}
