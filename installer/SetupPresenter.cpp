#include "installer/SetupPresenter.h"

#include "common/Paths.h"
#include "installer/SetupTexts.h"

TSetupPresenter::TSetupPresenter(ISetupView& view, TSetupInstaller& setup, TLanguage language)
    : FView(view), FSetup(setup), FLanguage(language)
{
}

void TSetupPresenter::Start(const std::string& folder)
{
    FView.SetFolder(folder);
    FView.SetAutoStart(FSetup.ProposedAutoStart(folder));
    FView.SetStartGuard(true);
}

void TSetupPresenter::Browse()
{
    if (FBusy || FInstalled) return;
    const std::string chosen = FView.ChooseFolder(SetupText(TSetupText::BrowseTitle, FLanguage));
    // The user picks where the product's own folder goes, as other programs' setups do.
    if (!chosen.empty()) FView.SetFolder(IncludeTrailingBackslash(chosen) + kProductName);
}

void TSetupPresenter::Install()
{
    if (FBusy || FInstalled) return;
    FBusy = true;
    FView.EnableInputs(false);
    FView.SetStatus(SetupText(TSetupText::Installing, FLanguage));
    TInstallChoice choice{
            FView.Folder(), FView.AutoStart(), [this](const std::string& program) {
                return FView.AskRetry(SetupText(TSetupText::StillRunning, FLanguage, program) +
                                      "\n\n" + SetupText(TSetupText::RetryOrCancel, FLanguage));
            }};
    std::string failure;
    const bool ok = FSetup.Install(
            choice, [this](int percent) { FView.SetProgress(percent); }, failure);
    FBusy = false;
    if (ok) {
        FInstalled = true;
        FResult = {kSetupInstalled, FView.StartGuard()};
        FView.SetStatus(SetupText(TSetupText::Done, FLanguage));
        FView.TurnCancelInto(SetupText(TSetupText::Close, FLanguage));
        return;
    }
    FView.SetProgress(0);
    FView.SetStatus("");
    FView.EnableInputs(true);
    FView.ShowError(SetupText(TSetupText::Failed, FLanguage, failure));
}

void TSetupPresenter::Cancel()
{
    if (!FBusy) FView.CloseWindow();
}
