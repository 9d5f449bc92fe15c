#pragma once
// The uninstaller's run: find the package, ask the user, uninstall.
#include <string>

#include "common/TextTable.h"
#include "uninstall/UninstallPorts.h"

// One run, its boxes in the language. Shows nothing when there is no package or its log does not parse (the reader has
// said so already), asks before removing anything, and removes only on Yes. Errors of the
// log's vocabulary and of writing the removal batch are raised.
bool RunUninstall(const TUninstallPorts& ports, TLanguage language);

// The program: RunUninstall in the language of the system's locale, an error that reaches the top shown
// in an error box. The process's exit code: 0 on every normal end, 1 after an error.
int UninstallProgram(const TUninstallPorts& ports, uint32_t systemLcid);
