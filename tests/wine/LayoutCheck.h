#pragma once
// The one check of a window built from a layout table (common/WindowLayout.h) against that
// table, for any program's window, in this process or another: each control is there under its
// identifier, of the class its kind makes, at the table's place scaled for the DPI the window
// was built at, with the table's text.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/WindowLayout.h"
#include "tests/wine/WindowReading.h"

namespace layout_check {

inline std::string ExpectedClass(TControlKind kind)
{
    switch (kind) {
    case TControlKind::Picture:
    case TControlKind::Label: return "Static";
    case TControlKind::Memo:
    case TControlKind::Edit: return "Edit";
    case TControlKind::GroupBox:
    case TControlKind::CheckBox:
    case TControlKind::Button: return "Button";
    case TControlKind::ListBox: return "ListBox";
    case TControlKind::Panel: return "LinewardenPanel";
    case TControlKind::ListView: return "SysListView32";
    case TControlKind::StatusBar: return "msctls_statusbar32";
    case TControlKind::ProgressBar: return "msctls_progress32";
    }
    return "";
}

// The descendant of window with the Win32 identifier of the table's id.
inline HWND FindControlWindow(HWND window, int id)
{
    struct TSearch {
        int Wanted;
        HWND Found;
        static BOOL CALLBACK Visit(HWND child, LPARAM data)
        {
            auto& s = *reinterpret_cast<TSearch*>(data);
            if (GetDlgCtrlID(child) != s.Wanted) return TRUE;
            s.Found = child;
            return FALSE;
        }
    } search{kControlIdBase + id, nullptr};
    EnumChildWindows(window, TSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

}  // namespace layout_check

// Checks every control of the table in window, built at dpi. Texts set at run time (a table's
// empty text) are left to the caller.
inline void ExpectWindowMatchesLayout(HWND window, const TWindowLayout& layout, int dpi)
{
    using namespace layout_check;
    const auto px = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, px(layout.ClientWidth));
    EXPECT_EQ(client.bottom, px(layout.ClientHeight));
    for (int i = 0; i < layout.Count; ++i) {
        const TControlLayout& c = layout.Controls[i];
        SCOPED_TRACE(c.Name);
        const HWND control = FindControlWindow(window, c.Id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), ExpectedClass(c.Kind));
        // Measured from the client corner of the window or panel that holds the control.
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        if (c.Kind == TControlKind::StatusBar) {
            // Along the bottom edge, as wide as the window.
            EXPECT_EQ(std::vector<LONG>({r.left, r.right, r.bottom, r.bottom - r.top}),
                      std::vector<LONG>({0, client.right, client.bottom, px(c.Height)}));
            continue;
        }
        int left = px(c.Left), top = px(c.Top);
        if (c.Parent != kNoParent) {
            const TControlLayout& parent = FindControl(layout, c.Parent);
            if (parent.Kind == TControlKind::GroupBox) {
                left += px(parent.Left);
                top += px(parent.Top);
            }
        }
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}),
                  std::vector<LONG>({left, top, left + px(c.Width), top + px(c.Height)}));
        if (*c.Text) {
            EXPECT_EQ(TextOf(control), c.Text);
        }
    }
}
