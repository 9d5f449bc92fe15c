#include "support/MemoryRegistry.h"

#include "common/StrUtils.h"

namespace {

class TMemoryKey : public IRegistryKey {
public:
    TMemoryKey(std::shared_ptr<TMemoryRegistry::TKeyData> data, std::vector<std::string> subKeys,
               bool writable)
        : FData(std::move(data)), FSubKeys(std::move(subKeys)), FWritable(writable)
    {
    }
    std::vector<std::string> SubKeyNames() override { return FSubKeys; }
    std::vector<std::string> ValueNames() override
    {
        std::vector<std::string> names;
        for (auto& v : FData->Values) names.push_back(v.first);
        return names;
    }
    bool ValueExists(const std::string& name) override { return Find(name) != nullptr; }
    bool ReadValue(const std::string& name, TRegValue& value) override
    {
        const TRegValue* found = Find(name);
        if (!found) return false;
        value = *found;
        return true;
    }
    bool WriteValue(const std::string& name, const TRegValue& value) override
    {
        if (!FWritable) return false;
        if (TRegValue* found = Find(name))
            *found = value;
        else
            FData->Values.emplace_back(name, value);
        return true;
    }
    bool DeleteValue(const std::string& name) override
    {
        if (!FWritable) return false;
        auto& values = FData->Values;
        for (auto it = values.begin(); it != values.end(); ++it)
            if (SameText(it->first, name)) {
                values.erase(it);
                return true;
            }
        return false;
    }

private:
    TRegValue* Find(const std::string& name)
    {
        for (auto& v : FData->Values)
            if (SameText(v.first, name)) return &v.second;
        return nullptr;
    }

    std::shared_ptr<TMemoryRegistry::TKeyData> FData;
    std::vector<std::string> FSubKeys;
    bool FWritable;
};

std::string CleanPath(const std::string& path)
{
    std::string p = path;
    while (!p.empty() && p.front() == '\\') p.erase(0, 1);
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

}  // namespace

TMemoryRegistry::TKeyId TMemoryRegistry::Id(TRegRoot root, const std::string& path,
                                            TRegView view) const
{
    const bool other = Views && root == TRegRoot::LocalMachine && view == TRegView::Bits64;
    return {root, other, LowerCase(CleanPath(path))};
}

std::unique_ptr<IRegistryKey> TMemoryRegistry::OpenKey(TRegRoot root, const std::string& path,
                                                       TRegAccess access, TRegView view)
{
    TKeyId id = Id(root, path, view);
    auto it = FKeys.find(id);
    if (it == FKeys.end()) return nullptr;
    bool readOnly = FReadOnly.count(id) != 0;
    if (readOnly && access == TRegAccess::Full) return nullptr;
    std::vector<std::string> subKeys;
    std::string prefix = id.Path + "\\";
    for (auto& k : FKeys)
        if (k.first.SameTree(id) && k.first.Path.compare(0, prefix.size(), prefix) == 0 &&
            k.first.Path.find('\\', prefix.size()) == std::string::npos)
            subKeys.push_back(k.second->Name);
    // A key opened for reading cannot be changed through, as a KEY_READ handle cannot.
    const bool writable = access == TRegAccess::Full && FRefusingWrites.count(id) == 0;
    return std::make_unique<TMemoryKey>(it->second, subKeys, writable);
}

std::unique_ptr<IRegistryKey> TMemoryRegistry::CreateKey(TRegRoot root, const std::string& path,
                                                         TRegView view)
{
    std::string clean = CleanPath(path);
    if (clean.empty() || FReadOnly.count(Id(root, clean, view)) != 0) return nullptr;
    // Parents first, as the registry creates them.
    for (size_t pos = clean.find('\\'); pos != std::string::npos; pos = clean.find('\\', pos + 1))
        AddKey(Id(root, clean.substr(0, pos), view), clean.substr(0, pos));
    AddKey(Id(root, clean, view), clean);
    return OpenKey(root, clean, TRegAccess::Full, view);
}

void TMemoryRegistry::AddKey(const TKeyId& id, const std::string& path)
{
    auto added = FKeys.emplace(id, std::make_shared<TKeyData>());
    if (added.second) added.first->second->Name = path.substr(path.rfind('\\') + 1);
}

bool TMemoryRegistry::DeleteKey(TRegRoot root, const std::string& path)
{
    TKeyId id = Id(root, path);
    const std::string prefix = id.Path + "\\";
    for (auto& k : FKeys)
        if (k.first.SameTree(id) && k.first.Path.compare(0, prefix.size(), prefix) == 0)
            return false;  // a key with subkeys stays, as the registry keeps it
    FKeys.erase(id);
    return true;
}

void TMemoryRegistry::SetValue(TRegRoot root, const std::string& path, const std::string& name,
                               const TRegValue& value, TRegView view)
{
    // The set-up writes past the key's refusals, as an administrator would.
    const TKeyId id = Id(root, path, view);
    const bool readOnly = FReadOnly.erase(id) != 0, refusing = FRefusingWrites.erase(id) != 0;
    CreateKey(root, path, view)->WriteValue(name, value);
    if (readOnly) FReadOnly.insert(id);
    if (refusing) FRefusingWrites.insert(id);
}

bool TMemoryRegistry::HasKey(TRegRoot root, const std::string& path) const
{
    return FKeys.count(Id(root, path)) != 0;
}

const TRegValue* TMemoryRegistry::Value(TRegRoot root, const std::string& path,
                                        const std::string& name, TRegView view) const
{
    auto it = FKeys.find(Id(root, path, view));
    if (it == FKeys.end()) return nullptr;
    for (auto& v : it->second->Values)
        if (SameText(v.first, name)) return &v.second;
    return nullptr;
}

void TMemoryRegistry::DenyFullAccess(TRegRoot root, const std::string& path, TRegView view)
{
    FReadOnly.insert(Id(root, path, view));
}

void TMemoryRegistry::RefuseWrites(TRegRoot root, const std::string& path)
{
    FRefusingWrites.insert(Id(root, path));
}
