// The shell's verbs and its shell-link object, for reading shortcuts through the port and for
// writing the setup's.
#include "platform/win32/ShellWin32.h"

#include <utility>

#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/Shell.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/WinTextSystem.h"

namespace {

class TWin32ShellLink : public IShellLinkObject {
public:
    explicit TWin32ShellLink(TShellLinkU link) : FLink(std::move(link)) {}
    bool Load(const std::string& path) override { return FLink.Load(path); }
    bool GetPath(std::string& target) override { return FLink.GetPath(target); }

private:
    TShellLinkU FLink;
};

class TWin32ComSession : public IComSession {
public:
    std::unique_ptr<IShellLinkObject> CreateShellLink() override
    {
        TShellLinkU link;
        if (!link.Create()) return nullptr;
        if (!link.HasFile()) throw Exception("Interface not supported");
        return std::make_unique<TWin32ShellLink>(std::move(link));
    }

private:
    TComApartment FApartment;
};

class TWin32Shell : public IShell {
public:
    bool Execute(void* owner, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& folder, int showCommand) override
    {
        return ShellExecuteU(static_cast<HWND>(owner), verb, file, parameters, folder, showCommand);
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

bool CreateShortcutFile(const std::string& link, const std::string& target)
{
    TComApartment com;
    TShellLinkU shellLink;
    // The target's folder without its final backslash, unless it is a drive's root.
    std::string folder = ExtractFilePath(target);
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return shellLink.Create() && shellLink.SetPath(target) &&
           shellLink.SetWorkingDirectory(folder) && shellLink.Save(link);
}
