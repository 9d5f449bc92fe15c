#pragma once
// A library loader whose libraries export whatever the test puts in them.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/DynamicLibraries.h"

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
