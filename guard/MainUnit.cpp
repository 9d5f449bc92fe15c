#include "guard/MainUnit.h"

#include <algorithm>
#include <functional>

#include "common/Errors.h"
#include "common/Paths.h"
#include "common/StrUtils.h"
#include "common/Trace.h"
#include "dialers/ExecutableChecks.h"
#include "dialers/FileSearch.h"
#include "dialers/Removal.h"
#include "dialers/RunningProcesses.h"
#include "guard/GuardTexts.h"
#include "guard/NumberQuestion.h"
#include "settings/NumberList.h"

TLinewardenForm* LinewardenForm = nullptr;

namespace {

// Ends the progress display when a stage is left by an exception; the normal way out ends it
// itself, in its place among the stage's steps.
class TProgressGuard {
public:
    explicit TProgressGuard(TLinewardenForm& form) : FForm(form) {}
    ~TProgressGuard()
    {
        if (FArmed) FForm.EndProgress();
    }
    void Done()
    {
        FArmed = false;
        FForm.EndProgress();
    }

private:
    TLinewardenForm& FForm;
    bool FArmed = true;
};

// A path as a Run value or the process walk gives it, comparable with another: without
// surrounding blanks and quotation marks, ASCII letters lower-cased.
std::string ComparablePath(const std::string& path)
{
    std::string text = Trim(path);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return LowerCase(text);
}

}  // namespace

std::string FormatReportTime(const TLocalTime& time, const std::string& separator)
{
    return Format("%.2d%s%.2d%s%.2d %.2d%s%.2d%s%.2d", time.Hour, separator, time.Minute, separator,
                  time.Second, time.Day, separator, time.Month, separator, time.Year % 100);
}

std::string ProgressBar(int position, int maximum)
{
    int k = 0;
    if (maximum > 0 && position > 0) {
        const int64_t tenfold = static_cast<int64_t>(position) * 10;
        k = static_cast<int>((2 * tenfold + maximum) / (2 * static_cast<int64_t>(maximum)));
    }
    LW_ASSERT(k <= 10, "MainUnit");
    return std::string(static_cast<size_t>(k), 'o') + std::string(static_cast<size_t>(10 - k), '.');
}

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

TLinewardenForm::TLinewardenForm(const TGuardPorts& ports) : FPorts(ports), FView(ports.View)
{
    LinewardenForm = this;
    // Removal reports every copy and deletion through the guard's own ports, before anything
    // that could remove a file is made.
    FPorts.Tools.OnFileCopied = [this](const std::string& source, const std::string& destination,
                                       bool ok) { ReportFileCopied(source, destination, ok); };
    FPorts.Tools.OnFileDeleted = [this](const std::string& path, bool ok) {
        ReportFileDeleted(path, ok);
    };
    try {
        FView.SetCaption(kWindowCaption);
        FView.SetAppTitle(std::string(kWindowCaption) + " - " + kHomePage);
        FView.SetStatusPanelWidth(0, FView.WindowWidth() - 160);
        FExitRequested = false;
        FProgressActive = false;
        FProgressCaption.clear();

        FTrayIcon = std::make_unique<TTrayIcon>(FPorts.NotificationArea);
        // The tip first, so that the icon appears with it rather than with a placeholder.
        FTrayIcon->SetTip(kWindowCaption);
        FTrayIcon->OnDblClick = [this](TTrayIcon&) { TrayIconDblClick(); };
        FTrayIcon->PopupMenu = FPorts.PopupMenu;
        FTrayIcon->SetVisible(true);

        FSettings = std::make_unique<TSettings>(FPorts.Profile, FPorts.Tools.ProgramPath);

        FDialUp = std::make_unique<TDialUp>(FPorts.Ras, FPorts.Ui, FPorts.Clock,
                                            &FPorts.Tools.Registry, FPorts.Windows95Family);
        FDialUp->OnDialing = [this](TDialUp*) {
            SetStatusText(kStatusDialing, false);
            FPorts.Ui.ProcessMessages();
        };
        FDialUp->OnConnect = [this](TDialUp*) { SetStatusText(kStatusConnected, false); };
        FDialUp->OnNotConnected = [this](TDialUp*, int32_t, const std::string&) {
            SetStatusText(kStatusNotConnected, false);
        };
        FDialUp->OnAsyncEvent = [this](TDialUp*, int32_t, int32_t, const std::string& text) {
            SetStatusText(text, false);
        };
        FDialUp->OnError = [this](TDialUp*, int32_t, const std::string&) {
            SetStatusText(kStatusError, false);
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

        FStartupTimer = FPorts.Ui.CreateTimer([this] { StartupTimerTimer(); });
        FStartupTimer->Start(kStartupIntervalMs);

        FStartupFiles = std::make_unique<TStartupFiles>(FPorts.Tools);

        SettingsToControls();
        UpdateNumberButtons();
        UpdateAutoStart();
        ShowConnectionStatus();

        FView.SetMenuItemVisible(TMenuItem::TestDialers, false);
        FView.SetReportVisible(false);

        AddReport(std::string(kReportStart) + kWindowCaption);
        if (FSettings->FirstRun()) FStartupTimer->Start(kFirstRunStartupIntervalMs);

        SetHelpFile(FPorts.Tools);
    } catch (...) {
        // The members go in reverse order; the worker must not call into a half-built window.
        if (FRasConnThread) FRasConnThread->OnNotify = nullptr;
        LinewardenForm = nullptr;
        throw;
    }
}

TLinewardenForm::~TLinewardenForm()
{
    try {
        UpdateAutoStart();
    } catch (...) {
        // Shutting down must go on; the registry keeps what it had.
    }
    FStartupFiles.reset();
    FStartupTimer.reset();
    if (FRasConnThread) {
        FRasConnThread->OnNotify = nullptr;
        FRasConnThread.reset();
    }
    FDialUp.reset();
    FSettings.reset();
    if (FTrayIcon) FTrayIcon->SetVisible(false);
    FTrayIcon.reset();
    LinewardenForm = nullptr;
}

void TLinewardenForm::StartupTimerTimer()
{
    FStartupTimer->Stop();
    RunExclusive(TWork::StartupTick);
}

void TLinewardenForm::RasConnNotification(TRasConnThread& thread)
{
    if (FRasConnThread) TraceFmt(kTraceNotification, thread.NotifyCount());
    RunExclusive(TWork::Notification);
}

// ---------------------------------------------------------------------------------------------
// One piece of work at a time

void TLinewardenForm::RunExclusive(TWork work)
{
    if (FBusy) {
        // A question is open further up this very call stack. Starting the work here would walk
        // lists that the running cycle is still walking; it runs once the running work is done.
        if (std::find(FPending.begin(), FPending.end(), work) == FPending.end())
            FPending.push_back(work);
        return;
    }
    FBusy = true;
    FPending.push_back(work);
    while (!FPending.empty()) {
        const TWork next = FPending.front();
        FPending.erase(FPending.begin());
        try {
            RunWork(next);
        } catch (const std::exception& e) {
            // The stages have ended the progress display on their way out; the guard goes on.
            FView.ShowError(e.what());
        }
    }
    FBusy = false;
    if (FCloseWhenIdle) {
        FCloseWhenIdle = false;
        FView.Close();
    }
}

void TLinewardenForm::RunWork(TWork work)
{
    switch (work) {
    case TWork::StartupTick:
        FSettings->SetFirstRun(false);
        RunCycle();
        ShowConnectionStatus();
        if (!IsMinimized()) FView.MinimizeApplication();
        break;
    case TWork::Notification:
        ShowConnectionStatus();
        RunCycle();
        ShowConnectionStatus();
        break;
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
    case TWork::TestDialers: {
        TFiles files(FPorts.Tools);
        files.TestScan(true, [this](const std::string& path) {
            return RemoveFile(FPorts.Tools, path, false);
        });
        break;
    }
    }
}

void TLinewardenForm::RunCycle()
{
    DisconnectUnknownConnections(true);
    DeleteUnknownDialUps(true);
    CheckActiveDialers(true);
}

// ---------------------------------------------------------------------------------------------
// Confirmations

void TLinewardenForm::ShowMainWindow()
{
    if (IsMinimized()) FView.RestoreApplication();
    FView.ShowWindow();
    if (!FView.IsApplicationActive()) FView.BringToFront();
}

bool TLinewardenForm::IsMinimized()
{
    return FView.IsApplicationMinimized();
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

bool TLinewardenForm::AskActiveConnection(const std::string& entry, const std::string& number)
{
    return Ask(qmActiveConnection, entry, number);
}

bool TLinewardenForm::AskDialUpEntry(const std::string& entry, const std::string& number)
{
    return Ask(qmPhonebookEntry, entry, number);
}

bool TLinewardenForm::AskDialer(const std::string& name, const std::string& path)
{
    return Ask(qmDialer, name, path);
}

// ---------------------------------------------------------------------------------------------
// Connection check

bool TLinewardenForm::ConnectionNumber(THRasConn handle, std::string& number)
{
    if (FDialUp->GetConnectedNumberOf(number, handle) == 0) return true;
    if (FDialUp->GetEntryOverridingPhoneNumber(number) == 0) return true;
    return FDialUp->GetEntryPhoneNumber(number) == 0 && !number.empty();
}

void TLinewardenForm::WalkNames(const std::vector<std::string>& names,
                                const std::function<void(size_t)>& visit)
{
    BeginProgress(6, kProgressConnections);
    TProgressGuard progress(*this);
    if (names.empty()) {
        progress.Done();
        return;
    }
    StepProgress();
    SetProgressMax(FProgressMax + static_cast<int32_t>(names.size()));
    const std::string remembered = FDialUp->Entry();
    for (size_t i = 0; i < names.size(); ++i) {
        StepProgress();
        FDialUp->SetEntry(names[i]);
        visit(i);
    }
    StepProgress();
    FDialUp->SetEntry(remembered);
    progress.Done();
}

void TLinewardenForm::DisconnectUnknownConnections(bool automatic)
{
    if (automatic && !FSettings->CheckAllowedNumbers()) return;
    if (FDialUp->GetConnections() != 0) return;
    // The check walks its own copy: a question may let the component's lists be refreshed, and
    // each connection is hung up by its handle, so a shifted position never hangs up another.
    const std::vector<std::string> names = FDialUp->Connections();
    const std::vector<THRasConn> handles = FDialUp->ConnectionHandles();
    LW_ASSERT(names.size() == handles.size(), "MainUnit");
    WalkNames(names, [&](size_t i) {
        std::string number;
        if (!ConnectionNumber(handles[i], number)) return;
        if (FindAllowedNumber(FSettings->Numbers(), number) != -1) return;
        if (FSettings->AskBeforeDeleteDialUp() && !AskActiveConnection(names[i], number)) {
            AddReportFmt(kReportConnectionKept, names[i], number);
            return;
        }
        if (FDialUp->HangUpConnectionOf(handles[i]) == 0)
            AddReportFmt(kReportHungUp, number);
        else
            AddReportFmt(kReportHangUpFailed, number);
    });
}

void TLinewardenForm::ShowConnectionStatus()
{
    FDialUp->GetConnections();
    std::string text;
    if (!FDialUp->Connected() || FDialUp->Connections().empty()) {
        text = kStatusNotConnected;
    } else {
        FDialUp->SetEntry(FDialUp->Connections()[0]);
        std::string number;
        if (FDialUp->GetConnectedNumber(number, 0) == 0)
            text = Format(kStatusConnectedTo, number);
        else if (FDialUp->GetEntryOverridingPhoneNumber(number) == 0)
            text = Format(kStatusConnectedOverriding, number);
        else if (FDialUp->GetEntryPhoneNumber(number) == 0 && !number.empty())
            text = Format(kStatusConnectedDefault, number);
        else
            text = kStatusConnected;
    }
    SetStatusText(text, false);
}

// ---------------------------------------------------------------------------------------------
// Phonebook sweep

void TLinewardenForm::DeleteUnknownDialUps(bool automatic)
{
    if (automatic && !FSettings->AutoDeleteDialUp()) return;
    if (FDialUp->GetEntries() != 0) return;
    // Names read once: deleting an entry does not shift the ones still to come.
    const std::vector<std::string> entries = FDialUp->Entries();
    WalkNames(entries, [&](size_t i) {
        std::string number;
        if (FDialUp->GetEntryPhoneNumber(number) != 0 || number.empty()) return;
        if (FindAllowedNumber(FSettings->Numbers(), number) != -1) return;
        if (FSettings->AskBeforeDeleteDialUp() && !AskDialUpEntry(entries[i], number)) {
            AddReportFmt(kReportEntryKept, entries[i], number);
            return;
        }
        // The question may have let other work move Entry; the entry judged is this one.
        FDialUp->SetEntry(entries[i]);
        if (FDialUp->DeleteEntry() == 0)
            AddReportFmt(kReportEntryDeleted, entries[i], number);
        else
            AddReportFmt(kReportEntryDeleteFailed, entries[i], number);
    });
}

// ---------------------------------------------------------------------------------------------
// Dialer sweep

bool TLinewardenForm::IsOwnFile(const std::string& path) const
{
    const std::string candidate = ComparablePath(path);
    if (candidate == ComparablePath(FPorts.Tools.ProgramPath)) return true;
    const std::string folder = ExtractFilePath(FPorts.Tools.ProgramPath);
    for (const char* unpacker : kUnpackerNames)
        if (candidate == ComparablePath(folder + unpacker)) return true;
    return false;
}

void TLinewardenForm::CheckActiveDialers(bool automatic)
{
    if (automatic && !FSettings->AutoDeleteDialers()) return;
    BeginProgress(10, kProgressDialers);
    TProgressGuard progress(*this);

    FStartupFiles->LoadFromRegistry();
    StepProgress();
    FStartupFiles->KeepDialers();
    StepProgress();
    // The sweep walks its own copy of the detected items. The guard's own program and the
    // unpackers beside it hold the dialer text (the guard binds the dial function by name), and
    // must never be taken for dialers.
    struct TItem {
        std::string Name, FileName;
    };
    std::vector<TItem> startupDialers;
    for (int i = 0; i < FStartupFiles->Count(); ++i) {
        const TStartupFile* item = FStartupFiles->Items(i);
        if (item && !IsOwnFile(item->FileName))
            startupDialers.push_back({item->Name, item->FileName});
    }
    for (const TItem& item : startupDialers) {
        if (AskDialer(item.Name, item.FileName))
            RemoveDialer(item.Name, item.FileName, true);
        else
            AddReportFmt(kReportStartupDialerKept, item.Name, item.FileName);
        StepProgress();
    }
    StepProgress();

    TFiles running(FPorts.Tools);
    running.ListRunningProcesses();
    StepProgress();
    const int m = running.KeepDialers();
    StepProgress();
    if (m > 0) {
        const std::vector<std::string> paths = running.Items();
        for (const std::string& path : paths) {
            if (IsOwnFile(path)) continue;
            if (AskDialer(ExtractFileName(path), path))
                RemoveDialer(path, path, false);
            else
                AddReportFmt(kReportProcessDialerKept, path);
            StepProgress();
        }
    }
    progress.Done();
}

void TLinewardenForm::RemoveDialer(const std::string& name, const std::string& file,
                                   bool hasRunValue)
{
    bool ok = false;
    try {
        AddReportFmt(kReportKilling, file);
        if (KillProcessByFile(FPorts.Tools, file)) AddReportFmt(kReportKilled, file);
        AddReportFmt(kReportDeletingFile, file);
        if (RemoveFile(FPorts.Tools, file, true)) {
            AddReportFmt(kReportFileDeleted, file);
            ok = true;
        }
        if (hasRunValue) {
            AddReportFmt(kReportDeletingRunValue, name);
            if (FStartupFiles->DeleteRunValue(name))
                AddReportFmt(kReportRunValueDeleted, name);
            else
                ok = false;
        }
        AddReportFmt(kReportDeletingShortcuts, file);
        if (RemoveShortcutsTo(FPorts.Tools, file)) AddReportFmt(kReportShortcutsDeleted, file);
    } catch (const std::exception& e) {
        ok = false;
        AddReportFmt(kReportRemovalError, std::string(e.what()));
    }
    if (!ok) AddReportFmt(kReportRemovalFailed, name);
}

void TLinewardenForm::ReportFileCopied(const std::string& source, const std::string& destination,
                                       bool ok)
{
    AddReportFmt(ok ? kReportCopied : kReportCopyFailed, ExtractFileName(source), source,
                 destination);
}

void TLinewardenForm::ReportFileDeleted(const std::string& path, bool ok)
{
    AddReportFmt(ok ? kReportDeleted : kReportDeleteFailed, ExtractFileName(path), path);
}

// ---------------------------------------------------------------------------------------------
// Report, status bar and progress

std::string TLinewardenForm::ReportTime()
{
    return FormatReportTime(FPorts.LocalTime.Now(), FPorts.LocalTime.TimeSeparator());
}

void TLinewardenForm::AddReport(const std::string& text)
{
    FView.AddReportRow(ReportTime(), text);
}

void TLinewardenForm::SetStatusText(const std::string& text, bool progressPanel)
{
    Trace(text);
    if (progressPanel) {
        if (FView.StatusPanelCount() < 2) FView.AddStatusPanel();
        FView.SetStatusText(1, text);
    } else {
        FView.SetStatusText(0, text);
    }
    FView.RepaintStatusBar();
}

void TLinewardenForm::BeginProgress(int steps, const std::string& caption)
{
    FProgressActive = true;
    FProgressCaption = caption;
    FProgressMax = steps;
    FProgressPosition = -1;
    SetProgressPosition(0);
    FView.SetHourglass(true);
    DrawProgress();
}

void TLinewardenForm::SetProgressPosition(int position)
{
    position = std::min(position, FProgressMax);
    if (position == FProgressPosition) return;
    FProgressPosition = position;
    DrawProgress();
}

void TLinewardenForm::EndProgress()
{
    DrawProgress();
    FProgressActive = false;
    FView.SetHourglass(false);
    SetStatusText("", true);
}

std::string TLinewardenForm::ProgressText() const
{
    if (!FProgressActive) return "";
    const std::string bar = ProgressBar(FProgressPosition, FProgressMax);
    return FProgressCaption.empty() ? bar : FProgressCaption + " " + bar;
}

void TLinewardenForm::DrawProgress()
{
    SetStatusText(ProgressText(), true);
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
        FSettings->GetNumbers(FNumbers);
        std::sort(FNumbers.begin(), FNumbers.end(),
                  [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
        FSelected = -1;
        ShowNumbers();
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
    FSettings->SetNumbers(FNumbers);
}

void TLinewardenForm::cbParamsChangeClick(TOption sender)
{
    if (FSettings->Updating()) return;
    ControlsToSettings();
    if (sender == TOption::CheckAllowedNumbers && FSettings->CheckAllowedNumbers())
        RunExclusive(TWork::Connections);
    else if (sender == TOption::AutoDeleteDialUp && FSettings->AutoDeleteDialUp())
        RunExclusive(TWork::Phonebook);
    else if (sender == TOption::AutoDeleteDialers && FSettings->AutoDeleteDialers())
        RunExclusive(TWork::Dialers);
}

void TLinewardenForm::ShowNumbers()
{
    FView.SetNumbers(FNumbers, FSelected);
}

void TLinewardenForm::UpdateNumberButtons()
{
    const bool selected = FSelected >= 0 && FSelected < static_cast<int>(FNumbers.size());
    FView.SetButtonEnabled(TNumberButton::Add, true);
    FView.SetButtonEnabled(TNumberButton::Edit, selected);
    FView.SetButtonEnabled(TNumberButton::Delete, selected);
}

void TLinewardenForm::lbNumbersClick(int selected)
{
    FSelected = selected >= 0 && selected < static_cast<int>(FNumbers.size()) ? selected : -1;
    UpdateNumberButtons();
}

namespace {

bool ListHolds(const std::vector<std::string>& items, const std::string& text)
{
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& item) { return CompareText(item, text) == 0; });
}

// Where a sorted list box puts a new item.
int SortedInsert(std::vector<std::string>& items, const std::string& text)
{
    auto at = std::upper_bound(
            items.begin(), items.end(), text,
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    const auto index = at - items.begin();
    items.insert(at, text);
    return static_cast<int>(index);
}

}  // namespace

void TLinewardenForm::btAddNumberClick()
{
    std::string number;
    if (!FPorts.Dialogs.EditNumber(number)) return;
    if (ListHolds(FNumbers, number)) return;
    FSelected = SortedInsert(FNumbers, number);
    ShowNumbers();
    FSettings->SetNumbers(FNumbers);
    // Protection is what a new allowed number is for: switching it on checks at once.
    if (!FSettings->CheckAllowedNumbers()) SetCheckBox(TOption::CheckAllowedNumbers, true);
    UpdateNumberButtons();
}

void TLinewardenForm::btEditNumberClick()
{
    if (FSelected < 0 || FSelected >= static_cast<int>(FNumbers.size())) return;
    std::string number = FNumbers[static_cast<size_t>(FSelected)];
    if (!FPorts.Dialogs.EditNumber(number)) return;
    // The dialog is modal, but the list may have been reloaded meanwhile.
    if (FSelected < 0 || FSelected >= static_cast<int>(FNumbers.size())) return;
    if (ListHolds(FNumbers, number)) return;
    FNumbers.erase(FNumbers.begin() + FSelected);
    FSelected = SortedInsert(FNumbers, number);
    ShowNumbers();
    FSettings->SetNumbers(FNumbers);
    UpdateNumberButtons();
}

void TLinewardenForm::btDeleteNumberClick()
{
    if (FSelected < 0 || FSelected >= static_cast<int>(FNumbers.size())) return;
    const int p = FSelected;
    FNumbers.erase(FNumbers.begin() + p);
    FSettings->SetNumbers(FNumbers);
    if (p < static_cast<int>(FNumbers.size()))
        FSelected = p;
    else
        FSelected = p > 0 ? p - 1 : -1;
    ShowNumbers();
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
    case TMenuItem::DisconnectUnknownConnection: RunExclusive(TWork::Connections); break;
    case TMenuItem::DeleteUnknownDialUps: RunExclusive(TWork::Phonebook); break;
    case TMenuItem::CheckActiveDialers: RunExclusive(TWork::Dialers); break;
    case TMenuItem::TestDialers: RunExclusive(TWork::TestDialers); break;
    case TMenuItem::Exit:
        FExitRequested = true;
        if (FBusy) {
            // A question is open: it is closed as declined, the running work ends without
            // asking again, and the window closes then.
            FCloseWhenIdle = true;
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

void TLinewardenForm::TrayIconDblClick()
{
    ShowView(false);
}

void TLinewardenForm::ApplicationEventsMinimize()
{
    if (FTrayIcon && FTrayIcon->Visible()) FView.HideToTray();
}

bool TLinewardenForm::FormCloseQuery()
{
    ControlsToSettings();
    FSettings->Save();
    const bool canClose = FExitRequested && !FBusy;
    if (!FExitRequested) FView.MinimizeApplication();
    return canClose;
}

void TLinewardenForm::WMEndSession(bool ending)
{
    if (!ending) return;
    // The process may be ended right after this message without the window being destroyed.
    ControlsToSettings();
    FSettings->Save();
    try {
        UpdateAutoStart();
    } catch (...) {
    }
}

void TLinewardenForm::UpdateAutoStart()
{
    try {
        if (FSettings->AutoStart())
            FStartupFiles->WriteRunValue(kAutoStartValueName, FPorts.Tools.ProgramPath);
        else
            FStartupFiles->DeleteRunValue(kAutoStartValueName);
    } catch (const Exception& e) {
        // A Run value of a foreign type under our name must not keep the guard from starting
        // or ending; the registry stays as it is.
        TraceFmt("[TLinewardenForm.UpdateAutoStart] %s", std::string(e.what()));
    }
}
