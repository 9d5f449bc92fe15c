// The C++ runtime's own locks (libgcc's gthr-win32) make their semaphores with CreateSemaphoreW,
// which the Windows 95 family has only as a stub that fails: a lock that two threads ever
// contend for would then fail there. Every shipped program links this object, whose
// definition of the import's address takes the place of the one from kernel32's import
// library, so the runtime's calls come here instead.
#include <windows.h>

namespace {

using TCreateSemaphoreW = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);

HANDLE WINAPI CreateSemaphoreAnySystem(LPSECURITY_ATTRIBUTES attributes, LONG initial,
                                       LONG maximum, LPCWSTR name)
{
    // The runtime's semaphores have no name, and a nameless one is the same in either form.
    if (!name) return CreateSemaphoreA(attributes, initial, maximum, nullptr);
    // Never called by name here: the wide function itself is not imported, since its import
    // would clash with the address defined below.
    const auto wide = reinterpret_cast<TCreateSemaphoreW>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSemaphoreW")));
    return wide ? wide(attributes, initial, maximum, name) : nullptr;
}

}  // namespace

extern "C" {
// The import's address slot as the runtime's objects name it (a stdcall function of 16 bytes of
// arguments, with the import prefix).
TCreateSemaphoreW lwCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16") =
        CreateSemaphoreAnySystem;
}
