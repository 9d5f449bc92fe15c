#pragma once
// What the setup reaches the machine through. The program entry fills it with the system's
// ports; tests fill it with fakes.
#include <string>

#include "platform/ChildPrograms.h"
#include "platform/CloseRequest.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/LocalTime.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

// The user's shell folders and the making of a shortcut, which only the setup needs.
class ISetupShell {
public:
    virtual ~ISetupShell() = default;
    // The user's local application-data folder, without a final backslash; "" when unknown.
    virtual std::string LocalAppDataFolder() = 0;
    // The machine's Program Files folder, without a final backslash; "" when unknown.
    virtual std::string ProgramFilesFolder() = 0;
    // The user's Programs folder of the Start menu, without a final backslash; "" when unknown.
    virtual std::string ProgramsMenuFolder() = 0;
    // Writes a shortcut file (".lnk") to target, starting in target's folder. False on failure.
    virtual bool CreateShortcut(const std::string& link, const std::string& target) = 0;
};

struct TSetupPorts {
    IFileSystem& Files;
    IRegistry& Registry;
    IProfile& Profile;
    IShell& Shell;
    IProcesses& Processes;
    ILocalTime& Clock;
    ISetupShell& SetupShell;
    // The running programs of an earlier installation, asked to close before their files are
    // replaced.
    TClosePorts Close;
    // The code page the uninstall log is written in: the ANSI one.
    ICodePage& LogCodePage = SystemAnsiCodePage();
};
