// Every program's window table, built by the window kit, reads back as the table says: the
// guard's main window and its two dialogs, and the setup's window.
#include "platform/win32/WindowKit.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "guard/Layout.h"
#include "installer/SetupLayout.h"
#include "wine/LayoutCheck.h"

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcU(window, message, wParam, lParam);
}

struct TTable {
    const char* Name;
    const TWindowLayout& (*Layout)();
    const TWindowLook& Look;
};

const TTable kTables[] = {
        {"guard's main window", MainWindowLayout, kGuardLook},
        {"number editor", NumberFormLayout, kGuardLook},
        {"detection dialog", QuestionFormLayout, kGuardLook},
        {"setup's window", SetupWindowLayout, kSetupLook},
};

TEST(WindowKit, EveryTableBuildsTheWindowItDescribes)
{
    INITCOMMONCONTROLSEX classes{sizeof(classes),
                                 ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    RegisterKitClass("LinewardenKitTest", HostProc);
    for (const TTable& table : kTables) {
        SCOPED_TRACE(table.Name);
        const TLook look(table.Look);
        const TWindowHandle window(CreateLayoutWindow("LinewardenKitTest", table.Layout(), look,
                                                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                                      WS_EX_DLGMODALFRAME, nullptr, nullptr));
        CreateLayoutControls(window.get(), table.Layout(), look);
        ExpectWindowMatchesLayout(window.get(), table.Layout(), look.Dpi());
    }
}

}  // namespace
