#pragma once
// Owners of the Win32 handles that must be given back. Each closes what it holds when it goes
// out of scope, so every early return and every exception closes what was opened.
//
// They are shaped like std::unique_ptr: move-only, get(), release() (give up without closing),
// reset() (close now, optionally take another), and put() for functions that hand a new handle
// out through a pointer (RegOpenKeyEx and the like):
//
//     TRegKeyHandle key;
//     if (RegOpenKeyExW(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
//
// Only what the program made is given to an owner: stock GDI objects, the predefined registry
// roots, icons loaded as shared resources and the menu bar of a window (destroyed with it) are
// lent by the system and must stay unowned.
#include <windows.h>

template <typename Traits>
class TUniqueHandle {
public:
    using THandleType = typename Traits::THandleType;

    TUniqueHandle() = default;
    explicit TUniqueHandle(THandleType handle) : FHandle(handle) {}
    ~TUniqueHandle() { reset(); }
    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;

    THandleType get() const { return FHandle; }
    explicit operator bool() const { return !Traits::IsEmpty(FHandle); }
    // The caller owns the handle from now on.
    THandleType release()
    {
        THandleType handle = FHandle;
        FHandle = Traits::Empty();
        return handle;
    }
    void reset(THandleType handle = Traits::Empty())
    {
        THandleType old = FHandle;
        FHandle = handle;
        if (!Traits::IsEmpty(old)) Traits::Close(old);
    }
    // Closes what is held, then lends the empty slot for the call to fill.
    THandleType* put()
    {
        reset();
        return &FHandle;
    }

private:
    THandleType FHandle = Traits::Empty();
};

// Most handle kinds use NULL for "none".
template <typename H>
struct TNullMeansNone {
    using THandleType = H;
    static H Empty() { return nullptr; }
    static bool IsEmpty(H handle) { return handle == nullptr; }
};

// Files, processes, threads, events, snapshots. The creating functions disagree on their failure
// value (CreateFile gives INVALID_HANDLE_VALUE, most others NULL), so both mean "none"; the
// all-bits-set value is otherwise only the current process's pseudo-handle, never closed.
struct TKernelHandleTraits {
    using THandleType = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static bool IsEmpty(HANDLE handle)
    {
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

// FindFirstFile fails with INVALID_HANDLE_VALUE.
struct TFindHandleTraits {
    using THandleType = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(HANDLE handle)
    {
        return handle == INVALID_HANDLE_VALUE || handle == nullptr;
    }
    static void Close(HANDLE handle) { FindClose(handle); }
};

struct TRegKeyTraits : TNullMeansNone<HKEY> {
    static void Close(HKEY key) { RegCloseKey(key); }
};

// Fonts, bitmaps, brushes, pens and regions the program created. DeleteObject fails on one that
// is still selected into a device context: select the old object back first.
template <typename H>
struct TGdiObjectTraits : TNullMeansNone<H> {
    static void Close(H object) { DeleteObject(object); }
};

// A menu of no window (a popup, such as the notification-area menu).
struct TMenuTraits : TNullMeansNone<HMENU> {
    static void Close(HMENU menu) { DestroyMenu(menu); }
};

// An icon made with CreateIcon, LoadImage without LR_SHARED or ExtractIcon.
struct TIconTraits : TNullMeansNone<HICON> {
    static void Close(HICON icon) { DestroyIcon(icon); }
};

// A window that no parent destroys (top-level or message-only), destroyed by the thread that
// created it, as DestroyWindow requires. A child window goes with its parent and needs no owner.
struct TWindowTraits : TNullMeansNone<HWND> {
    // A window may already be gone with its owner; a handle that no longer names a window is
    // left alone rather than destroyed twice.
    static void Close(HWND window)
    {
        if (IsWindow(window)) DestroyWindow(window);
    }
};

using TKernelHandle = TUniqueHandle<TKernelHandleTraits>;
using TFindHandle = TUniqueHandle<TFindHandleTraits>;
using TRegKeyHandle = TUniqueHandle<TRegKeyTraits>;
template <typename H>
using TGdiHandle = TUniqueHandle<TGdiObjectTraits<H>>;
using TFontHandle = TGdiHandle<HFONT>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TMenuHandle = TUniqueHandle<TMenuTraits>;
using TIconHandle = TUniqueHandle<TIconTraits>;
using TWindowHandle = TUniqueHandle<TWindowTraits>;
