#pragma once
// Port: the shell's verbs (ShellExecute) and its shell-link object (".lnk" shortcuts over COM).
#include <memory>
#include <string>

// One shell-link object of the shell (CLSID_ShellLink, reached through IShellLink and its
// IPersistFile). It is released when destroyed.
class IShellLinkObject {
public:
    virtual ~IShellLinkObject() = default;
    // Loads a shortcut file, sharing it with everyone (IPersistFile::Load, STGM_SHARE_DENY_NONE).
    // False when it cannot be loaded.
    virtual bool Load(const std::string& path) = 0;
    // The path of the loaded shortcut's target, a UNC name preferred (IShellLink::GetPath,
    // SLGP_UNCPRIORITY). False when it cannot be read or the shortcut names no file.
    virtual bool GetPath(std::string& target) = 0;
};

// COM initialised for the calling thread, in the single-threaded apartment, for as long as the
// session lives. Objects created through it must be released before it ends.
class IComSession {
public:
    virtual ~IComSession() = default;
    // A new shell-link object; nullptr when the object cannot be created. An object that does
    // not offer IPersistFile raises Exception("Interface not supported").
    virtual std::unique_ptr<IShellLinkObject> CreateShellLink() = 0;
};

class IShell {
public:
    virtual ~IShell() = default;
    // Asks the shell to apply a verb ("open") to a file. owner is the window that owns any
    // message the shell shows (an HWND on Win32, nullptr for none). True when the shell reported
    // success.
    virtual bool Execute(void* owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& folder,
                         int showCommand) = 0;
    // Initialises COM for the calling thread until the session is destroyed.
    virtual std::unique_ptr<IComSession> InitializeCom() = 0;
};

IShell& SystemShell();
