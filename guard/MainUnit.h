#pragma once
// TLinewardenForm: the guard's main window seen from its logic. It owns the guard's long-lived
// objects, runs the start-up and shut-down sequences, and runs the check cycle (connections,
// phonebook, dialers) on the start-up tick, on every RAS connection notification and on the
// user's commands, one piece of work at a time. The stages, the allowed-number list, the
// progress display and the activity report are units of their own that it owns and wires.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialers/StartupFiles.h"
#include "dialers/ToolsPorts.h"
#include "dialup/DialUpTools.h"
#include "dialup/RasThread.h"
#include "guard/ActivityReport.h"
#include "guard/DialUpChecks.h"
#include "guard/DialerSweep.h"
#include "guard/GuardViews.h"
#include "guard/NumbersPanel.h"
#include "guard/ProgressDisplay.h"
#include "guard/Tray.h"
#include "guard/WorkQueue.h"
#include "platform/Clock.h"
#include "platform/LocalTime.h"
#include "platform/Profile.h"
#include "platform/UiThread.h"
#include "settings/Settings.h"

// Everything the guard reaches the machine and its windows through.
struct TGuardPorts {
    IMainView& View;
    IGuardDialogs& Dialogs;
    INotificationArea& NotificationArea;
    IPopupMenu* PopupMenu;
    IRasApi& Ras;
    IUserInterfaceThread& Ui;
    IClock& Clock;
    IProfile& Profile;
    ILocalTime& LocalTime;
    TToolsPorts Tools;
    bool Windows95Family;
    // The user's application-data folder, where the lasting log goes when the program's folder
    // takes no file; "" when the system names none.
    std::string ApplicationDataFolder = std::string();
    // The language of everything the guard shows and reports (its texts are Polish only).
    TLanguage Language = TLanguage::Polish;
};

// The start-up tick comes this long after start, sooner on the very first start.
constexpr unsigned kStartupIntervalMs = 1000;
constexpr unsigned kFirstRunStartupIntervalMs = 500;
// While the notification area refuses the tray icon, it is offered again this often.
constexpr unsigned kTrayRetryIntervalMs = 2000;
// How often the short look at the connections runs. A modem dials for 15 seconds and more
// before the other end answers; half a second catches a call early in that time, and a look
// that finds nothing new costs one listing of the connections.
constexpr unsigned kLookIntervalMs = 500;

class TLinewardenForm : public IMainWindowEvents {
public:
    explicit TLinewardenForm(const TGuardPorts& ports);
    ~TLinewardenForm() override;
    TLinewardenForm(const TLinewardenForm&) = delete;
    TLinewardenForm& operator=(const TLinewardenForm&) = delete;

    // Events from the timer, the notification thread and the window.
    void StartupTimerTimer();
    void RasConnNotification(TRasConnThread& thread);
    void cbParamsChangeClick(TOption sender) override;
    void lbNumbersClick(int selected) override { FNumbers.lbNumbersClick(selected); }
    void btAddNumberClick() override;
    void btEditNumberClick() override;
    void btDeleteNumberClick() override;
    void MenuClick(TMenuItem item) override;
    void PopupMenuPopup() override;
    // True when the key was taken (F1 without Alt and Ctrl).
    bool FormKeyDown(int key, bool shift, bool alt, bool ctrl) override;
    void laAppTitleClick() override;
    void TrayIconDblClick() { ShowView(false); }
    void ApplicationEventsMinimize() override;
    // Whether the window may close; closing without Exit hides the program into the tray.
    bool FormCloseQuery() override;
    // The system asks whether the session may end: always yes, at once.
    bool WMQueryEndSession() override { return true; }
    // The session really ends (or not): what the user set is written before the process goes.
    void WMEndSession(bool ending) override;
    // Saves as at the end of a session, closes an open question as declined, takes the tray
    // icon away and ends the process.
    void WMCloseApp() override;

    // The three stages of the check cycle and the status line.
    void DisconnectUnknownConnections(bool automatic)
    {
        FDialUpChecks->DisconnectUnknownConnections(automatic);
    }
    void DeleteUnknownDialUps(bool automatic) { FDialUpChecks->DeleteUnknownDialUps(automatic); }
    void CheckActiveDialers(bool automatic) { FDialerSweep->CheckActiveDialers(automatic); }
    void ShowConnectionStatus() { FDialUpChecks->ShowConnectionStatus(); }

    void ShowView(bool report) override;
    void ShowMainWindow();
    bool IsMinimized() { return FView.IsApplicationMinimized(); }
    void SettingsToControls();
    void ControlsToSettings();
    void UpdateNumberButtons() { FNumbers.UpdateNumberButtons(); }
    // Writes or deletes the guard's own Run value as the option says; the report says once a
    // run when neither Run key may be written.
    void UpdateAutoStart();

    void AddReport(const std::string& text) { FReport.Add(text); }
    void SetStatusText(const std::string& text, bool progressPanel)
    {
        FProgress.SetStatusText(text, progressPanel);
    }

    // The file-report handlers: removal tells them of every quarantine copy and deletion.
    void ReportFileCopied(const std::string& source, const std::string& destination, bool ok);
    void ReportFileDeleted(const std::string& path, bool ok);

    TSettings& Settings() { return *FSettings; }
    // The guard never dials, so nothing but a direct call raises the dial events it handles.
    TDialUp& DialUp() { return *FDialUp; }
    TTrayIcon* TrayIcon() { return FTrayIcon.get(); }
    bool StartupTimerEnabled() const
    {
        return !FStarted && FStartupTimer && FStartupTimer->Enabled();
    }
    bool LookTimerEnabled() const { return FStarted && FStartupTimer && FStartupTimer->Enabled(); }
    bool ExitRequested() const { return FExitRequested; }
    const std::vector<std::string>& Numbers() const { return FNumbers.Numbers(); }
    int SelectedNumber() const { return FNumbers.Selected(); }

private:
    template <typename... Args>
    void AddReportFmt(const std::string& format, const Args&... args)
    {
        FReport.AddFmt(format, args...);
    }
    void RunWork(TWork work);
    void RunCycle();
    // Starts or stops the short look as the options and the notifications say. It runs from
    // the start-up tick on: where no notifications come, always, since it stands in for them.
    void UpdateLook();
    void Look();
    bool Ask(int mode, const std::string& value1, const std::string& value2);
    void SetCheckBox(TOption option, bool checked);
    // The allowed numbers changed in the list box: the settings keep them.
    void StoreNumbers();
    // Saves the settings; a failure is reported every time, and the first one in a run is also
    // shown in a box where mayShowBox allows (not while the window is going).
    void SaveSettings(bool mayShowBox);
    // The notification area took the icon at last: no more retries, and a window that was
    // minimised meanwhile goes into the tray as it would have then.
    void TrayIconAdded();
    // The lasting log beside the settings file; its first failure is told in the report and,
    // once the current work is over, in a box.
    void OpenActivityLog();
    // The guard acted by itself: the tray icon says so while the window may be hidden.
    void Announce(const std::string& text);
    void ShowActivityLog();
    // The log's last line: at the end of the session (after which the process may be ended
    // without more ado) or when the window goes, whichever comes first.
    void LogEnd();

    TGuardPorts FPorts;
    IMainView& FView;
    TActivityReport FReport;
    TProgressDisplay FProgress;
    TNumbersPanel FNumbers;
    TWorkQueue FWork;

    bool FExitRequested = false;
    // A close is being decided (its warning box may be open): a close asked for meanwhile is
    // left to it.
    bool FClosing = false;
    bool FSettingsWarningShown = false;
    std::unique_ptr<TTrayIcon> FTrayIcon;
    std::unique_ptr<ITimer> FTrayRetryTimer;
    std::unique_ptr<TSettings> FSettings;
    std::unique_ptr<TActivityLog> FActivityLog;
    std::unique_ptr<ITimer> FLogWarningTimer;
    bool FEndLogged = false;
    std::unique_ptr<TDialUp> FDialUp;
    std::unique_ptr<TRasConnThread> FRasConnThread;
    // Ticks once for the start-up tick; from then on it times the short look, where that runs.
    std::unique_ptr<ITimer> FStartupTimer;
    // The start-up tick has run: the short look may run from now on.
    bool FStarted = false;
    bool FLookFailed = false;
    std::unique_ptr<TStartupFiles> FStartupFiles;
    bool FAutoStartFailureReported = false;
    std::unique_ptr<TDialUpChecks> FDialUpChecks;
    std::unique_ptr<TDialerSweep> FDialerSweep;
};
