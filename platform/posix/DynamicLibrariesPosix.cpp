#include "platform/DynamicLibraries.h"

#include <dlfcn.h>

namespace {

class TPosixLibraries : public IDynamicLibraries {
public:
    THandle Load(const std::string& name) override { return dlopen(name.c_str(), RTLD_NOW); }
    void* Lookup(THandle library, const std::string& name) override
    {
        return library ? dlsym(library, name.c_str()) : nullptr;
    }
    void Free(THandle library) override
    {
        if (library) dlclose(library);
    }
};

}  // namespace

IDynamicLibraries& SystemLibraries()
{
    static TPosixLibraries libraries;
    return libraries;
}
