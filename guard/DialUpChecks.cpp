#include "guard/DialUpChecks.h"

#include "common/Errors.h"
#include "guard/GuardTexts.h"
#include "guard/NumberQuestion.h"
#include "settings/NumberList.h"

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
    WalkNames(names, [&](size_t i) {
        std::string number;
        if (!ConnectionNumber(handles[i], number)) return;
        if (FindAllowedNumber(settings.Numbers(), number) != -1) return;
        const bool asked = settings.AskBeforeDeleteDialUp();
        if (asked && !FContext.Ask(qmActiveConnection, names[i], number)) {
            FContext.Report.Add(Format(kReportConnectionKept, names[i], number), kLogAskedNo);
            return;
        }
        // The log names the entry as well, and whether the user had a say.
        const std::string detail =
                Format(kLogConnection, names[i]) + "; " + (asked ? kLogAskedYes : kLogNotAsked);
        if (FDialUp.HangUpConnectionOf(handles[i]) == 0) {
            FContext.Report.Add(Format(kReportHungUp, number), detail);
            if (!asked) Announce(Format(kBalloonHungUp, names[i], number));
        } else {
            FContext.Report.Add(Format(kReportHangUpFailed, number), detail);
        }
    });
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
