#include "dialup/RasBinding.h"

#include "common/Errors.h"

namespace {

const char* const kPrimaryLibrary = "rasapi32.dll";
const char* const kFallbackLibrary = "rnaph.dll";

[[noreturn]] void FunctionNotFound(const std::string& name)
{
    throw Exception("Function " + name + " not found!");
}

}  // namespace

TRasBinding::TRasBinding(IDynamicLibraries& libraries) : FLibraries(libraries) {}

TRasBinding::~TRasBinding()
{
    if (FRasLoaded && FRasFallback) FLibraries.Free(FRasLibrary);
}

void* TRasBinding::Resolve(const std::string& name)
{
    // The user-interface thread is the only caller in the guard; the lock only keeps a stray
    // second caller from seeing a half-made binding.
    TLockGuard guard(FLock);
    if (!FRasLoaded) return ResolveFirst(name);

    void* fn = FRasFallback ? FLibraries.Lookup(FRasLibrary, name) : LookupPreferringAnsi(name);
    if (!fn) FunctionNotFound(name);
    return fn;
}

void* TRasBinding::LookupPreferringAnsi(const std::string& name)
{
    void* fn = FLibraries.Lookup(FRasLibrary, name + "A");
    return fn ? fn : FLibraries.Lookup(FRasLibrary, name);
}

void* TRasBinding::ResolveFirst(const std::string& name)
{
    FRasLibrary = FLibraries.Load(kPrimaryLibrary);
    if (!FRasLibrary) throw Exception("Error opening rasapi.dll");

    if (void* fn = LookupPreferringAnsi(name)) {
        FRasLoaded = true;
        return fn;
    }

    // The primary library stays loaded while the fallback serves: it is released with the
    // process, like the primary library of a normal binding.
    IDynamicLibraries::THandle primary = FRasLibrary;
    FRasLibrary = FLibraries.Load(kFallbackLibrary);
    if (!FRasLibrary) {
        // Nothing was bound, so the next call starts from the beginning; drop what this
        // attempt loaded rather than pile up a reference per failed call.
        FLibraries.Free(primary);
        throw Exception("Error opening rnaph.dll");
    }
    if (void* fn = FLibraries.Lookup(FRasLibrary, name)) {
        FRasLoaded = true;
        FRasFallback = true;
        return fn;
    }
    FLibraries.Free(FRasLibrary);
    FLibraries.Free(primary);
    FRasLibrary = nullptr;
    FunctionNotFound(name);
}

IDynamicLibraries::THandle TRasBinding::RasLibrary() const
{
    TLockGuard guard(FLock);
    return FRasLibrary;
}

bool TRasBinding::RasLoaded() const
{
    TLockGuard guard(FLock);
    return FRasLoaded;
}

bool TRasBinding::RasFallback() const
{
    TLockGuard guard(FLock);
    return FRasFallback;
}

TRasBinding& RasBinding()
{
    static TRasBinding binding(SystemLibraries());
    return binding;
}
