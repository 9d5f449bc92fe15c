#include "installer/win32/SetupShellWin32.h"

#include "platform/win32/ShellWin32.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WinTextSystem.h"

namespace {

const char kShellFolders[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// Where the registry records a folder, for the systems whose shell has no folder query
// (Windows 95 and 98 without shfolder.dll). A folder's rows are tried in their order.
struct TFolderRecord {
    int Csidl;
    HKEY Root;
    const char* Key;
    const char* Value;
};
const TFolderRecord kFolderRecords[] = {
        {CSIDL_LOCAL_APPDATA, HKEY_CURRENT_USER, kShellFolders, "Local AppData"},
        // A system that keeps no local profile has the one application-data folder.
        {CSIDL_LOCAL_APPDATA, HKEY_CURRENT_USER, kShellFolders, "AppData"},
        {CSIDL_PROGRAMS, HKEY_CURRENT_USER, kShellFolders, "Programs"},
        {CSIDL_COMMON_PROGRAMS, HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs"},
        // Windows 98 without user profiles: everyone has the one Start Menu of the Windows
        // folder, which is the user's.
        {CSIDL_COMMON_PROGRAMS, HKEY_CURRENT_USER, kShellFolders, "Programs"},
        {CSIDL_PROGRAM_FILES, HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir"},
};

std::string RecordedFolder(int csidl)
{
    for (const TFolderRecord& record : kFolderRecords) {
        if (record.Csidl != csidl) continue;
        TRegKeyHandle key;
        DWORD type = 0;
        std::string folder;
        // These values are plain strings; one to be expanded is not a path as it stands.
        if (RegOpenKeyExU(record.Root, record.Key, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS &&
            RegQueryValueExU(key.get(), record.Value, type, &folder) == ERROR_SUCCESS &&
            type == REG_SZ && !folder.empty())
            return folder;
    }
    return std::string();
}

// The folder as the shell says, else as the registry records it; without a final backslash.
std::string FolderOf(int csidl)
{
    std::string folder = SHGetFolderPathU(csidl | CSIDL_FLAG_CREATE);
    if (folder.empty()) folder = RecordedFolder(csidl);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

std::string TSetupShellWin32::LocalAppDataFolder()
{
    return FolderOf(CSIDL_LOCAL_APPDATA);
}

std::string TSetupShellWin32::ProgramFilesFolder()
{
    return FolderOf(CSIDL_PROGRAM_FILES);
}

std::string TSetupShellWin32::ProgramsMenuFolder()
{
    return FolderOf(CSIDL_PROGRAMS);
}

bool TSetupShellWin32::CreateShortcut(const std::string& link, const std::string& target)
{
    return CreateShortcutFile(link, target);
}
