// The shell's verbs over ShellExecuteW, and the shell-link object over COM.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>

#include "common/Errors.h"
#include "common/StrUtils.h"
#include "platform/AnsiText.h"
#include "platform/Shell.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Text.h"

namespace {

// The identifiers are spelled out rather than taken from the uuid library, so that the program
// asks for exactly these and links against nothing more.
const CLSID kClsidShellLink = {
        0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidShellLinkA = {
        0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidPersistFile = {
        0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

const DWORD kShareDenyNone = 0x40;  // STGM_SHARE_DENY_NONE
const DWORD kUncPriority = 2;       // SLGP_UNCPRIORITY

class TWin32ShellLink : public IShellLinkObject {
public:
    TWin32ShellLink(TComPtr<IShellLinkA> link, TComPtr<IPersistFile> file)
        : FLink(std::move(link)), FFile(std::move(file))
    {
    }
    bool Load(const std::string& path) override
    {
        return SUCCEEDED(FFile->Load(Wide(path).c_str(), kShareDenyNone));
    }
    bool GetPath(std::string& target) override
    {
        // IShellLinkA is ANSI by nature: its text is in the ANSI code page.
        char buffer[MAX_PATH] = {};
        WIN32_FIND_DATAA data = {};
        // S_FALSE means the shortcut names no file system object: no target to compare.
        if (FLink->GetPath(buffer, MAX_PATH, &data, kUncPriority) != S_OK) return false;
        target = AnsiToUtf8(FieldText(buffer, MAX_PATH));
        return true;
    }

private:
    // The file interface is released before the link, as it was obtained after it.
    TComPtr<IShellLinkA> FLink;
    TComPtr<IPersistFile> FFile;
};

class TWin32ComSession : public IComSession {
public:
    std::unique_ptr<IShellLinkObject> CreateShellLink() override
    {
        TComPtr<IShellLinkA> link;
        if (FAILED(CoCreateInstance(kClsidShellLink, nullptr,
                                    CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, kIidShellLinkA,
                                    link.put_void())) ||
            !link)
            return nullptr;
        TComPtr<IPersistFile> file;
        if (FAILED(link->QueryInterface(kIidPersistFile, file.put_void())) || !file)
            throw Exception("Interface not supported");
        return std::make_unique<TWin32ShellLink>(std::move(link), std::move(file));
    }

private:
    TComApartment FApartment;
};

class TWin32Shell : public IShell {
public:
    bool Execute(void* owner, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& folder, int showCommand) override
    {
        std::wstring v = Wide(verb), f = Wide(file), p = Wide(parameters), d = Wide(folder);
        HINSTANCE result = ShellExecuteW(static_cast<HWND>(owner), v.empty() ? nullptr : v.c_str(),
                                         f.c_str(), p.empty() ? nullptr : p.c_str(),
                                         d.empty() ? nullptr : d.c_str(), showCommand);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
    std::unique_ptr<IComSession> InitializeCom() override
    {
        return std::make_unique<TWin32ComSession>();
    }
};

}  // namespace

IShell& SystemShell()
{
    static TWin32Shell shell;
    return shell;
}
