// The owners of Win32 handles and COM references, on real handles: each kind's closer really
// closes, and moves, resets and hand-overs close exactly what the owner gives up.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Handles.h"

namespace {

bool KernelOpen(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}

HANDLE NewEvent()
{
    return CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

template <typename Owner, typename Open, typename IsOpen>
void ExpectClosedWithItsOwner(const char* kind, Open open, IsOpen isOpen)
{
    SCOPED_TRACE(kind);
    typename Owner::THandleType handle;
    {
        Owner owner(open());
        handle = owner.get();
        ASSERT_TRUE(owner);
        ASSERT_TRUE(isOpen(handle));
    }
    EXPECT_FALSE(isOpen(handle));
}

// A closed find handle cannot be probed safely (Wine frees the memory behind it), and a library
// stays loaded while anything else holds it: those two closers are left to the programs' runs.
TEST(Win32Handles, EachKindIsClosedWhenItsOwnerGoes)
{
    ExpectClosedWithItsOwner<TKernelHandle>("event", NewEvent, KernelOpen);
    ExpectClosedWithItsOwner<TRegKeyHandle>(
            "registry key",
            [] {
                HKEY key = nullptr;
                RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key);
                return key;
            },
            [](HKEY key) {
                return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
            });
    ExpectClosedWithItsOwner<TFontHandle>(
            "font",
            [] {
                return CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, EASTEUROPE_CHARSET, 0, 0, 0, 0,
                                   L"Tahoma");
            },
            [](HFONT font) { return GetObjectType(font) == OBJ_FONT; });
    ExpectClosedWithItsOwner<TMenuHandle>("menu", CreatePopupMenu, IsMenu);
    ExpectClosedWithItsOwner<TIconHandle>(
            "icon", [] { return CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))); },
            [](HICON icon) {
                ICONINFO info = {};
                if (!GetIconInfo(icon, &info)) return false;
                DeleteObject(info.hbmMask);
                if (info.hbmColor) DeleteObject(info.hbmColor);
                return true;
            });
    ExpectClosedWithItsOwner<TWindowHandle>(
            "window",
            [] {
                return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
            },
            IsWindow);
}

TEST(Win32Handles, OwnerClosesExactlyWhatItGivesUp)
{
    // Both failure values of the creating functions mean "nothing held".
    EXPECT_FALSE(TKernelHandle(CreateFileW(L"C:\\no such folder\\file", GENERIC_READ, 0, nullptr,
                                           OPEN_EXISTING, 0, nullptr)));
    EXPECT_FALSE(TKernelHandle(nullptr));

    TKernelHandle a(NewEvent());
    const HANDLE first = a.get();
    TKernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), first);
    EXPECT_TRUE(KernelOpen(first)) << "a move closes nothing";

    TKernelHandle c(NewEvent());
    const HANDLE second = c.get();
    c = std::move(b);
    EXPECT_FALSE(KernelOpen(second)) << "assignment closes what the target held";
    EXPECT_TRUE(KernelOpen(first));

    const HANDLE third = NewEvent();
    c.reset(third);
    EXPECT_FALSE(KernelOpen(first)) << "reset closes the old handle";
    EXPECT_EQ(c.get(), third);

    HANDLE* slot = c.put();
    EXPECT_FALSE(KernelOpen(third)) << "put closes before lending the slot";
    *slot = NewEvent();
    const HANDLE fourth = c.get();
    EXPECT_TRUE(c);

    EXPECT_EQ(c.release(), fourth);
    EXPECT_FALSE(c);
    EXPECT_TRUE(KernelOpen(fourth)) << "release hands the handle over open";
    CloseHandle(fourth);
}

// Counts its references as a COM object does.
struct TCounted : IUnknown {
    ULONG Refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --Refs; }
};

TEST(Win32Com, PointerReleasesExactlyWhatItGivesUp)
{
    TCounted x, y, z;
    {
        TComPtr<TCounted> p(&x);
        TComPtr<TCounted> q(std::move(p));
        EXPECT_FALSE(p);
        EXPECT_EQ(x.Refs, 1u) << "a move releases nothing";
        TComPtr<TCounted> r(&y);
        r = std::move(q);
        EXPECT_EQ(y.Refs, 0u) << "assignment releases what the target held";
        EXPECT_EQ(x.Refs, 1u);
        TCounted** slot = r.put();
        EXPECT_EQ(x.Refs, 0u) << "put releases before lending the slot";
        *slot = &z;
        EXPECT_EQ(r.release(), &z);
        EXPECT_EQ(z.Refs, 1u) << "release hands the reference over";
        r.reset(&z);
    }
    EXPECT_EQ(z.Refs, 0u) << "released when the owner goes";
}

}  // namespace
