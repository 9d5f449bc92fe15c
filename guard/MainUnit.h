#pragma once
// TLinewardenForm: the guard's main window seen from its logic. It owns the guard's long-lived
// objects, runs the start-up and shut-down sequences, and runs the check cycle (connections,
// phonebook, dialers) on the start-up tick, on every RAS connection notification and on the
// user's commands, writing every action to the activity report.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Format.h"
#include "dialers/StartupFiles.h"
#include "dialers/ToolsPorts.h"
#include "dialup/DialUpTools.h"
#include "dialup/RasThread.h"
#include "guard/GuardViews.h"
#include "guard/Tray.h"
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
};

// Key codes the window reacts to.
constexpr int kKeyF1 = 112;

// The start-up tick comes this long after start, sooner on the very first start.
constexpr unsigned kStartupIntervalMs = 1000;
constexpr unsigned kFirstRunStartupIntervalMs = 500;

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
    void lbNumbersClick(int selected) override;
    void btAddNumberClick() override;
    void btEditNumberClick() override;
    void btDeleteNumberClick() override;
    void MenuClick(TMenuItem item) override;
    void PopupMenuPopup() override;
    // True when the key was taken (F1 without Alt and Ctrl).
    bool FormKeyDown(int key, bool shift, bool alt, bool ctrl) override;
    void laAppTitleClick() override;
    void TrayIconDblClick();
    void ApplicationEventsMinimize() override;
    // Whether the window may close; closing without Exit hides the program into the tray.
    bool FormCloseQuery() override;
    // The system asks whether the session may end: always yes, at once.
    bool WMQueryEndSession() override { return true; }
    // The session really ends (or not): what the user set is written before the process goes.
    void WMEndSession(bool ending) override;

    // The three stages of the check cycle and the status line.
    void DisconnectUnknownConnections(bool automatic);
    void DeleteUnknownDialUps(bool automatic);
    void CheckActiveDialers(bool automatic);
    void ShowConnectionStatus();

    void ShowView(bool report) override;
    void ShowMainWindow();
    bool IsMinimized();
    void SettingsToControls();
    void ControlsToSettings();
    void UpdateNumberButtons();
    void UpdateAutoStart();

    void AddReport(const std::string& text);
    template <typename... Args>
    void AddReportFmt(const std::string& format, const Args&... args)
    {
        AddReport(Format(format, args...));
    }
    void SetStatusText(const std::string& text, bool progressPanel);
    void BeginProgress(int steps, const std::string& caption);
    void StepProgress() { SetProgressPosition(FProgressPosition + 1); }
    void SetProgressMax(int maximum) { FProgressMax = maximum; }
    void EndProgress();
    // The text the progress panel shows for the current state.
    std::string ProgressText() const;

    void ReportFileCopied(const std::string& source, const std::string& destination, bool ok);
    void ReportFileDeleted(const std::string& path, bool ok);

    TSettings& Settings() { return *FSettings; }
    TDialUp& DialUp() { return *FDialUp; }
    TTrayIcon* TrayIcon() { return FTrayIcon.get(); }
    TRasConnThread* RasConnThread() { return FRasConnThread.get(); }
    bool StartupTimerEnabled() const { return FStartupTimer && FStartupTimer->Enabled(); }
    bool ExitRequested() const { return FExitRequested; }
    const std::vector<std::string>& Numbers() const { return FNumbers; }
    int SelectedNumber() const { return FSelected; }

private:
    // Work that the window runs one piece at a time (see RunExclusive).
    enum class TWork { StartupTick, Notification, Connections, Phonebook, Dialers, TestDialers };

    void RunExclusive(TWork work);
    void RunWork(TWork work);
    void RunCycle();
    // The frame the connection check and the phonebook sweep share: the progress under its
    // caption, one step per name with Entry set to it, and Entry restored afterwards.
    void WalkNames(const std::vector<std::string>& names, const std::function<void(size_t)>& visit);
    bool Ask(int mode, const std::string& value1, const std::string& value2);
    bool AskActiveConnection(const std::string& entry, const std::string& number);
    bool AskDialUpEntry(const std::string& entry, const std::string& number);
    bool AskDialer(const std::string& name, const std::string& path);
    bool ConnectionNumber(THRasConn handle, std::string& number);
    void RemoveDialer(const std::string& name, const std::string& file, bool hasRunValue);
    bool IsOwnFile(const std::string& path) const;
    void SetProgressPosition(int position);
    void DrawProgress();
    void SetCheckBox(TOption option, bool checked);
    void ShowNumbers();
    std::string ReportTime();

    TGuardPorts FPorts;
    IMainView& FView;

    bool FExitRequested = false;
    std::unique_ptr<TTrayIcon> FTrayIcon;
    std::unique_ptr<TSettings> FSettings;
    std::unique_ptr<TDialUp> FDialUp;
    std::unique_ptr<TRasConnThread> FRasConnThread;
    std::unique_ptr<ITimer> FStartupTimer;
    std::unique_ptr<TStartupFiles> FStartupFiles;
    bool FProgressActive = false;
    std::string FProgressCaption;
    int32_t FProgressPosition = 0;
    int32_t FProgressMax = 0;

    // The allowed-number list box: its sorted items and the selected position (-1: none).
    std::vector<std::string> FNumbers;
    int FSelected = -1;

    // One piece of work at a time: what arrives while one runs (a notification or a tray
    // command during a question) waits here and runs when the running one has ended.
    bool FBusy = false;
    std::vector<TWork> FPending;
    bool FCloseWhenIdle = false;
};

// The main window from its creation until the very end of its destruction; null otherwise. The
// file hooks test it, so that a report after the window is gone does nothing.
extern TLinewardenForm* LinewardenForm;

// A report stamp: "hh:mm:ss dd:mm:yy" with the locale's time separator in place of each colon.
std::string FormatReportTime(const TLocalTime& time, const std::string& separator);
// The text progress bar: k of ten letters 'o' then full stops, k = position * 10 / maximum
// rounded half away from zero.
std::string ProgressBar(int position, int maximum);
