#pragma once
// Small fakes for the dial-up tests: a registry holding just keys with subkeys and value names,
// and a library loader whose libraries export whatever the test puts in them.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/StrUtils.h"
#include "platform/DynamicLibraries.h"
#include "platform/Registry.h"

class TFakeRegistry : public IRegistry {
public:
    struct TKey {
        std::vector<std::string> SubKeys;
        std::set<std::string> Values;
    };
    void Add(TRegRoot root, const std::string& path, TKey key) { FKeys[{root, path}] = key; }

    std::unique_ptr<IRegistryKey> OpenKey(TRegRoot root, const std::string& path,
                                          TRegAccess) override
    {
        Opened.push_back(path);
        auto it = FKeys.find({root, path});
        if (it == FKeys.end()) return nullptr;
        return std::make_unique<TOpenKey>(it->second);
    }
    std::unique_ptr<IRegistryKey> CreateKey(TRegRoot, const std::string&) override
    {
        return nullptr;
    }
    bool DeleteKey(TRegRoot, const std::string&) override { return false; }

    std::vector<std::string> Opened;

private:
    class TOpenKey : public IRegistryKey {
    public:
        explicit TOpenKey(const TKey& key) : FKey(key) {}
        std::vector<std::string> SubKeyNames() override { return FKey.SubKeys; }
        std::vector<std::string> ValueNames() override
        {
            return {FKey.Values.begin(), FKey.Values.end()};
        }
        bool ValueExists(const std::string& name) override { return FKey.Values.count(name) > 0; }
        bool ReadValue(const std::string&, TRegValue&) override { return false; }
        bool WriteValue(const std::string&, const TRegValue&) override { return false; }
        bool DeleteValue(const std::string&) override { return false; }

    private:
        TKey FKey;
    };
    std::map<std::pair<TRegRoot, std::string>, TKey> FKeys;
};

class TFakeLibraries : public IDynamicLibraries {
public:
    // A library of that name that can be loaded, with the given exports.
    void Add(const std::string& library, std::map<std::string, void*> exports)
    {
        FLibraries[library].Exports = std::move(exports);
        FLibraries[library].Name = library;
    }

    THandle Load(const std::string& name) override
    {
        Loads.push_back(name);
        auto it = FLibraries.find(name);
        if (it == FLibraries.end()) return nullptr;
        ++it->second.References;
        return &it->second;
    }
    void* Lookup(THandle library, const std::string& name) override
    {
        auto* lib = static_cast<TLibrary*>(library);
        if (!lib) return nullptr;
        Lookups.push_back(lib->Name + ":" + name);
        auto it = lib->Exports.find(name);
        return it == lib->Exports.end() ? nullptr : it->second;
    }
    void Free(THandle library) override
    {
        auto* lib = static_cast<TLibrary*>(library);
        if (!lib) return;
        Frees.push_back(lib->Name);
        --lib->References;
    }

    THandle Handle(const std::string& library) { return &FLibraries.at(library); }
    int References(const std::string& library) { return FLibraries.at(library).References; }

    std::vector<std::string> Loads, Lookups, Frees;

private:
    struct TLibrary {
        std::string Name;
        std::map<std::string, void*> Exports;
        int References = 0;
    };
    std::map<std::string, TLibrary> FLibraries;
};
