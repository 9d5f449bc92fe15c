#pragma once
// What the programs do with the shell beyond its port: the setup writes the one shortcut it
// installs through the same shell-link object with which the guard and the uninstaller read them.
#include <string>

// Writes a shortcut file (".lnk") to target, starting in target's folder, with COM initialised
// on the calling thread for as long as it takes. False when the shell cannot make or save it.
bool CreateShortcutFile(const std::string& link, const std::string& target);
