#pragma once
// The tools unit of the dialer sweep: the startup inventory, the dialer test, the file lists,
// the walk over the running processes and removal with quarantine copies.
#include "common/StrUtils.h"  // IsDigits, used to validate telephone numbers
#include "dialers/FileSearch.h"
#include "dialers/ExecutableChecks.h"
#include "dialers/RegistryAccess.h"
#include "dialers/Removal.h"
#include "dialers/RunningProcesses.h"
#include "dialers/StartupFiles.h"
#include "dialers/ToolsPorts.h"
