#pragma once
// Port: the shell's verbs (ShellExecute).
#include <string>

class IShell {
public:
    virtual ~IShell() = default;
    // Asks the shell to apply a verb ("open") to a file. owner is the window that owns any
    // message the shell shows (an HWND on Win32, nullptr for none). True when the shell reported
    // success.
    virtual bool Execute(void* owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& folder,
                         int showCommand) = 0;
};

IShell& SystemShell();
