#include "installer/win32/SetupShellWin32.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/Paths.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Text.h"

namespace {

// Spelled out rather than taken from the uuid library, which would bring tens of KiB of
// identifiers into a program that must stay small.
const CLSID kClsidShellLink = {
        0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidShellLinkW = {
        0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidPersistFile = {
        0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::string FolderOf(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    // SHGFP_TYPE_CURRENT: where the folder is now, also when the user moved it.
    if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path))) return "";
    path[MAX_PATH - 1] = L'\0';
    std::string folder = Narrow(path);
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
    TComApartment com;
    TComPtr<IShellLinkW> shellLink;
    if (FAILED(CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkW,
                                shellLink.put_void())))
        return false;
    std::string folder = ExtractFilePath(target);
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (FAILED(shellLink->SetPath(Wide(target).c_str())) ||
        FAILED(shellLink->SetWorkingDirectory(Wide(folder).c_str())))
        return false;
    TComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(kIidPersistFile, file.put_void()))) return false;
    return SUCCEEDED(file->Save(Wide(link).c_str(), TRUE));
}
