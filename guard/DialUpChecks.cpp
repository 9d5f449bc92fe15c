#include "guard/DialUpChecks.h"

#include <algorithm>

#include "common/Errors.h"
#include "guard/GuardTexts.h"
#include "guard/NumberQuestion.h"
#include "settings/NumberList.h"

namespace {

bool SameHandles(std::vector<THRasConn> a, std::vector<THRasConn> b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

}  // namespace

bool TJudgedConnections::Has(THRasConn handle) const
{
    return std::find(FHandles.begin(), FHandles.end(), handle) != FHandles.end();
}

void TJudgedConnections::Add(THRasConn handle)
{
    if (!Has(handle)) FHandles.push_back(handle);
}

void TJudgedConnections::KeepOnly(const std::vector<THRasConn>& live)
{
    FHandles.erase(std::remove_if(FHandles.begin(), FHandles.end(),
                                  [&](THRasConn h) {
                                      return std::find(live.begin(), live.end(), h) == live.end();
                                  }),
                   FHandles.end());
}

bool TDialUpChecks::ConnectionNumber(THRasConn handle, std::string& number)
{
    if (FDialUp.GetConnectedNumberOf(number, handle) == 0) return true;
    if (FDialUp.GetEntryOverridingPhoneNumber(number) == 0) return true;
    return FDialUp.GetEntryPhoneNumber(number) == 0 && !number.empty();
}

void TDialUpChecks::WalkNames(const std::vector<std::string>& names,
                              const std::function<void(size_t)>& visit)
{
    TProgressDisplay& progress = FContext.Progress;
    progress.BeginProgress(6, kProgressConnections);
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
    FJudged.KeepOnly(handles);
    FSeen = handles;
    const bool skipJudged = automatic && FLooking;
    WalkNames(names, [&](size_t i) {
        if (skipJudged && FJudged.Has(handles[i])) return;
        std::string number;
        if (!ConnectionNumber(handles[i], number)) return;
        if (FindAllowedNumber(settings.Numbers(), number) != -1) return;
        EndConnection(names[i], handles[i], number, false);
    });
}

bool TDialUpChecks::LookAtConnections(bool judge)
{
    std::vector<THRasConn> handles;
    std::vector<std::string> names;
    if (FDialUp.ListConnections(handles, names) != 0) return false;
    FJudged.KeepOnly(handles);
    const bool changed = !SameHandles(handles, FSeen);
    FSeen = handles;
    if (!judge) return changed;
    // By handle, in the listing's order, from a copy: a question lets other work run, and
    // RAS's order says nothing of which call came first.
    for (size_t i = 0; i < handles.size(); ++i)
        if (!FJudged.Has(handles[i])) LookAt(names[i], handles[i]);
    return changed;
}

void TDialUpChecks::LookAt(const std::string& entry, THRasConn handle)
{
    TDialUp::TConnectStatus status;
    // Gone since the listing, or saying nothing of itself: the next look sees.
    if (FDialUp.GetConnectStatusOf(handle, status) != 0) return;
    const bool dialling = status.State < kRasConnected;
    // The number the call reports is the one being dialled. Without it (not yet, or never on
    // the Windows 95 family) the entry's numbers stand in, as in the connection check; but an
    // allowed one judges a call still being dialled only for this look: the call may yet
    // report another number, dialled in place of the entry's.
    std::string number = status.Number;
    const bool reported = !number.empty();
    if (!reported && !EntryNumber(entry, number)) return;
    if (FindAllowedNumber(FContext.Settings.Numbers(), number) != -1) {
        if (reported || !dialling) FJudged.Add(handle);
        return;
    }
    EndConnection(entry, handle, number, dialling);
}

bool TDialUpChecks::EntryNumber(const std::string& entry, std::string& number)
{
    const std::string remembered = FDialUp.Entry();
    FDialUp.SetEntry(entry);
    bool found = FDialUp.GetEntryOverridingPhoneNumber(number) == 0 ||
                 (FDialUp.GetEntryPhoneNumber(number) == 0 && !number.empty());
    FDialUp.SetEntry(remembered);
    return found;
}

void TDialUpChecks::EndConnection(const std::string& entry, THRasConn handle,
                                  const std::string& number, bool dialling)
{
    // Judged whatever comes of it: a call the user keeps is not asked about again, and one
    // whose hang-up failed is not hung up again and again.
    FJudged.Add(handle);
    const bool asked = FContext.Settings.AskBeforeDeleteDialUp();
    if (asked) {
        if (!FContext.Ask(qmActiveConnection, entry, number)) {
            FContext.Report.Add(Format(kReportConnectionKept, entry, number), kLogAskedNo);
            return;
        }
        // The call may have been answered while the question was open.
        dialling = dialling && StillDialling(handle);
    }
    // The log names the entry as well, and whether the user had a say.
    const std::string detail =
            Format(kLogConnection, entry) + "; " + (asked ? kLogAskedYes : kLogNotAsked);
    if (FDialUp.HangUpConnectionOf(handle) == 0) {
        FContext.Report.Add(Format(dialling ? kReportHungUpWhileDialling : kReportHungUp, number),
                            detail);
        if (!asked) Announce(Format(kBalloonHungUp, entry, number));
    } else {
        FContext.Report.Add(Format(kReportHangUpFailed, number), detail);
    }
}

bool TDialUpChecks::StillDialling(THRasConn handle)
{
    TDialUp::TConnectStatus status;
    return FDialUp.GetConnectStatusOf(handle, status) == 0 && status.State < kRasConnected;
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
        text = kStatusNotConnected;
    } else {
        FDialUp.SetEntry(FDialUp.Connections()[0]);
        std::string number;
        if (FDialUp.GetConnectedNumber(number, 0) == 0)
            text = Format(kStatusConnectedTo, number);
        else if (FDialUp.GetEntryOverridingPhoneNumber(number) == 0)
            text = Format(kStatusConnectedOverriding, number);
        else if (FDialUp.GetEntryPhoneNumber(number) == 0 && !number.empty())
            text = Format(kStatusConnectedDefault, number);
        else
            text = kStatusConnected;
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
            FContext.Report.Add(Format(kReportEntryKept, entries[i], number), kLogAskedNo);
            return;
        }
        const char* const detail = asked ? kLogAskedYes : kLogNotAsked;
        // The question may have let other work move Entry; the entry judged is this one.
        FDialUp.SetEntry(entries[i]);
        if (FDialUp.DeleteEntry() == 0) {
            FContext.Report.Add(Format(kReportEntryDeleted, entries[i], number), detail);
            if (!asked) Announce(Format(kBalloonEntryDeleted, entries[i], number));
        } else {
            FContext.Report.Add(Format(kReportEntryDeleteFailed, entries[i], number), detail);
        }
    });
}
