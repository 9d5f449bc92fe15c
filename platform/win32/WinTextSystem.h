#pragma once
// Files, the registry, profiles, processes, the locale and the shell through the form of each
// call that the system's family has (platform/win32/WinText.h says how it is chosen). Text goes
// in and comes out as UTF-8; every count the system reports is only read within the buffer it
// was given.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/Win32Com.h"

// --- Files and folders -------------------------------------------------------------------

DWORD GetFileAttributesU(const std::string& path);
// No security attributes, no template file; INVALID_HANDLE_VALUE on failure.
HANDLE CreateFileU(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                   DWORD flags);
bool DeleteFileU(const std::string& path);
bool CopyFileU(const std::string& source, const std::string& target, bool failIfExists);
bool MoveFileU(const std::string& source, const std::string& target);
bool CreateDirectoryU(const std::string& path);
bool RemoveDirectoryU(const std::string& path);
// The folder for temporary files, with its final backslash; "" when the system has none.
std::string GetTempPathU();
// The 8.3 alias of an existing path; "" on failure.
std::string GetShortPathNameU(const std::string& path);

// One entry of a folder search.
struct TFindDataU {
    std::string Name;  // without its folder
    DWORD Attributes = 0;
    uint64_t Size = 0;
};
// The first entry that matches the pattern; the handle, INVALID_HANDLE_VALUE when nothing
// matches, is given back with FindClose.
HANDLE FindFirstFileU(const std::string& pattern, TFindDataU& entry);
bool FindNextFileU(HANDLE find, TFindDataU& entry);

// CompareString's answer (CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN; 0 on failure).
int CompareStringU(LCID locale, DWORD flags, const std::string& a, const std::string& b);

// --- The registry ------------------------------------------------------------------------

LONG RegOpenKeyExU(HKEY root, const std::string& path, REGSAM access, HKEY* key);
// Opens the key, creating it and its missing parents.
LONG RegCreateKeyExU(HKEY root, const std::string& path, REGSAM access, HKEY* key);
// Deletes a key that has no subkeys; a key that has some is refused on every system.
LONG RegDeleteKeyU(HKEY root, const std::string& path);
LONG RegDeleteValueU(HKEY key, const std::string& name);
// The value's type and, when data is given, its data: the text of REG_SZ, REG_EXPAND_SZ and
// REG_MULTI_SZ as UTF-8 without the stored final NUL (the NULs between the strings of a
// multi-string stay), any other type's bytes as they are.
LONG RegQueryValueExU(HKEY key, const std::string& name, DWORD& type, std::string* data);
// Writes the value; data as RegQueryValueExU gives it back.
LONG RegSetValueExU(HKEY key, const std::string& name, DWORD type, const std::string& data);
// The names of the key's subkeys and values, in the registry's order.
std::vector<std::string> RegEnumKeyNamesU(HKEY key);
std::vector<std::string> RegEnumValueNamesU(HKEY key);

// --- Profile (ini) files -----------------------------------------------------------------

// The value, at most maxChars characters; def when there is none.
std::string GetPrivateProfileStringU(const std::string& section, const std::string& key,
                                     const std::string& def, const std::string& file,
                                     size_t maxChars);
bool WritePrivateProfileStringU(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& file);
// Removes the one entry (never the whole section).
bool DeletePrivateProfileKeyU(const std::string& section, const std::string& key,
                              const std::string& file);

// --- Processes and the locale ------------------------------------------------------------

// The module's file (nullptr: the program's own); "" on failure.
std::string GetModuleFileNameU(HMODULE module);
// Starts the command line, its first window shown as show; info receives both handles.
bool CreateProcessU(const std::string& commandLine, DWORD creationFlags, WORD show,
                    PROCESS_INFORMATION& info);
std::string GetCommandLineU();
// One item of the locale's information; "" on failure.
std::string GetLocaleInfoU(LCID locale, LCTYPE item);

// --- The shell ---------------------------------------------------------------------------

// An empty verb, parameters or folder is passed as none. True when the shell started it.
bool ShellExecuteU(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& folder, int show);
// The shell's folder of that CSIDL (flags such as CSIDL_FLAG_CREATE included), as the shell's
// folder query of shell32.dll or, on systems whose shell lacks it, of shfolder.dll gives it;
// both are bound by name. "" when neither has the query or it fails.
std::string SHGetFolderPathU(int csidl);

// The shell's link object with its file interface: IShellLinkA on the 95 family, IShellLinkW
// elsewhere. COM must be initialised on the thread.
class TShellLinkU {
public:
    // Creates the object; false when the system has none.
    bool Create();
    // False when the object has no file interface; Load and Save need it.
    bool HasFile() const { return static_cast<bool>(FFile); }
    bool Load(const std::string& path);
    bool Save(const std::string& path);
    // The target; false when the shortcut names no file-system object or cannot say.
    bool GetPath(std::string& target);
    bool SetPath(const std::string& target);
    bool SetWorkingDirectory(const std::string& folder);

private:
    TComPtr<IShellLinkA> FLinkA;
    TComPtr<IShellLinkW> FLinkW;
    // Released before the link, as it was obtained after it.
    TComPtr<IPersistFile> FFile;
};
