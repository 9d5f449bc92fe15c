#include "installer/win32/SetupWindow.h"

#include <windows.h>

#include <commctrl.h>

#include "installer/SetupLayout.h"
#include "installer/SetupTexts.h"
#include "platform/MessageBox.h"
#include "platform/win32/Win32Com.h"
#include "platform/win32/WinTextControls.h"
#include "platform/win32/WindowKit.h"

namespace {

constexpr char kSetupClass[] = "MLinewardenSetup";
constexpr DWORD kSetupStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

class TSetupWindow : public ISetupView {
public:
    // Creates the window, hidden, with its controls and texts; throws Exception when it cannot.
    TSetupWindow(const TLook& look, TLanguage language) : FLook(look), FLanguage(language)
    {
        RegisterKitClass(kSetupClass, WindowProc);
        const TWindowLayout& layout = SetupWindowLayout();
        // The window procedure takes the window over on its first message.
        CreateLayoutWindow(kSetupClass, layout, look, kSetupStyle, 0, nullptr, this);
        SetWindowTextU(FWindow.get(), SetupText(TSetupText::Caption, FLanguage));
        FControls = CreateLayoutControls(FWindow.get(), layout, look);
        for (int i = 0; i < layout.Count; ++i) {
            TSetupText text;
            if (SetupControlText(layout.Controls[i].Id, text))
                SetWindowTextU(Control(layout.Controls[i].Id), SetupText(text, FLanguage));
        }
    }
    TSetupWindow(const TSetupWindow&) = delete;
    TSetupWindow& operator=(const TSetupWindow&) = delete;

    // Shows the window and runs its messages until it is closed.
    void Run(TSetupPresenter& presenter)
    {
        FPresenter = &presenter;
        ShowWindow(FWindow.get(), SW_SHOWNORMAL);
        SetFocus(Control(scInstall));
        MSG message;
        while (GetMessageU(&message, nullptr, 0, 0) > 0) {
            if (IsDialogMessageU(FWindow.get(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageU(&message);
        }
        FPresenter = nullptr;
    }

    std::string Folder() override { return GetWindowTextU(Control(scFolder)); }
    void SetFolder(const std::string& folder) override
    {
        SetWindowTextU(Control(scFolder), folder);
    }
    bool AutoStart() override { return Checked(scAutoStart); }
    void SetAutoStart(bool on) override { Check(scAutoStart, on); }
    bool StartGuard() override { return Checked(scStartGuard); }
    void SetStartGuard(bool on) override { Check(scStartGuard, on); }
    void EnableInputs(bool enabled) override
    {
        for (int id : {scFolder, scBrowse, scAutoStart, scStartGuard, scInstall, scCancel})
            EnableWindow(Control(id), enabled ? TRUE : FALSE);
    }
    void SetProgress(int percent) override
    {
        const HWND progress = Control(scProgress);
        SendMessageU(progress, PBM_SETPOS, WPARAM(percent), 0);
        UpdateWindow(progress);
    }
    void SetStatus(const std::string& text) override { SetWindowTextU(Control(scStatus), text); }
    void TurnCancelInto(const std::string& text) override
    {
        const HWND cancel = Control(scCancel);
        SetWindowTextU(cancel, text);
        EnableWindow(cancel, TRUE);
        SetFocus(cancel);
    }
    bool AskRetry(const std::string& text) override
    {
        return SystemMessageBox().Show(text, SetupText(TSetupText::Caption, FLanguage),
                                       TMsgButtons::RetryCancel,
                                       TMsgIcon::Error) == TMsgResult::Retry;
    }
    void ShowError(const std::string& text) override
    {
        SystemMessageBox().Show(text, SetupText(TSetupText::Caption, FLanguage), TMsgButtons::Ok,
                                TMsgIcon::Error);
    }
    std::string ChooseFolder(const std::string& title) override
    {
        TComApartment com;
        return BrowseForFolderU(FWindow.get(), title);
    }
    void CloseWindow() override { DestroyWindow(FWindow.get()); }

private:
    HWND Control(int id) const
    {
        return static_cast<size_t>(id) < FControls.size() ? FControls[static_cast<size_t>(id)]
                                                          : nullptr;
    }
    bool Checked(int id) { return SendMessageU(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Check(int id, bool on)
    {
        SendMessageU(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ObjectWindowProc(window, message, wParam, lParam, &TSetupWindow::FWindow,
                                &TSetupWindow::HandleMessage);
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
    {
        const HWND window = FWindow.get();
        LRESULT result = 0;
        if (BackgroundMessage(window, message, wParam, FLook, result)) return result;
        switch (message) {
        // Enter presses Install, unless the focus is on another button.
        case DM_GETDEFID: return MAKELRESULT(kControlIdBase + scInstall, DC_HASDEFID);
        case WM_COMMAND: {
            // The dialog manager's Enter and Escape come as IDOK and IDCANCEL.
            const int id = LOWORD(wParam);
            if (!FPresenter) return 0;
            if (id == kControlIdBase + scBrowse) FPresenter->Browse();
            if (id == kControlIdBase + scInstall || id == IDOK) FPresenter->Install();
            if (id == kControlIdBase + scCancel || id == IDCANCEL) FPresenter->Cancel();
            return 0;
        }
        case WM_CLOSE:
            if (FPresenter)
                FPresenter->Cancel();
            else
                DestroyWindow(window);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        }
        return DefWindowProcU(window, message, wParam, lParam);
    }

    const TLook& FLook;
    const TLanguage FLanguage;
    TWindowHandle FWindow;
    std::vector<HWND> FControls;
    TSetupPresenter* FPresenter = nullptr;
};

}  // namespace

TSetupWindowResult RunSetupWindow(TSetupInstaller& setup, const std::string& folder,
                                  TLanguage language)
{
    SetErrorCaption(SetupText(TSetupText::Caption, language));
    try {
        TLook look(kSetupLook);
        TSetupWindow view(look, language);
        TSetupPresenter presenter(view, setup, language);
        presenter.Start(folder);
        view.Run(presenter);
        return presenter.Result();
    } catch (const std::exception& e) {
        ShowErrorBox(nullptr, e.what());
        return {kSetupFailed, false};
    }
}
