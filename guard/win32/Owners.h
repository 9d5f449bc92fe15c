#pragma once
// Owners of the Win32 objects that the guard's windows create. Each frees its object once, when
// it goes, so that no early return or exception leaks a GDI object, icon, menu, window or
// kernel handle. Child windows need none: their parent destroys them with itself.
#include <windows.h>

template <typename T, typename Traits>
class TOwner {
public:
    TOwner() = default;
    explicit TOwner(T value) : FValue(value) {}
    ~TOwner() { Reset(); }
    TOwner(TOwner&& other) noexcept : FValue(other.Release()) {}
    TOwner& operator=(TOwner&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TOwner(const TOwner&) = delete;
    TOwner& operator=(const TOwner&) = delete;

    T Get() const { return FValue; }
    explicit operator bool() const { return FValue != nullptr; }
    T Release()
    {
        T value = FValue;
        FValue = nullptr;
        return value;
    }
    void Reset(T value = nullptr)
    {
        if (FValue != nullptr) Traits::Free(FValue);
        FValue = value;
    }

private:
    T FValue = nullptr;
};

struct TGdiObjectTraits {
    static void Free(HGDIOBJ object) { DeleteObject(object); }
};
struct TIconTraits {
    static void Free(HICON icon) { DestroyIcon(icon); }
};
struct TMenuTraits {
    static void Free(HMENU menu) { DestroyMenu(menu); }
};
struct TWindowTraits {
    // A top-level window may already be gone with its owner; destroying it twice is harmless
    // only while the handle has not been reused, hence the check.
    static void Free(HWND window)
    {
        if (IsWindow(window)) DestroyWindow(window);
    }
};
struct TKernelHandleTraits {
    static void Free(HANDLE handle) { CloseHandle(handle); }
};

using TFontOwner = TOwner<HFONT, TGdiObjectTraits>;
using TBrushOwner = TOwner<HBRUSH, TGdiObjectTraits>;
using TIconOwner = TOwner<HICON, TIconTraits>;
using TMenuOwner = TOwner<HMENU, TMenuTraits>;
using TWindowOwner = TOwner<HWND, TWindowTraits>;
using THandleOwner = TOwner<HANDLE, TKernelHandleTraits>;

// A window's device context for the length of a scope.
class TWindowDc {
public:
    explicit TWindowDc(HWND window) : FWindow(window), FDc(GetDC(window)) {}
    ~TWindowDc()
    {
        if (FDc) ReleaseDC(FWindow, FDc);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Get() const { return FDc; }

private:
    HWND FWindow;
    HDC FDc;
};

// An object selected into a device context for the length of a scope.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) : FDc(dc), FOld(SelectObject(dc, object)) {}
    ~TSelection() { SelectObject(FDc, FOld); }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC FDc;
    HGDIOBJ FOld;
};
