#pragma once
// The program's own auto-start value in the Run keys: written and deleted without reading what
// else the keys start, so that a program that only registers itself (the setup) needs none of
// the dialer inventory.
#include <string>
#include <vector>

#include "platform/Registry.h"

// Where the auto-start entries live, under the machine's root and under the user's.
extern const char kRunKey[];

// One Run key: the machine's in one of its views, or the user's.
struct TRunKey {
    TRegRoot Root = TRegRoot::LocalMachine;
    TRegView View = TRegView::Own;
};

// The Run keys Windows starts programs from, in the order the inventory reads them: the
// machine's, in its other view as well where it has two, then the user's. A 32-bit program on
// 64-bit Windows sees only the 32-bit view of the machine's key unless it asks, while Windows
// starts the programs of both.
std::vector<TRunKey> RunKeys(IRegistry& registry);

// Where WriteRunValue stored a value.
enum class TRunValueWritten { Nowhere, AllUsers, CurrentUser };

// Whom an installation is for. The NT family installs for the user alone, without asking for
// an administrator. The Windows 95 family has no per-user program folders by default, and its
// Add/Remove Programs reads only the machine's Uninstall key: there the installation is the
// machine's. The setup installs by this rule and the guard starts itself with Windows by it, so
// that the two agree on whose Run key starts it.
enum class TInstallScope { PerUser, PerMachine };
TInstallScope InstallScopeFor(bool windows95Family);

// Stores name=value as a string under the machine's Run key, creating the key if needed, or,
// when that key may not be changed, under the user's. A machine's key that already holds
// exactly this value counts as written. Nothing is written for an empty name or value.
TRunValueWritten WriteRunValue(IRegistry& registry, const std::string& name,
                               const std::string& value);
// Stores name=value under the user's own Run key alone, for a program installed for that user:
// the machine's key would start it for every user. False for an empty name or value.
bool WriteUserRunValue(IRegistry& registry, const std::string& name, const std::string& value);
// Stores the program's own value where an installation of that scope starts it: per user under
// the user's key alone (WriteUserRunValue), per machine as WriteRunValue does.
TRunValueWritten WriteScopedRunValue(IRegistry& registry, TInstallScope scope,
                                     const std::string& name, const std::string& value);
// Deletes the value of that name from every Run key (RunKeys) that holds it, where the user
// may: a value is deleted in the view it is seen in. True when at least one Run key can be read
// and none still holds text under the name; false for an empty name.
bool DeleteRunValue(IRegistry& registry, const std::string& name);
