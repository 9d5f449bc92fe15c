#include "dialers/RunValue.h"

#include "dialers/RegistryAccess.h"

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {

// Stores the value under root's Run key. A key the user may not change that already holds this
// very value (written while the program ran with an administrator's rights) starts the program
// as well, and writing it again under the user's key would start it twice.
bool StoreRunValue(IRegistry& registry, TRegRoot root, const std::string& name,
                   const std::string& value)
{
    TRegistry run(registry, root);
    if (run.OpenKey(kRunKey, true) && run.WriteString(name, value)) return true;
    return run.OpenKeyReadOnly(kRunKey) && run.ReadStringOrNothing(name) == value;
}

}  // namespace

std::vector<TRunKey> RunKeys(IRegistry& registry)
{
    std::vector<TRunKey> keys{{TRegRoot::LocalMachine, TRegView::Own}};
    if (registry.HasViews()) keys.push_back({TRegRoot::LocalMachine, TRegView::Bits64});
    keys.push_back({TRegRoot::CurrentUser, TRegView::Own});
    return keys;
}

TRunValueWritten WriteRunValue(IRegistry& registry, const std::string& name,
                               const std::string& value)
{
    if (name.empty() || value.empty()) return TRunValueWritten::Nowhere;
    // The machine's key starts the program for every user; a standard user may not change it,
    // and then the user's own key still starts it for that user.
    if (StoreRunValue(registry, TRegRoot::LocalMachine, name, value))
        return TRunValueWritten::AllUsers;
    if (StoreRunValue(registry, TRegRoot::CurrentUser, name, value))
        return TRunValueWritten::CurrentUser;
    return TRunValueWritten::Nowhere;
}

bool WriteUserRunValue(IRegistry& registry, const std::string& name, const std::string& value)
{
    return !name.empty() && !value.empty() &&
           StoreRunValue(registry, TRegRoot::CurrentUser, name, value);
}

TInstallScope InstallScopeFor(bool windows95Family)
{
    return windows95Family ? TInstallScope::PerMachine : TInstallScope::PerUser;
}

TRunValueWritten WriteScopedRunValue(IRegistry& registry, TInstallScope scope,
                                     const std::string& name, const std::string& value)
{
    if (scope == TInstallScope::PerMachine) return WriteRunValue(registry, name, value);
    return WriteUserRunValue(registry, name, value) ? TRunValueWritten::CurrentUser
                                                    : TRunValueWritten::Nowhere;
}

bool DeleteRunValue(IRegistry& registry, const std::string& name)
{
    if (name.empty()) return false;
    bool readable = false, left = false;
    for (const TRunKey& key : RunKeys(registry)) {
        TRegistry run(registry, key.Root);
        run.SetView(key.View);
        if (!run.OpenKeyReadOnly(kRunKey)) continue;
        readable = true;
        if (!run.ValueExists(name)) continue;
        // Write access is asked for only now, and may be refused (the machine's key, for a
        // standard user); the value is then looked at again through a key opened for reading.
        if (run.OpenKey(kRunKey, false)) run.DeleteValue(name);
        if (!run.KeyIsOpen()) run.OpenKeyReadOnly(kRunKey);
        // A value that still holds text still starts its program, whatever the other key
        // holds; one of another type names no program.
        if (!run.ReadStringOrNothing(name).empty()) left = true;
    }
    return readable && !left;
}
