#pragma once
// The registry as the tools unit uses it: one root, at most one open key at a time, strings
// read and written by value name. A key is opened for reading wherever its values are only
// looked at, and with full access only to change them; a key that cannot be opened with the
// access asked for is treated as absent.
#include <memory>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "platform/Registry.h"

class TRegistry {
public:
    explicit TRegistry(IRegistry& registry, TRegRoot root = TRegRoot::CurrentUser);

    void SetRootKey(TRegRoot root) { FRoot = root; }
    // The view the keys are opened in from now on (see TRegView); the program's own at first.
    void SetView(TRegView view) { FView = view; }
    // Opens the key under the root with full access (a leading "\" is allowed: paths are always
    // taken from the root), creating it first when canCreate is set. Closes any key opened
    // before. False when the key is absent or cannot be opened so.
    bool OpenKey(const std::string& path, bool canCreate);
    // Opens an existing key for reading only, for values that are only looked at: a key the
    // user may read but not change still counts as present.
    bool OpenKeyReadOnly(const std::string& path);
    void CloseKey() { FKey.reset(); }
    bool KeyIsOpen() const { return FKey != nullptr; }

    // The value names of the open key in the registry's order; empty when no key is open.
    std::vector<std::string> GetValueNames();
    bool ValueExists(const std::string& name);
    // The text of a string or expandable-string value, up to its first NUL (not expanded). A
    // missing value, or one without data, gives "". Any other type with data raises
    // "Invalid data type for '<name>'".
    std::string ReadString(const std::string& name);
    // As ReadString, but a value of any other type gives "": for values that matter only as
    // text and that any program may set to anything, such as Run values.
    std::string ReadStringOrNothing(const std::string& name);
    // Stores a REG_SZ value. False when no key is open or the registry refuses the write.
    bool WriteString(const std::string& name, const std::string& value);
    bool DeleteValue(const std::string& name);

private:
    // The text of a string value with data, "" otherwise; isText is false for a value of another
    // type that carries data.
    std::string ReadText(const std::string& name, bool& isText);

    IRegistry& FRegistry;
    TRegRoot FRoot;
    TRegView FView = TRegView::Own;
    std::unique_ptr<IRegistryKey> FKey;
};
