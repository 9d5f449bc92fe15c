// The shell's verbs over ShellExecuteW.
#include <windows.h>
#include <shellapi.h>

#include "platform/Shell.h"
#include "platform/win32/Win32Text.h"

namespace {

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
};

}  // namespace

IShell& SystemShell()
{
    static TWin32Shell shell;
    return shell;
}
