#pragma once
// The ports between the guard's window logic and its windows. The views are passive: they turn
// the user's actions into calls of the logic and the logic's calls into what the user sees, and
// decide nothing. The Win32 views implement them; tests record what the logic asks for.
#include <string>
#include <vector>

// The six option check boxes, in their tab order.
enum class TOption {
    AutoStart,
    CheckAllowedNumbers,
    AutoDeleteDialUp,
    AutoDeleteDialers,
    AskBeforeDeleteDialUp,
    CheckWhileDialling
};
constexpr int kOptionCount = 6;

enum class TNumberButton { Add, Edit, Delete };

// The items of the one popup menu that serves the window and the tray icon (separators left
// out); kMenuOrder gives the order they appear in.
enum class TMenuItem {
    Configuration,
    Report,
    About,
    DisconnectUnknownConnection,
    DeleteUnknownDialUps,
    CheckActiveDialers,
    TestDialers,
    Exit,
    // Added after the others so that their command numbers stay; it shows after "Raport".
    ActivityLog
};
constexpr int kMenuItemCount = static_cast<int>(TMenuItem::ActivityLog) + 1;
// The items as the menu shows them; a separator follows About and TestDialers.
inline constexpr TMenuItem kMenuOrder[kMenuItemCount] = {
        TMenuItem::Configuration,   TMenuItem::Report,
        TMenuItem::ActivityLog,     TMenuItem::About,
        TMenuItem::DisconnectUnknownConnection,
        TMenuItem::DeleteUnknownDialUps,
        TMenuItem::CheckActiveDialers,
        TMenuItem::TestDialers,     TMenuItem::Exit};

// The activity report's list: one row per action, newest last.
class IReportView {
public:
    virtual ~IReportView() = default;
    virtual void AddReportRow(const std::string& time, const std::string& text) = 0;
};

// The status bar and the cursor, which the connection status and the progress of a check use.
class IStatusView {
public:
    virtual ~IStatusView() = default;
    // Each text paints the status bar at once: the checks run on the user-interface thread, so
    // it would not be painted before they end.
    // The connection status, in the first panel, the only one until a progress text comes.
    virtual void SetConnectionStatus(const std::string& text) = 0;
    // The progress of a check, in a second panel that the first progress text adds and that
    // stays; from then on the first panel is as wide as the window less 160 pixels.
    virtual void SetProgressText(const std::string& text) = 0;
    virtual void SetHourglass(bool on) = 0;
};

// The sorted allowed-number list box and its three buttons.
class INumbersView {
public:
    virtual ~INumbersView() = default;
    // The items, and which one is selected (-1: none).
    virtual void SetNumbers(const std::vector<std::string>& items, int selected) = 0;
    virtual void SetButtonEnabled(TNumberButton button, bool enabled) = 0;
};

// The main window as the guard's logic sees it.
class IMainView : public IReportView, public IStatusView, public INumbersView {
public:
    // The window caption; the application's title (its taskbar button) follows it.
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetAppTitle(const std::string& text) = 0;

    // Shows the report in front of the options, or hides it.
    virtual void SetReportVisible(bool visible) = 0;

    // Setting a check box does not raise its click: the logic does that itself when it means to.
    virtual bool Checked(TOption option) = 0;
    virtual void SetChecked(TOption option, bool checked) = 0;
    virtual void SetMenuItemEnabled(TMenuItem item, bool enabled) = 0;
    virtual void SetMenuItemVisible(TMenuItem item, bool visible) = 0;

    // The application as a whole: its taskbar window and the main window.
    virtual bool IsApplicationMinimized() = 0;
    // Restores a minimised application, shows the main window and brings it to the front
    // unless the application is already the active one.
    virtual void BringUp() = 0;
    // Minimises the application; the view then reports it through ApplicationEventsMinimize.
    virtual void MinimizeApplication() = 0;
    // Hides the main window and the taskbar window: the program lives in the tray.
    virtual void HideToTray() = 0;
    virtual void Repaint() = 0;
    // Asks the window to close; the view runs FormCloseQuery, which decides.
    virtual void Close() = 0;
    // Ends the process at once with exit code 0, without the window's own shut-down.
    virtual void EndProcess() = 0;
    // The window's handle, for messages the shell shows on its behalf.
    virtual void* Handle() = 0;
    // Shows an error that ended an operation, in a modal box.
    virtual void ShowError(const std::string& message) = 0;
    // Tells the user, in a modal box owned by the window with one OK button, of something that
    // did not happen and that they should know of (the settings could not be saved).
    virtual void ShowWarning(const std::string& message) = 0;
};

// The two dialogs, one call each. Both are modal: while one is open, the user-interface thread
// goes on delivering notifications and the tray menu's commands.
class IGuardDialogs {
public:
    virtual ~IGuardDialogs() = default;
    // The number editor; true when the user accepted a non-empty all-digit number, which is
    // then in number.
    virtual bool EditNumber(std::string& number) = 0;
    // The detection dialog in mode 0 (dialer), 1 (active connection) or 2 (phonebook entry);
    // true when the user answered yes.
    virtual bool AskQuestion(int mode, const std::string& value1, const std::string& value2) = 0;
    // Closes an open dialog as if the user had declined (the program is ending).
    virtual void CancelDialogs() = 0;
};

// Key codes the window reacts to: the Windows virtual-key codes, which the view passes on as
// they are.
constexpr int kKeyF1 = 112;  // VK_F1

// What the main window's view reports to the guard's logic: the user's actions on the window,
// its menu and its keys, and the messages the system sends it. The logic implements it; the
// view holds nothing else of the logic.
class IMainWindowEvents {
public:
    virtual ~IMainWindowEvents() = default;
    virtual void cbParamsChangeClick(TOption sender) = 0;
    virtual void lbNumbersClick(int selected) = 0;
    virtual void btAddNumberClick() = 0;
    virtual void btEditNumberClick() = 0;
    virtual void btDeleteNumberClick() = 0;
    virtual void laAppTitleClick() = 0;
    virtual void MenuClick(TMenuItem item) = 0;
    virtual void PopupMenuPopup() = 0;
    // True when the key was taken.
    virtual bool FormKeyDown(int key, bool shift, bool alt, bool ctrl) = 0;
    // The tray icon's double click and the second start of the program show the options.
    virtual void ShowView(bool report) = 0;
    virtual void ApplicationEventsMinimize() = 0;
    // Whether the window may close.
    virtual bool FormCloseQuery() = 0;
    virtual bool WMQueryEndSession() = 0;
    virtual void WMEndSession(bool ending) = 0;
    // Another program (a setup, the uninstaller) asks the guard to close so that it can replace
    // or remove the guard's files.
    virtual void WMCloseApp() = 0;
};
