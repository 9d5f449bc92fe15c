#pragma once
// An in-memory registry. Keys and value names compare without regard to ASCII case, as the
// registry's do, and keep the spelling they were created with; values keep the order in which they were first written, which is the order a
// real registry enumerates a freshly written key in.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

class TMemoryRegistry : public IRegistry {
public:
    struct TKeyData {
        std::string Name;  // the last part of the path, spelled as it was created
        std::vector<std::pair<std::string, TRegValue>> Values;
    };

    std::unique_ptr<IRegistryKey> OpenKey(TRegRoot root, const std::string& path,
                                          TRegAccess access) override;
    std::unique_ptr<IRegistryKey> CreateKey(TRegRoot root, const std::string& path) override;
    bool DeleteKey(TRegRoot root, const std::string& path) override;

    // Test set-up and inspection.
    void SetValue(TRegRoot root, const std::string& path, const std::string& name,
                  const TRegValue& value);
    bool HasKey(TRegRoot root, const std::string& path) const;
    // nullptr when the key or the value is missing.
    const TRegValue* Value(TRegRoot root, const std::string& path, const std::string& name) const;
    // The key opens for reading only, as a key without the right to change it does; creating
    // it fails too. It need not exist yet.
    void DenyFullAccess(TRegRoot root, const std::string& path);
    // The key opens with full access, but every write and deletion of a value in it fails.
    void RefuseWrites(TRegRoot root, const std::string& path);

private:
    using TKeyId = std::pair<TRegRoot, std::string>;
    static TKeyId Id(TRegRoot root, const std::string& path);
    void AddKey(TRegRoot root, const std::string& path);

    std::map<TKeyId, std::shared_ptr<TKeyData>> FKeys;
    std::set<TKeyId> FReadOnly, FRefusingWrites;
};
