#include <windows.h>

#include "platform/DynamicLibraries.h"

namespace {

// The ANSI functions on purpose: the names are ASCII library and export names.
class TWin32Libraries : public IDynamicLibraries {
public:
    THandle Load(const std::string& name) override { return LoadLibraryA(name.c_str()); }
    void* Lookup(THandle library, const std::string& name) override
    {
        if (!library) return nullptr;
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
    }
    void Free(THandle library) override
    {
        if (library) FreeLibrary(static_cast<HMODULE>(library));
    }
};

}  // namespace

IDynamicLibraries& SystemLibraries()
{
    static TWin32Libraries libraries;
    return libraries;
}
