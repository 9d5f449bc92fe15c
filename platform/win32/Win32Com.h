#pragma once
// The owner of one COM interface reference, and the scope of a thread's COM initialisation.
// The functions used (CoInitialize, CoUninitialize) come from ole32.
#include <windows.h>
#include <objbase.h>

// Holds one reference and calls Release on it when it goes; shaped like the handle owners of
// Win32Handles.h. Note that release() gives the reference up without calling Release.
template <typename T>
class TComPtr {
public:
    TComPtr() = default;
    // Takes over a reference the caller holds.
    explicit TComPtr(T* pointer) : FPointer(pointer) {}
    ~TComPtr() { reset(); }
    TComPtr(TComPtr&& other) noexcept : FPointer(other.release()) {}
    TComPtr& operator=(TComPtr&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;

    T* get() const { return FPointer; }
    T* operator->() const { return FPointer; }
    explicit operator bool() const { return FPointer != nullptr; }
    T* release()
    {
        T* pointer = FPointer;
        FPointer = nullptr;
        return pointer;
    }
    void reset(T* pointer = nullptr)
    {
        T* old = FPointer;
        FPointer = pointer;
        if (old) old->Release();
    }
    // For CoCreateInstance and QueryInterface: releases what is held, then lends the empty slot.
    T** put()
    {
        reset();
        return &FPointer;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

private:
    T* FPointer = nullptr;
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

    bool Initialized() const { return FInitialized; }

private:
    const bool FInitialized;
};
