#pragma once
// Run-time binding of the RAS library. The guard never links RAS at build time, so that it
// starts on machines of either RAS generation: the 32-bit "rasapi32.dll", or, where that
// library lacks the functions, the older phonebook library "rnaph.dll". The library that
// serves the process is decided by the first name ever resolved and stays bound from then on.
#include <string>

#include "platform/DynamicLibraries.h"
#include "platform/Threads.h"

class TRasBinding {
public:
    explicit TRasBinding(IDynamicLibraries& libraries);
    // Releases the fallback library if it is the one bound; the primary library is left to
    // the operating system.
    ~TRasBinding();
    TRasBinding(const TRasBinding&) = delete;
    TRasBinding& operator=(const TRasBinding&) = delete;

    // Address of the RAS function N: the "A" form (N + "A") is preferred, then N itself; once
    // bound to the fallback library only N is looked up. Never returns nullptr: a missing
    // library or function raises Exception with "Error opening rasapi.dll",
    // "Error opening rnaph.dll" or "Function " + N + " not found!".
    void* Resolve(const std::string& name);

    IDynamicLibraries::THandle RasLibrary() const;
    bool RasLoaded() const;
    bool RasFallback() const;

private:
    void* ResolveFirst(const std::string& name);
    void* LookupPreferringAnsi(const std::string& name);

    IDynamicLibraries& FLibraries;
    mutable TLock FLock;
    IDynamicLibraries::THandle FRasLibrary = nullptr;
    bool FRasLoaded = false;
    bool FRasFallback = false;
};

// The process-wide binding over the platform's real loader.
TRasBinding& RasBinding();
