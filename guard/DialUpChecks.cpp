#include "guard/DialUpChecks.h"

#include <cstddef>

#include "common/Errors.h"
#include "guard/GuardTexts.h"
#include "guard/NumberQuestion.h"
#include "settings/NumberList.h"

bool THandleSet::Has(THRasConn handle) const
{
    for (THRasConn h : FHandles)
        if (h == handle) return true;
    return false;
}

void THandleSet::Add(THRasConn handle)
{
    FHandles.push_back(handle);
}

void THandleSet::KeepOnly(const std::vector<THRasConn>& live)
{
    size_t kept = 0;
    for (THRasConn h : FHandles)
        for (THRasConn l : live)
            if (l == h) {
                FHandles[kept++] = h;
                break;
            }
    FHandles.erase(FHandles.begin() + static_cast<std::ptrdiff_t>(kept), FHandles.end());
}

bool TDialUpChecks::See(const std::vector<THRasConn>& handles)
{
    FJudged.KeepOnly(handles);
    THRasConn sum = 0;
    for (THRasConn handle : handles) sum += handle;
    const bool changed = sum != FSeenSum;
    FSeenSum = sum;
    return changed;
}

TDialUpChecks::TNumberSource TDialUpChecks::ConnectionNumber(THRasConn handle, std::string& number,
                                                             bool look)
{
    if (FDialUp.GetConnectedNumberOf(number, handle) == 0) return nsConnection;
    if (look && FDialUp.LastConnectState() == kRasStateUnknown) return nsNone;
    if (FDialUp.GetEntryOverridingPhoneNumber(number) == 0) return nsEntry;
    return FDialUp.GetEntryPhoneNumber(number) == 0 && !number.empty() ? nsEntry : nsNone;
}

void TDialUpChecks::WalkNames(const std::vector<std::string>& names,
                              const std::function<void(size_t)>& visit)
{
    TProgressDisplay& progress = FContext.Progress;
    progress.BeginProgress(6, FContext.Text(TGuardText::ProgressConnections));
    TProgressScope scope(progress);
    if (names.empty()) {
        scope.Done();
        return;
    }
    progress.StepProgress();
    progress.SetProgressMax(progress.ProgressMax() + static_cast<int32_t>(names.size()));
    const std::string remembered = FDialUp.Entry();
    for (size_t i = 0; i < names.size(); ++i) {
        progress.StepProgress();
        FDialUp.SetEntry(names[i]);
        visit(i);
    }
    progress.StepProgress();
    FDialUp.SetEntry(remembered);
    scope.Done();
}

void TDialUpChecks::DisconnectUnknownConnections(bool automatic)
{
    TSettings& settings = FContext.Settings;
    if (automatic && !settings.CheckAllowedNumbers()) return;
    if (FDialUp.GetConnections() != 0) return;
    // The check walks its own copy: a question may let the component's lists be refreshed, and
    // each connection is hung up by its handle, so a shifted position never hangs up another.
    const std::vector<std::string> names = FDialUp.Connections();
    const std::vector<THRasConn> handles = FDialUp.ConnectionHandles();
    LW_ASSERT(names.size() == handles.size());
    See(handles);
    const bool skipJudged = automatic && FLooking;
    WalkNames(names, [&](size_t i) {
        if (!skipJudged || !FJudged.Has(handles[i])) Judge(names[i], handles[i], false);
    });
}

bool TDialUpChecks::LookAtConnections()
{
    if (FDialUp.GetConnections(false) != 0) return false;
    const bool changed = See(FDialUp.ConnectionHandles());
    if (!FLooking) return changed;
    // By handle, each taken out of the list before it is judged: a question lets other work
    // run, which may list the connections afresh. RAS's order says nothing of which came first.
    // Entry is left at the last one judged: every user of it sets it first.
    for (size_t i = 0; i < FDialUp.ConnectionHandles().size(); ++i) {
        const THRasConn handle = FDialUp.ConnectionHandles()[i];
        if (FJudged.Has(handle)) continue;
        const std::string entry = FDialUp.Connections()[i];
        FDialUp.SetEntry(entry);
        Judge(entry, handle, true);
    }
    return changed;
}

void TDialUpChecks::Judge(const std::string& entry, THRasConn handle, bool look)
{
    std::string number;
    const TNumberSource source = ConnectionNumber(handle, number, look);
    // The connection check takes the call as it finds it; only a look asks after its state.
    uint32_t state = look ? FDialUp.LastConnectState() : kRasConnected;
    // No number from the call or its entry; for a look also a call gone since the listing or
    // saying nothing of itself (the Windows 95 family, where the cycle that a change of the
    // connections runs judges it): the next look sees.
    if (source == nsNone) return;
    const bool dialling = state < kRasConnected;
    if (FindAllowedNumber(FContext.Settings.Numbers(), number) != -1) {
        // The number the call reports is the one being dialled. Where the entry's numbers stand
        // in (the call reports none yet), an allowed one judges a call still being dialled only
        // for this look: the call may yet report another number, dialled in place of the
        // entry's.
        if (look && (source == nsConnection || !dialling)) FJudged.Add(handle);
        return;
    }
    // Judged whatever comes of it: a call the user keeps is not asked about again, and one
    // whose hang-up failed is not hung up again and again.
    FJudged.Add(handle);
    const bool asked = FContext.Settings.AskBeforeDeleteDialUp();
    if (asked) {
        if (!FContext.Ask(qmActiveConnection, entry, number)) {
            FContext.Report.Add(
                    Format(FContext.Text(TGuardText::ReportConnectionKept), entry, number),
                    FContext.Text(TGuardText::LogAskedNo));
            return;
        }
        // The call may have been answered while the question was open.
        if (dialling) {
            std::string now;
            FDialUp.GetConnectedNumberOf(now, handle);
            state = FDialUp.LastConnectState();
        }
    }
    // The log names the entry as well, and whether the user had a say.
    const std::string detail = Format(FContext.Text(TGuardText::LogConnection), entry) + "; " +
                               (asked ? FContext.Text(TGuardText::LogAskedYes)
                                      : FContext.Text(TGuardText::LogNotAsked));
    if (FDialUp.HangUpConnectionOf(handle) == 0) {
        FContext.Report.Add(
                Format(state < kRasConnected ? FContext.Text(TGuardText::ReportHungUpWhileDialling)
                                             : FContext.Text(TGuardText::ReportHungUp),
                       number),
                detail);
        if (!asked) Announce(Format(FContext.Text(TGuardText::BalloonHungUp), entry, number));
    } else {
        FContext.Report.Add(Format(FContext.Text(TGuardText::ReportHangUpFailed), number), detail);
    }
}

void TDialUpChecks::Announce(const std::string& text)
{
    if (FContext.Announce) FContext.Announce(text);
}

void TDialUpChecks::ShowConnectionStatus()
{
    FDialUp.GetConnections();
    std::string text;
    if (!FDialUp.Connected() || FDialUp.Connections().empty()) {
        text = FContext.Text(TGuardText::StatusNotConnected);
    } else {
        FDialUp.SetEntry(FDialUp.Connections()[0]);
        std::string number;
        if (FDialUp.GetConnectedNumber(number, 0) == 0)
            text = Format(FContext.Text(TGuardText::StatusConnectedTo), number);
        else if (FDialUp.GetEntryOverridingPhoneNumber(number) == 0)
            text = Format(FContext.Text(TGuardText::StatusConnectedOverriding), number);
        else if (FDialUp.GetEntryPhoneNumber(number) == 0 && !number.empty())
            text = Format(FContext.Text(TGuardText::StatusConnectedDefault), number);
        else
            text = FContext.Text(TGuardText::StatusConnected);
    }
    FContext.Progress.SetStatusText(text, false);
}

void TDialUpChecks::DeleteUnknownDialUps(bool automatic)
{
    TSettings& settings = FContext.Settings;
    if (automatic && !settings.AutoDeleteDialUp()) return;
    if (FDialUp.GetEntries() != 0) return;
    // Names read once: deleting an entry does not shift the ones still to come.
    const std::vector<std::string> entries = FDialUp.Entries();
    WalkNames(entries, [&](size_t i) {
        std::string number;
        if (FDialUp.GetEntryPhoneNumber(number) != 0 || number.empty()) return;
        if (FindAllowedNumber(settings.Numbers(), number) != -1) return;
        const bool asked = settings.AskBeforeDeleteDialUp();
        if (asked && !FContext.Ask(qmPhonebookEntry, entries[i], number)) {
            FContext.Report.Add(
                    Format(FContext.Text(TGuardText::ReportEntryKept), entries[i], number),
                    FContext.Text(TGuardText::LogAskedNo));
            return;
        }
        const std::string detail = asked ? FContext.Text(TGuardText::LogAskedYes)
                                         : FContext.Text(TGuardText::LogNotAsked);
        // The question may have let other work move Entry; the entry judged is this one.
        FDialUp.SetEntry(entries[i]);
        if (FDialUp.DeleteEntry() == 0) {
            FContext.Report.Add(
                    Format(FContext.Text(TGuardText::ReportEntryDeleted), entries[i], number),
                    detail);
            if (!asked)
                Announce(
                        Format(FContext.Text(TGuardText::BalloonEntryDeleted), entries[i], number));
        } else {
            FContext.Report.Add(
                    Format(FContext.Text(TGuardText::ReportEntryDeleteFailed), entries[i], number),
                    detail);
        }
    });
}
