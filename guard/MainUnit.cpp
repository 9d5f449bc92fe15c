#include "guard/MainUnit.h"

#include "common/Errors.h"
#include "common/Format.h"
#include "common/Paths.h"
#include "common/Product.h"
#include "common/Trace.h"
#include "guard/GuardTexts.h"

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

TLinewardenForm::TLinewardenForm(const TGuardPorts& ports)
    : FPorts(ports),
      FView(ports.View),
      FReport(ports.View, ports.LocalTime),
      FProgress(ports.View),
      FNumbers(ports.View, ports.Dialogs),
      FWork([this](TWork work) { RunWork(work); },
            [this](const std::string& message) { FView.ShowError(message); },
            [this] { FView.Close(); })
{
    // Removal reports every copy and deletion through the guard's own ports, before anything
    // that could remove a file is made.
    FPorts.Tools.OnFileCopied = [this](const std::string& source, const std::string& destination,
                                       bool ok) { ReportFileCopied(source, destination, ok); };
    FPorts.Tools.OnFileDeleted = [this](const std::string& path, bool ok) {
        ReportFileDeleted(path, ok);
    };
    FPorts.Tools.OnQuarantineUnavailable = [this](const std::string& folder) {
        if (FDialerSweep) FDialerSweep->QuarantineUnavailable(folder);
    };
    try {
        FView.SetCaption(kGuardCaption);
        FView.SetAppTitle(std::string(kGuardCaption) + " - " + kHomePage);
        FExitRequested = false;

        FTrayIcon = std::make_unique<TTrayIcon>(FPorts.NotificationArea, FPorts.Language);
        // The tip first, so that the icon appears with it rather than with a placeholder.
        FTrayIcon->SetTip(kGuardCaption);
        FTrayIcon->OnDblClick = [this](TTrayIcon&) { TrayIconDblClick(); };
        FTrayIcon->PopupMenu = FPorts.PopupMenu;
        FTrayIcon->SetVisible(true);
        // At logon the notification area may not be there yet. The icon is offered again on a
        // timer and when the shell announces its taskbar, and the window is not hidden into
        // the tray until the icon is there to bring it back.
        FTrayIcon->OnAdded = [this](TTrayIcon&) { TrayIconAdded(); };
        if (!FTrayIcon->ActiveTrayIcon()) {
            FTrayRetryTimer = FPorts.Ui.CreateTimer([this] { FTrayIcon->RetryAdd(); });
            FTrayRetryTimer->Start(kTrayRetryIntervalMs);
        }

        FSettings = std::make_unique<TSettings>(FPorts.Profile, FPorts.Tools.ProgramPath);
        OpenActivityLog();

        FDialUp = std::make_unique<TDialUp>(FPorts.Ras, FPorts.Ui, FPorts.Clock,
                                            &FPorts.Tools.Registry, FPorts.Windows95Family);
        FDialUp->OnDialing = [this](TDialUp*) {
            SetStatusText(GuardText(TGuardText::StatusDialing, FPorts.Language), false);
            FPorts.Ui.ProcessMessages();
        };
        FDialUp->OnConnect = [this](TDialUp*) {
            SetStatusText(GuardText(TGuardText::StatusConnected, FPorts.Language), false);
        };
        FDialUp->OnNotConnected = [this](TDialUp*, int32_t, const std::string&) {
            SetStatusText(GuardText(TGuardText::StatusNotConnected, FPorts.Language), false);
        };
        FDialUp->OnAsyncEvent = [this](TDialUp*, int32_t, int32_t, const std::string& text) {
            SetStatusText(text, false);
        };
        FDialUp->OnError = [this](TDialUp*, int32_t, const std::string&) {
            SetStatusText(GuardText(TGuardText::StatusError, FPorts.Language), false);
        };
        FDialUp->OnActiveConnection = [](TDialUp*, THRasConn, TRasConnStatusA&,
                                         const std::string& status, TEntryNameField& entry,
                                         TDeviceTypeField& type, TDeviceNameField& name) {
            TraceFmt(kTraceActiveConnection, status, entry, type, name);
        };
        FDialUp->OnLog = [](const std::string& text) { Trace(text); };

        FRasConnThread = std::make_unique<TRasConnThread>(FPorts.Ras, FPorts.Ui, FPorts.Clock);
        if (FRasConnThread->NotifyResult() != 0) {
            FRasConnThread.reset();
            Trace(kTraceThreadFailed);
        } else {
            FRasConnThread->OnNotify = [this](TRasConnThread& thread) {
                RasConnNotification(thread);
            };
            FRasConnThread->Resume();
        }

        // After its one tick the start-up timer times the short look, where that runs.
        FStartupTimer = FPorts.Ui.CreateTimer(
                [this] { FWork.Run(FStarted ? TWork::Look : TWork::StartupTick); });
        FStartupTimer->Start(kStartupIntervalMs);

        FStartupFiles = std::make_unique<TStartupFiles>(FPorts.Tools);
        const TCheckContext context{
                *FSettings,
                FProgress,
                FReport,
                FPorts.Language,
                [this](int mode, const std::string& value1, const std::string& value2) {
                    return Ask(mode, value1, value2);
                },
                [this](const std::string& text) { Announce(text); }};
        FDialUpChecks = std::make_unique<TDialUpChecks>(*FDialUp, context);
        FDialerSweep = std::make_unique<TDialerSweep>(FPorts.Tools, *FStartupFiles, context);

        SettingsToControls();
        UpdateNumberButtons();
        UpdateAutoStart();
        ShowConnectionStatus();

        FView.SetMenuItemVisible(TMenuItem::TestDialers, false);
        FView.SetReportVisible(false);

        AddReport(GuardText(TGuardText::ReportStart, FPorts.Language) + kGuardCaption);
        if (FSettings->FirstRun()) FStartupTimer->Start(kFirstRunStartupIntervalMs);
    } catch (...) {
        // The members go in reverse order; the worker must not call into a half-built window.
        if (FRasConnThread) FRasConnThread->OnNotify = nullptr;
        throw;
    }
}

TLinewardenForm::~TLinewardenForm()
{
    try {
        LogEnd();
    } catch (...) {
        // Shutting down must go on.
    }
    try {
        UpdateAutoStart();
    } catch (...) {
        // Shutting down must go on; the registry keeps what it had.
    }
    // First: stopping the notification thread below pumps messages, and no look may run on
    // checks that have gone.
    FStartupTimer.reset();
    FDialerSweep.reset();
    FDialUpChecks.reset();
    FStartupFiles.reset();
    FTrayRetryTimer.reset();
    if (FRasConnThread) {
        FRasConnThread->OnNotify = nullptr;
        FRasConnThread.reset();
    }
    FDialUp.reset();
    try {
        SaveSettings(false);
    } catch (...) {
        // Shutting down must go on.
    }
    // The settings save once more as they go, which can fail only as this save did.
    FSettings.reset();
    FReport.SetLog(nullptr, nullptr);
    FLogWarningTimer.reset();
    FActivityLog.reset();
    if (FTrayIcon) FTrayIcon->SetVisible(false);
    FTrayIcon.reset();
}

void TLinewardenForm::StartupTimerTimer()
{
    FWork.Run(TWork::StartupTick);
}

void TLinewardenForm::RasConnNotification(TRasConnThread& thread)
{
    if (FRasConnThread) TraceFmt(kTraceNotification, thread.NotifyCount());
    FWork.Run(TWork::Notification);
}

void TLinewardenForm::RunWork(TWork work)
{
    switch (work) {
    case TWork::StartupTick:
        FStartupTimer->Stop();
        FSettings->SetFirstRun(false);
        // Before the cycle, which an error may end: the look must run all the same.
        FStarted = true;
        UpdateLook();
        RunCycle();
        ShowConnectionStatus();
        // Saved now rather than only at Exit: a folder that refuses the file is found while the
        // window is still up, and the cleared first-run flag is kept even if the guard is
        // ended without Exit.
        SaveSettings(true);
        if (!IsMinimized()) FView.MinimizeApplication();
        break;
    case TWork::Notification:
        ShowConnectionStatus();
        RunCycle();
        ShowConnectionStatus();
        break;
    case TWork::Look: Look(); break;
    case TWork::Connections:
        DisconnectUnknownConnections(false);
        ShowConnectionStatus();
        break;
    case TWork::Phonebook:
        DeleteUnknownDialUps(false);
        ShowConnectionStatus();
        break;
    case TWork::Dialers:
        CheckActiveDialers(false);
        ShowConnectionStatus();
        break;
    case TWork::TestDialers: FDialerSweep->TestDialers(); break;
    }
}

void TLinewardenForm::RunCycle()
{
    DisconnectUnknownConnections(true);
    DeleteUnknownDialUps(true);
    CheckActiveDialers(true);
}

void TLinewardenForm::UpdateLook()
{
    // The look judges the connections while connection checking is on, when the option asks
    // for it or when no notification would ever tell of a call; without notifications it runs
    // in any case, since it stands in for them.
    const bool judges = FSettings->CheckAllowedNumbers() &&
                        (FSettings->CheckWhileDialling() || !FRasConnThread);
    FDialUpChecks->SetLooking(judges);
    if (FStarted && (judges || !FRasConnThread))
        FStartupTimer->Start(kLookIntervalMs);
    else
        FStartupTimer->Stop();
}

void TLinewardenForm::Look()
{
    // What fails at one look fails at every look: it is shown once, not twice a second, and the
    // look stays off.
    if (FLookFailed) return;
    FLookFailed = true;
    const bool changed = FDialUpChecks->LookAtConnections();
    FLookFailed = false;
    // Without notifications the look is what tells of a connection made or ended: the cycle
    // runs as a notification would have run it.
    if (changed && !FRasConnThread) RunWork(TWork::Notification);
}

// ---------------------------------------------------------------------------------------------
// Confirmations and the file reports

void TLinewardenForm::ShowMainWindow()
{
    if (FTrayIcon) FTrayIcon->EndAnnouncement();
    FView.BringUp();
}

bool TLinewardenForm::Ask(int mode, const std::string& value1, const std::string& value2)
{
    // Once the user has chosen Exit, nothing more is done without asking, and nothing is asked.
    if (FExitRequested) return false;
    ShowMainWindow();
    const bool accepted = FPorts.Dialogs.AskQuestion(mode, value1, value2);
    FView.Repaint();
    return accepted && !FExitRequested;
}

void TLinewardenForm::ReportFileCopied(const std::string& source, const std::string& destination,
                                       bool ok)
{
    AddReportFmt(GuardText(ok ? TGuardText::ReportCopied : TGuardText::ReportCopyFailed,
                           FPorts.Language),
                 ExtractFileName(source), source, destination);
}

void TLinewardenForm::ReportFileDeleted(const std::string& path, bool ok)
{
    AddReportFmt(GuardText(ok ? TGuardText::ReportDeleted : TGuardText::ReportDeleteFailed,
                           FPorts.Language),
                 ExtractFileName(path), path);
}

// ---------------------------------------------------------------------------------------------
// Options and numbers

void TLinewardenForm::SetCheckBox(TOption option, bool checked)
{
    // As a check box does when its state is set: the click event follows a real change only.
    if (FView.Checked(option) == checked) return;
    FView.SetChecked(option, checked);
    cbParamsChangeClick(option);
}

void TLinewardenForm::SettingsToControls()
{
    FSettings->BeginUpdate();
    try {
        SetCheckBox(TOption::AutoStart, FSettings->AutoStart());
        SetCheckBox(TOption::CheckAllowedNumbers, FSettings->CheckAllowedNumbers());
        SetCheckBox(TOption::AutoDeleteDialUp, FSettings->AutoDeleteDialUp());
        SetCheckBox(TOption::AutoDeleteDialers, FSettings->AutoDeleteDialers());
        SetCheckBox(TOption::AskBeforeDeleteDialUp, FSettings->AskBeforeDeleteDialUp());
        SetCheckBox(TOption::CheckWhileDialling, FSettings->CheckWhileDialling());
        std::vector<std::string> numbers;
        FSettings->GetNumbers(numbers);
        FNumbers.Load(std::move(numbers));
    } catch (...) {
        FSettings->EndUpdate();
        throw;
    }
    FSettings->EndUpdate();
}

void TLinewardenForm::ControlsToSettings()
{
    FSettings->SetAutoStart(FView.Checked(TOption::AutoStart));
    FSettings->SetCheckAllowedNumbers(FView.Checked(TOption::CheckAllowedNumbers));
    FSettings->SetAutoDeleteDialUp(FView.Checked(TOption::AutoDeleteDialUp));
    FSettings->SetAutoDeleteDialers(FView.Checked(TOption::AutoDeleteDialers));
    FSettings->SetAskBeforeDeleteDialUp(FView.Checked(TOption::AskBeforeDeleteDialUp));
    FSettings->SetCheckWhileDialling(FView.Checked(TOption::CheckWhileDialling));
    StoreNumbers();
}

void TLinewardenForm::cbParamsChangeClick(TOption sender)
{
    if (FSettings->Updating()) return;
    ControlsToSettings();
    UpdateLook();
    if (sender == TOption::CheckAllowedNumbers && FSettings->CheckAllowedNumbers())
        FWork.Run(TWork::Connections);
    else if (sender == TOption::AutoDeleteDialUp && FSettings->AutoDeleteDialUp())
        FWork.Run(TWork::Phonebook);
    else if (sender == TOption::AutoDeleteDialers && FSettings->AutoDeleteDialers())
        FWork.Run(TWork::Dialers);
}

void TLinewardenForm::StoreNumbers()
{
    FSettings->SetNumbers(FNumbers.Numbers());
}

void TLinewardenForm::btAddNumberClick()
{
    if (!FNumbers.AddNumber()) return;
    StoreNumbers();
    // Protection is what a new allowed number is for: switching it on checks at once.
    if (!FSettings->CheckAllowedNumbers()) SetCheckBox(TOption::CheckAllowedNumbers, true);
    UpdateNumberButtons();
}

void TLinewardenForm::btEditNumberClick()
{
    if (!FNumbers.EditNumber()) return;
    StoreNumbers();
    UpdateNumberButtons();
}

void TLinewardenForm::btDeleteNumberClick()
{
    if (!FNumbers.DeleteNumber()) return;
    StoreNumbers();
    UpdateNumberButtons();
}

// ---------------------------------------------------------------------------------------------
// Menu, views, keys and the window's life

void TLinewardenForm::MenuClick(TMenuItem item)
{
    switch (item) {
    case TMenuItem::Configuration: ShowView(false); break;
    case TMenuItem::Report: ShowView(true); break;
    case TMenuItem::About: ShowHelp(FPorts.Tools, FView.Handle()); break;
    case TMenuItem::ActivityLog: ShowActivityLog(); break;
    case TMenuItem::DisconnectUnknownConnection: FWork.Run(TWork::Connections); break;
    case TMenuItem::DeleteUnknownDialUps: FWork.Run(TWork::Phonebook); break;
    case TMenuItem::CheckActiveDialers: FWork.Run(TWork::Dialers); break;
    case TMenuItem::TestDialers: FWork.Run(TWork::TestDialers); break;
    case TMenuItem::Exit:
        FExitRequested = true;
        if (FWork.Busy()) {
            // A question is open: it is closed as declined, the running work ends without
            // asking again, and the window closes then.
            FWork.CloseWhenIdle();
            FPorts.Dialogs.CancelDialogs();
        } else {
            FView.Close();
        }
        break;
    }
}

void TLinewardenForm::PopupMenuPopup()
{
    FView.SetMenuItemEnabled(TMenuItem::DisconnectUnknownConnection, FDialUp->Connected());
}

bool TLinewardenForm::FormKeyDown(int key, bool shift, bool alt, bool ctrl)
{
    (void)shift;
    if (key != kKeyF1 || alt || ctrl) return false;
    ShowHelp(FPorts.Tools, FView.Handle());
    return true;
}

void TLinewardenForm::laAppTitleClick()
{
    FPorts.Tools.Shell.Execute(FView.Handle(), "open", kHomePage, "", "", swShowNormal);
}

void TLinewardenForm::ShowView(bool report)
{
    ShowMainWindow();
    FView.SetReportVisible(report);
}

void TLinewardenForm::ApplicationEventsMinimize()
{
    // Without a registered icon nothing could bring a hidden window back: it stays on the
    // taskbar.
    if (FTrayIcon && FTrayIcon->ActiveTrayIcon()) FView.HideToTray();
}

void TLinewardenForm::TrayIconAdded()
{
    if (FTrayRetryTimer) FTrayRetryTimer->Stop();
    if (IsMinimized()) FView.HideToTray();
}

void TLinewardenForm::OpenActivityLog()
{
    const std::string fallback = FPorts.ApplicationDataFolder.empty()
                                         ? std::string()
                                         : IncludeTrailingBackslash(FPorts.ApplicationDataFolder) +
                                                   kActivityLogFallbackFolder;
    FActivityLog = std::make_unique<TActivityLog>(
            FPorts.Tools.Files, ActivityLogFile(FSettings->FileName()), fallback,
            FPorts.Windows95Family ? TLogEncoding::Ansi : TLogEncoding::Utf8);
    FReport.SetLog(FActivityLog.get(), [this](const std::string& file) {
        AddReportFmt(GuardText(TGuardText::ReportLogNotWritten, FPorts.Language), file);
        // A box now could open in the middle of a check, or before the window is up: it waits
        // until the user-interface thread is free.
        FLogWarningTimer = FPorts.Ui.CreateTimer([this, file] {
            FLogWarningTimer->Stop();
            FView.ShowWarning(
                    Format(GuardText(TGuardText::LogNotWrittenMessage, FPorts.Language), file));
        });
        FLogWarningTimer->Start(1);
    });
}

void TLinewardenForm::LogEnd()
{
    if (FEndLogged) return;
    FEndLogged = true;
    FReport.Log(GuardText(TGuardText::LogEnd, FPorts.Language) + kGuardCaption);
}

void TLinewardenForm::Announce(const std::string& text)
{
    if (FTrayIcon) FTrayIcon->Announce(kGuardCaption, text, FPorts.Clock.TickCount());
}

void TLinewardenForm::ShowActivityLog()
{
    // Notepad is every Windows' text viewer, and it shows the log in the encoding it was
    // written for that system.
    FPorts.Tools.Shell.Execute(FView.Handle(), "open", "notepad.exe",
                               "\"" + FActivityLog->FileName() + "\"", "", swShowNormal);
}

void TLinewardenForm::SaveSettings(bool mayShowBox)
{
    if (FSettings->Save()) return;
    const std::string& file = FSettings->FileName();
    AddReportFmt(GuardText(TGuardText::ReportSettingsNotSaved, FPorts.Language), file);
    if (!mayShowBox || FSettingsWarningShown) return;
    FSettingsWarningShown = true;
    FView.ShowWarning(
            Format(GuardText(TGuardText::SettingsNotSavedMessage, FPorts.Language), file));
}

bool TLinewardenForm::FormCloseQuery()
{
    // The warning box of a failed save runs a message loop, in which the user may ask to close
    // again (the close box, Exit in the tray menu): the close being decided takes that over.
    if (FClosing) return false;
    FClosing = true;
    try {
        ControlsToSettings();
        SaveSettings(true);
    } catch (...) {
        FClosing = false;
        throw;
    }
    FClosing = false;
    if (!FExitRequested) {
        FView.MinimizeApplication();
        return false;
    }
    // A close that comes while work runs (handled inside an error box's or a question's
    // message loop) must not be lost: the window closes when the work has ended.
    if (FWork.Busy()) {
        FWork.CloseWhenIdle();
        return false;
    }
    return true;
}

void TLinewardenForm::WMEndSession(bool ending)
{
    if (!ending) return;
    // The process may be ended right after this message without the window being destroyed.
    // No box: the session is ending and the user would not see it.
    ControlsToSettings();
    SaveSettings(false);
    LogEnd();
    try {
        UpdateAutoStart();
    } catch (...) {
        // The session is ending and the process may go at any moment: an error box would only
        // hold up the logoff, and the Run value keeps what it had, which the next start mends.
    }
}

void TLinewardenForm::WMCloseApp()
{
    // Nothing ends the process after a close request, as the system does at the end of a
    // session, so the guard ends itself. It does so at once rather than through Exit: the
    // program asking waits a bounded time, and a box about a failed save would hold it up.
    WMEndSession(true);
    FExitRequested = true;
    FPorts.Dialogs.CancelDialogs();
    if (FTrayIcon) FTrayIcon->SetVisible(false);
    FView.EndProcess();
}

void TLinewardenForm::UpdateAutoStart()
{
    try {
        // The guard starts from the Run key its setup chose for the system: the user's alone
        // where it was installed for that user, so that it never starts for another user.
        // Switched off, it goes from every Run key the user may change, wherever an earlier
        // version wrote it.
        if (!FSettings->AutoStart()) {
            FStartupFiles->DeleteRunValue(kAutoStartValueName);
        } else if (WriteScopedRunValue(FPorts.Tools.Registry,
                                       InstallScopeFor(FPorts.Windows95Family), kAutoStartValueName,
                                       FPorts.Tools.ProgramPath) == TRunValueWritten::Nowhere &&
                   !FAutoStartFailureReported) {
            // Neither Run key may be changed, so the guard will not start with Windows although
            // the option says so. This runs at start, at the end of a session and at exit: the
            // user is told once.
            FAutoStartFailureReported = true;
            AddReport(GuardText(TGuardText::ReportAutoStartNotWritten, FPorts.Language));
        }
    } catch (const Exception& e) {
        // Whatever the registry does must not keep the guard from starting or ending; the
        // registry stays as it is.
        TraceFmt("[TLinewardenForm.UpdateAutoStart] %s", std::string(e.what()));
    }
}
