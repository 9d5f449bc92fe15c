#pragma once
// The owner of one COM interface reference, and the scope of a thread's COM initialisation.
// The functions used (CoInitialize, CoUninitialize) come from ole32.
#include <windows.h>
#include <objbase.h>

#include "platform/win32/Win32Handles.h"

template <typename T>
struct TComReferenceTraits : TNullMeansNone<T*> {
    static void Close(T* pointer) { pointer->Release(); }
};

// Holds one reference and calls Release on it when it goes: a handle owner of Win32Handles.h
// with the interface's members at hand. Note that release() gives the reference up without
// calling Release.
template <typename T>
class TComPtr : public TUniqueHandle<TComReferenceTraits<T>> {
public:
    // Taking a pointer takes over a reference the caller holds.
    using TUniqueHandle<TComReferenceTraits<T>>::TUniqueHandle;

    T* operator->() const { return this->get(); }
    // For CoCreateInstance and QueryInterface: releases what is held, then lends the empty slot.
    void** put_void() { return reinterpret_cast<void**>(this->put()); }
};

// CoInitialize for the life of the scope. Every successful call, S_FALSE for a thread that was
// initialised already included, is balanced by one CoUninitialize. A thread already in the
// multi-threaded apartment keeps it (RPC_E_CHANGED_MODE): COM is usable there all the same,
// but that initialisation is not ours to undo.
class TComApartment {
public:
    TComApartment() : FInitialized(SUCCEEDED(CoInitialize(nullptr))) {}
    ~TComApartment()
    {
        if (FInitialized) CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    const bool FInitialized;
};
