#pragma once
// Port: loading a library by name and looking up its exports by name. The RAS binding goes
// through it so that the program never links the RAS libraries at build time.
#include <string>

class IDynamicLibraries {
public:
    using THandle = void*;
    virtual ~IDynamicLibraries() = default;
    // Loads the library; nullptr when it cannot be loaded.
    virtual THandle Load(const std::string& name) = 0;
    // Address of the named export; nullptr when the library has none of that name.
    virtual void* Lookup(THandle library, const std::string& name) = 0;
    virtual void Free(THandle library) = 0;
};

// The platform's real loader (LoadLibraryA/GetProcAddress on Win32, dlopen on Linux).
IDynamicLibraries& SystemLibraries();
