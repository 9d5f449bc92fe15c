#pragma once
// An in-memory registry. Keys and value names compare without regard to ASCII case, as the
// registry's do, and keep the spelling they were created with; values keep the order in which they were first written, which is the order a
// real registry enumerates a freshly written key in. With views on, it is the registry a
// 32-bit program sees on 64-bit Windows: the machine's keys of the 64-bit view are apart from
// those of its own (32-bit) view; the user's keys are shared.
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

    std::unique_ptr<IRegistryKey> OpenKey(TRegRoot root, const std::string& path, TRegAccess access,
                                          TRegView view = TRegView::Own) override;
    std::unique_ptr<IRegistryKey> CreateKey(TRegRoot root, const std::string& path,
                                            TRegView view = TRegView::Own) override;
    bool DeleteKey(TRegRoot root, const std::string& path) override;
    bool HasViews() override { return Views; }

    // Test set-up and inspection.
    bool Views = false;
    void SetValue(TRegRoot root, const std::string& path, const std::string& name,
                  const TRegValue& value, TRegView view = TRegView::Own);
    bool HasKey(TRegRoot root, const std::string& path) const;
    // nullptr when the key or the value is missing.
    const TRegValue* Value(TRegRoot root, const std::string& path, const std::string& name,
                           TRegView view = TRegView::Own) const;
    // The key opens for reading only, as a key without the right to change it does; creating
    // it fails too. It need not exist yet.
    void DenyFullAccess(TRegRoot root, const std::string& path, TRegView view = TRegView::Own);
    // The key opens with full access, but every write and deletion of a value in it fails.
    void RefuseWrites(TRegRoot root, const std::string& path);

private:
    // Root, whether the key lies in the machine's 64-bit view, and the lower-cased path.
    struct TKeyId {
        TRegRoot Root;
        bool Other;
        std::string Path;
        bool operator<(const TKeyId& o) const
        {
            if (Root != o.Root) return Root < o.Root;
            if (Other != o.Other) return Other < o.Other;
            return Path < o.Path;
        }
        bool SameTree(const TKeyId& o) const { return Root == o.Root && Other == o.Other; }
    };
    TKeyId Id(TRegRoot root, const std::string& path, TRegView view = TRegView::Own) const;
    void AddKey(const TKeyId& id, const std::string& path);

    std::map<TKeyId, std::shared_ptr<TKeyData>> FKeys;
    std::set<TKeyId> FReadOnly, FRefusingWrites;
};
