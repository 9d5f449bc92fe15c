#include "installer/win32/SetupWindow.h"

#include <windows.h>

#include <commctrl.h>

#include "installer/SetupTexts.h"
#include "platform/MessageBox.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/WinTextControls.h"

namespace {

enum TControl : int {
    idFolderLabel = 100,
    idFolder,
    idBrowse,
    idAutoStart,
    idStartGuard,
    idProgress,
    idStatus,
    idInstall = IDOK,
    idCancel = IDCANCEL,
};

struct TControlRow {
    int Id;
    const char* Class;
    DWORD Style;
    int X, Y, W, H;
    TSetupText Text;
};

// The whole window, in dialog-like pixels at the default GUI font.
const TControlRow Layout[] = {
        {idFolderLabel, "STATIC", SS_LEFT, 12, 12, 396, 16, TSetupText::FolderLabel},
        {idFolder, "EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 12, 30, 300, 22,
         TSetupText::FolderLabel},
        {idBrowse, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 318, 29, 90, 24, TSetupText::Browse},
        {idAutoStart, "BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 12, 64, 396, 20,
         TSetupText::AutoStart},
        {idStartGuard, "BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 12, 88, 396, 20,
         TSetupText::StartWhenDone},
        {idProgress, PROGRESS_CLASSA, 0, 12, 120, 396, 18, TSetupText::Installing},
        {idStatus, "STATIC", SS_LEFT, 12, 146, 396, 16, TSetupText::Installing},
        {idInstall, "BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 222, 172, 90, 26, TSetupText::Install},
        {idCancel, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 318, 172, 90, 26, TSetupText::Cancel},
};

HWND Item(HWND window, int id)
{
    return GetDlgItem(window, id);
}

class TSetupWindow : public ISetupView {
public:
    explicit TSetupWindow(HWND window) : FWindow(window) {}

    std::string Folder() override { return GetWindowTextU(Item(FWindow, idFolder)); }
    void SetFolder(const std::string& folder) override
    {
        SetWindowTextU(Item(FWindow, idFolder), folder);
    }
    bool AutoStart() override { return Checked(idAutoStart); }
    void SetAutoStart(bool on) override { Check(idAutoStart, on); }
    bool StartGuard() override { return Checked(idStartGuard); }
    void SetStartGuard(bool on) override { Check(idStartGuard, on); }
    void EnableInputs(bool enabled) override
    {
        for (int id : {idFolder, idBrowse, idAutoStart, idStartGuard, idInstall, idCancel})
            EnableWindow(Item(FWindow, id), enabled ? TRUE : FALSE);
    }
    void SetProgress(int percent) override
    {
        const HWND progress = Item(FWindow, idProgress);
        SendMessageU(progress, PBM_SETPOS, WPARAM(percent), 0);
        UpdateWindow(progress);
    }
    void SetStatus(const std::string& text) override
    {
        SetWindowTextU(Item(FWindow, idStatus), text);
    }
    void TurnCancelInto(const std::string& text) override
    {
        const HWND cancel = Item(FWindow, idCancel);
        SetWindowTextU(cancel, text);
        EnableWindow(cancel, TRUE);
        SetFocus(cancel);
    }
    bool AskRetry(const std::string& text) override
    {
        return SystemMessageBox().Show(text, SetupText(TSetupText::Caption),
                                       TMsgButtons::RetryCancel,
                                       TMsgIcon::Error) == TMsgResult::Retry;
    }
    void ShowError(const std::string& text) override
    {
        SystemMessageBox().Show(text, SetupText(TSetupText::Caption), TMsgButtons::Ok,
                                TMsgIcon::Error);
    }
    std::string ChooseFolder(const std::string& title) override
    {
        TComApartment com;
        return BrowseForFolderU(FWindow, title);
    }
    void CloseWindow() override { DestroyWindow(FWindow); }

private:
    bool Checked(int id) { return IsDlgButtonChecked(FWindow, id) == BST_CHECKED; }
    void Check(int id, bool on) { CheckDlgButton(FWindow, id, on ? BST_CHECKED : BST_UNCHECKED); }

    HWND FWindow;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* presenter = reinterpret_cast<TSetupPresenter*>(GetWindowLongPtrU(window, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (!presenter) return 0;
        switch (LOWORD(wParam)) {
        case idBrowse: presenter->Browse(); return 0;
        case idInstall: presenter->Install(); return 0;
        case idCancel: presenter->Cancel(); return 0;
        }
        break;
    case WM_CLOSE:
        if (presenter)
            presenter->Cancel();
        else
            DestroyWindow(window);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcU(window, message, wParam, lParam);
}

}  // namespace

TSetupWindowResult RunSetupWindow(TSetupInstaller& setup, const std::string& folder)
{
    TWindowClassU windowClass;
    windowClass.Name = "MLinewardenSetup";
    windowClass.Procedure = WindowProc;
    windowClass.Cursor = SystemCursorU(IDC_ARROW);
    windowClass.Icon = ProgramIconU(1, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
    windowClass.Background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassU(windowClass);

    RECT frame = {0, 0, 420, 210};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    const HWND window = CreateWindowExU(0, windowClass.Name, SetupText(TSetupText::Caption), style,
                                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                        frame.bottom - frame.top, nullptr, nullptr, nullptr);
    if (!window) return {kSetupFailed, false};
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const TControlRow& row : Layout) {
        const bool titled = row.Id != idFolder && row.Id != idProgress && row.Id != idStatus;
        const HWND control = CreateWindowExU(
                0, row.Class, titled ? SetupText(row.Text) : std::string(),
                WS_CHILD | WS_VISIBLE | row.Style, row.X, row.Y, row.W, row.H, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.Id)), nullptr);
        SendMessageU(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    TSetupWindow view(window);
    TSetupPresenter presenter(view, setup);
    presenter.Start(folder);
    SetWindowLongPtrU(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&presenter));
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(Item(window, idInstall));

    MSG message;
    while (GetMessageU(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageU(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageU(&message);
    }
    return presenter.Result();
}
