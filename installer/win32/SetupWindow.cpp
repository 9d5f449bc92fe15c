#include "installer/win32/SetupWindow.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "installer/SetupRules.h"
#include "installer/SetupTexts.h"
#include "platform/MessageBox.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Text.h"

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
    const wchar_t* Class;
    DWORD Style;
    int X, Y, W, H;
    TSetupText Text;
};

// The whole window, in dialog-like pixels at the default GUI font.
const TControlRow Layout[] = {
        {idFolderLabel, L"STATIC", SS_LEFT, 12, 12, 396, 16, TSetupText::FolderLabel},
        {idFolder, L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 12, 30, 300, 22,
         TSetupText::FolderLabel},
        {idBrowse, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 318, 29, 90, 24, TSetupText::Browse},
        {idAutoStart, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 12, 64, 396, 20,
         TSetupText::AutoStart},
        {idStartGuard, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 12, 88, 396, 20,
         TSetupText::StartWhenDone},
        {idProgress, PROGRESS_CLASSW, 0, 12, 120, 396, 18, TSetupText::Installing},
        {idStatus, L"STATIC", SS_LEFT, 12, 146, 396, 16, TSetupText::Installing},
        {idInstall, L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 222, 172, 90, 26,
         TSetupText::Install},
        {idCancel, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 318, 172, 90, 26, TSetupText::Cancel},
};

struct TWindowState {
    TSetupInstaller* Setup;
    TSetupWindowResult Result{kSetupCancelled, true};
    bool Installed = false;
    bool Busy = false;
};

HWND Item(HWND window, int id)
{
    return GetDlgItem(window, id);
}

void SetText(HWND control, const std::string& text)
{
    SetWindowTextW(control, Wide(text).c_str());
}

std::string TextOf(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return "";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(control, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return Narrow(text);
}

void Browse(HWND window)
{
    TComApartment com;
    const std::wstring title = Wide(SetupText(TSetupText::BrowseTitle));
    BROWSEINFOW info = {};
    info.hwndOwner = window;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    const bool got = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    if (!got) return;
    path[MAX_PATH - 1] = L'\0';
    std::string folder = Narrow(path);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    SetText(Item(window, idFolder), folder + kProductName);
}

void Install(HWND window, TWindowState& state)
{
    state.Busy = true;
    for (int id : {idFolder, idBrowse, idAutoStart, idStartGuard, idInstall, idCancel})
        EnableWindow(Item(window, id), FALSE);
    SetText(Item(window, idStatus), SetupText(TSetupText::Installing));
    const HWND progress = Item(window, idProgress);
    TInstallChoice choice{
            TextOf(Item(window, idFolder)), IsDlgButtonChecked(window, idAutoStart) == BST_CHECKED,
            [](const std::string& program) {
                return SystemMessageBox().Show(
                               SetupText(TSetupText::StillRunning, program) + "\n\n" +
                                       SetupText(TSetupText::RetryOrCancel),
                               SetupText(TSetupText::Caption), TMsgButtons::RetryCancel,
                               TMsgIcon::Error) == TMsgResult::Retry;
            }};
    std::string failure;
    const bool ok = state.Setup->Install(
            choice,
            [progress](int percent) {
                SendMessageW(progress, PBM_SETPOS, WPARAM(percent), 0);
                UpdateWindow(progress);
            },
            failure);
    state.Busy = false;
    if (ok) {
        state.Installed = true;
        state.Result = {kSetupInstalled, IsDlgButtonChecked(window, idStartGuard) == BST_CHECKED};
        SetText(Item(window, idStatus), SetupText(TSetupText::Done));
        SetText(Item(window, idCancel), SetupText(TSetupText::Close));
        EnableWindow(Item(window, idCancel), TRUE);
        SetFocus(Item(window, idCancel));
        return;
    }
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    SetText(Item(window, idStatus), "");
    for (int id : {idFolder, idBrowse, idAutoStart, idStartGuard, idInstall, idCancel})
        EnableWindow(Item(window, id), TRUE);
    SystemMessageBox().Show(SetupText(TSetupText::Failed, failure), SetupText(TSetupText::Caption),
                            TMsgButtons::Ok, TMsgIcon::Error);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<TWindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (!state || state->Busy) return 0;
        switch (LOWORD(wParam)) {
        case idBrowse: Browse(window); return 0;
        case idInstall: Install(window, *state); return 0;
        case idCancel: DestroyWindow(window); return 0;
        }
        break;
    case WM_CLOSE:
        if (state && state->Busy) return 0;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TSetupWindowResult RunSetupWindow(TSetupInstaller& setup, const std::string& folder)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"MLinewardenSetup";
    RegisterClassW(&windowClass);

    TWindowState state{&setup};
    RECT frame = {0, 0, 420, 210};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    const HWND window = CreateWindowExW(
            0, windowClass.lpszClassName, Wide(SetupText(TSetupText::Caption)).c_str(), style,
            CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
            nullptr, nullptr, instance, nullptr);
    if (!window) return {kSetupFailed, false};
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const TControlRow& row : Layout) {
        const bool titled = row.Id != idFolder && row.Id != idProgress && row.Id != idStatus;
        const HWND control = CreateWindowExW(
                0, row.Class, titled ? Wide(SetupText(row.Text)).c_str() : L"",
                WS_CHILD | WS_VISIBLE | row.Style, row.X, row.Y, row.W, row.H, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.Id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    SetText(Item(window, idFolder), folder);
    CheckDlgButton(window, idAutoStart, BST_CHECKED);
    CheckDlgButton(window, idStartGuard, BST_CHECKED);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(Item(window, idInstall));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return state.Result;
}
