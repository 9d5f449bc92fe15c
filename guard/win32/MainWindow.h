#pragma once
// The guard's main window: controls from the layout table, the status bar, the report and the
// one popup menu that serves the window and the tray icon. It decides nothing: events go to the
// logic, and the logic's calls come back as what the window shows.
//
// Plain Win32 has no separate taskbar window: the main window is the application. "The
// application is minimised" is read as "the main window is iconic or hidden"; minimising it
// (the logic's request, or the system's) reports to the logic once the window is iconic, and the
// logic then hides it into the tray.
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "guard/GuardViews.h"
#include "guard/Tray.h"
#include "guard/win32/GuardIds.h"
#include "platform/win32/WindowKit.h"

class TMainWindowView : public IMainView, public IPopupMenu {
public:
    // Creates the window, hidden, with all its controls and their texts in the language; throws
    // Exception when it cannot.
    TMainWindowView(const TLook& look, TLanguage language);
    ~TMainWindowView() override;
    TMainWindowView(const TMainWindowView&) = delete;
    TMainWindowView& operator=(const TMainWindowView&) = delete;

    HWND Window() const { return FWindow.get(); }
    // The logic that the window's events go to; none before it is built and while it is torn
    // down, when events are dropped.
    void SetLogic(IMainWindowEvents* logic) { FLogic = logic; }
    // Runs on WM_DESTROY, while the controls still exist: the logic's shut-down sequence.
    std::function<void()> OnDestroy;
    // Shows the window whatever the start-up command says, the focus on the first option.
    void Show();
    // The message loop's look at a message before it is dispatched: F1 for the window goes to
    // the logic before any control sees it, and the dialog keys move the focus. True when the
    // message was taken.
    bool PreTranslate(MSG& message);

    // IMainView
    void SetCaption(const std::string& caption) override;
    void SetAppTitle(const std::string& text) override;
    void SetConnectionStatus(const std::string& text) override;
    void SetProgressText(const std::string& text) override;
    void SetHourglass(bool on) override;
    void AddReportRow(const std::string& time, const std::string& text) override;
    void SetReportVisible(bool visible) override;
    bool Checked(TOption option) override;
    void SetChecked(TOption option, bool checked) override;
    void SetNumbers(const std::vector<std::string>& items, int selected) override;
    void SetButtonEnabled(TNumberButton button, bool enabled) override;
    void SetMenuItemEnabled(TMenuItem item, bool enabled) override;
    void SetMenuItemVisible(TMenuItem item, bool visible) override;
    bool IsApplicationMinimized() override;
    void BringUp() override;
    void MinimizeApplication() override;
    void HideToTray() override;
    void Repaint() override;
    void Close() override;
    void EndProcess() override;
    void* Handle() override { return FWindow.get(); }
    void ShowError(const std::string& message) override;
    void ShowWarning(const std::string& message) override;

    // IPopupMenu: the tray icon's menu, at the cursor.
    void PopupAtCursor() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Created(HWND window);
    void CreateTooltips();
    void BuildMenu();
    void ApplyStatusParts();
    void SetStatusText(int panel, const std::string& text);
    void Command(int id, int code);
    void NumberSelected();
    bool SetCursorFor(HWND target, int hitTest);
    void Popup(int x, int y);
    HWND Control(int id) const;
    // Runs a logic handler when there is a logic, showing what it throws.
    template <typename Handler>
    void Forward(Handler&& handler);

    const TLook& FLook;
    const TLanguage FLanguage;
    IMainWindowEvents* FLogic = nullptr;
    TWindowHandle FWindow;
    std::vector<HWND> FControls;
    HWND FTooltips = nullptr;  // owned by the window, goes with it
    TIconHandle FImage;
    TMenuHandle FMenu;
    std::array<bool, kMenuItemCount> FMenuVisible{};
    std::array<bool, kMenuItemCount> FMenuEnabled{};
    bool FProgressPanel = false;
    std::vector<std::string> FNumbers;
    bool FHourglass = false;
    UINT FShowGuardMessage = 0;
    std::string FCreateError;
};

// Minimised by anyone: the logic hears of it after the minimise has finished.
constexpr UINT kMinimizedMessage = WM_APP + 10;
