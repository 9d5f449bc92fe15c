#pragma once
// The user's shell folders and shortcuts through the shell's folder query (or, where the shell
// has none, the registry's record of the folders) and its shell-link object.
#include "installer/SetupPorts.h"

class TSetupShellWin32 : public ISetupShell {
public:
    std::string LocalAppDataFolder() override;
    std::string ProgramFilesFolder() override;
    std::string ProgramsMenuFolder() override;
    bool CreateShortcut(const std::string& link, const std::string& target) override;
};
