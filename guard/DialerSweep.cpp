#include "guard/DialerSweep.h"

#include <vector>

#include "common/Paths.h"
#include "common/StrUtils.h"
#include "dialers/ExecutableChecks.h"
#include "dialers/FileSearch.h"
#include "dialers/Removal.h"
#include "dialers/RunningProcesses.h"
#include "guard/GuardTexts.h"
#include "guard/NumberQuestion.h"

namespace {

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

bool TDialerSweep::IsOwnFile(const std::string& path) const
{
    const std::string candidate = ComparablePath(path);
    if (candidate == ComparablePath(FTools.ProgramPath)) return true;
    const std::string folder = ExtractFilePath(FTools.ProgramPath);
    for (const char* unpacker : kUnpackerNames)
        if (candidate == ComparablePath(folder + unpacker)) return true;
    return false;
}

void TDialerSweep::CheckActiveDialers(bool automatic)
{
    if (automatic && !FContext.Settings.AutoDeleteDialers()) return;
    FQuarantineReported = false;
    TProgressDisplay& progress = FContext.Progress;
    TActivityReport& report = FContext.Report;
    progress.BeginProgress(10, FContext.Text(TGuardText::ProgressDialers));
    TProgressScope scope(progress);

    FStartupFiles.LoadFromRegistry();
    progress.StepProgress();
    FStartupFiles.KeepDialers();
    progress.StepProgress();
    // The sweep walks its own copy of the detected items: a question lets other work run.
    struct TItem {
        std::string Name, FileName;
    };
    std::vector<TItem> startupDialers;
    for (int i = 0; i < FStartupFiles.Count(); ++i) {
        const TStartupFile* item = FStartupFiles.Items(i);
        if (item && !IsOwnFile(item->FileName))
            startupDialers.push_back({item->Name, item->FileName});
    }
    for (const TItem& item : startupDialers) {
        if (FContext.Ask(qmDialer, item.Name, item.FileName))
            RemoveDialer(item.Name, item.FileName, true);
        else
            report.AddFmt(FContext.Text(TGuardText::ReportStartupDialerKept), item.Name,
                          item.FileName);
        progress.StepProgress();
    }
    progress.StepProgress();

    TFiles running(FTools);
    running.ListRunningProcesses();
    progress.StepProgress();
    const int m = running.KeepDialers();
    progress.StepProgress();
    if (m > 0) {
        const std::vector<std::string> paths = running.Items();
        for (const std::string& path : paths) {
            if (IsOwnFile(path)) continue;
            if (FContext.Ask(qmDialer, ExtractFileName(path), path))
                RemoveDialer(path, path, false);
            else
                report.AddFmt(FContext.Text(TGuardText::ReportProcessDialerKept), path);
            progress.StepProgress();
        }
    }
    scope.Done();
}

void TDialerSweep::RemoveDialer(const std::string& name, const std::string& file, bool hasRunValue)
{
    TActivityReport& report = FContext.Report;
    bool ok = false;
    try {
        report.AddFmt(FContext.Text(TGuardText::ReportKilling), file);
        if (KillProcessByFile(FTools, file))
            report.AddFmt(FContext.Text(TGuardText::ReportKilled), file);
        report.AddFmt(FContext.Text(TGuardText::ReportDeletingFile), file);
        if (RemoveFile(FTools, file, true)) {
            report.AddFmt(FContext.Text(TGuardText::ReportFileDeleted), file);
            ok = true;
        }
        if (hasRunValue) {
            report.AddFmt(FContext.Text(TGuardText::ReportDeletingRunValue), name);
            if (FStartupFiles.DeleteRunValue(name))
                report.AddFmt(FContext.Text(TGuardText::ReportRunValueDeleted), name);
            else
                ok = false;
        }
        report.AddFmt(FContext.Text(TGuardText::ReportDeletingShortcuts), file);
        if (RemoveShortcutsTo(FTools, file))
            report.AddFmt(FContext.Text(TGuardText::ReportShortcutsDeleted), file);
    } catch (const std::exception& e) {
        ok = false;
        report.AddFmt(FContext.Text(TGuardText::ReportRemovalError), std::string(e.what()));
    }
    if (!ok) report.AddFmt(FContext.Text(TGuardText::ReportRemovalFailed), name);
}

void TDialerSweep::QuarantineUnavailable(const std::string& folder)
{
    if (FQuarantineReported) return;
    FQuarantineReported = true;
    FContext.Report.AddFmt(FContext.Text(TGuardText::ReportQuarantineUnavailable), folder);
}

void TDialerSweep::TestDialers()
{
    TFiles files(FTools);
    files.TestScan(true,
                   [this](const std::string& path) { return RemoveFile(FTools, path, false); });
}
