#pragma once
// Owners of the Win32 objects that the programs' windows create. Each frees its object once,
// when it goes, so that no early return or exception leaks a GDI object, icon, menu, window or
// kernel handle. Child windows need none: their parent destroys them with itself.
#include <windows.h>

#include "platform/win32/Win32Handles.h"

class TWindowDc {
public:
    explicit TWindowDc(HWND window) : FWindow(window), FDc(GetDC(window)) {}
    ~TWindowDc()
    {
        if (FDc) ReleaseDC(FWindow, FDc);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC get() const { return FDc; }

private:
    HWND FWindow;
    HDC FDc;
};

// The painting of one WM_PAINT: BeginPaint now, EndPaint when the scope ends, however it ends.
class TPaint {
public:
    explicit TPaint(HWND window) : FWindow(window), FDc(BeginPaint(window, &FPaint)) {}
    ~TPaint()
    {
        if (FDc) EndPaint(FWindow, &FPaint);
    }
    TPaint(const TPaint&) = delete;
    TPaint& operator=(const TPaint&) = delete;
    HDC get() const { return FDc; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
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
