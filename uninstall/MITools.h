#pragma once
// Registry key paths as the uninstall log writes them: a root name (long, as HKEY_LOCAL_MACHINE,
// or short, as HKLM, in any letter case), optionally after one backslash, then the path below.
#include <string>

#include "platform/Registry.h"

// The seven predefined roots a key path may name. The registry port reaches all of them but
// the performance-data root, which holds no keys an installation could have written.
enum class TRootKey {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
    PerformanceData,
    CurrentConfig,
    DynData,
};

// The root named by a key path. Exception "Cannot extract registry root from empty Key" or
// "Unknown registry root of Key %s" (the upper-cased root name).
TRootKey RegistryRootOf(const std::string& key);
// The path below the root, from its first backslash on and in its letter case ("" when the
// key names only a root). Exception "Cannot extract registry KeyName from empty Key".
std::string RegistryKeyNameOf(const std::string& key);
// The registry port's root; false for the performance-data root, which the port lacks.
bool RegRootOf(TRootKey root, TRegRoot& result);
